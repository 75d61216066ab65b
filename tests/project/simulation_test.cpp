// The simulation of the project view without a widget: the replayed steps for each mode, the
// recording for the mixing, the pixel stepping and pacing of the animation with its interruption,
// and the wire's trail during a job.
#include "project_rig.h"

#include "base/waiting.h"
#include "project/simulation_animation.h"
#include "project/simulation_replay.h"
#include "project/wire_trail.h"
#include "machine/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::square;
using Kind = ReplayStep::Kind;

std::vector<Point> cutPoints(const std::vector<ReplayStep>& steps)
{
    std::vector<Point> points;
    for (const ReplayStep& s : steps)
        if (s.kind == Kind::Cut)
            points.push_back(s.point);
    return points;
}

TEST(SimulationReplay, TwoDimensionalProjectFollowsTheCutTreeWithQuarterCornerPauses)
{
    ProjectRig rig;
    rig.config().setNumber(Param::Pauza_w_kacie, 400.0);
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    const std::vector<ReplayStep> steps = replaySteps(rig.project);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().kind, Kind::Place);
    EXPECT_EQ(steps.front().point, (Point{0, 0}));
    EXPECT_EQ(cutPoints(steps), (std::vector<Point>{{0, 0}, {0, 4000}, {4000, 4000}, {4000, 0}, {0, 0}}));
    int pauses = 0;
    for (const ReplayStep& s : steps)
        if (s.kind == Kind::Pause) {
            ++pauses;
            EXPECT_DOUBLE_EQ(s.ms, 100.0);
        }
    EXPECT_EQ(pauses, 6) << "one before entering and one after each corner";
}

TEST(SimulationReplay, ASingleOpenFigureStartsAtTheEndTheFeedComesFrom)
{
    struct Case {
        std::uint8_t directionX;
        Point start;
        std::vector<Point> cuts;
    };
    for (const Case& c : {Case{255, {2000, 0}, {{1000, 500}, {0, 0}}}, Case{1, {0, 0}, {{1000, 500}, {2000, 0}}}}) {
        ProjectRig rig;
        rig.design({{{0, 0}, {1000, 500}, {2000, 0}}});
        rig.project.ciecie();
        ASSERT_EQ(rig.project.singleOpenFigure, 1);
        rig.project.directionX = {c.directionX, c.directionX};
        const std::vector<ReplayStep> steps = replaySteps(rig.project);
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(steps.front().point, c.start) << int{c.directionX};
        EXPECT_EQ(cutPoints(steps), c.cuts) << int{c.directionX};
    }
}

// An axis line, then profile A and profile B.
struct RotaryRig : ProjectRig {
    explicit RotaryRig(int mode, int catDir)
    {
        design({{{0, 0}, {8000, 0}}, {{1000, 0}, {3000, 1000}}, {{6000, 0}, {3000, 2000}}});
        config().setChoice(Param::Mode, mode);
        config().setChoice(Param::StolikSwitch, DeviceSpindle);
        config().setChoice(Param::CatDir, catDir);
        figure(0).cutEnabled = 0;
        project.axisIndex = 0;
        for (tfigura& f : project.figures)
            f.turnOrder = 1;
    }
};

