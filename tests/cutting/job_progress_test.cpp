#include "cutting/job_progress.h"

#include "job_rig.h"

#include "designfiles/cut_program_decoder.h"
#include "machine/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

AxisRegisters at(std::int32_t x, std::int32_t y)
{
    AxisRegisters r{};
    r[AxisFrontX] = r[AxisBackX] = x;
    r[AxisFrontY] = r[AxisBackY] = y;
    return r;
}

// Speed set 1 at period 1000 (a move of count 1000 lasts 800 ms), a move 10 mm right, a dwell of
// 200 ms, then set 2 at period 500 and a move 10 mm up (400 ms).
DecodedProgram lShape()
{
    DecodedProgram program;
    program.commands = {{0, 'v', {1, 1000}}, {0, 'v', {2, 500}}, {0, 'f', {1}}, {0, 'a', {0xFE, 0}},
                        {0, 'a', {0, 1000}}, {0, 'a', {0xFF, 1000}}, {0, 'p', {200}}, {0, 'f', {2}},
                        {0, 'a', {0xFE, 0}}, {0, 'a', {1, 1000}}, {0, 'a', {0xFF, 1000}}};
    program.moves = {{{}, 1000, 3}, {{}, 1000, 8}};
    program.trace = {at(1000, 0), at(1000, 1000)};
    return program;
}

TEST(JobProgress, PlansTheTimeFromTheProgramsMovesSpeedsAndDwells)
{
    const JobProgress progress(lShape(), at(0, 0), {1, 1, 1, 1});
    EXPECT_EQ(progress.plannedMs(), 800 + 200 + 400);
    EXPECT_DOUBLE_EQ(progress.pathLength(), 2000.0);
    EXPECT_EQ(progress.remainingMs(), 1400);
    EXPECT_DOUBLE_EQ(progress.fraction(), 0.0);
}

TEST(JobProgress, FollowsTheReportedPositionsAlongThePath)
{
    struct Case {
        AxisRegisters position;
        double fraction;
        std::int64_t remainingMs;
    };
    const Case cases[] = {
        {at(500, 0), 0.25, 1000},     // half the first move: the dwell and the second move remain
        {at(1000, 0), 0.5, 600},      // at the corner the dwell is still to come
        {at(1000, 500), 0.75, 200},
        {at(300, 0), 0.75, 200},      // a wire brought back (to a pause point) keeps the progress
        {at(1000, 1000), 1.0, 0},
    };
    JobProgress progress(lShape(), at(0, 0), {1, 1, 1, 1});
    progress.start(10'000);
    std::int64_t now = 10'000;
    for (const Case& c : cases) {
        now += 100;
        progress.report(c.position, now);
        EXPECT_NEAR(progress.fraction(), c.fraction, 1e-9) << c.position[0] << "," << c.position[1];
        EXPECT_EQ(progress.remainingMs(), c.remainingMs) << c.position[0] << "," << c.position[1];
    }
    EXPECT_EQ(progress.elapsedMs(), 500);
}

TEST(JobProgress, APathThroughTheSamePointTwiceIsNotSkippedAhead)
{
    // Out 10 mm and back to the start, then out again: at the start point the wire has not yet
    // done the return leg.
    DecodedProgram program;
    program.commands = {{0, 'a', {0xFE, 0}}, {0, 'a', {0xFE, 0}}, {0, 'a', {0xFE, 0}}};
    program.moves = {{{}, 1000, 0}, {{}, 1000, 1}, {{}, 1000, 2}};
    program.trace = {at(1000, 0), at(0, 0), at(1000, 0)};
    JobProgress progress(program, at(0, 0), {1000, 1000, 1000, 1000});
    progress.report(at(500, 0), 1);
    EXPECT_NEAR(progress.fraction(), 1.0 / 6, 1e-9);
    progress.report(at(500, 0), 2);  // still there: the same place, not the return leg
    EXPECT_NEAR(progress.fraction(), 1.0 / 6, 1e-9);
    progress.report(at(1000, 0), 3);
    EXPECT_NEAR(progress.fraction(), 1.0 / 3, 1e-9);
}

TEST(JobProgress, PhaseFromTheLinkTheStatusWordAndWhoPaused)
{
    const auto bits = [](std::initializer_list<StatusFlag> list) {
        std::uint32_t value = 0;
        for (const StatusFlag flag : list)
            value |= statusBit(flag);
        return value;
    };
    struct Case {
        JobPhaseInputs inputs;
        JobPhase phase;
    };
    const Case cases[] = {
        {{true, 0, false, false, false}, JobPhase::Sending},
        {{true, bits({StatusFlag::programRunning, StatusFlag::waitingForGo}), false, false, false}, JobPhase::Sending},
        {{true, bits({StatusFlag::programRunning}), true, false, false}, JobPhase::Running},
        {{true, bits({StatusFlag::programRunning, StatusFlag::paused}), false, true, false}, JobPhase::PausedByOperator},
        {{true, bits({StatusFlag::programRunning, StatusFlag::paused}), false, false, false}, JobPhase::PausedByMachine},
        {{true, bits({StatusFlag::paused, StatusFlag::wireBreak}), false, false, false}, JobPhase::WireBroken},
        {{true, 0, false, false, true}, JobPhase::Finished},
        {{false, bits({StatusFlag::programRunning}), true, false, false}, JobPhase::LinkLost},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jobPhaseOf(c.inputs), c.phase) << jobPhaseName(c.phase);
}

// A whole job on the virtual cutter, its progress fed from the positions read every 100 ms as
// the main window reads them. The progress only grows, passes through the middle and ends at the
// end; the plan is close to the time the controller took to cut.
TEST(JobProgressOnTheVirtualCutter, FollowsAWholeJob)
{
    testing::JobRig rig;
    rig.open("circle.plt", testing::circleDesign(72));
    const std::int64_t startMs = rig.clock.nowMs();
    rig.session->driver.Start1Click();
    JobWatch watch;
    std::vector<double> fractions;
    std::int64_t plannedAtStart = -1;
    std::int64_t lastReadMs = 0;
    rig.beforeTick = [&] {
        const std::int64_t now = rig.clock.nowMs();
        if (!watch.watching()) {
            watch.begin(rig.session->transmission.programPath(), rig.context.machine, rig.context.job.originSteps, now);
            plannedAtStart = watch.status(JobPhase::Sending, rig.context.machine, now).remainingMs;
        }
        if (now - lastReadMs >= JobWatch::kReportMs) {
            lastReadMs = now;
            rig.protocol().ReadPositions();
            watch.tick(rig.context.machine, now);
            fractions.push_back(watch.status(JobPhase::Running, rig.context.machine, now).fraction);
        }
    };
    ASSERT_TRUE(rig.runJob());
    ASSERT_TRUE(watch.watching());
    const std::int64_t jobMs = rig.clock.nowMs() - startMs;
    EXPECT_GT(plannedAtStart, jobMs / 2);
    EXPECT_LE(plannedAtStart, jobMs);
    ASSERT_FALSE(fractions.empty());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_TRUE(std::any_of(fractions.begin(), fractions.end(), [](double f) { return f > 0.3 && f < 0.7; }));
    const JobStatus end = watch.status(JobPhase::Finished, rig.context.machine, rig.clock.nowMs());
    EXPECT_DOUBLE_EQ(end.fraction, 1.0);
    EXPECT_EQ(end.remainingMs, 0);
}

}  // namespace
}  // namespace kerfline
