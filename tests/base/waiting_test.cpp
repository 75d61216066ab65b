#include "base/waiting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kerfline {
namespace {

// A clock that moves `msPerTick` milliseconds every `readsPerTick` readings, like a real clock
// read in a tight loop, and counts the readings.
class ReadingClock : public Clock {
public:
    explicit ReadingClock(std::int64_t readsPerTick, std::int64_t msPerTick = 1)
        : m_readsPerTick(readsPerTick), m_msPerTick(msPerTick)
    {
    }

    std::int64_t nowMs() override
    {
        ++m_reads;
        return m_slept + m_reads / m_readsPerTick * m_msPerTick;
    }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            m_slept += ms;
    }

    std::int64_t reads() const { return m_reads; }

private:
    std::int64_t m_readsPerTick;
    std::int64_t m_msPerTick;
    std::int64_t m_reads = 0;
    std::int64_t m_slept = 0;
};

TEST(WaitMs, SleepsTheRoundedTime)
{
    SimulatedClock clock;
    waitMs(clock, 2.5);
    EXPECT_EQ(clock.nowMs(), 2);
    waitMs(clock, 3.5);
    EXPECT_EQ(clock.nowMs(), 6);
    waitMs(clock, -4.0);
    EXPECT_EQ(clock.nowMs(), 6);
}

struct PaceCase {
    double ms;
    int speed;
    std::int64_t advance;  // simulated time that passes
};

class FrozenClockPaceTest : public ::testing::TestWithParam<PaceCase> {};

// The simulated clock stands still while it is read: the calibration must end anyway, and the
// waits then pass their time by sleeping.
TEST_P(FrozenClockPaceTest, EndsAndPassesTheScaledTime)
{
    const PaceCase& c = GetParam();
    SimulatedClock clock;
    SimulationPacer pacer(clock, 10'000);
    pacer.simulationWait(c.ms, c.speed);
    EXPECT_TRUE(pacer.calibrated());
    EXPECT_EQ(pacer.readingsPerMs(), 0.0);
    EXPECT_EQ(clock.nowMs(), c.advance);
}

INSTANTIATE_TEST_SUITE_P(
    Waiting, FrozenClockPaceTest,
    ::testing::Values(PaceCase{30, 2, 30},    // d = ms * 3 / (speed + 1)
                      PaceCase{40, 5, 20},
                      PaceCase{10, 0, 30},
                      PaceCase{12.5, 2, 12},  // Round(12.5)
                      PaceCase{50, 0, 151},   // d = 150 > 100: until the time exceeds 150
                      PaceCase{-5, 0, 0},
                      PaceCase{std::numeric_limits<double>::quiet_NaN(), 0, 0},
                      PaceCase{std::numeric_limits<double>::infinity(), 0, 0}));

TEST(SimulationPacer, DefaultCalibrationBoundEndsOnAFrozenClock)
{
    SimulatedClock clock;
    SimulationPacer pacer(clock);
    pacer.simulationWait(1, 2);
    EXPECT_TRUE(pacer.calibrated());
    EXPECT_EQ(clock.nowMs(), 1);
}

TEST(SimulationPacer, CalibratesOnceAndSpinsCountedReadings)
{
    ReadingClock clock(10);
    SimulationPacer pacer(clock);
    pacer.simulationWait(0, 0);
    // 100 ms pass after 1000 readings; the first one only marks the start.
    EXPECT_DOUBLE_EQ(pacer.readingsPerMs(), 9.99);

    const std::int64_t before = clock.reads();
    pacer.simulationWait(20, 2);  // d = 20: Round(20 * 9.99) + 1 readings
    EXPECT_EQ(clock.reads() - before, 201);

    const std::int64_t again = clock.reads();
    pacer.simulationWait(-1, 2);  // Round(-9.99) is negative: no reading at all
    EXPECT_EQ(clock.reads(), again);
    EXPECT_DOUBLE_EQ(pacer.readingsPerMs(), 9.99);
}

TEST(SimulationPacer, CalibrationCountsPerHundredMillisecondsWhenTheClockJumpsPastThem)
{
    ReadingClock clock(10, 3);  // 3 ms per tick: 102 ms have passed after 340 readings
    SimulationPacer pacer(clock);
    pacer.simulationWait(0, 0);
    EXPECT_DOUBLE_EQ(pacer.readingsPerMs(), 3.39);
}

TEST(SimulationPacer, CalibrationBoundOnASlowClockUsesTheTimeThatPassed)
{
    ReadingClock clock(1000);
    SimulationPacer pacer(clock, 5000);
    pacer.simulationWait(0, 0);
    EXPECT_DOUBLE_EQ(pacer.readingsPerMs(), 1000.0);
}

TEST(SimulationPacer, LongWaitLetsTheTimePass)
{
    ReadingClock clock(10);
    SimulationPacer pacer(clock);
    pacer.simulationWait(0, 0);
    const std::int64_t start = clock.nowMs();
    pacer.simulationWait(100, 1);  // d = 150
    EXPECT_GT(clock.nowMs(), start + 150);
    EXPECT_LT(clock.nowMs(), start + 155);
}

}  // namespace
}  // namespace kerfline