TEST(SimulationReplay, RotaryFiguresRunFromTheEndCatDirChooses)
{
    struct Case {
        int catDir;
        std::vector<std::tuple<Kind, Point>> expected;
    };
    const Point corner{0, 0};
    const std::vector<Case> cases{
        {0,
         {{Kind::Place, corner}, {Kind::Travel, {1000, 0}}, {Kind::Cut, {3000, 1000}}, {Kind::Travel, {6000, 0}},
          {Kind::Cut, {3000, 2000}}, {Kind::Travel, corner}}},
        {1,
         {{Kind::Place, corner}, {Kind::Travel, {3000, 1000}}, {Kind::Cut, {1000, 0}}, {Kind::Travel, {3000, 2000}},
          {Kind::Cut, {6000, 0}}, {Kind::Travel, corner}}},
        // A's far end is its last point; from there B's last point is nearer, so B runs backwards
        {2,
         {{Kind::Place, corner}, {Kind::Travel, {1000, 0}}, {Kind::Cut, {3000, 1000}}, {Kind::Travel, {3000, 2000}},
          {Kind::Cut, {6000, 0}}, {Kind::Travel, corner}}},
    };
    for (const Case& c : cases) {
        RotaryRig rig(ModeRotary, c.catDir);
        std::vector<std::tuple<Kind, Point>> actual;
        for (const ReplayStep& s : replaySteps(rig.project))
            actual.emplace_back(s.kind, s.point);
        EXPECT_EQ(actual, c.expected) << "CatDir " << c.catDir;
    }
}

TEST(SimulationReplay, TurningSkipsUnorderedFiguresAndMeasuresFromHighAbove)
{
    RotaryRig rig(ModeTurning, 2);
    rig.figure(1).turnOrder = 0;
    // Seen from (0, 0) the last point would be the farther end; from (0, 1000000) it is the nearer.
    rig.figure(2).points = {{100, 0}, {0, 3000}};
    const std::vector<ReplayStep> steps = replaySteps(rig.project);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[1].point, (Point{0, 3000}));
    EXPECT_EQ(steps[2].point, (Point{100, 0}));
}

TEST(SimulationReplay, ASynchronousPairJoinsItsPointsWithFiftyMillisecondsBetweenLines)
{
    ProjectRig rig;
    rig.design({{{0, 0}, {10, 0}, {20, 0}}, {{0, 5}, {10, 5}, {20, 5}}});
    rig.project.synchronousPair = 1;
    const std::vector<ReplayStep> steps = replaySteps(rig.project);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0], (ReplayStep{Kind::PairLine, {10, 0}, {10, 5}, 0.0, 0, 1}));
    EXPECT_EQ(steps[1].kind, Kind::Pause);
    EXPECT_DOUBLE_EQ(steps[1].ms, 50.0);
    EXPECT_EQ(steps[2], (ReplayStep{Kind::PairLine, {20, 0}, {20, 5}, 0.0, 0, 2}));
}

TEST(SimulationReplay, StopsAsSoonAsTheOperatorStopsIt)
{
    ProjectRig rig;
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    int cuts = 0;
    replayCutPath(rig.project, [&](const ReplayStep& s) {
        if (s.kind == Kind::Cut && ++cuts == 2)
            rig.project.simulationStopped = 1;
    });
    EXPECT_EQ(cuts, 2);
}

// A square entered from a two-point line that leads to a second square (a hand-made cut tree).
struct RecordingRig : ProjectRig {
    explicit RecordingRig(std::uint8_t middlePen)
    {
        design({square(0, 0, 1000), {{1000, 0}, {2000, 0}}, square(2000, 0, 1000)});
        const std::int32_t parents[] = {-1, 0, 1};
        const std::int32_t attach[] = {-1, 1, 1};
        for (std::int32_t i = 0; i < 3; ++i) {
            figure(i).pen = 4;
            figure(i).parent = parents[i];
            figure(i).attachVertex = attach[i];
            figure(i).startVertex = 0;
            figure(i).unconnected = 0;
        }
        figure(1).pen = middlePen;
        project.startFigure = 0;
    }

    std::vector<std::tuple<int, int, int, int>> recorded() const
    {
        std::vector<std::tuple<int, int, int, int>> r;
        for (const MixSource& s : project.mixSources)
            r.emplace_back(s.figure, s.vertex, s.x, s.y);
        return r;
    }
};

