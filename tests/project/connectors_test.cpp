#include "project_generator.h"
#include "project_rig.h"

#include "base/round.h"
#include "geometry/segments.h"
#include "project/connection_rules.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::square;

// A closed hexagon: not a rectangle of five points, so it never starts the project itself.
const std::vector<Point> kHexagon{{1000, 1000}, {2000, 1000}, {2500, 1800}, {1500, 2500}, {900, 1900}, {1000, 1000}};

std::vector<std::int32_t> indicesOfKind(const TMDIChild& project, std::uint8_t kind)
{
    std::vector<std::int32_t> found;
    for (std::size_t i = 0; i < project.figures.size(); ++i)
        if (project.figures[i].kind == kind && project.figures[i].isDesign == 0)
            found.push_back(static_cast<std::int32_t>(i));
    return found;
}

TEST(EntryLine, ASingleFigureIsEnteredFromTheLowerLeftCorner)
{
    ProjectRig rig;
    rig.design({kHexagon});
    rig.project.ciecie();
    const TMDIChild& p = rig.project;
    ASSERT_EQ(p.figures.size(), 3u);
    const tfigura& entry = p.figures[1];
    EXPECT_EQ(p.startFigure, 1);
    EXPECT_EQ(p.frameAdded, 0);
    EXPECT_EQ(entry.kind, kFigureConnector);
    EXPECT_EQ(entry.points, (std::vector<Point>{{900, 1000}, {900, 1000}}));
    EXPECT_EQ(entry.length, 60);
    EXPECT_EQ(entry.open, 1);

    // The nearest vertex is vertex 0 (the closing vertex 5 lies on it and comes later).
    const tfigura& connector = p.figures[2];
    EXPECT_EQ(connector.kind, kFigureConnector);
    EXPECT_EQ(connector.points, (std::vector<Point>{{900, 1000}, {1000, 1000}}));
    EXPECT_EQ(connector.length, 100);
    EXPECT_EQ(connector.parent, 1);
    EXPECT_EQ(p.figures[0].parent, 2);
    EXPECT_EQ(p.figures[0].attachVertex, 1);
    EXPECT_EQ(p.figures[0].startVertex, 0);
    EXPECT_EQ(p.pathReady, 1);
    EXPECT_EQ(p.startFromLeft, 0);
    EXPECT_EQ(p.startFromBottom, 0);
}

TEST(Frame, LiesTenMillimetresOutsideAndBecomesTheStart)
{
    ProjectRig rig;
    rig.config().setCheck(Param::AddFrame, CheckState::cbChecked);
    rig.design({kHexagon});
    rig.project.ciecie();
    const TMDIChild& p = rig.project;
    const auto frames = indicesOfKind(p, kFigureFrame);
    ASSERT_EQ(frames.size(), 1u);
    const tfigura& frame = p.figures[static_cast<std::size_t>(frames[0])];
    EXPECT_EQ(p.startFigure, frames[0]);
    EXPECT_EQ(p.frameAdded, 1);
    EXPECT_EQ(frame.points,
              (std::vector<Point>{{500, 600}, {2900, 600}, {2900, 2900}, {500, 2900}, {500, 600}}));
    EXPECT_EQ(frame.closed, 1);
    EXPECT_EQ(frame.length, 2 * (2400 + 2300));
    EXPECT_EQ(p.minX, 500);
    EXPECT_EQ(p.maxY, 2900);
    EXPECT_EQ(p.width, 2400);
    EXPECT_EQ(frame.nestLevel, 1);
    EXPECT_EQ(frame.startVertex, 0);

    // The entry connection joins the design to the frame's corner.
    const auto connectors = indicesOfKind(p, kFigureConnector);
    ASSERT_EQ(connectors.size(), 1u);
    const tfigura& connector = p.figures[static_cast<std::size_t>(connectors[0])];
    EXPECT_EQ(connector.parent, frames[0]);
    EXPECT_EQ(connector.attachVertex, 0);
    EXPECT_EQ(connector.points.front(), (Point{500, 600}));
    EXPECT_EQ(p.figures[0].parent, connectors[0]);
}

