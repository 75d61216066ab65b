// The start checks of a job: may it start, and does the project fit the machine from where the
// wire stands?
#include "cutting/job_driver.h"

#include "cutting/job_commands.h"
#include "cutting/project_windows.h"
#include "cutting/start_figure_override.h"
#include "cutting/transmit_arm.h"
#include "base/round.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "project/cut_preview.h"
#include "project/cut_start_point.h"
#include "project/project_extents.h"
#include "project/load_messages.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"

#include <algorithm>
#include <vector>

namespace kerfline {
namespace {

constexpr double kWireGapMm = 10.0;
constexpr std::int64_t kWireTestMs = 300;

// The extents of the figures a range cut walks: its first figure alone, or with every figure the
// cut tree hangs below it.
ProjectExtents walkedExtents(const TMDIChild& project, FigureRange range)
{
    const std::vector<bool> walked = cutPreview(project, range.first, range.last).figures;
    const tfigura& first = project.figures[static_cast<std::size_t>(range.first)];
    ProjectExtents extents{first.minX, first.minY, first.maxX, first.maxY};
    for (std::size_t i = 0; i < walked.size(); ++i) {
        if (!walked[i])
            continue;
        const tfigura& figure = project.figures[i];
        extents.minX = std::min(extents.minX, figure.minX);
        extents.minY = std::min(extents.minY, figure.minY);
        extents.maxX = std::max(extents.maxX, figure.maxX);
        extents.maxY = std::max(extents.maxY, figure.maxY);
    }
    return extents;
}

struct Extents {
    double left = 0, right = 0, down = 0, up = 0;  // millimetres from the start point
};

}  // namespace

bool JobDriver::StartChecks(TMDIChild& project, FigureRange range)
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    const bool test = testRun();
    const auto connected = [this] { return m_protocol.link().connected(); };

    m_protocol.ReadStatus();
    if (connected())
        m_protocol.ReadMachineInfo();
    if (s.programRunning()) {
        showError("Main_window", "startNiemozliwy");
        return false;
    }
    sendTravelSpeed();
    if (!test) {
        if (!connected())
            return false;
        if (s.programRunning() && s.waitingForGo()) {
            m_protocol.SendCommand(machine::commands::go());
            return false;
        }
    }
    if (m_transmission.active())
        m_transmission.stop();

