// The walk of the cut tree that writes a 2D cut program: order of the points, return legs of open
// figures, corner pauses, the serial mode, synchronous pairs and figures the walk must not enter.
#include "walk_rig.h"

#include "machine/command_encoding.h"

#include <gtest/gtest.h>

#include <numbers>

namespace kerfline {
namespace {

using testing::Spot;
using testing::square;
using testing::WalkRig;

// The commands between the header and the closing "p 1", "r 0 2" of a plain 2D program.
std::vector<std::string> body(const std::vector<std::string>& commands)
{
    // The header ends with the heat-up: "f 1" and the four pauses of 1000 ms.
    const auto start = std::find(commands.begin(), commands.end(), "f 1") + 5;
    return {start, commands.end() - 2};
}

// Whether a corner pause ("p 100") directly follows the move that ends at each spot of the path.
std::vector<bool> pausesAfterMoves(const std::vector<std::string>& commands)
{
    std::vector<bool> paused;
    bool inMove = false;
    for (const std::string& command : commands) {
        if (command.rfind("a end", 0) == 0) {
            paused.push_back(false);
            inMove = true;
        } else if (inMove && command == "p 100") {
            paused.back() = true;
            inMove = false;
        } else if (command.rfind("a start", 0) == 0) {
            inMove = false;
        }
    }
    return paused;
}

TEST(CutPathWalk, OneClosedSquareIsTravelledOnceFromItsStartVertex)
{
    WalkRig rig;
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    ASSERT_TRUE(rig.save());
    // The outline falls to the left of vertex 0, so the walk runs 0, 4 (the same point), 3, 2, 1, 0.
    EXPECT_EQ(rig.frontPath(), (std::vector<Spot>{{0, 0}, {0, 10000}, {10000, 10000}, {10000, 0}, {0, 0}}));
    EXPECT_EQ(rig.backPath(), rig.frontPath());
    const std::vector<std::string> commands = body(rig.commands());
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "p 100") << "the wire pauses before it enters";
}

TEST(CutPathWalk, AFrameTheOperatorDoesNotWantIsLeftOutButItsConnectorsAreCut)
{
    for (const std::uint8_t outline : {1, 0}) {
        WalkRig rig;
        rig.config().setCheck(Param::AddFrame, CheckState::cbChecked);
        rig.design({square(0, 0, 4000), square(6000, 0, 4000)});
        rig.project.ciecie();
        ASSERT_EQ(rig.project.frameAdded, 1);
        rig.project.cutOutline = outline;
        ASSERT_TRUE(rig.save());
        const std::vector<Spot> path = rig.frontPath();
        const std::vector<Spot> frame = rig.spotsOf(rig.figure(rig.project.startFigure).points);
        std::set<std::pair<Spot, Spot>> frameEdges;
        for (std::size_t k = 0; k + 1 < frame.size(); ++k)
            frameEdges.insert({frame[k], frame[k + 1]});
        std::set<std::pair<Spot, Spot>> moves;
        for (std::size_t k = 0; k + 1 < path.size(); ++k)
            moves.insert({path[k], path[k + 1]});
        std::size_t frameMoves = 0;
        for (const auto& edge : frameEdges)
            frameMoves += moves.contains(edge) || moves.contains({edge.second, edge.first}) ? 1 : 0;
        EXPECT_EQ(frameMoves, outline == 1 ? frameEdges.size() : 0u) << "outline " << int{outline};
        const std::set<Spot> reached(path.begin(), path.end());
        for (const tfigura& figure : rig.project.figures) {
            if (figure.kind != kFigureConnector)
                continue;
            for (const Spot& end : rig.spotsOf(figure.points))
                EXPECT_TRUE(reached.contains(end)) << "connector end " << end;
        }
    }
}

TEST(CutPathWalk, ALoneOpenPolylineIsCutOnceWithoutTheWayBack)
{
    WalkRig rig;
    const std::vector<Point> line{{0, 0}, {4000, 1000}, {8000, 0}, {12000, 2000}};
    rig.design({line});
    rig.project.ciecie();
    ASSERT_TRUE(rig.save());
    ASSERT_EQ(rig.project.singleOpenFigure, 1);
    EXPECT_EQ(rig.frontPath(), rig.spotsOf(line));
}

TEST(CutPathWalk, AnOpenPolylineEnteredAtItsLastVertexIsReversedOnce)
{
    WalkRig rig;
    const std::vector<Point> line{{0, 0}, {4000, 1000}, {8000, 0}, {12000, 2000}};
    rig.design({line});
    rig.project.ciecie();
    rig.project.directionX = {255, 255};  // cut leftwards: from the end with the larger X
    ASSERT_TRUE(rig.save());
    const std::string first = rig.bytes();
    const std::vector<Point> reversed(line.rbegin(), line.rend());
    EXPECT_EQ(rig.figure(0).points, reversed);
    EXPECT_EQ(rig.figure(0).startVertex, 0);
    EXPECT_EQ(rig.frontPath(), rig.spotsOf(reversed));
    ASSERT_TRUE(rig.save());
    EXPECT_EQ(rig.bytes(), first) << "a second save writes the same program";
}

// A lone two-point line started at its last vertex used to be walked to the end it started at,
// writing no move at all.
TEST(CutPathWalk, ALoneTwoPointLineIsCutFromWhicheverEndStarts)
{
    for (const std::uint8_t direction : {std::uint8_t{1}, std::uint8_t{255}}) {
        WalkRig rig;
        const std::vector<Point> line{{0, 0}, {8000, 2000}};
        rig.design({line});
        rig.project.ciecie();
        rig.project.directionX = {direction, direction};
        ASSERT_TRUE(rig.save());
        const std::vector<Spot> ends = rig.spotsOf(line);
        const std::vector<Spot> expected =
            direction == 1 ? ends : std::vector<Spot>{ends[1], ends[0]};
        EXPECT_EQ(rig.frontPath(), expected) << "direction " << int{direction};
    }
}

TEST(CutPathWalk, AnOpenPolylineAmongOtherFiguresIsCutOutAndTravelledBack)
{
    WalkRig rig;
    rig.config().setNumber(Param::Pauza_w_kacie, 100);
    // The polyline's free end leads into the design; its last vertex touches the square.
    const std::vector<Point> line{{0, 0}, {1000, 2000}, {2000, 1500}, {4000, 4000}};
    rig.design({square(4000, 4000, 4000), line});
    rig.project.ciecie();
    ASSERT_EQ(rig.project.startFigure, 1);
    ASSERT_TRUE(rig.save());
    const std::vector<Spot> path = rig.frontPath();
    const std::vector<Spot> l = rig.spotsOf(line);
    ASSERT_GE(path.size(), 8u);
    EXPECT_EQ(std::vector<Spot>(path.begin(), path.begin() + 4), l);
    EXPECT_EQ(std::vector<Spot>(path.end() - 4, path.end()), (std::vector<Spot>{l[3], l[2], l[1], l[0]}));
    // Each move of the return leg is followed by a corner pause.
    const std::vector<bool> paused = pausesAfterMoves(rig.commands());
    EXPECT_EQ(std::vector<bool>(paused.end() - 3, paused.end()), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(testing::pathViolations(rig, path).empty()) << testing::pathViolations(rig, path);
}

TEST(CutPathWalk, APauseFollowsOnlyTurnsSharperThanAFifthOfPi)
{
    struct Case {
        double turn;
        bool paused;
    };
    const Case cases[] = {{0.6283185307179586, false}, {0.62831853071796, true}, {-0.7, true}, {0.3, false}};
    for (const Case& c : cases) {
        WalkRig rig;
        // A gentle bend: the writer's own corner test keeps quiet, only the turn record counts.
        rig.design({{{0, 0}, {4000, 0}, {8000, 1000}}});
        rig.project.ciecie();
        rig.figure(0).vertexInfo.at(1).turnAngle = c.turn;
        ASSERT_TRUE(rig.save());
        const std::vector<bool> paused = pausesAfterMoves(rig.commands());
        ASSERT_EQ(paused.size(), 2u);
        EXPECT_EQ(paused[0], c.paused) << c.turn;
    }
}

// The serial mode leaves out the step onto the duplicate closing vertex; the loop must still
// close whichever way the outline runs, and a figure touching the closing vertex is cut.
TEST(CutPathWalk, SerialModeClosesEveryLoopOnItsStartVertex)
{
    const std::vector<Point> clockwise{{0, 0}, {0, 4000}, {4000, 4000}, {4000, 0}, {0, 0}};
    const std::vector<Point> counterClockwise(clockwise.rbegin(), clockwise.rend());
    for (const auto& outline : {clockwise, counterClockwise}) {
        WalkRig rig;
        rig.config().setChoice(Param::Mode, ModeSerial);
        rig.config().setChoice(Param::StolikSwitch, DeviceTable);
        rig.design({outline, {{0, 0}, {-1000, 0}, {-1000, -1000}, {0, -1000}, {0, 0}}});
        rig.project.ciecie();
        rig.project.UstawKierunek(1);
        ASSERT_TRUE(rig.save(0.25, 33));
        const std::vector<Spot> path = rig.frontPath();
        const std::set<Spot> reached(path.begin(), path.end());
        for (const tfigura& figure : rig.project.figures)
            for (const Spot& s : rig.spotsOf(figure.points))
                EXPECT_TRUE(reached.contains(s)) << s;
        EXPECT_EQ(path.back(), rig.startSpot);
        EXPECT_TRUE(testing::pathViolations(rig, path).empty()) << testing::pathViolations(rig, path);
        // The pass ends with a quarter turn of the table.
        EXPECT_EQ(rig.decoded().moves.back().steps[AxisTable], 2000);
    }
}

TEST(CutPathWalk, TheClosingRotationTurnsTableOrSpindle)
{
    for (const int device : {DeviceSpindle, DeviceTable}) {
        WalkRig rig;
        rig.config().setChoice(Param::StolikSwitch, device);
        rig.design({square(0, 0, 4000)});
        rig.project.ciecie();
        ASSERT_TRUE(rig.save(0.5));
        const machine::AxisSteps last = rig.decoded().moves.back().steps;
        EXPECT_EQ(last[AxisTable], device == DeviceTable ? 4000 : 0);
        EXPECT_EQ(last[AxisSpindle], device == DeviceTable ? 0 : 4000);
    }
}

// Builds a tree by hand: each figure names its parent, the vertex it hangs from and where it starts.
struct Node {
    std::vector<Point> points;
    std::int32_t parent;
    std::int32_t attachVertex;
    std::int32_t startVertex;
    bool open;
    bool unconnected = false;
};

void build(WalkRig& rig, const std::vector<Node>& nodes)
{
    for (const Node& node : nodes) {
        tfigura figure;
        figure.points = node.points;
        figure.open = node.open ? 1 : 0;
        figure.closed = node.open ? 0 : 1;
        figure.isDesign = 1;
        figure.parent = node.parent;
        figure.attachVertex = node.attachVertex;
        figure.startVertex = node.startVertex;
        figure.unconnected = node.unconnected ? 1 : 0;
        figure.number = static_cast<std::int32_t>(rig.project.figures.size());
        rig.project.figures.push_back(std::move(figure));
    }
    rig.project.minX = -8000;
    rig.project.minY = -8000;
    rig.project.startFigure = 0;
    rig.project.buildTurnAngles();
}

TEST(CutPathWalk, FiguresOutsideTheTreeAreNeverEntered)
{
    WalkRig rig;
    build(rig, {
                   {square(0, 0, 4000), -1, -1, 0, false},
                   {square(1000, 1000, 1000), 0, 2, 0, false, true},  // names a parent, not connected
                   {square(6000, 0, 1000), -1, -1, 0, false},         // no parent at all
                   {square(0, 0, 500), 0, 0, 0, false},
               });
    ASSERT_TRUE(rig.saveAsItStands());
    const std::vector<Spot> path = rig.frontPath();
    const std::set<Spot> reached(path.begin(), path.end());
    for (const std::size_t outside : {std::size_t{1}, std::size_t{2}})
        for (const Spot& s : rig.spotsOf(rig.project.figures[outside].points))
            EXPECT_FALSE(reached.contains(s)) << "figure " << outside << " at " << s;
    EXPECT_TRUE(reached.contains(rig.spotOf({500, 500})));
}

TEST(CutPathWalk, AnOpenFigureEnteredBetweenItsEndsIsLeftWhereItWasEntered)
{
    WalkRig rig;
    const std::vector<Point> line{{-4000, 0}, {-3000, 1000}, {0, 0}, {-2000, -1000}, {-4000, -2000}};
    build(rig, {
                   {square(0, 0, 4000), -1, -1, 0, false},
                   {line, 0, 0, 2, true},
                   {square(-4500, 0, 500), 1, 0, 1, false},      // hangs from the line's first vertex
                   {square(-4000, -2000, 500), 1, 4, 0, false},  // and from its last
               });
    ASSERT_TRUE(rig.saveAsItStands());
    const std::vector<Spot> path = rig.frontPath();
    EXPECT_TRUE(testing::pathViolations(rig, path).empty()) << testing::pathViolations(rig, path);
    EXPECT_EQ(path.back(), rig.startSpot);
    EXPECT_EQ(rig.figure(1).points, line) << "no reversal for an entry between the ends";
}

TEST(CutPathWalk, AnOpenFigureEnteredWhereItsLastPointRepeatsIsReversedAsAtItsEnd)
{
    // The connector enters the open figure at vertex 2, which repeats its last point: an end in
    // all but index.
    WalkRig rig;
    const std::string design = rig.dir.write(
        "repeated_end.plt", "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;M9000,0;C8000,3000;C5000,3000;C5000,3000;M0,0;");
    ASSERT_EQ(rig.project.Load(design, 255), LoadOutcome::Opened);
    ASSERT_TRUE(rig.save());
    const tfigura& open = rig.figure(1);
    EXPECT_EQ(open.points, (std::vector<Point>{{5000, 3000}, {5000, 3000}, {8000, 3000}, {9000, 0}}));
    EXPECT_EQ(open.startVertex, 0);

    const std::vector<Spot> path = rig.frontPath();
    EXPECT_TRUE(testing::pathViolations(rig, path).empty()) << testing::pathViolations(rig, path);
    EXPECT_EQ(path.back(), rig.startSpot);
}

TEST(CutPathWalk, ADeepTreeIsWalkedWithoutRecursion)
{
    WalkRig rig;
    constexpr std::int32_t kDepth = 50000;
    std::vector<Node> chain;
    chain.push_back({{{0, 0}, {10, 0}}, -1, -1, 0, true});
    for (std::int32_t k = 1; k < kDepth; ++k)
        chain.push_back({{{10 * k, 0}, {10 * (k + 1), 0}}, k - 1, 1, 0, true});
    build(rig, chain);
    rig.project.minX = 0;
    rig.project.minY = 0;
    ASSERT_TRUE(rig.saveAsItStands());
    const std::vector<Spot> path = rig.frontPath();
    ASSERT_EQ(path.size(), 2u * kDepth + 1);
    EXPECT_EQ(path[kDepth], (Spot{std::int64_t{kDepth} * 25, 0}));
    EXPECT_EQ(path.back(), (Spot{0, 0}));
}

TEST(CutPathWalk, ASynchronousPairMovesEachArmAlongItsOwnFigure)
{
    WalkRig rig;
    build(rig, {
                   {square(0, 0, 4000), -1, -1, 0, false},
                   {square(0, 0, 4000), -1, -1, 0, false},
               });
    rig.project.minX = 0;
    rig.project.minY = 0;
    rig.project.synchronousPair = 1;
    rig.figure(0).secondPoints = square(0, 0, 4000);
    rig.figure(1).secondPoints = square(0, 0, 8000);
    ASSERT_TRUE(rig.saveAsItStands());
    EXPECT_EQ(rig.frontPath(), (std::vector<Spot>{{0, 0}, {10000, 0}, {10000, 10000}, {0, 10000}, {0, 0}}));
    EXPECT_EQ(rig.backPath(), (std::vector<Spot>{{0, 0}, {20000, 0}, {20000, 20000}, {0, 20000}, {0, 0}}));
}

TEST(CutPathWalk, TheTwoWireMachineHeatsTheWireItCutsWith)
{
    struct Case {
        bool front;
        bool back;
        std::vector<std::int32_t> sent;  // "S" 4, then the writer's "s" 4
    };
    const Case cases[] = {{true, false, {0, 0}}, {false, true, {5, 5}}};
    for (const Case& c : cases) {
        WalkRig rig;
        rig.app.machine.setProduct("Pr 1200");
        rig.app.machine.KeyFront = c.front;
        rig.app.machine.KeyBack = c.back;
        rig.design({square(0, 0, 4000)});
        rig.project.ciecie();
        ASSERT_TRUE(rig.save());
        ASSERT_EQ(rig.sent.size(), 2u);
        EXPECT_EQ(rig.sent[0], std::string("S\x04", 2) + machine::EncodeInt32(c.sent[0]));
        EXPECT_EQ(rig.sent[1], std::string("s\x04", 2) + machine::EncodeInt32(c.sent[1]));
    }
}

TEST(CutPathWalk, AProgramThatCannotBeWrittenFails)
{
    WalkRig rig;
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    CutProgramJob job;
    job.outputKind = OutputKind::Plain;
    const ProgramWriteResult result = save_ciecie(rig.project, job, rig.dir.str() + "no/such/out.cn", 0, 0.0, 0);
    ASSERT_FALSE(result);
    EXPECT_EQ(rig.host.busyDepth, 0);
}

}  // namespace
}  // namespace kerfline
