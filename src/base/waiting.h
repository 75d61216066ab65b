#pragma once

#include "base/clock.h"

#include <cstdint>

namespace kerfline {

// Sleeps Round(ms) milliseconds through the clock.
void waitMs(Clock& clock, double ms);

// Paces the on-screen simulation. Short waits spin on clock readings, counted against a
// calibration made on the first wait; long waits sleep through the clock until their time has
// passed, which lets the desktop clock keep painting and a simulated clock move on.
class SimulationPacer {
public:
    // Calibration stops after this many readings even if 100 ms have not passed, so a clock
    // that does not advance while it is read (the simulated one) cannot hold it forever.
    static constexpr std::int64_t kDefaultMaxCalibrationReadings = 20'000'000;

    explicit SimulationPacer(Clock& clock,
                             std::int64_t maxCalibrationReadings = kDefaultMaxCalibrationReadings)
        : m_clock(clock), m_maxCalibrationReadings(maxCalibrationReadings)
    {
    }

    // speed is the position of the simulation-speed bar `sbWspSymulacji` (0 normal .. 60 fast);
    // the wait lasts ms * 3 / (speed + 1).
    void simulationWait(double ms, int speed);

    bool calibrated() const { return m_calibrated; }
    // Clock readings per millisecond; 0 for a clock whose readings take no time.
    double readingsPerMs() const { return m_readingsPerMs; }

private:
    void calibrate();

    Clock& m_clock;
    std::int64_t m_maxCalibrationReadings;
    bool m_calibrated = false;
    double m_readingsPerMs = 0.0;
};

}  // namespace kerfline
