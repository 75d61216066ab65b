// Generated projects: after the preparation every figure lies in one tree rooted at the start
// figure, every figure is entered where its parent's wire is, and connectors cross no figure.
#include "project_generator.h"
#include "project_rig.h"

#include "geometry/segments.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::SheetGenerator;
using testing::SheetOptions;

bool within(Point a, Point b, std::int32_t tolerance)
{
    return std::llabs(std::int64_t{a.x} - b.x) <= tolerance && std::llabs(std::int64_t{a.y} - b.y) <= tolerance;
}

// Whether the connector crosses an edge of the figure; edges at a vertex the connector ends on
// are where it joins the figure and do not count.
bool crossesFigure(Segment connector, const tfigura& figure)
{
    const std::vector<Point>& p = figure.points;
    const std::size_t n = p.size();
    const auto joins = [&](Point v) { return v == connector.first || v == connector.second; };
    const auto edge = [&](Point a, Point b) { return !joins(a) && !joins(b) && segmentsCross(connector, {a, b}); };
    for (std::size_t k = 0; k + 1 < n; ++k)
        if (edge(p[k], p[k + 1]))
            return true;
    return figure.closed != 0 && n > 1 && edge(p[n - 1], p[0]);
}

std::string treeViolations(const TMDIChild& project, std::int32_t tolerance)
{
    std::ostringstream out;
    const auto& figures = project.figures;
    const auto n = static_cast<std::int32_t>(figures.size());
    for (std::int32_t i = 0; i < n; ++i) {
        const tfigura& f = figures[static_cast<std::size_t>(i)];
        if (f.unconnected != 0) {
            out << "figure " << i << " is not connected; ";
            continue;
        }
        // The parent chain reaches the start figure without a loop.
        std::int32_t at = i;
        for (std::int32_t steps = 0; at != project.startFigure && at >= 0 && steps <= n; ++steps)
            at = figures[static_cast<std::size_t>(at)].parent;
        if (at != project.startFigure)
            out << "figure " << i << " does not lead back to the start; ";
        if (i == project.startFigure)
            continue;

        // The wire enters the figure at its start vertex from its parent's attach vertex.
        const tfigura& parent = figures[static_cast<std::size_t>(f.parent)];
        const Point from = parent.points.at(static_cast<std::size_t>(f.attachVertex));
        const Point to = f.points.at(static_cast<std::size_t>(f.startVertex));
        const bool alongConnector = parent.kind == kFigureConnector && f.attachVertex == 1 && from == to;
        const bool connectorStart = f.kind == kFigureConnector && f.startVertex == 0 && from == to;
        const bool touching = within(from, to, tolerance);
        if (!alongConnector && !connectorStart && !touching)
            out << "figure " << i << " is entered by a jump; ";
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const tfigura& connector = figures[static_cast<std::size_t>(i)];
        if (connector.kind != kFigureConnector || connector.points.size() != 2 || i == project.startFigure)
            continue;
        const Segment s{connector.points[0], connector.points[1]};
        for (std::int32_t g = 0; g < n; ++g)
            if (figures[static_cast<std::size_t>(g)].isDesign != 0 && crossesFigure(s, figures[static_cast<std::size_t>(g)]))
                out << "connector " << i << " crosses figure " << g << "; ";
    }
    return out.str();
}

struct Family {
    const char* name;
    std::vector<int> weights;  // by CellKind
};

// Every family of generated sheets, prepared with the kerf, forms one tree without jumps.
void expectTrees(double kerf, std::uint32_t seeds)
{
    const Family families[] = {
        {"rectangles", {1, 0, 0, 0, 0, 0, 1, 0, 0}},
        {"rings", {0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"letters in frames", {0, 0, 3, 1, 0, 0, 0, 0, 0}},
        {"polylines touching closed figures", {1, 0, 1, 0, 2, 0, 0, 0, 0}},
        {"notched stars", {0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {"cups with a square behind", {0, 0, 0, 0, 0, 0, 0, 0, 1}},
        {"everything", {3, 2, 4, 1, 1, 1, 1, 1, 1}},
    };
    for (const Family& family : families) {
        for (std::uint32_t seed = 1; seed <= seeds; ++seed) {
            SheetOptions options;
            options.cells = 1 + static_cast<int>(seed * 7 % 30);
            options.weights = family.weights;
            options.maxCrowd = seed % 3 == 0 ? 26 : 8;
            const auto contours = SheetGenerator(seed * 101, options).generate();
            if (contours.empty())
                continue;
            ProjectRig rig;
            rig.config().setCheck(Param::AddFrame, seed % 2 == 0 ? CheckState::cbChecked : CheckState::cbUnchecked);
            rig.config().setNumber(Param::kerf, kerf);
            rig.design(contours);
            const PreparationReport report = rig.project.ciecie();
            EXPECT_EQ(report.outcome, PreparationOutcome::Completed);
            EXPECT_EQ(report.unconnectedFigures, 0) << family.name << ", seed " << seed;
            EXPECT_EQ(rig.project.pathReady, 1);
            const std::string violations = treeViolations(rig.project, rig.project.joinTolerance());
            EXPECT_TRUE(violations.empty()) << family.name << ", seed " << seed << ": " << violations;
        }
    }
}

TEST(GeneratedProjects, FormOneTreeEnteredWithoutJumps)
{
    expectTrees(0.0, 24);
}

// On the offset outlines: lead-ins that end on a part still lead in, connectors still cross
// nothing.
TEST(GeneratedProjects, FormOneTreeEnteredWithoutJumpsWithAKerf)
{
    expectTrees(0.8, 8);
}

}  // namespace
}  // namespace kerfline
