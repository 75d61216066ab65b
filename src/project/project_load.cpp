#include "project/tmdichild.h"

#include "designfiles/design_settings.h"
#include "designfiles/dxf_survey.h"
#include "designfiles/thpgl.h"
#include "geometry/geometry.h"
#include "base/round.h"
#include "project/connector_search.h"
#include "project/project_extents.h"
#include "project/load_messages.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <limits>

namespace kerfline {
namespace {

// The margin of the frame the 2D preparation may add around the design, in plotter units.
constexpr std::int64_t kFrameMargin = 400;

bool sameFigure(const tfigura& a, const tfigura& b)
{
    return a.points == b.points;
}

// Joins the open figure p with accepted open figures whose ends meet one of its ends, pass
// after pass until a pass joins nothing. A joined figure leaves the list; the one that slides
// into its place is looked at in the next pass.
void mergeOpenEnds(tfigura& p, std::vector<tfigura>& figures, std::int32_t tolerance)
{
    if (p.open == 0 || p.points.size() <= 1)
        return;
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const tfigura& f = figures[i];
            if (f.open == 0 || f.points.size() <= 1)
                continue;
            const std::vector<Point>& q = f.points;
            std::vector<Point>& points = p.points;
            if (nearPoint(points.back(), q.front(), tolerance)) {
                points.insert(points.end(), q.begin() + 1, q.end());
            } else if (nearPoint(points.back(), q.back(), tolerance)) {
                points.insert(points.end(), q.rbegin() + 1, q.rend());
            } else if (nearPoint(points.front(), q.front(), tolerance)) {
                // f's points 1 .. n-1, each put in front: f ends up reversed before p.
                std::vector<Point> joined(q.rbegin(), q.rend() - 1);
                joined.insert(joined.end(), points.begin(), points.end());
                points = std::move(joined);
            } else if (nearPoint(points.front(), q.back(), tolerance)) {
                // f's points n-2 .. 0, each put in front: f keeps its own order before p.
                std::vector<Point> joined(q.begin(), q.end() - 1);
                joined.insert(joined.end(), points.begin(), points.end());
                points = std::move(joined);
            } else {
                continue;
            }
            figures.erase(figures.begin() + static_cast<std::ptrdiff_t>(i));
            merged = true;
        }
    }
}

// Whether the project, with the frame the preparation may add and scaled by skala percent, has
// coordinates and sizes that fit 32 bits. Planning and the cut program would overflow beyond.
bool fitsThirtyTwoBits(const TMDIChild& project, double skala)
{
    constexpr auto kLow = std::int64_t{std::numeric_limits<std::int32_t>::min()};
    constexpr auto kHigh = std::int64_t{std::numeric_limits<std::int32_t>::max()};
    if (project.minX - kFrameMargin < kLow || project.minY - kFrameMargin < kLow ||
        project.maxX + kFrameMargin > kHigh || project.maxY + kFrameMargin > kHigh)
        return false;
    const double factor = std::max(skala, 100.0) / 100.0;
    const auto fits = [&](std::int64_t low, std::int64_t high) {
        return static_cast<double>(high - low + 2 * kFrameMargin) * factor <= static_cast<double>(kHigh);
    };
    return fits(project.minX, project.maxX) && fits(project.minY, project.maxY);
}

}  // namespace

