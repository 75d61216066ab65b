#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace kerfline {

struct AppContext;
class SimulatedClock;
class TransmitArm;
class Tster;

// The two timers of a running job, the transmission's and the manual control panel's heartbeat,
// played on a simulated clock as the desktop program's QTimers play them in real time: whichever
// is due first ticks, then waits the interval it asks for. Work inside a tick that sleeps moves
// the clock on by itself.
class SimulatedTimers {
public:
    SimulatedTimers(SimulatedClock& clock, TransmitArm& transmission, Tster& panel);

    // Runs the timers until `done` holds (checked before every tick) or the next tick would come
    // after `untilMs`; true when done.
    bool runUntil(const std::function<bool()>& done, std::int64_t untilMs);

    // Called before every tick: posted callbacks, injected faults.
    std::function<void()> beforeTick;

private:
    SimulatedClock& m_clock;
    TransmitArm& m_transmission;
    Tster& m_panel;
    std::optional<std::int64_t> m_transmissionDue;
    std::optional<std::int64_t> m_panelDue;
};

// Nothing of a job is left: the transmission is idle, no job is considered running and the
// controller last reported no program.
bool jobIdle(const AppContext& context, const TransmitArm& transmission);

}  // namespace kerfline
