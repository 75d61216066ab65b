#include "cutting/job_supervisor.h"

#include "cutting/job_commands.h"
#include "cutting/job_driver.h"
#include "cutting/project_windows.h"
#include "cutting/transmit_arm.h"
#include "base/round.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"

#include <cstdlib>

namespace kerfline {
namespace {

constexpr int kHeatingOutput = 2;
constexpr int kPauseSpeedSet = 2;
constexpr int kWorkingSpeedSet = 1;
constexpr double kWireGapMm = 10.0;

bool twoWireFollowUp(const AppContext& context)
{
    const int mode = context.configuration.choice(Param::Mode);
    return context.machine.isTwoWireMachine() &&
           ((mode == Mode2D && context.configuration.isChecked(Param::MoveAfter)) || mode == ModePerpendicular);
}

// Where the machine stands, as a pause point.
PausePoint pointOf(const MachineState& s)
{
    return {s.frontX, s.frontY, s.axis3, s.tableRemainder, s.backX, s.backY, s.axis7Remainder, s.spindleRemainder};
}

// Strictly between 0 and the return distance.
bool slightlyOff(std::int32_t difference)
{
    const std::int64_t d = std::llabs(std::int64_t{difference});
    return d > 0 && d < JobSupervisor::kOriginReturnHundredths;
}

}  // namespace

JobSupervisor::JobSupervisor(AppContext& context, machine::ControllerProtocol& protocol,
                             machine::MotionOperations& motion, JobDriver& driver)
    : m_context(context), m_protocol(protocol), m_motion(motion), m_driver(driver)
{
}

void JobSupervisor::showNoConnection()
{
    m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
}

bool JobSupervisor::recordPausePoint()
{
    if (!m_protocol.ReadPositions())
        return false;
    m_context.job.pausePoint = pointOf(m_context.machine);
    return true;
}

// Heats the wire and brings it back to the point at working speed. A way back that did not happen
// leaves the wire where it is, and cold.
bool JobSupervisor::returnHeatedTo(const PausePoint& p)
{
    m_protocol.SendCommand(machine::commands::selectSpeedSet(kWorkingSpeedSet));
    switchHeatingOn();
    m_context.clock.sleepMs(roundHalfEven<std::int64_t>(m_context.configuration.number(Param::CzasRozgrzewania)));
    if (!m_motion.gotopoint(true, kWorkingSpeedSet, p.frontX / 100.0, p.backX / 100.0, p.frontY / 100.0,
                            p.backY / 100.0, p.tableRemainder, p.spindleRemainder)) {
        m_motion.SwitchHeatingOff();
        return false;
    }
    if (!m_protocol.WaitWhileBusy()) {
        showNoConnection();
        m_motion.SwitchHeatingOff();
        return false;
    }
    return true;
}

bool JobSupervisor::wstrzymaj()
{
    MachineState& s = m_context.machine;
    if (!m_protocol.ReadStatus())
        return false;
    bool stopped = false;
    if (s.programRunning()) {
        m_protocol.SendCommand(machine::commands::pause());
        m_protocol.WaitWhileBusy();
        if (!waitForPaused())
            return false;
        // Without an answer there is no pause point; the heartbeat records it once the controller
        // answers again.
        m_context.job.pausePoint.reset();
        if (!recordPausePoint())
            showNoConnection();
        m_context.clock.sleepMs(10);
        m_protocol.WaitWhileBusy();
        // The program heats its own output (1 or 3): a paused wire must not stay hot at rest.
        m_motion.SwitchHeatingOff();
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kPauseSpeedSet));
        stopped = true;
    }
    if (s.busy()) {
        m_motion.StopMotion();
        m_protocol.WaitWhileBusy();
        if (m_protocol.ReadPositions())
            m_motion.saveRotaryRemainders();
        m_context.job.stoppedByOperator = true;
        m_context.clock.sleepMs(10);
        m_protocol.WaitWhileBusy();
        m_protocol.SendCommand(machine::commands::heating(false, kHeatingOutput));
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kPauseSpeedSet));
        stopped = true;
    }
    m_context.job.jobActive = false;
    return stopped;
}