TEST(SimulationRecording, TagsPointsPastPenSixFiguresAndSkipsRepeats)
{
    RecordingRig withPen6(6);
    recordMixSources(withPen6.project);
    EXPECT_EQ(withPen6.recorded(), (std::vector<std::tuple<int, int, int, int>>{
                                       {0, 0, 0, 0}, {0, 3, 0, 1000}, {0, 2, 1000, 1000}, {0, 1, 1000, 0},
                                       {3, 4, 2000, 0}, {3, 3, 2000, 1000}, {3, 2, 3000, 1000}, {3, 1, 3000, 0},
                                       {3, 0, 2000, 0}, {1, 0, 0, 0}}));  // past one pen-6 figure

    RecordingRig plain(1);
    plain.project.mixSources.push_back({9, 9, 9, 9});  // a new recording replaces the old
    recordMixSources(plain.project);
    EXPECT_EQ(plain.recorded(), (std::vector<std::tuple<int, int, int, int>>{
                                    {0, 0, 0, 0}, {0, 3, 0, 1000}, {0, 2, 1000, 1000}, {0, 1, 1000, 0},
                                    {1, 1, 2000, 0},  // the second square's first point repeats it
                                    {2, 3, 2000, 1000}, {2, 2, 3000, 1000}, {2, 1, 3000, 0}, {2, 0, 2000, 0},
                                    {1, 0, 1000, 0}, {0, 0, 0, 0}}));
}