LoadOutcome TMDIChild::Load(const std::string& name, std::uint8_t penFilter)
{
    const Configuration& configuration = m_context.configuration;
    const tInterfejs& language = m_context.language;
    Host& host = m_context.host;

    frameAdded = 0;
    pathReady = 0;
    synchronousPair = 0;
    fileName = name;
    drawingUnitsNote.clear();
    const std::uint8_t feed = configuration.choice(Param::CatDir) == 1 ? 255 : 1;
    directionX = {feed, feed};

    host.setStatus(0, "Open file " + name);
    host.keepPainting();
    BusyCursor busy(host);

    figures.clear();
    m_connectionOrder.clear();
    m_search.reset();
    importer = std::make_unique<Thpgl>();
    // Drawing units and curve steps of DXF and EPS designs come from the configuration.
    importer->setCurveSettings(designCurveSettings(m_context.configuration));
    if (const int code = importer->OpenDesign(name, fileType); code != 0) {
        importer.reset();
        if (code == kOpenWrongKind)
            language.ShowMessageBox(language.Text("Project_window", "obslugiwanyFormatAI"), true,
                                    language.Text("Universal", "nieprawidlowyFormatPliku"));
        else if (code == kOpenFileInUse)
            language.ShowMessageBox(language.Text("Project_window", "zbioruUzywaInnyProces"), true);
        else
            language.ShowMessageBox(language.Text("Universal", "zbioruNieMoznaOtworzyc") + name, true);
        return LoadOutcome::Closed;
    }

    const std::int32_t tolerance = joinTolerance();
    std::size_t filteredByPen = 0;
    while (!importer->endOfFile()) {
        tfigura figure;
        figure.sourceFigure = -1;
        if (const ReadResult result = importer->ReadFigure(figure); !result) {
            importer->CloseDesign();
            importer.reset();
            figures.clear();
            language.ShowMessageBox(result.error->message(language), true);
            return LoadOutcome::Closed;
        }
        if (figure.valid == 0)
            continue;
        if (penFilter != 255 && figure.pen != penFilter && figure.pen != 6) {
            ++filteredByPen;
            continue;
        }
        mergeOpenEnds(figure, figures, tolerance);
        const bool duplicate = std::any_of(figures.begin(), figures.end(),
                                           [&](const tfigura& accepted) { return sameFigure(accepted, figure); });
        if (duplicate)
            continue;
        licz_parametry(figure);
        figures.push_back(std::move(figure));
    }
    rotationAngle = importer->angleValue() * 100.0;
    importer->CloseDesign();
    importer.reset();

    if (figures.empty()) {
        language.ShowMessageBox(emptyDesignMessage(language, name, fileType, filteredByPen), true);
        return LoadOutcome::Closed;
    }

    setExtentsAndOrigins();

    const double skala = configuration.number(Param::skala);
    const MachineState& machine = m_context.machine;
    const double widthMm = unitsToMm(roundHalfEven(skala * width / 100.0));
    const double heightMm = unitsToMm(roundHalfEven(skala * height / 100.0));
    const auto tooLarge = [&] {
        return projectTooLargeMessage(language, {widthMm, heightMm},
                                      {static_cast<double>(machine.limitX), static_cast<double>(machine.limitY)},
                                      configuration.displayUnit, m_context.decimalSeparator);
    };
    if (!fitsThirtyTwoBits(*this, skala)) {
        figures.clear();
        language.ShowMessageBox(tooLarge(), true);
        return LoadOutcome::Closed;
    }

    setStatusText(language.Text("Project_window", "iloscFigur") + std::to_string(figures.size()));
    host.setStatus(0, "");

    if (widthMm > machine.limitX || heightMm > machine.limitY)
        language.ShowMessageBox(tooLarge(), true);

    if (fileType == kDesignDxf)
        drawingUnitsNote = kerfline::drawingUnitsNote(language, surveyDxf(name).insUnits,
                                                      {unitsToMm(width), unitsToMm(height)},
                                                      configuration.displayUnit, m_context.decimalSeparator);
    const LoadOutcome outcome = prepareForMode();
    // After the preparation, which clears the status panel when it sets the cutting direction.
    if (outcome == LoadOutcome::Opened && !drawingUnitsNote.empty())
        host.setStatus(0, drawingUnitsNote);
    return outcome;
}

void TMDIChild::LoadFigures(std::vector<tfigura> designFigures, std::string name)
{
    frameAdded = 0;
    pathReady = 0;
    synchronousPair = 0;
    fileName = std::move(name);
    fileType = 1;
    const std::uint8_t feed = m_context.configuration.choice(Param::CatDir) == 1 ? 255 : 1;
    directionX = {feed, feed};
    figures = std::move(designFigures);
    m_connectionOrder.clear();
    m_search.reset();
    for (tfigura& figure : figures)
        licz_parametry(figure);
    if (figures.empty())
        return;
    setExtentsAndOrigins();
    // Passes made elsewhere are plain 2D designs; no mode here closes them.
    (void)prepareForMode();
}

void TMDIChild::setExtentsAndOrigins()
{
    Ustaw_PPiPK();
    for (tfigura& figure : figures) {
        figure.originX = minX;
        figure.originY = minY;
    }
    maxNestLevel = 0;
    selectedFigure = -1;
}

LoadOutcome TMDIChild::prepareForMode()
{
    const int selector = m_context.configuration.choice(Param::StolikSwitch);
    switch (mode()) {
    case ModeRotary:
        return ciecie_obrotowe();
    case ModeSerial:
        if (selector == DeviceSpindle)
            return ciecie_obrotowe();
        ciecie();
        break;
    case ModeTurning:
        if (selector != DeviceNone)
            return toczenie();
        ciecie();
        break;
    case Mode2D:
    case ModeIndependent:
    case ModePerpendicular:
        ciecie();
        break;
    default:
        break;
    }
    return LoadOutcome::Opened;
}

}  // namespace kerfline