// The controller reports the pause once the running move has been brought to a halt. A controller
// that never does (the program ended in between, or the link went) must not hang the program:
// after the timeout the job stays as it was, so Stop can be given again.
bool JobSupervisor::waitForPaused()
{
    const std::int64_t started = m_context.clock.nowMs();
    for (;;) {
        const bool answered = m_protocol.ReadStatus();
        if (answered && m_context.machine.paused())
            return true;
        if (!answered || m_context.clock.nowMs() - started >= kPauseTimeoutMs) {
            showNoConnection();
            return false;
        }
        m_context.clock.sleepMs(1);
    }
}

void JobSupervisor::switchHeatingOn()
{
    m_protocol.SendCommand(heatingOnCommand(m_context));
}

void JobSupervisor::kontynuuj()
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    JobState& job = m_context.job;
    if (!m_protocol.ReadStatus())
        return;
    TransmitArm& transmission = m_driver.transmission();
    if (s.programRunning() && s.waitingForGo()) {
        if (s.reportsPowerInPercent)
            m_motion.HeatRamp(kHeatingOutput, roundHalfEven(config.number(Param::work_power)));
        if (m_protocol.SendCommand(machine::commands::go()) && transmission.interrupted())
            transmission.resume();
        return;
    }
    if (transmission.interrupted() && !s.paused()) {
        if (s.programRunning()) {
            // The link came back before the controller ran out: the rest simply follows.
            transmission.resume();
            job.jobActive = true;
        } else if (!s.busy()) {
            continueHalted();
        }
        return;
    }
    // Only a paused program is continued: on an idle machine Continue starts nothing.
    if (s.programRunning() || s.busy() || !s.paused())
        return;
    if (continuePaused() && transmission.interrupted())
        transmission.resume();
}

bool JobSupervisor::continuePaused()
{
    JobState& job = m_context.job;
    // A pause the heartbeat has not seen yet is resumed where the wire stands.
    if (!job.pausePoint && !recordPausePoint()) {
        showNoConnection();
        return false;
    }
    if (!returnHeatedTo(*job.pausePoint))
        return false;
    const auto abandon = [this] {
        m_motion.SwitchHeatingOff();
        return false;
    };
    m_protocol.SendCommand(machine::commands::selectSpeedSet(kWorkingSpeedSet));
    if (!m_protocol.WaitWhileBusy()) {
        showNoConnection();
        return abandon();
    }
    switchHeatingOn();
    if (!m_protocol.SendCommand(machine::commands::continueAtPausePoint()))
        return abandon();
    switchHeatingOn();
    job.pausePoint.reset();
    job.jobActive = true;
    return true;
}

// The controller has executed everything it was sent and stands where the next command begins:
// heat up, come back there if the wire was moved, select the program's speed and send the rest,
// which the transmission starts with "G".
void JobSupervisor::continueHalted()
{
    if (!m_haltPoint && !m_protocol.ReadPositions()) {
        showNoConnection();
        return;
    }
    const PausePoint p = m_haltPoint.value_or(pointOf(m_context.machine));
    TransmitArm& transmission = m_driver.transmission();
    const auto speedSet = static_cast<std::uint8_t>(transmission.speedSetInForce().value_or(kWorkingSpeedSet));
    if (!returnHeatedTo(p))
        return;
    if (!m_protocol.SendCommand(machine::commands::selectSpeedSet(speedSet))) {
        m_motion.SwitchHeatingOff();
        return;
    }
    m_haltPoint.reset();
    transmission.resume(true);
}

void JobSupervisor::halted()
{
    m_context.job.jobActive = false;
    m_motion.SwitchHeatingOff();
    if (m_protocol.ReadPositions())
        m_haltPoint = pointOf(m_context.machine);
}

void JobSupervisor::linkRestored()
{
    const MachineState& s = m_context.machine;
    if (!m_protocol.ReadStatus() || s.programRunning() || s.busy())
        return;
    if (m_driver.transmission().interrupted() && !s.paused() && !m_haltPoint)
        halted();
    else
        m_motion.SwitchHeatingOff();
}

