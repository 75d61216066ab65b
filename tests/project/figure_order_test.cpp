#include "project_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::square;

constexpr double kPi = std::numbers::pi;

std::vector<double> turnsOf(const tfigura& figure)
{
    std::vector<double> turns;
    for (const VertexRecord& r : figure.vertexInfo)
        turns.push_back(r.turnAngle);
    return turns;
}

TEST(TurnAngles, ClosedFiguresWrapOpenEndsTurnARightAngle)
{
    const struct {
        std::vector<Point> points;
        std::vector<double> turns;
    } cases[] = {
        // Counter-clockwise square: every left turn is -pi/2, the closing vertex included.
        {square(0, 0, 10), {-kPi / 2, -kPi / 2, -kPi / 2, -kPi / 2, -kPi / 2}},
        // Open: ends pi/2, a right turn +pi/2.
        {{{0, 0}, {10, 0}, {10, -10}}, {kPi / 2, kPi / 2, kPi / 2}},
        // A zero-length segment has direction 0.
        {{{0, 0}, {0, 0}, {50, 0}}, {kPi / 2, 0.0, kPi / 2}},
        // Straight on.
        {{{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {kPi / 2, 0.0, 0.0, kPi / 2}},
    };
    for (const auto& c : cases) {
        ProjectRig rig;
        rig.design({c.points});
        rig.project.buildTurnAngles();
        const auto turns = turnsOf(rig.figure(0));
        ASSERT_EQ(turns.size(), c.turns.size());
        for (std::size_t k = 0; k < turns.size(); ++k)
            EXPECT_NEAR(turns[k], c.turns[k], 1e-12) << "vertex " << k;
    }
}

TEST(VertexClassification, CornersWeightsAndSampling)
{
    ProjectRig rig;
    // A 24-gon turns 15 degrees at each vertex: no corner by angle.
    std::vector<Point> polygon;
    for (int k = 0; k < 24; ++k)
        polygon.push_back({static_cast<std::int32_t>(std::lround(1000 * std::cos(2 * kPi * k / 24))),
                           static_cast<std::int32_t>(std::lround(1000 * std::sin(2 * kPi * k / 24)))});
    polygon.push_back(polygon.front());
    rig.design({polygon, square(3000, 0, 100), square(3200, 0, 100), {{0, 3000}, {50, 3000}, {60, 3100}}});
    rig.project.buildTurnAngles();
    rig.figure(1).nestLevel = 2;
    rig.figure(2).nestLevel = 1;
    rig.project.classifyVertices();

    const tfigura& round = rig.figure(0);
    // 25 points: every third vertex from 0 is a sampled corner of weight 10; the extremes of y
    // (vertex 18 minimum, 6 maximum) weigh 8, of x (vertex 12 minimum, 0 maximum) 9.
    const auto weightOf = [&](int v) { return round.vertexInfo[static_cast<std::size_t>(v)].weight; };
    const auto cornerOf = [&](int v) { return round.vertexInfo[static_cast<std::size_t>(v)].isCorner; };
    EXPECT_EQ(weightOf(0), 9);
    EXPECT_EQ(weightOf(12), 9);
    EXPECT_EQ(weightOf(6), 8);
    EXPECT_EQ(weightOf(18), 8);
    EXPECT_EQ(weightOf(3), 10);
    EXPECT_EQ(cornerOf(3), 1);
    EXPECT_EQ(cornerOf(4), 0);
    EXPECT_EQ(weightOf(4), 10);

    for (const VertexRecord& r : rig.figure(1).vertexInfo)
        EXPECT_EQ(r.weight, 5);  // deeper than level 1
    for (const VertexRecord& r : rig.figure(2).vertexInfo)
        EXPECT_EQ(r.weight, 6);
    for (const VertexRecord& r : rig.figure(3).vertexInfo) {
        EXPECT_EQ(r.isCorner, 1);  // open
        EXPECT_EQ(r.weight, 5);
    }
}

TEST(VertexClassification, ATurnOfExactlyAFifthOfPiIsACorner)
{
    ProjectRig rig;
    rig.design({square(0, 0, 1000)});
    rig.project.buildTurnAngles();
    tfigura& f = rig.figure(0);
    f.vertexInfo[1].turnAngle = 0.6283185307179586;
    f.vertexInfo[2].turnAngle = -0.6283185307179585;
    f.vertexInfo[3].turnAngle = 0.1;
    // Keep the extreme vertices off 1 to 3.
    f.minXVertex = f.minYVertex = f.maxXVertex = f.maxYVertex = 0;
    rig.project.classifyVertices();
    EXPECT_EQ(f.vertexInfo[1].isCorner, 1);
    EXPECT_EQ(f.vertexInfo[2].isCorner, 0);
    EXPECT_EQ(f.vertexInfo[3].isCorner, 0);
}

// A square with a notch cut down from its top edge (x 40 to 60, y 20 to 100).
const std::vector<Point> kNotched{{0, 0}, {100, 0}, {100, 100}, {60, 100}, {60, 20}, {40, 20}, {40, 100}, {0, 100}, {0, 0}};

struct NestCase {
    const char* name;
    std::vector<std::vector<Point>> figures;
    std::vector<std::int32_t> levels;
    std::vector<std::int32_t> containers;
    std::vector<std::int32_t> children;
};

TEST(Nesting, LevelsContainersAndChildren)
{
    const NestCase cases[] = {
        // The innermost square is first recorded in the outer one, then moved to the middle one:
        // the outer square counts it as well.
        {"three nested squares", {square(0, 0, 100), square(10, 10, 80), square(20, 20, 60)}, {0, 1, 2}, {-1, 0, 1}, {2, 1, 0}},
        {"inner listed first", {square(20, 20, 60), square(10, 10, 80), square(0, 0, 100)}, {2, 1, 0}, {1, 2, -1}, {0, 1, 1}},
        {"side by side", {square(0, 0, 100), square(200, 0, 100)}, {0, 0}, {-1, -1}, {0, 0}},
        {"extents touch on one side", {square(0, 0, 100), square(0, 10, 50)}, {0, 0}, {-1, -1}, {0, 0}},
        {"open figures contain nothing", {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, square(10, 10, 10)}, {0, 0}, {-1, -1}, {0, 0}},
        // A concave outline: the square inside its notch lies within the extents, not inside.
        {"inside the extents only", {kNotched, square(45, 50, 10)}, {0, 0}, {-1, -1}, {0, 0}},
        // The first vertex lies on the notch's bottom edge: ambiguous, the next vertex decides.
        {"ambiguous, then inside", {kNotched, {{50, 20}, {55, 10}, {45, 10}, {50, 20}}}, {0, 1}, {-1, 0}, {1, 0}},
        {"ambiguous, then outside", {kNotched, {{50, 20}, {55, 30}, {45, 30}, {50, 20}}}, {0, 0}, {-1, -1}, {0, 0}},
    };
    for (const NestCase& c : cases) {
        ProjectRig rig;
        rig.design(c.figures);
        rig.project.co_w_czym();
        for (std::size_t i = 0; i < c.figures.size(); ++i) {
            EXPECT_EQ(rig.project.figures[i].nestLevel, c.levels[i]) << c.name << " figure " << i;
            EXPECT_EQ(rig.project.figures[i].container, c.containers[i]) << c.name << " figure " << i;
            EXPECT_EQ(rig.project.figures[i].childCount, c.children[i]) << c.name << " figure " << i;
        }
    }
}

TEST(Nesting, ARayThroughAVertexCountsItOnce)
{
    // The test point lies straight under the diamond's top vertex and over its bottom one.
    ProjectRig rig;
    rig.design({{{50, 0}, {100, 50}, {50, 100}, {0, 50}, {50, 0}}, square(50, 45, 5)});
    rig.project.co_w_czym();
    EXPECT_EQ(rig.figure(1).container, 0);
    EXPECT_EQ(rig.project.maxNestLevel, 1);
}

TEST(LeadIn, TheFreeEndStarts)
{
    // A closed square and an open polyline; `touching` lists which of its vertices lie on the
    // square's vertices.
    const struct {
        std::vector<Point> line;
        bool qualifies;
        std::int32_t startVertex;
    } cases[] = {
        {{{-300, -300}, {-100, -100}, {0, 0}}, true, 0},     // last vertex touches
        {{{0, 0}, {-100, -100}, {-300, -300}}, true, 2},     // first vertex touches: start at the other end
        {{{-300, -300}, {0, 0}, {-300, 300}}, true, 0},      // a middle vertex touches
        {{{0, 0}, {-100, -100}, {0, 1000}}, false, 0},       // both ends touch
        {{{-300, -300}, {-200, -100}, {-400, 0}}, false, 0}, // touches nothing
        {{{7, 7}, {-100, -100}}, true, 1},                   // within the tolerance circle (9.9 units)
        {{{8, 7}, {-100, -100}}, false, 0},                  // beyond it (10.6 units)
    };
    for (const auto& c : cases) {
        ProjectRig rig;
        rig.design({square(0, 0, 1000), c.line});
        const auto candidates = rig.project.leadInCandidates();
        ASSERT_EQ(candidates.size(), c.qualifies ? 1u : 0u) << c.line[0].x << "," << c.line[0].y;
        if (c.qualifies) {
            EXPECT_EQ(candidates[0].figure, 1);
            EXPECT_EQ(candidates[0].startVertex, c.startVertex);
        }
    }
}

TEST(StartFigure, ALeadInPolylineStartsAtItsFreeEnd)
{
    ProjectRig rig;
    rig.design({square(0, 0, 1000), {{0, 0}, {-200, -300}, {-500, -400}}});
    rig.project.ciecie();
    EXPECT_EQ(rig.project.startFigure, 1);
    EXPECT_EQ(rig.project.frameAdded, 0);
    EXPECT_EQ(rig.project.figures.size(), 2u);  // nothing added
    EXPECT_EQ(rig.figure(1).startVertex, 2);
    EXPECT_EQ(rig.figure(0).parent, 1);
    EXPECT_EQ(rig.figure(0).attachVertex, 0);
    EXPECT_EQ(rig.figure(0).startVertex, 4);  // the square's vertices are tried from the last
    EXPECT_EQ(rig.figure(0).nestLevel, 1);    // raised
    EXPECT_EQ(rig.project.startFromLeft, 0);
    EXPECT_EQ(rig.project.startFromBottom, 0);
    EXPECT_EQ(rig.project.startFromRight, 1500);
    EXPECT_EQ(rig.project.startFromTop, 1400);
}

TEST(StartFigure, ALoneRectangleStartsAsItStands)
{
    ProjectRig rig;
    rig.config().setCheck(Param::AddFrame, CheckState::cbChecked);
    rig.design({square(100, 200, 1000)});
    const PreparationReport report = rig.project.ciecie();
    EXPECT_EQ(report.outcome, PreparationOutcome::Completed);
    EXPECT_EQ(rig.project.figures.size(), 1u);
    EXPECT_EQ(rig.project.startFigure, 0);
    EXPECT_EQ(rig.figure(0).nestLevel, 0);  // not raised
    EXPECT_EQ(rig.figure(0).startVertex, 0);
    EXPECT_EQ(rig.figure(0).parent, -1);
    EXPECT_EQ(rig.project.pathReady, 1);
    EXPECT_DOUBLE_EQ(rig.project.cutLength, 4000.0);
}

TEST(StartFigure, NearestVertexToTheProjectCornerFirstOfEqualRoundedDistances)
{
    ProjectRig rig;
    // Vertices 1 and 2 lie at 5.0 and 5.1 units from the corner (0, 0); both round to 5.
    rig.design({{{0, 100}, {3, 4}, {5, 1}, {100, 100}}, {{0, 0}, {0, 0}}});
    EXPECT_EQ(rig.project.vertexNearestToOrigin(rig.figure(0)), 1);
    rig.design({{{0, 100}, {5, 1}, {3, 4}, {100, 100}}});
    EXPECT_EQ(rig.project.vertexNearestToOrigin(rig.figure(2)), 1);
}

TEST(StartFigure, SerialModeAddsNothingAndStartsWithTheLastOuterFigure)
{
    ProjectRig rig;
    rig.config().setChoice(Param::Mode, ModeSerial);
    rig.design({square(0, 0, 100), square(500, 0, 100), square(510, 10, 20)});
    rig.project.co_w_czym();
    rig.project.selectStartFigure();
    EXPECT_EQ(rig.project.startFigure, 1);
    EXPECT_EQ(rig.project.figures.size(), 3u);
    EXPECT_EQ(rig.figure(2).nestLevel, 2);
}

TEST(TouchLinking, PairRuleTriesTheLastVerticesFirstAndSnapsEntryLines)
{
    ProjectRig rig;
    // Figure 1 touches the start square at two of its vertices; the pair found first pairs its
    // last touching vertex with the square's last touching vertex.
    rig.design({square(0, 0, 100), {{100, 0}, {150, 50}, {103, 98}}, {{112, 104}, {130, 140}}});
    rig.project.startFigure = 0;
    rig.project.setUpStartFigure();
    rig.project.linkTouchingFigures();
    EXPECT_EQ(rig.figure(1).parent, 0);
    EXPECT_EQ(rig.figure(1).startVertex, 2);
    EXPECT_EQ(rig.figure(1).attachVertex, 2);
    EXPECT_EQ(rig.figure(2).unconnected, 1);  // touches figure 1 only
    rig.project.propagateTouches();
    EXPECT_EQ(rig.figure(2).parent, 1);
    EXPECT_EQ(rig.figure(2).attachVertex, 2);
    EXPECT_EQ(rig.figure(2).startVertex, 0);
    // Design vertices never move.
    EXPECT_EQ(rig.figure(2).points[0], (Point{112, 104}));

    // An entry line takes the position of the vertex it touches.
    ProjectRig entry;
    entry.design({square(3, 4, 100)});
    tfigura line;
    line.kind = kFigureConnector;
    line.points = {{0, 0}, {0, 0}};
    line.unconnected = 0;
    entry.project.figures.push_back(line);
    entry.project.startFigure = 1;
    entry.project.linkTouchingFigures();
    EXPECT_EQ(entry.figure(0).parent, 1);
    EXPECT_EQ(entry.figure(1).points[1], (Point{3, 4}));
    EXPECT_EQ(entry.figure(1).points[0], (Point{0, 0}));
}

TEST(TouchLinking, PropagationFollowsAChainInEitherDirection)
{
    ProjectRig rig;
    // A chain 0 - 3 - 1 - 2 of polylines touching end to end; 0 is the start.
    rig.design({{{0, 0}, {100, 0}}, {{300, 0}, {400, 0}}, {{400, 5}, {500, 0}}, {{102, 3}, {298, 2}}});
    rig.project.startFigure = 0;
    rig.project.setUpStartFigure();
    rig.project.linkTouchingFigures();
    rig.project.propagateTouches();
    EXPECT_EQ(rig.figure(3).parent, 0);
    EXPECT_EQ(rig.figure(1).parent, 3);
    EXPECT_EQ(rig.figure(2).parent, 1);
    for (const tfigura& f : rig.project.figures)
        EXPECT_EQ(f.unconnected, 0);
}

TEST(Direction, ReversingTwiceRestoresPointsAndRecords)
{
    ProjectRig rig;
    rig.design({{{0, 0}, {10, 0}, {10, 20}, {-5, 3}}, {{7, 7}}});
    rig.project.buildTurnAngles();
    const tfigura before = rig.figure(0);
    rig.project.OdwrocKierunek(0);
    EXPECT_EQ(rig.figure(0).points.front(), (Point{-5, 3}));
    EXPECT_EQ(rig.figure(0).vertexInfo.front(), before.vertexInfo.back());
    rig.project.OdwrocKierunek(0);
    EXPECT_EQ(rig.figure(0).points, before.points);
    EXPECT_EQ(rig.figure(0).vertexInfo, before.vertexInfo);

    rig.project.OdwrocKierunek(-1);
    EXPECT_EQ(rig.figure(0).points.back(), (Point{0, 0}));
    EXPECT_EQ(rig.figure(1).points, (std::vector<Point>{{7, 7}}));
}

TEST(Direction, SetDirectionByTheEndsX)
{
    const struct {
        std::int32_t wanted;
        std::int32_t firstX;
        std::int32_t lastX;
        bool reversed;
    } cases[] = {{1, 10, 0, true}, {1, 0, 10, false}, {1, 5, 5, false},
                 {-1, 0, 10, true}, {-1, 10, 0, false}, {-1, 5, 5, false}, {0, 0, 10, true}};
    for (const auto& c : cases) {
        ProjectRig rig;
        rig.design({{{c.firstX, 0}, {3, 50}, {c.lastX, 100}}});
        rig.figure(0).startVertex = 2;
        rig.host.setStatus(0, "busy");
        rig.project.UstawKierunek(c.wanted);
        EXPECT_EQ(rig.figure(0).points.front().y == 100, c.reversed) << c.wanted << " " << c.firstX << " " << c.lastX;
        EXPECT_EQ(rig.figure(0).startVertex, 0);
        EXPECT_EQ(rig.host.statusPanels[0], "");
    }
}

}  // namespace
}  // namespace kerfline
