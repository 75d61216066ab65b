// The machine before a new program: the controller paused and cleared, the wire brought to the
// start of rotary and turning programs, the origin recorded, then the transmission.
#include "cutting/job_driver.h"

#include "cutting/job_commands.h"
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

namespace kerfline {

void JobDriver::pauseAndClear()
{
    // The cleared program takes its pause with it.
    m_context.job.pausePoint.reset();
    m_protocol.SendCommand(machine::commands::pause());
    m_context.clock.sleepMs(10);
    m_protocol.WaitWhileBusy();
    m_protocol.SendCommand(machine::commands::clearProgram());
    m_context.clock.sleepMs(10);
}

void JobDriver::startMachine(TMDIChild& project)
{
    const Configuration& config = m_context.configuration;
    switch (config.choice(Param::Mode)) {
    case ModeRotary:
        startRotary(project);
        break;
    case ModeSerial:
        // The serial start sends the whole series once every program is written.
        break;
    case ModeTurning:
        if (config.choice(Param::StolikSwitch) == DeviceNone)
            startPlain(3);  // the plain program of turning without a device heats output 3
        else
            startTurning(project);
        break;
    default:
        startPlain(1);
        break;
    }
}

void JobDriver::startPlain(int heatingOutput)
{
    MachineState& s = m_context.machine;
    if (!m_protocol.ReadStatus()) {
        showError("Control", "ploterBrakLacznosci");
        return;
    }
    if (!recordOrigin())
        return;
    m_motion.SetProgramOrigin(s.frontX, s.frontY);
    if (s.reportsPowerInPercent)
        m_motion.HeatRamp(heatingOutput, roundHalfEven(m_context.configuration.number(Param::work_power)));
    m_transmission.start();
}

bool JobDriver::recordOrigin()
{
    // Every job kind starts from its own origin: one left by an earlier job would draw the wire,
    // at the end, to a point nobody chose. Without an answer there is none.
    const MachineState& s = m_context.machine;
    if (!m_protocol.ReadPositions()) {
        showError("Control", "ploterBrakLacznosci");
        return false;
    }
    m_context.job.originX = s.frontX;
    m_context.job.originY = s.frontY;
    m_context.job.originSteps = s.rawSteps;
    return true;
}

void JobDriver::startRotary(TMDIChild& project)
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    const JobState& job = m_context.job;
    if (!m_protocol.ReadPositions() || !m_protocol.ReadStatus()) {
        showError("Control", "ploterBrakLacznosci");
        return;
    }
    if (project.horizontalAxisFound) {
        const double offset = s.frontY / 100.0 - config.number(Param::Ywrzeciona);
        if (offset > kSpindleTolerance && project.profileBelowAxis) {
            showError("Main_window", "ploterPowyzejPunktuStart");
            return;
        }
        if (offset < -kSpindleTolerance && !project.profileBelowAxis) {
            showError("Main_window", "ploterPonizejPunktuStart");
            return;
        }
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kTravelSet));
        const double x = config.number(Param::Xwrzeciona);
        // A program sent without its start position would cut from wherever the wire stands.
        if (!m_motion.gotopoint(true, kTravelSet, x, x, job.programStartY, job.programStartY, 0,
                                m_motion.savedSpindleRemainder))
            return;
    } else {
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kTravelSet));
        if (!m_motion.gotopoint(true, kTravelSet, s.frontX / 100.0, s.backX / 100.0, job.programStartY,
                                job.programStartY, m_motion.savedTableRemainder, s.spindleRemainder) ||
            !m_motion.gotopoint(true, kTravelSet, job.programStartX, job.programStartX, job.programStartY,
                                job.programStartY, m_motion.savedTableRemainder, s.spindleRemainder))
            return;
    }
    if (!recordOrigin())
        return;
    if (s.reportsPowerInPercent)
        m_motion.HeatRamp(1, roundHalfEven(config.number(Param::work_power)));
    m_transmission.start();
}

void JobDriver::startTurning(TMDIChild& project)
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    const JobState& job = m_context.job;
    if (!testRun()) {
        if (!m_protocol.ReadPositions() || !m_protocol.ReadStatus()) {
            showError("Control", "ploterBrakLacznosci");
            return;
        }
    }
    const double entry = rotaryWriters.DajPoz1szegoWjazduWmat ? rotaryWriters.DajPoz1szegoWjazduWmat(project) : 0.0;
    if (config.choice(Param::StolikSwitch) == DeviceTable) {
        const double y = config.number(Param::Ystolika) + entry - config.number(Param::Ynarzedzia);
        if (!m_motion.gotopoint(true, kTravelSet, s.frontX / 100.0, s.backX / 100.0, y, y,
                                m_motion.savedTableRemainder, s.spindleRemainder) ||
            !m_motion.gotopoint(true, kTravelSet, job.programStartX, job.programStartX, y, y,
                                m_motion.savedTableRemainder, s.spindleRemainder))
            return;
    } else {
        const double x = config.number(Param::Xwrzeciona) + entry - config.number(Param::Xnarzedzia);
        if (!m_motion.gotopoint(true, kTravelSet, x, x, job.programStartY, job.programStartY, s.tableRemainder,
                                m_motion.savedSpindleRemainder))
            return;
    }
    if (!recordOrigin())
        return;
    m_transmission.start();
}

}  // namespace kerfline