bool JobSupervisor::MoznaRuszac()
{
    const MachineState& s = m_context.machine;
    if (m_context.configuration.choice(Param::PowerOutput) != 1 || (s.familyCode != "Qd" && s.familyCode != "Pr"))
        return true;
    const bool aligned = s.frontX == s.backX && s.frontY == s.backY;
    const std::string caption = m_context.Text("Universal", "uwaga");
    if (aligned) {
        if (s.KeyFront && s.KeyBack)
            return true;
        m_context.language.ShowMessageBox(m_context.Text("Control", "ruch1goRamieniaZabroniony"), false, caption);
        return false;
    }
    m_context.language.ShowMessageBox(m_context.Text("Control", "ruchRamionZabronionyRozneXY") + "\n" +
                                          m_context.Text("Control", "wyrownajRamionaIJeszczeRaz"),
                                      false, caption);
    return false;
}

void JobSupervisor::Wstrzymaj1Click()
{
    BusyCursor busy(m_context.host);
    if (wstrzymaj())
        m_context.job.stoppedByOperator = true;
}

void JobSupervisor::Kontynuacja1Click()
{
    if (!MoznaRuszac())
        return;
    BusyCursor busy(m_context.host);
    kontynuuj();
    m_context.job.stoppedByOperator = false;
}

void JobSupervisor::tick()
{
    const MachineState& s = m_context.machine;
    JobState& job = m_context.job;
    // A failed read is no answer: nothing has ended and no button was pressed.
    if (job.jobActive && !m_protocol.ReadStatus())
        return;
    notePause();
    if (job.jobActive) {
        reportWireBreak();
        // A paused program (by Stop, a wire break or the machine's stop button) has not ended,
        // nor has one whose transmission was cut off before its end.
        if (!s.programRunning() && !s.paused()) {
            const TransmitArm& transmission = m_driver.transmission();
            if (transmission.interrupted())
                halted();
            else if (!transmission.active())
                jobEnded();
            // While the rest is still being sent the controller only ran short: the transmission
            // starts it again.
        }
    }
    if (s.startRequest()) {
        m_motion.StopMotion();
        m_driver.Start1Click(false);
    } else if (s.stopRequest()) {
        m_motion.StopMotion();
        Wstrzymaj1Click();
    } else if (s.continueRequest() && s.paused()) {
        m_motion.StopMotion();
        Kontynuacja1Click();
    }
}

// Whoever paused the program, Continue must bring the wire back to where it stood then; the
// point is taken while the pause is fresh, and forgotten once the program runs again.
void JobSupervisor::notePause()
{
    if (!m_context.machine.paused())
        m_context.job.pausePoint.reset();
    else if (!m_context.job.pausePoint)
        recordPausePoint();
}

void JobSupervisor::reportWireBreak()
{
    if (!m_context.machine.wireBreak()) {
        m_wireBreakShown = false;
        return;
    }
    if (m_wireBreakShown)
        return;
    m_wireBreakShown = true;
    m_context.host.setStatus(0, m_context.Text("Control", "zerwanyDrutStatus"));
    m_context.language.ShowMessageBox(m_context.Text("Control", "zerwanyDrutPodczasPracy"), true);
}

void JobSupervisor::jobEnded()
{
    m_context.job.jobActive = false;
    // The program's trailer switches off output 2 only; the output the program heated stays on.
    m_motion.SwitchHeatingOff();
    if (twoWireFollowUp(m_context)) {
        if (m_context.machine.KeyBack) {
            if (m_driver.arms.tickKeyFront)
                m_driver.arms.tickKeyFront();
        } else {
            startSideWireJob();
        }
    }
    if (m_context.commandLine.HasSwitch("REPEAT")) {
        m_context.clock.sleepMs(roundHalfEven<std::int64_t>(m_context.configuration.number(Param::CzasRozgrzewania) * 10));
        m_driver.StartJob();
    }
    if (updateMenuItems)
        updateMenuItems();
    returnToOrigin();
}