TEST(SimulationAnimation, PixelStepsAreUnitStepsRoundedHalfToEven)
{
    struct Case {
        PixelPoint from, to;
        std::vector<PixelPoint> steps;
    };
    const std::vector<Case> cases{
        {{4, 4}, {4, 4}, {}},
        {{0, 0}, {3, 0}, {{1, 0}, {2, 0}, {3, 0}}},
        {{0, 0}, {3, 4}, {{1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 4}}},
        {{0, 0}, {1, 1}, {{1, 1}}},
        {{0, 0}, {1, 2}, {{0, 1}, {1, 2}}},  // 0.5 rounds to 0
        {{10, 10}, {7, 10}, {{9, 10}, {8, 10}, {7, 10}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pixelSteps(c.from, c.to), c.steps) << c.to.x << "," << c.to.y;
}

struct RecordingCanvas : SimulationCanvas {
    std::vector<PixelPoint> cursor;
    std::vector<PixelPoint> dots;
    int refreshes = 0;
    std::function<void()> onDot;
    void placeCursor(PixelPoint p) override { cursor.push_back(p); }
    void drawCutDot(PixelPoint p) override
    {
        dots.push_back(p);
        if (onDot)
            onDot();
    }
    void drawPairLine(PixelPoint, PixelPoint) override {}
    void refresh() override { ++refreshes; }
    void progress(double fraction) override { fractions.push_back(fraction); }
    std::vector<double> fractions;
};

ViewMapping hundredthScale()
{
    ViewMapping m;
    m.drawable = true;
    m.k = 0.01;
    m.baseline = 100;
    return m;
}

TEST(SimulationAnimation, CutsDrawADotPerPixelAndWaitTwoPacedMillisecondsEach)
{
    ProjectRig rig;
    rig.config().setNumber(Param::Pauza_w_kacie, 400.0);
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    SimulationPacer pacer(rig.clock, 10);
    RecordingCanvas canvas;
    const std::int64_t before = rig.clock.nowMs();
    animateSimulation(rig.project, hundredthScale(), canvas, pacer);
    ASSERT_EQ(canvas.dots.size(), 160u) << "four sides of 40 pixels";
    EXPECT_EQ(canvas.dots.front(), (PixelPoint{7, 99}));
    EXPECT_EQ(canvas.dots.back(), (PixelPoint{7, 100}));
    EXPECT_TRUE(canvas.cursor.empty()) << "the cursor follows travel only";
    // speed 0 triples a wait: 6 ms per pixel, and six corner pauses of 100 ms
    EXPECT_EQ(rig.clock.nowMs() - before, 160 * 6 + 6 * 100);
    EXPECT_GT(canvas.refreshes, 10);
    EXPECT_EQ(rig.project.simulationStopped, 0);
}

TEST(SimulationAnimation, TravelMovesTheCursorBesideTheWire)
{
    RotaryRig rig(ModeRotary, 0);
    rig.config().setPosition(Param::sbWspSymulacji, 2);
    SimulationPacer pacer(rig.clock, 10);
    RecordingCanvas canvas;
    animateSimulation(rig.project, hundredthScale(), canvas, pacer);
    ASSERT_FALSE(canvas.cursor.empty());
    EXPECT_EQ(canvas.cursor.front(), (PixelPoint{7 + 1 + 2, 100 + 3}));
    EXPECT_EQ(canvas.cursor[9], (PixelPoint{7 + 10 + 2, 100 + 3})) << "at the first point of profile A";
    EXPECT_EQ(canvas.cursor.back(), (PixelPoint{7 + 2, 100 + 3})) << "back at the corner";
}

TEST(SimulationAnimation, AKeyOrALeftClickStopsItAndOtherInputDoesNot)
{
    struct Case {
        PendingInput input;
        bool stops;
    };
    for (const Case c : {Case{PendingInput::KeyDown, true}, Case{PendingInput::LeftButtonDown, true},
                         Case{PendingInput::Other, false}}) {
        ProjectRig rig;
        rig.design({square(0, 0, 4000)});
        rig.project.ciecie();
        SimulationPacer pacer(rig.clock, 10);
        RecordingCanvas canvas;
        canvas.onDot = [&] {
            if (canvas.dots.size() == 10)
                rig.host.pendingInputs.push_back(c.input);
        };
        animateSimulation(rig.project, hundredthScale(), canvas, pacer);
        EXPECT_EQ(canvas.dots.size(), c.stops ? 10u : 160u);
        EXPECT_EQ(rig.project.simulationStopped, c.stops ? 1 : 0);
        EXPECT_TRUE(rig.host.pendingInputs.empty());
    }
}

TEST(SimulationAnimation, APressDuringALongCornerPauseIsSeenWithinFiftyMilliseconds)
{
    ProjectRig rig;
    rig.config().setNumber(Param::Pauza_w_kacie, 40000.0);  // 10 s on screen
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    SimulationPacer pacer(rig.clock, 10);
    RecordingCanvas canvas;
    rig.clock.setListener([&](std::int64_t, std::int64_t to) {
        if (to >= 120)
            rig.host.pendingInputs.push_back(PendingInput::KeyDown);
    });
    animateSimulation(rig.project, hundredthScale(), canvas, pacer);
    EXPECT_EQ(rig.project.simulationStopped, 1);
    EXPECT_LE(rig.clock.nowMs(), 150);
    EXPECT_TRUE(canvas.dots.empty());
}

// The progress runs along the path's length to the end, or stops where the operator stopped it;
// the speed is read while the animation runs, so a change takes effect at once.
TEST(SimulationAnimation, TellsItsProgressAndFollowsASpeedChangedMeanwhile)
{
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "to the end");
        ProjectRig rig;
        rig.config().setNumber(Param::Pauza_w_kacie, 0.0);
        rig.design({square(0, 0, 4000)});
        rig.project.ciecie();
        SimulationPacer pacer(rig.clock, 10);
        RecordingCanvas canvas;
        std::int64_t halfway = 0;
        canvas.onDot = [&] {
            if (canvas.dots.size() == 80) {
                halfway = rig.clock.nowMs();
                // 0 normal triples a wait; 2 makes it as long as asked for
                rig.config().setPosition(Param::sbWspSymulacji, 2);
                if (stop)
                    rig.host.pendingInputs.push_back(PendingInput::KeyDown);
            }
        };
        const std::int64_t before = rig.clock.nowMs();
        const SimulationOutcome outcome = animateSimulation(rig.project, hundredthScale(), canvas, pacer);
        EXPECT_EQ(outcome.stopped, stop);
        ASSERT_FALSE(canvas.fractions.empty());
        EXPECT_TRUE(std::is_sorted(canvas.fractions.begin(), canvas.fractions.end()));
        EXPECT_DOUBLE_EQ(canvas.fractions.back(), outcome.fraction);
        if (stop) {
            EXPECT_NEAR(outcome.fraction, 0.5, 0.01);
        } else {
            EXPECT_DOUBLE_EQ(outcome.fraction, 1.0);
            // The 80th dot already waits at the new speed.
            EXPECT_EQ(halfway - before, 79 * 6);
            EXPECT_EQ(rig.clock.nowMs() - halfway, 81 * 2);
        }
    }
}

