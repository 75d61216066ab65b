#include "base/waiting.h"

#include "base/round.h"

#include <algorithm>
#include <cmath>

namespace kerfline {

namespace {

// A long wait normally needs one sleep; the bound only matters for a clock that sleeps short or
// not at all.
constexpr int kMaxSleepRounds = 1000;
constexpr double kCalibrationMs = 100.0;

}  // namespace

void waitMs(Clock& clock, double ms)
{
    clock.sleepMs(roundHalfEven<std::int64_t>(ms));
}

void SimulationPacer::calibrate()
{
    const std::int64_t start = m_clock.nowMs();
    std::int64_t now = start;
    std::int64_t count = 0;
    while (now - start < kCalibrationMs && count < m_maxCalibrationReadings) {
        now = m_clock.nowMs();
        ++count;
    }
    const std::int64_t elapsed = now - start;
    if (elapsed >= kCalibrationMs)
        m_readingsPerMs = static_cast<double>(count) / kCalibrationMs;
    else if (elapsed > 0)
        m_readingsPerMs = static_cast<double>(count) / static_cast<double>(elapsed);
    else
        m_readingsPerMs = 0.0;
    m_calibrated = true;
}

void SimulationPacer::simulationWait(double ms, int speed)
{
    if (!m_calibrated)
        calibrate();
    const double d = ms * 3.0 / (std::max(speed, 0) + 1);
    // An endless or undefined wait is no wait.
    if (!std::isfinite(d))
        return;

    if (d > kCalibrationMs) {
        const double end = static_cast<double>(m_clock.nowMs()) + d;
        for (int round = 0; round < kMaxSleepRounds; ++round) {
            const std::int64_t now = m_clock.nowMs();
            if (static_cast<double>(now) > end)
                return;
            m_clock.sleepMs(static_cast<std::int64_t>(std::floor(end - static_cast<double>(now))) + 1);
        }
        return;
    }

    // Readings that take no time cannot measure a wait; such a clock is slept instead.
    if (m_readingsPerMs == 0.0) {
        waitMs(m_clock, d);
        return;
    }
    const std::int64_t readings = roundHalfEven<std::int64_t>(d * m_readingsPerMs);
    if (readings < 0)
        return;
    for (std::int64_t i = 0; i <= readings; ++i)
        static_cast<void>(m_clock.nowMs());
}

}  // namespace kerfline