    const int mode = config.choice(Param::Mode);
    const std::string warning = m_context.Text("Universal", "uwaga");
    if (mode == ModeIndependent && s.familyCode != "Qd") {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "QdniezalezneNiedostepne"), true, warning);
        return false;
    }
    if (mode == ModePerpendicular && s.familyCode != "Pr") {
        m_context.language.ShowMessageBox(m_context.Text("Main_window", "PrPoprzeczneNiedostepne"), true, warning);
        return false;
    }
    if (!test && mode != Mode2D && mode != ModeIndependent && !s.homed()) {
        showError("Control", "wykonajBazowanie");
        return false;
    }
    if (projectMm(project.width) > s.limitX || projectMm(project.height) > s.limitY) {
        m_context.language.ShowMessageBox(
            projectTooLargeMessage(m_context.language, {projectMm(project.width), projectMm(project.height)},
                                   {static_cast<double>(s.limitX), static_cast<double>(s.limitY)},
                                   config.displayUnit, m_context.decimalSeparator),
            true);
        return false;
    }
    // The work-area test below measures from where the wire stands.
    if (!test && !m_protocol.ReadPositions()) {
        showError("Control", "ploterBrakLacznosci");
        return false;
    }
    if (mode == ModePerpendicular && m_windows.windows().size() != 2) {
        showError("Main_window", "wymagane2plt");
        return false;
    }

    std::string directionText;
    Extents extents;
    if ((mode == Mode2D || mode == ModeIndependent) && !project.figures.empty()) {
        // A range cut begins at its first figure's start vertex.
        const StartFigureOverride from(project, range);
        switch (settleStartPoint(project)) {
        case -1: directionText = m_context.Text("Configuration", "catdir.Item1"); break;
        case 1: directionText = m_context.Text("Configuration", "catdir.Item0"); break;
        default: break;
        }
        extents = {projectMm(project.startFromLeft), projectMm(project.startFromRight),
                   projectMm(project.startFromBottom), projectMm(project.startFromTop)};
        if (!range.whole()) {
            // The walk reaches only the figures it covers from the range's first figure.
            const tfigura& start = project.figures[static_cast<std::size_t>(range.first)];
            const auto vertex = static_cast<std::size_t>(start.startVertex);
            if (vertex < start.points.size()) {
                const Point p = start.points[vertex];
                const ProjectExtents reach = walkedExtents(project, range);
                const auto span = [](std::int64_t a, std::int64_t b) { return static_cast<std::int32_t>(a - b); };
                extents = {projectMm(span(p.x, reach.minX)), projectMm(span(reach.maxX, p.x)),
                           projectMm(span(p.y, reach.minY)), projectMm(span(reach.maxY, p.y))};
            }
        }
    }
    if (mode == Mode2D) {
        const bool sideWire = s.isTwoWireMachine() && s.KeyBack;
        const double x = (sideWire ? s.backX : s.frontX) / 100.0;
        const double y = (sideWire ? s.backY : s.frontY) / 100.0;
        const double limitX = sideWire ? s.secondWireLimitX : s.limitX;
        const double limitY = sideWire ? s.secondWireLimitY : s.limitY;
        if (x + extents.right > limitX || y + extents.up > limitY || extents.left > x || extents.down > y) {
            // A closed figure has no feed direction: the caption then ends at its own words.
            std::string caption = m_context.Text("Configuration", "CatDir.caption");
            if (!directionText.empty())
                caption += " : " + directionText;
            m_context.language.ShowMessageBox(m_context.Text("Main_window", "projektPozaObszaremMaszyny") + "\n" +
                                                  m_context.Text("Main_window", "zmienPunktStartowy"),
                                              true, caption);
            return false;
        }
        if (s.isTwoWireMachine()) {
            const double frontY = s.frontY / 100.0;
            const double sideY = s.backY / 100.0;
            if (s.KeyFront && !(frontY - extents.down >= sideY + kWireGapMm)) {
                m_context.language.ShowMessageBox(m_context.Text("Main_window", "PrKolizjaDrutow") + "\n" +
                                                      m_context.Text("Main_window", "PrPrzesunBocznyDrut"),
                                                  false);
                return false;
            }
            if (s.KeyBack && !(frontY - kWireGapMm >= sideY + extents.up)) {
                m_context.language.ShowMessageBox(m_context.Text("Main_window", "PrKolizjaDrutow") + "\n" +
                                                      m_context.Text("Main_window", "PrPrzesunFrontowyDrut"),
                                                  false);
                return false;
            }
        }
    }
    if (s.isTwoWireMachine() && mode != ModePerpendicular && s.KeyFront)
        m_context.job.frontWireStart = {s.frontX / 100.0, s.frontY / 100.0};
    return test || wireTest();
}

// Heats the wire for a moment and reads the break detector; a broken wire is reported until the
// operator gives up.
bool JobDriver::wireTest()
{
    const MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    const double power = config.number(Param::work_power);
    if (config.choice(Param::Mode) == ModeSerial || config.choice(Param::PowerOutput) != 0 ||
        s.reportsPowerInPercent || power == 0.0)
        return true;
    for (;;) {
        m_protocol.ReadStatus();
        m_motion.SetWorkPower(1, power);
        m_protocol.SendCommand(machine::commands::heating(true, 1));
        m_context.clock.sleepMs(kWireTestMs);
        m_protocol.ReadStatus();
        m_protocol.SendCommand(machine::commands::heating(false, 1));
        if (!s.wireBreak())
            return true;
        if (m_context.language.AskQuestion(m_context.Text("Control", "zerwanyDrut"), Buttons::OkCancel) == AnswerCancel)
            return false;
    }
}

}  // namespace kerfline
