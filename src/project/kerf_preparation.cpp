// The kerf offset of a project's design figures, run at the start of every 2D preparation.
#include "project/tmdichild.h"

#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kerfline {
namespace {

bool isDesignFigure(const tfigura& figure)
{
    return figure.isDesign != 0 && figure.kind == kFigureDesign;
}

// A calibration piece measures the kerf: it is cut as drawn.
double configuredKerf(const TMDIChild& project, const Configuration& configuration)
{
    return project.keepDrawn != 0 ? 0.0 : std::max(0.0, configuration.number(Param::kerf));
}

std::string kerfIssueText(const AppContext& context, const KerfIssue& issue)
{
    const std::string figure = std::to_string(issue.figure);
    switch (issue.kind) {
    case KerfIssueKind::Vanished:
        return formatText(context.Text("Project_window", "kerfFiguraZnika"), {figure});
    case KerfIssueKind::Merged:
        return formatText(context.Text("Project_window", "kerfFiguryLacza"), {figure, std::to_string(issue.other)});
    case KerfIssueKind::Narrowed:
        return formatText(context.Text("Project_window", "kerfFiguraZwezona"), {figure});
    }
    return {};
}

}  // namespace

bool TMDIChild::kerfOutOfDate() const
{
    return configuredKerf(*this, m_context.configuration) != kerfInUse;
}

PreparationReport TMDIChild::replanForKerf()
{
    std::erase_if(figures, [](const tfigura& f) { return f.isDesign == 0 && f.kind != kFigureDesign; });
    for (tfigura& figure : figures) {
        // The connecting lines of a duplication are the project's own, not the preparation's.
        const std::uint8_t isDesign = figure.isDesign;
        const std::uint8_t closed = figure.closed;
        licz_parametry(figure);
        figure.isDesign = isDesign;
        if (isDesign == 0)
            figure.closed = closed;
    }
    Ustaw_PPiPK();
    selectedFigure = -1;
    pathReady = 0;
    return ciecie();
}

void TMDIChild::applyKerf()
{
    const double kerf = configuredKerf(*this, m_context.configuration);
    kerfIssues.clear();
    std::vector<std::size_t> design;
    bool compensatedBefore = false;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (!isDesignFigure(figures[i]))
            continue;
        design.push_back(i);
        compensatedBefore = compensatedBefore || !figures[i].designPoints.empty();
    }
    kerfInUse = kerf;
    // Without a kerf a project that was never offset stays exactly as loaded.
    if (kerfInUse == 0.0 && !compensatedBefore)
        return;

    // The nesting of the drawing as drawn decides which way each outline moves. It is found on a
    // copy holding the design figures alone, so that figures added by an earlier preparation (a
    // frame around everything) do not count.
    std::vector<tfigura> drawn(design.size());
    for (std::size_t k = 0; k < design.size(); ++k) {
        const tfigura& figure = figures[design[k]];
        drawn[k].points = figure.designPoints.empty() ? figure.points : figure.designPoints;
        licz_parametry(drawn[k]);
    }
    const std::int32_t deepest = maxNestLevel;
    std::swap(figures, drawn);
    co_w_czym();
    std::swap(figures, drawn);
    maxNestLevel = deepest;

    std::vector<KerfOutline> outlines(design.size());
    for (std::size_t k = 0; k < design.size(); ++k) {
        outlines[k].points = std::move(drawn[k].points);
        outlines[k].closed = drawn[k].closed != 0;
        outlines[k].nestLevel = drawn[k].nestLevel;
        outlines[k].container = drawn[k].container;
    }
    KerfCompensation compensation = compensateKerf(outlines, kerfInUse, joinTolerance());

    bool changed = false;
    for (std::size_t k = 0; k < design.size(); ++k) {
        tfigura& figure = figures[design[k]];
        std::vector<Point>& path = compensation.points[k];
        // A figure whose path is what the last preparation left keeps its state, so that a
        // second preparation with the same kerf finds the project as it left it.
        if (path != figure.points) {
            figure.points = path;
            licz_parametry(figure);
            changed = true;
        }
        if (path == outlines[k].points)
            figure.designPoints.clear();
        else
            figure.designPoints = std::move(outlines[k].points);
    }
    // The project's corner moves with its outlines: the entry line starts outside the offset.
    if (changed)
        Ustaw_PPiPK();

    for (KerfIssue issue : compensation.issues) {
        issue.figure = static_cast<std::int32_t>(design[static_cast<std::size_t>(issue.figure)]);
        if (issue.other >= 0)
            issue.other = static_cast<std::int32_t>(design[static_cast<std::size_t>(issue.other)]);
        kerfIssues.push_back(issue);
    }
    if (kerfIssues.empty())
        return;
    // Before any cutting: nothing the compensation could not do goes unsaid.
    std::string text = formatText(m_context.Text("Project_window", "kerfNiepelna"), {fileName});
    for (const KerfIssue& issue : kerfIssues)
        text += "\n" + kerfIssueText(m_context, issue);
    m_context.language.ShowMessageBox(text, false);
}

}  // namespace kerfline