TEST(Connectors, TwoSquaresSideBySideJoinAtTheirNearestCorners)
{
    ProjectRig rig;
    rig.design({square(0, 0, 1000), square(1500, 200, 1000)});
    rig.project.ciecie();
    const TMDIChild& p = rig.project;
    const tfigura& b = p.figures[1];
    ASSERT_GE(b.parent, 0);
    const tfigura& connector = p.figures[static_cast<std::size_t>(b.parent)];
    EXPECT_EQ(connector.kind, kFigureConnector);
    EXPECT_EQ(connector.parent, 0);
    // (1000, 0)-(1500, 200) and (1000, 1000)-(1500, 1200) are equally long; the first in the
    // scanning order (the unconnected square's vertex 0) wins.
    EXPECT_EQ(connector.points, (std::vector<Point>{{1000, 0}, {1500, 200}}));
    EXPECT_EQ(connector.attachVertex, 1);
    EXPECT_EQ(b.startVertex, 0);
    EXPECT_EQ(connector.nestLevel, 1);
    EXPECT_EQ(connector.vertexInfo[0].weight, 5);
}

TEST(CrossingRepair, StepsBackUntilTheConnectorCrossesNothing)
{
    // A C open to the right; from (400, 150) vertex 7 is hidden behind the lower arm's edge.
    tfigura c;
    c.points = {{0, 0}, {300, 0}, {300, 100}, {100, 100}, {100, 200}, {300, 200}, {300, 300}, {0, 300}, {0, 0}};
    c.closed = 1;
    tfigura from;
    from.points = {{400, 150}};
    std::int32_t du = 7;
    std::int32_t dc = 0;
    EXPECT_TRUE(connectorCrossesFigure(from.points[0], c, 7));
    repairCrossing(c, du, from, dc);
    EXPECT_EQ(du, 6);
    EXPECT_EQ(dc, 0);
}

TEST(CrossingRepair, KeepsTheFirstChoiceWhenEveryPairCrosses)
{
    // Every vertex of this folded figure is seen from (25, 0) only along one of its own edges.
    // Starting from its last index the steps never come back to it.
    tfigura folded;
    folded.points = {{0, 0}, {20, 0}, {10, 0}, {40, 0}, {30, 0}, {0, 0}};
    folded.closed = 1;
    tfigura point;
    point.points = {{25, 0}};
    std::int32_t du = 5;
    std::int32_t dc = 0;
    repairCrossing(folded, du, point, dc);
    EXPECT_EQ(du, 5);
    EXPECT_EQ(dc, 0);

    std::int32_t entry = 5;
    repairEntryCrossing(folded, entry, {25, 0});
    EXPECT_EQ(entry, 5);
}