// The front wire has cut its project; the side wire cuts the second one. The front wire first
// rises clear of the side wire's path when it stands too low.
void JobSupervisor::startSideWireJob()
{
    const MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    TMDIChild* second = m_driver.windows().bySeriesIndex(1);
    if (!second)
        second = m_driver.windows().active();
    if (!second)
        return;
    if (!m_protocol.ReadPositions()) {
        showNoConnection();
        return;
    }
    m_protocol.SendCommand(speedCommand(m_protocol, 0, config.number(Param::PrzeSpeed)));
    m_protocol.SendCommand(machine::commands::selectSpeedSet(0));
    const double scale = config.number(Param::skala);
    const double extentAbove = roundHalfEven<std::int64_t>(second->startFromTop * scale / 100.0) / 40.0;
    const double m = extentAbove + m_context.job.sideWireStart.y + kWireGapMm;
    // MoveToPoint takes the display unit.
    const double toDisplay = 1.0 / unitFactor(config.displayUnit);
    // Each move starts from where the last one ended; one without an answer ends the follow-up.
    const auto moved = [this](bool front, bool back, double y, double x) {
        if (!m_motion.MoveToPoint(front, back, 0.0, y, x))
            return false;
        if (m_protocol.WaitWhileBusy())
            return true;
        showNoConnection();
        return false;
    };
    if (s.frontY / 100.0 < m &&
        (!moved(true, false, s.frontY / 100.0 * toDisplay, 0.0) || !moved(true, false, m * toDisplay, 0.0)))
        return;
    if (m_driver.arms.tickKeyBack)
        m_driver.arms.tickKeyBack();
    const MachinePointMm side = m_context.job.sideWireStart;
    if (!moved(false, true, side.y * toDisplay, side.x * toDisplay))
        return;
    m_driver.windows().activate(*second);
    m_driver.Start1Click(false);
}

// The steps of a program add up to a position a little off its origin; a job that ends within
// the return distance goes back. Only the arms the job drove move, and each by the front arm's
// correction: an arm standing elsewhere by design (the side wire, an independent back arm) is
// not dragged onto the front arm's origin.
void JobSupervisor::returnToOrigin()
{
    const MachineState& s = m_context.machine;
    if (!m_protocol.ReadPositions()) {
        showNoConnection();
        return;
    }
    const std::int32_t dx = m_context.job.originX - s.frontX;
    const std::int32_t dy = m_context.job.originY - s.frontY;
    if (!slightlyOff(dx) && !slightlyOff(dy))
        return;
    const bool front = s.KeyFront || !s.KeyBack;
    const double frontX = (front ? m_context.job.originX : s.frontX) / 100.0;
    const double frontY = (front ? m_context.job.originY : s.frontY) / 100.0;
    const double backX = (s.KeyBack ? s.backX + dx : s.backX) / 100.0;
    const double backY = (s.KeyBack ? s.backY + dy : s.backY) / 100.0;
    m_motion.gotopoint(true, kPauseSpeedSet, frontX, backX, frontY, backY, s.tableRemainder, s.spindleRemainder);
}

void JobSupervisor::serialRepetition()
{
    SerialRepetition& repetition = m_context.job.serialRepetition;
    if (!repetition.armed)
        return;
    // Only a series that has ended is repeated: not one still being sent or not yet started (the
    // controller runs no program before "G" either), nor one whose state is unknown, nor a paused
    // one.
    TransmitArm& transmission = m_driver.transmission();
    if (transmission.active() || m_context.job.jobActive)
        return;
    const MachineState& s = m_context.machine;
    if (!m_protocol.ReadStatus() || s.programRunning() || s.paused())
        return;
    if (repetition.remaining < 1) {
        repetition.armed = false;
        return;
    }
    --repetition.remaining;
    JobState& job = m_context.job;
    job.programStartY -= repetition.shiftMm;
    m_protocol.SendCommand(speedCommand(m_protocol, kWorkingSpeedSet, m_context.configuration.number(Param::szybkoscObrobki)));
    m_protocol.SendCommand(machine::commands::selectSpeedSet(kWorkingSpeedSet));
    // A pass that could not reach its start is not cut; nor are the passes after it, which would
    // start by surprise once the controller answers again.
    if (!m_motion.gotopoint(true, kWorkingSpeedSet, job.programStartX, job.programStartX, job.programStartY,
                            job.programStartY, 0, 0)) {
        repetition.armed = false;
        return;
    }
    // The controller has run the series out of its buffer: the series is sent again from its
    // first command and starts once enough of it is there, as the first time.
    if (!transmission.start())
        repetition.armed = false;
}

}  // namespace kerfline
