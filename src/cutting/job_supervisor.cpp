#include "cutting/job_supervisor.h"

#include "cutting/job_commands.h"
#include "cutting/job_driver.h"
#include "cutting/project_windows.h"
#include "geometry/round.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

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

bool JobSupervisor::wstrzymaj()
{
    MachineState& s = m_context.machine;
    m_protocol.ReadStatus();
    if (!m_protocol.link().connected())
        return false;
    bool stopped = false;
    if (s.programRunning()) {
        m_protocol.SendCommand("Q");
        m_protocol.WaitWhileBusy();
        if (!waitForPaused())
            return false;
        m_protocol.ReadPositions();
        m_context.job.pausePoint = {s.frontX, s.frontY, s.axis3, s.tableRemainder,
                                    s.backX,  s.backY,  s.axis7Remainder, s.spindleRemainder};
        m_context.clock.sleepMs(10);
        m_protocol.WaitWhileBusy();
        m_protocol.SendCommand(commandBytes({'R', 0, kHeatingOutput}));
        m_protocol.SendCommand(commandBytes({'F', kPauseSpeedSet}));
        stopped = true;
    }
    if (s.busy()) {
        m_motion.StopMotion();
        m_protocol.WaitWhileBusy();
        m_protocol.ReadPositions();
        m_motion.saveRotaryRemainders();
        m_context.job.stoppedByOperator = true;
        m_context.clock.sleepMs(10);
        m_protocol.WaitWhileBusy();
        m_protocol.SendCommand(commandBytes({'R', 0, kHeatingOutput}));
        m_protocol.SendCommand(commandBytes({'F', kPauseSpeedSet}));
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
        m_protocol.ReadStatus();
        if (m_context.machine.paused())
            return true;
        if (!m_protocol.link().connected() || m_context.clock.nowMs() - started >= kPauseTimeoutMs) {
            m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
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
    m_protocol.ReadStatus();
    if (!m_protocol.link().connected())
        return;
    if (s.programRunning() && s.waitingForGo()) {
        if (s.reportsPowerInPercent)
            m_motion.HeatRamp(kHeatingOutput, roundHalfEven(config.number(Param::work_power)));
        m_protocol.SendCommand("G");
        return;
    }
    if (!s.programRunning() && !s.busy() && s.paused()) {
        const PausePoint& p = m_context.job.pausePoint;
        m_protocol.ReadStatus();
        m_protocol.ReadPositions();
        m_protocol.SendCommand(commandBytes({'F', kWorkingSpeedSet}));
        switchHeatingOn();
        m_context.clock.sleepMs(roundHalfEven<std::int64_t>(config.number(Param::CzasRozgrzewania)));
        m_motion.gotopoint(true, kWorkingSpeedSet, p.frontX / 100.0, p.backX / 100.0, p.frontY / 100.0,
                           p.backY / 100.0, p.tableRemainder, p.spindleRemainder);
        m_protocol.WaitWhileBusy();
        m_protocol.SendCommand(commandBytes({'F', kWorkingSpeedSet}));
        m_protocol.WaitWhileBusy();
        switchHeatingOn();
        m_protocol.SendCommand("K");
        switchHeatingOn();
    }
    m_context.job.jobActive = true;
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
    if (m_context.job.jobActive) {
        m_protocol.ReadStatus();
        if (!s.programRunning())
            jobEnded();
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

void JobSupervisor::jobEnded()
{
    m_context.job.jobActive = false;
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
    m_protocol.SendCommand(speedCommand(m_protocol, 0, config.number(Param::PrzeSpeed)));
    m_protocol.SendCommand(commandBytes({'F', 0}));
    const double scale = config.number(Param::skala);
    const double extentAbove = roundHalfEven<std::int64_t>(second->startFromTop * scale / 100.0) / 40.0;
    const double m = extentAbove + m_context.job.sideWireStart.y + kWireGapMm;
    // MoveToPoint takes the display unit.
    const double toDisplay = 1.0 / unitFactor(config.displayUnit);
    if (s.frontY / 100.0 < m) {
        m_motion.MoveToPoint(true, false, 0.0, s.frontY / 100.0 * toDisplay, 0.0);
        m_protocol.WaitWhileBusy();
        m_motion.MoveToPoint(true, false, 0.0, m * toDisplay, 0.0);
        m_protocol.WaitWhileBusy();
    }
    if (m_driver.arms.tickKeyBack)
        m_driver.arms.tickKeyBack();
    const MachinePointMm side = m_context.job.sideWireStart;
    m_motion.MoveToPoint(false, true, 0.0, side.y * toDisplay, side.x * toDisplay);
    m_protocol.WaitWhileBusy();
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
    m_protocol.ReadPositions();
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
    m_protocol.ReadStatus();
    if (m_context.machine.programRunning())
        return;
    if (repetition.remaining < 1) {
        repetition.armed = false;
        return;
    }
    --repetition.remaining;
    JobState& job = m_context.job;
    job.programStartY -= repetition.shiftMm;
    m_protocol.ReadPositions();
    m_protocol.SendCommand(speedCommand(m_protocol, kWorkingSpeedSet, m_context.configuration.number(Param::szybkoscObrobki)));
    m_protocol.SendCommand(commandBytes({'F', kWorkingSpeedSet}));
    m_motion.gotopoint(true, kWorkingSpeedSet, job.programStartX, job.programStartX, job.programStartY,
                       job.programStartY, 0, 0);
    m_protocol.SendCommand("G");
}

}  // namespace kerfline