// Where the job was not followed (a lost read, a pause, a program not yet running) the route has a
// gap, and what follows starts a segment of its own.
TEST(WireTrail, ANewSegmentBeginsAfterWhatWasNotFollowed)
{
    MachineState m;
    m.KeyFront = true;
    WireTrail trail;
    trail.begin({0, 0}, 0, 0, false, 100.0);
    const auto at = [&](std::int32_t x, std::uint32_t flags) {
        m.frontX = x;
        m.statusFlags = flags;
    };
    const std::uint32_t running = statusBit(StatusFlag::programRunning);
    at(0, running | statusBit(StatusFlag::waitingForGo));
    trail.follow(m, true);  // before Go the wire stands at the start: no gap
    at(100, running);
    trail.follow(m, true);
    at(200, running);
    trail.follow(m, false);  // the read failed
    at(300, running);
    trail.follow(m, true);
    at(400, running | statusBit(StatusFlag::paused));
    trail.follow(m, true);
    at(300, running);  // back where the pause began: no break
    trail.follow(m, true);
    at(500, running | statusBit(StatusFlag::wireBreak));
    trail.follow(m, true);
    at(600, running);
    trail.follow(m, true);
    EXPECT_EQ(trail.path(), (std::vector<Point>{{0, 0}, {40, 0}, {120, 0}, {240, 0}}));
    EXPECT_EQ(trail.segmentStarts(), (std::vector<std::size_t>{0, 2, 3}));
}

TEST(WireTrail, MapsArmPositionsIntoTheProjectFromItsStartPoint)
{
    struct Case {
        double skala;
        std::int32_t dx, dy;  // hundredths of a millimetre
        Point expected;
    };
    for (const Case c : {Case{100, 100, 0, {1040, 2000}}, Case{200, 100, -50, {1020, 1990}},
                         Case{50, 1, 1, {1001, 2001}}, Case{100, 1, 1, {1000, 2000}}, Case{0, 100, 0, {1040, 2000}}}) {
        WireTrail trail;
        trail.begin({1000, 2000}, 5000, 6000, false, c.skala);
        EXPECT_EQ(trail.toProject(5000 + c.dx, 6000 + c.dy), c.expected) << c.skala << " " << c.dx;
    }
}

TEST(WireTrail, FollowsTheArmTheProgramDrivesAndKeepsTheRouteCut)
{
    ProjectRig rig;
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    MachineState& m = rig.app.machine;
    m.KeyFront = false;
    m.backX = 1000;
    m.backY = 1000;
    m.frontX = 7777;
    WireTrail trail;
    EXPECT_FALSE(trail.update(m)) << "nothing before the job";
    trail.begin(rig.project, m, 100.0);
    ASSERT_TRUE(trail.active());
    EXPECT_TRUE(trail.followsBackArm());
    EXPECT_FALSE(trail.update(m)) << "the wire has not moved";
    m.backY += 1000;
    EXPECT_TRUE(trail.update(m));
    m.backX += 500;
    EXPECT_TRUE(trail.update(m));
    EXPECT_EQ(trail.path(), (std::vector<Point>{{0, 0}, {0, 400}, {200, 400}}));
    EXPECT_EQ(trail.current(), (Point{200, 400}));
    trail.clear();
    EXPECT_FALSE(trail.current().has_value());
}

}  // namespace
}  // namespace kerfline
