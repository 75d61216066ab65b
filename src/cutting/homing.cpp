#include "cutting/homing.h"

#include "cutting/job_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

namespace kerfline {
namespace {

constexpr int kGotoSpeedSet = 2;
constexpr std::int64_t kSettleMs = 100;
constexpr std::int64_t kPollMs = 10;
// The two-wire machine parks its wires apart: the front wire above, the side wire below.
constexpr double kFrontParkYmm = 10.0;
constexpr double kSideParkYmm = -10.0;

// The families whose controller homes both arms with one mask.
bool combinedFamily(const MachineState& s)
{
    return s.beginsWithProductLineLetter() || s.familyCode == "bv";
}

}  // namespace

Homing::Homing(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion)
    : m_context(context), m_protocol(protocol), m_motion(motion)
{
}

void Homing::timer(bool enabled)
{
    if (setPanelTimer)
        setPanelTimer(enabled);
}

bool Homing::poll()
{
    const bool ok = m_protocol.ReadStatusAndPositions();
    if (polled)
        polled(ok);
    return ok;
}

void Homing::homingStep(std::uint8_t mask)
{
    m_protocol.SendCommand(machine::commands::home(mask));
    m_context.clock.sleepMs(kSettleMs);
    bool interrupted = false;
    for (;;) {
        // Without an answer the run is not waited for: a lost link would hang the program.
        if (!poll())
            break;
        const PendingInput input = m_context.host.takePendingInput();
        if (input == PendingInput::KeyDown || input == PendingInput::LeftButtonDown) {
            interrupted = true;
            break;
        }
        if (!m_context.machine.busy())
            break;
        m_context.clock.sleepMs(kPollMs);
    }
    m_context.clock.sleepMs(kSettleMs);
    if (interrupted)
        m_motion.StopMotion();
}

void Homing::startAndStopStep(std::uint8_t mask)
{
    m_protocol.SendCommand(machine::commands::home(mask));
    m_context.clock.sleepMs(kSettleMs);
    poll();
    m_motion.StopMotion();
}

void Homing::homeRotaryAxes()
{
    const MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    if (config.choice(Param::Mode) == Mode2D)
        return;
    switch (config.choice(Param::StolikSwitch)) {
    case DeviceTable:
        if (!s.homesRotaryAxis())
            m_motion.gotopoint(false, kGotoSpeedSet, 0, 0, 0, 0, 0, 0);
        else
            homingStep(s.tableOnSpindleAxis() ? kMaskSpindle : kMaskTable);
        break;
    case DeviceSpindle:
        homingStep(kMaskSpindle);
        break;
    default:
        break;
    }
}

void Homing::bazujClick()
{
    const MachineState& s = m_context.machine;
    m_protocol.ReadStatus();
    if (!m_protocol.link().connected()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        return;
    }
    if (s.busy() || s.programRunning()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBazowanieNiemozliwe"), true);
        return;
    }
    const bool combined = combinedFamily(s);
    if (s.homed() && (s.frontX != 0 || s.frontY != 0)) {
        // Homed already: travel near the switches first, then home at short range.
        if (!s.isTwoWireMachine()) {
            if (m_context.configuration.choice(Param::rgBazowanie) == 1) {
                m_motion.gotopoint(false, kGotoSpeedSet, 0, 0, s.frontY / 100.0, s.backY / 100.0, s.tableRemainder,
                                   s.spindleRemainder);
                m_protocol.WaitWhileBusy();
            }
            m_motion.gotopoint(false, kGotoSpeedSet, 0, 0, 0, 0, 0, 0);
        } else {
            m_motion.gotopoint(false, kGotoSpeedSet, 0, 0, kFrontParkYmm, 0, 0, 0);
            m_protocol.WaitWhileBusy();
            m_motion.gotopoint(false, kGotoSpeedSet, 0, 0, 0, kSideParkYmm, 0, 0);
        }
        m_protocol.WaitWhileBusy();
        timer(false);
        BusyCursor busy(m_context.host);
        homingStep(combined ? kMaskX | kMaskBackX : kMaskX);
        homingStep(combined ? kMaskY | kMaskBackY : kMaskY);
    } else {
        timer(false);
        BusyCursor busy(m_context.host);
        if (combined) {
            homingStep(kMaskX | kMaskBackX);
            homingStep(kMaskY | kMaskBackY);
        } else {
            // The back arm's axes of these families are only started on their switches and
            // stopped after a moment.
            homingStep(kMaskX);
            startAndStopStep(kMaskBackX);
            homingStep(kMaskY);
            startAndStopStep(kMaskBackY);
        }
        homeRotaryAxes();
    }
    timer(true);
}

}  // namespace kerfline
