#include "cutting/simulated_timers.h"

#include "cutting/panel_logic.h"
#include "cutting/transmit_arm.h"
#include "base/app_context.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"
#include "base/clock.h"

namespace kerfline {

SimulatedTimers::SimulatedTimers(SimulatedClock& clock, TransmitArm& transmission, Tster& panel)
    : m_clock(clock), m_transmission(transmission), m_panel(panel)
{
}

bool SimulatedTimers::runUntil(const std::function<bool()>& done, std::int64_t untilMs)
{
    for (;;) {
        if (done())
            return true;
        if (beforeTick)
            beforeTick();
        const std::int64_t now = m_clock.nowMs();
        // A timer that was enabled since the last tick starts counting now.
        if (!m_transmission.active())
            m_transmissionDue.reset();
        else if (!m_transmissionDue)
            m_transmissionDue = now + m_transmission.interval();
        if (!m_panel.timerEnabled())
            m_panelDue.reset();
        else if (!m_panelDue)
            m_panelDue = now + m_panel.timerIntervalMs();
        if (!m_transmissionDue && !m_panelDue)
            return done();

        const bool transmissionFirst = m_transmissionDue && (!m_panelDue || *m_transmissionDue <= *m_panelDue);
        const std::int64_t due = transmissionFirst ? *m_transmissionDue : *m_panelDue;
        if (due > untilMs)
            return false;
        if (due > now)
            m_clock.advance(due - now);
        if (transmissionFirst) {
            const int interval = m_transmission.Timer1Timer();
            m_transmissionDue = m_clock.nowMs() + interval;
        } else {
            m_panel.Timer1Timer();
            m_panelDue = m_clock.nowMs() + m_panel.timerIntervalMs();
        }
    }
}

bool jobIdle(const AppContext& context, const TransmitArm& transmission)
{
    return !transmission.active() && !context.job.jobActive && !context.machine.programRunning();
}

}  // namespace kerfline
