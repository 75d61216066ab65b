// The serial job: one program per project window of the series, collected into one file.
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

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

namespace kerfline {
namespace {

constexpr const char* kSeriesSuffix = "tmp";
constexpr int kLastSeriesIndex = 9999;

bool appendFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::app);
    if (!in || !out)
        return false;
    // Inserting an empty stream buffer counts as a failure; an empty program appends nothing.
    if (in.peek() == std::ifstream::traits_type::eof())
        return true;
    out << in.rdbuf();
    return static_cast<bool>(out);
}

}  // namespace

bool JobDriver::serialJob()
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    JobState& job = m_context.job;
    m_protocol.ReadStatus();
    if (!m_protocol.link().connected())
        return false;
    if (!s.homed()) {
        showError("Control", "wykonajBazowanie");
        return false;
    }
    if (config.choice(Param::rgKatObrotu) == 1) {
        if (dialogs.serial && !dialogs.serial()) {
            job.serialRepetition.armed = false;
            return false;
        }
        job.serialRepetition.armed = true;
    } else {
        job.serialRepetition.remaining = 0;
    }
    BusyCursor busy(m_context.host);
    job.pausePoint.reset();
    m_protocol.SendCommand(machine::commands::pause());
    m_protocol.WaitWhileBusy();
    m_protocol.SendCommand(machine::commands::clearProgram());
    // The spindle check and the moves below start from where the wire stands.
    if (!m_protocol.ReadPositions() || !m_protocol.ReadStatus()) {
        showError("Control", "ploterBrakLacznosci");
        return false;
    }

    TMDIChild* active = m_windows.active();
    const double diameterHalf = config.number(Param::Srednicamaterialu) / 2.0;
    if (config.choice(Param::StolikSwitch) == DeviceTable) {
        job.programStartY = config.number(Param::Ystolika);
        const double h = active ? roundHalfEven<std::int64_t>(active->width * config.number(Param::skala) / 100.0 / 2.0) / 40.0
                                : 0.0;
        const double axisX = config.number(Param::Xstolika);
        const double approach = axisX - std::max(h, diameterHalf);
        job.programStartX = axisX - h;
        sendTravelSpeed();
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kTravelSet));
        if (!m_motion.gotopoint(true, kTravelSet, approach, approach, job.programStartY, job.programStartY,
                                m_motion.savedTableRemainder, s.spindleRemainder))
            return false;
        m_motion.SetWorkPower(1, config.number(Param::work_power));
        m_protocol.ReadPower();
        // On, whatever the last status said: a wire the operator had left heated would be toggled
        // off and pulled cold into the block.
        if (s.reportsPowerInPercent)
            m_motion.HeatRamp(1, roundHalfEven(config.number(Param::work_power)));
        else
            m_motion.SwitchHeatingOn(s.selectedPowerOutput);
        m_context.clock.sleepMs(roundHalfEven<std::int64_t>(config.number(Param::CzasRozgrzewania)));
        m_protocol.ReadPositions();
        sendWorkingSpeed();
        const bool atStart = m_motion.gotopoint(true, kWorkingSet, job.programStartX, job.programStartX,
                                                job.programStartY, job.programStartY, m_motion.savedTableRemainder,
                                                s.spindleRemainder);
        if (!atStart) {
            m_motion.SwitchHeatingOff();
            return false;
        }
        // Off whatever the last status said: a read that failed would make a toggle switch on.
        m_motion.SwitchHeatingOff();
    } else {
        if (s.frontY / 100.0 - config.number(Param::Ywrzeciona) < -kSpindleTolerance) {
            showError("Main_window", "ploterPonizejPunktuStart");
            return false;
        }
        job.programStartY = diameterHalf + config.number(Param::Ywrzeciona);
        job.programStartX = config.number(Param::Xwrzeciona);
        sendTravelSpeed();
        m_protocol.SendCommand(machine::commands::selectSpeedSet(kTravelSet));
        if (!m_motion.gotopoint(true, kTravelSet, job.programStartX, job.programStartX, job.programStartY,
                                job.programStartY, 0, m_motion.savedSpindleRemainder))
            return false;
    }
    // The series' end is measured from where it starts.
    if (!recordOrigin())
        return false;
    if (rotaryWriters.startSeries)
        rotaryWriters.startSeries(roundHalfEven(config.number(Param::Xwrzeciona) * 100.0),
                                  roundHalfEven(job.programStartY * 100.0));

    // One program per window in the order of the series, collected into one file.
    std::multimap<int, TMDIChild*> series;
    for (TMDIChild* window : m_windows.windows()) {
        if (window->seriesIndex >= 0 && window->seriesIndex <= kLastSeriesIndex)
            series.emplace(window->seriesIndex, window);
    }
    const std::string path = programPath();
    const std::string collected = path + kSeriesSuffix;
    std::ofstream(collected, std::ios::binary | std::ios::trunc);
    int feedLeft = config.choice(Param::CatDir) == 1 ? 1 : 0;
    for (const auto& [index, window] : series) {
        m_windows.activate(*window);
        window->UstawKierunek(feedLeft ? -1 : 1);
        // A window whose program is not written ends the series: its place in the file must not
        // be taken by an earlier program.
        if (!cut(FigureRange{}, feedLeft ? -1 : 1))
            return false;
        if (!appendFile(path, collected)) {
            m_context.language.ShowMessageBox(m_context.Text("Universal", "zbioruNieMoznaOtworzyc") + collected, true);
            return false;
        }
        if (config.choice(Param::CatDir) == 2)
            feedLeft = 1 - feedLeft;
    }
    std::error_code error;
    std::filesystem::rename(collected, path, error);
    if (error) {
        m_context.language.ShowMessageBox(m_context.Text("Universal", "zbioruNieMoznaOtworzyc") + path, true);
        return false;
    }
    return m_transmission.start();
}


}  // namespace kerfline