TEST(CrossingRepair, StepBackSkipsTheClosingPointAndStaysOnTinyFigures)
{
    const struct {
        std::int32_t vertex;
        std::size_t count;
        std::int32_t previous;
    } cases[] = {{3, 5, 2}, {0, 5, 3}, {0, 2, 0}, {0, 1, 0}, {1, 2, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(stepBack(c.vertex, c.count), c.previous) << c.vertex << " of " << c.count;
}

TEST(CrossingRepair, ASharedEndPointIsNoCrossing)
{
    // Computed in doubles, the lines' meeting x misses this shared end by the last bit.
    EXPECT_FALSE(segmentsCross({{6633, -60490}, {38376, -42074}}, {{38376, -42074}, {-36897, -71576}}));
    tfigura c;
    c.points = {{6633, -60490}, {38376, -42074}, {-36897, -71576}, {6633, -60490}};
    c.closed = 1;
    EXPECT_FALSE(connectorCrossesFigure({38376, -42074}, c, 0));
}

TEST(NeighbourLists, NearestCentresFirstPenaltiesLastTiesByIndex)
{
    ProjectRig rig;
    rig.design({square(0, 0, 1000), square(400, 400, 200), square(1900, 400, 200), square(500, 400, 200),
                square(300, 400, 200)});
    rig.project.co_w_czym();
    rig.project.buildNeighbourLists();
    // From the outer square (centre 500, 500): itself, then figure 2 at 1500; the three squares
    // inside it come last despite their short distances, in order of key.
    const auto& outer = rig.figure(0).neighbours;
    EXPECT_EQ(std::vector<std::int32_t>(outer.begin(), outer.begin() + 6), (std::vector<std::int32_t>{0, 2, 1, 3, 4, -1}));
    // From figure 2 nothing is penalised: 3 at 1400, then 0 and 1 both at 1500 in index order.
    const auto& far = rig.figure(2).neighbours;
    EXPECT_EQ(std::vector<std::int32_t>(far.begin(), far.begin() + 6), (std::vector<std::int32_t>{2, 3, 0, 1, 4, -1}));
}

TEST(SearchDriver, AFigureNoRuleReachesIsReportedAndTheSearchEnds)
{
    // An open lead-in inside a closed outline starts the project; the outline itself is left
    // on level 1 while every connected figure lies on level 2.
    ProjectRig rig;
    const std::vector<Point> outline{{0, 0}, {5000, 0}, {5000, 5000}, {2500, 6000}, {0, 5000}, {0, 0}};
    rig.design({outline, square(2000, 2000, 1000), {{2000, 2000}, {1500, 1500}, {1000, 1200}}});
    const PreparationReport report = rig.project.ciecie();
    EXPECT_EQ(report.outcome, PreparationOutcome::Completed);
    EXPECT_EQ(report.unconnectedFigures, 1);
    EXPECT_EQ(rig.project.startFigure, 2);
    EXPECT_EQ(rig.project.pathReady, 1);
    EXPECT_EQ(rig.figure(0).unconnected, 1);
    EXPECT_EQ(rig.figure(0).parent, -1);
    EXPECT_EQ(rig.project.StatusBar,
              formatText(rig.app.Text("Project_window", "niepolaczoneFigury"), {"1"}));
}

TEST(SearchDriver, AKeyPressEndsTheSearchAndKeepsWhatItAdded)
{
    // The entry line joins the small square at the lower left; the large square with its six
    // squares inside is searched next, its own connection still open.
    std::vector<std::vector<Point>> design{square(-2000, -2000, 500), square(0, 0, 3000)};
    for (int k = 0; k < 6; ++k)
        design.push_back(square(200 + 450 * k, 1000, 300));
    ProjectRig rig;
    rig.design(design);
    // Two searches run before the key arrives with the third.
    rig.host.pendingInputs = {PendingInput::Other, PendingInput::None, PendingInput::KeyDown};
    const PreparationReport report = rig.project.ciecie();

    const TMDIChild& p = rig.project;
    EXPECT_EQ(report.outcome, PreparationOutcome::Interrupted);
    EXPECT_EQ(p.pathReady, 0);
    EXPECT_EQ(rig.host.busyDepth, 0);
    EXPECT_TRUE(rig.host.pendingInputs.empty());
    // The entry line, its connector and the connectors of the three searches stay.
    EXPECT_EQ(indicesOfKind(p, kFigureConnector).size(), 5u);
    const auto connected =
        std::count_if(p.figures.begin(), p.figures.end(), [](const tfigura& f) { return f.unconnected == 0; });
    // The small square, the entry line, four connectors and three of the six squares.
    EXPECT_EQ(connected, 9);
    // The progress was reported while the searched container counted as connected.
    const auto share = roundHalfEven(100.0 * static_cast<double>(connected + 1) / static_cast<double>(p.figures.size()));
    EXPECT_EQ(p.StatusBar, "Ready " + std::to_string(share) + "%");
    // No figure is marked connected without a way into it; the container searched when the key
    // came is open again.
    EXPECT_EQ(p.figures[1].unconnected, 1);
    for (std::size_t i = 0; i < p.figures.size(); ++i) {
        if (p.figures[i].unconnected == 0 && static_cast<std::int32_t>(i) != p.startFigure) {
            EXPECT_GE(p.figures[i].parent, 0) << "figure " << i;
        }
    }
}

}  // namespace
}  // namespace kerfline
