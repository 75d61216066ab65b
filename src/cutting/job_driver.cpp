#include "cutting/job_driver.h"

#include "cutting/job_commands.h"
#include "cutting/project_windows.h"
#include "cutting/rotary_start.h"
#include "cutting/start_figure_override.h"
#include "cutting/transmit_arm.h"
#include "base/round.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "project/cut_path_walk.h"
#include "project/cut_preview.h"
#include "config/dialog_rules.h"
#include "config/number_text.h"
#include "project/rotary_save.h"
#include "project/serial_spindle_save.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"

#include <algorithm>
#include <vector>

namespace kerfline {
namespace {

constexpr const char* kProgramFileName = "out.cn";

std::uint8_t reversed(std::uint8_t direction)
{
    return direction == 1 ? 255 : 1;
}

}  // namespace

JobDriver::JobDriver(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion,
                     TransmitArm& transmission, ProjectWindows& windows)
    : m_context(context), m_protocol(protocol), m_motion(motion), m_transmission(transmission), m_windows(windows)
{
    // The rotary, turning and spindle-serial saves of the project.
    const auto wholeProject = [](auto save) {
        return [save](TMDIChild& project, const std::string& path, const CutProgramJob& job) {
            return save(project, job, path, 0, static_cast<std::int32_t>(project.figures.size()) - 1);
        };
    };
    rotaryWriters.Save_ciecie_obrotowe = wholeProject(&Save_ciecie_obrotowe);
    rotaryWriters.Save_toczenie_wrzeciono = wholeProject(&Save_toczenie_wrzeciono);
    rotaryWriters.Save_toczenie_stolik = wholeProject(&Save_toczenie_stolik);
    rotaryWriters.DajPoz1szegoWjazduWmat = [](TMDIChild& project) { return project.DajPoz1szegoWjazduWmat(); };
    rotaryWriters.save_ciecie_seryjne_wrzeciono = [this](TMDIChild& project, const std::string& path,
                                                         const CutProgramJob& job, int direction, double angleStep) {
        return save_ciecie_seryjne_wrzeciono(project, job, path, 0, direction, angleStep,
                                             static_cast<std::int32_t>(project.figures.size()) - 1, m_seriesRegisters);
    };
    rotaryWriters.startSeries = [this](std::int32_t x, std::int32_t y) {
        m_seriesRegisters = {};
        m_seriesRegisters[AxisFrontX] = m_seriesRegisters[AxisBackX] = x;
        m_seriesRegisters[AxisFrontY] = m_seriesRegisters[AxisBackY] = y;
    };
}

std::string JobDriver::programPath() const
{
    return m_context.dataDirectory + kProgramFileName;
}

bool JobDriver::testRun() const
{
    return m_context.commandLine.firstParameterIs("test");
}

double JobDriver::projectMm(std::int32_t units) const
{
    return projectLengthMm(units, m_context.configuration.number(Param::skala));
}

void JobDriver::showError(const char* section, const char* key)
{
    m_context.language.ShowMessageBox(m_context.Text(section, key), true);
}

void JobDriver::sendTravelSpeed()
{
    m_protocol.SendCommand(speedCommand(m_protocol, kTravelSet, m_context.configuration.number(Param::PrzeSpeed)));
}

void JobDriver::sendWorkingSpeed()
{
    m_protocol.SendCommand(speedCommand(m_protocol, kWorkingSet, m_context.configuration.number(Param::szybkoscObrobki)));
}

// ---- commands of the main window ----

void JobDriver::Start1Click(bool fromStartCommand)
{
    m_context.job.jobCounter = 0;
    StartJob(fromStartCommand);
}

void JobDriver::Tnijwybran1Click()
{
    selectedFigureCommand(false);
}

void JobDriver::Startodwybranej1Click()
{
    selectedFigureCommand(true);
}

void JobDriver::selectedFigureCommand(bool toTheEnd)
{
    TMDIChild* project = m_windows.active();
    if (!project)
        return;
    const auto count = static_cast<std::int32_t>(project->figures.size());
    if (project->selectedFigure < 0 || project->selectedFigure >= count) {
        m_context.language.ShowMessageBox(project->fileName + "\n" + m_context.Text("Main_window", "wybierzFigure"),
                                          false);
        return;
    }
    const FigureRange range{project->selectedFigure, toTheEnd ? count - 1 : project->selectedFigure};
    if (confirmRange(*project, range))
        tnij(range, 1);
}

bool JobDriver::confirmRange(TMDIChild& project, FigureRange range)
{
    // The program starts where the wire stands, taking it for the start vertex: the operator
    // must see where that is before anything moves.
    const CutPreview preview = cutPreview(project, range.first, range.last);
    const int unit = m_context.configuration.displayUnit;
    const double skala = m_context.configuration.number(Param::skala);
    const auto along = [&](std::int64_t units) {
        return formatFixed(projectLengthMm(static_cast<std::int32_t>(units), skala) / unitFactor(unit), 2,
                           m_context.decimalSeparator);
    };
    const std::string question =
        formatText(m_context.Text("Main_window", "tnijWybranaStart"),
                   {std::to_string(preview.startVertex), std::to_string(preview.startFigure),
                    along(std::int64_t{preview.start.x} - project.minX), along(std::int64_t{preview.start.y} - project.minY),
                    unitText(unit)});
    if (dialogs.showCutPreview)
        dialogs.showCutPreview(project, &preview);
    const int answer = m_context.language.AskQuestion(question, Buttons::OkCancel);
    if (dialogs.showCutPreview)
        dialogs.showCutPreview(project, nullptr);
    return answer != AnswerCancel;
}

void JobDriver::SymulacjaClick()
{
    if (TMDIChild* project = m_windows.active(); project && dialogs.simulate)
        dialogs.simulate(*project);
}

void JobDriver::SterowanieClick()
{
    if (dialogs.showManualControl)
        dialogs.showManualControl();
}

void JobDriver::StartJob(bool fromStartCommand)
{
    MachineState& s = m_context.machine;
    const Configuration& config = m_context.configuration;
    ++m_context.job.jobCounter;
    m_context.host.setStatus(1, std::to_string(m_context.job.jobCounter));
    const int mode = config.choice(Param::Mode);
    bool written = false;
    if (mode == ModeSerial) {
        written = serialJob();
    } else {
        if (s.isTwoWireMachine() && mode == ModePerpendicular && fromStartCommand) {
            if (arms.tickKeyFront)
                arms.tickKeyFront();
            if (TMDIChild* front = m_windows.bySeriesIndex(0))
                m_windows.activate(*front);
        }
        if (m_windows.active())
            written = cut(FigureRange{}, 1);
    }
    // Both ways: the next job runs against this one. A start that was refused or cancelled
    // cut nothing, so its retry keeps the direction.
    if (written && config.choice(Param::CatDir) == 2) {
        if (TMDIChild* project = m_windows.active())
            project->directionX = {reversed(project->directionX[0]), reversed(project->directionX[1])};
    }
}

// ---- the cut ----

void JobDriver::tnij(FigureRange range, int direction)
{
    cut(range, direction);
}

bool JobDriver::cut(FigureRange range, int direction)
{
    TMDIChild* project = m_windows.active();
    if (!project || !StartChecks(*project, range))
        return false;
    BusyCursor busy(m_context.host);
    if (!writeProgram(*project, range, direction))
        return false;
    if (m_context.configuration.choice(Param::Mode) != ModeSerial && !testRun())
        pauseAndClear();
    startMachine(*project);
    return true;
}

CutProgramJob JobDriver::programJob(OutputKind outputKind) const
{
    CutProgramJob job;
    job.outputKind = outputKind;
    job.programStartX = m_context.job.programStartX;
    job.programStartY = m_context.job.programStartY;
    job.frontWireStartX = m_context.job.frontWireStart.x;
    job.frontWireStartY = m_context.job.frontWireStart.y;
    if (m_protocol.link().connected()) {
        machine::ControllerProtocol& protocol = m_protocol;
        job.sendCommand = [&protocol](std::string_view command) { return protocol.SendCommand(command); };
    }
    return job;
}

bool JobDriver::written(const ProgramWriteResult& result)
{
    if (result)
        return true;
    m_context.language.ShowMessageBox(result.error->message(m_context.language), true);
    return false;
}

bool JobDriver::writeProgram(TMDIChild& project, FigureRange range, int direction)
{
    const Configuration& config = m_context.configuration;
    JobState& job = m_context.job;
    const std::string path = programPath();
    const int device = config.choice(Param::StolikSwitch);
    const auto writeWith = [&](const RotaryWriters::Writer& writer, const CutProgramJob& programJob) {
        // A mode whose planner is not there writes nothing, and nothing is sent.
        return writer && written(writer(project, path, programJob));
    };
    const auto firstEntry = [&] {
        return rotaryWriters.DajPoz1szegoWjazduWmat ? rotaryWriters.DajPoz1szegoWjazduWmat(project) : 0.0;
    };

    const int mode = config.choice(Param::Mode);
    const OutputKind kind = cutOutputKind(mode, device, project.horizontalAxisFound);
    const RotaryStart start = rotaryStartOf(config, project, job.programStartX, job.programStartY);
    switch (mode) {
    case ModeRotary:
        job.programStartX = start.programStartX;
        job.programStartY = start.programStartY;
        if (!start.fits) {
            showError("Main_window", "projektZaDuzaWysokosc");
            return false;
        }
        return writeWith(rotaryWriters.Save_ciecie_obrotowe, programJob(kind));
    case ModeSerial: {
        const double perPass = (device == DeviceTable ? 0.5 : 1.0) / static_cast<double>(m_windows.windows().size());
        const double angleStep = config.choice(Param::rgKatObrotu) != 0 ? project.rotationAngle / 360.0 : perPass;
        project.cutOutline = 1;
        if (device == DeviceTable) {
            CutProgramJob serial = programJob(kind);
            serial.seriesPosition = project.seriesIndex;
            serial.projectWindowCount = static_cast<std::int32_t>(m_windows.windows().size());
            serial.projectWidth = project.width;
            // Only the windows the generator made carry the cut-off; a later series of files does not.
            serial.cutOffAfterSeries = project.cutOffAfterSeries != 0;
            return write2D(project, range, serial, angleStep);
        }
        const auto& writer = rotaryWriters.save_ciecie_seryjne_wrzeciono;
        return writer && written(writer(project, path, programJob(kind), direction, angleStep));
    }
    case ModeTurning:
        if (device == DeviceSpindle || device == DeviceTable) {
            job.programStartX = start.programStartX;
            job.programStartY = start.programStartY;
            CutProgramJob turning = programJob(kind);
            turning.firstEntry = firstEntry();
            return writeWith(device == DeviceSpindle ? rotaryWriters.Save_toczenie_wrzeciono
                                                     : rotaryWriters.Save_toczenie_stolik,
                             turning);
        }
        return askUnconnected(project, range) && askOutline(project, range) &&
               write2D(project, range, programJob(kind), 0.0);
    case ModeIndependent:
        if (dialogs.placement && !dialogs.placement(project))
            return false;
        return askUnconnected(project, range) && askOutline(project, range) &&
               write2D(project, range, programJob(kind), 0.0);
    case ModePerpendicular:
        if (m_context.machine.KeyFront) {
            if (dialogs.twoWireStart && !dialogs.twoWireStart(project))
                return false;
            m_context.language.ShowMessageBox(m_context.Text("Main_window", "PrUmiescMaterial"), false);
        }
        return askUnconnected(project, range) && askOutline(project, range) &&
               write2D(project, range, programJob(kind), 0.0);
    default:
        // Every other mode cuts as plain 2D.
        return askUnconnected(project, range) && askOutline(project, range) &&
               write2D(project, range, programJob(OutputKind::Plain), 0.0);
    }
}

// Figures the planning could not join to the cut path would be left in the block; the operator
// decides whether the rest is cut.
bool JobDriver::askUnconnected(TMDIChild& project, FigureRange range)
{
    // The pair of the independent arms is cut as one, outside any cut tree.
    if (!range.whole() || project.synchronousPair != 0)
        return true;
    const auto count = std::count_if(project.figures.begin(), project.figures.end(),
                                     [](const tfigura& f) { return f.unconnected != 0; });
    if (count == 0)
        return true;
    return m_context.language.AskQuestion(
               formatText(m_context.Text("Main_window", "niepolaczoneFiguryPytanie"), {std::to_string(count)}),
               Buttons::OkCancel) != AnswerCancel;
}

bool JobDriver::askOutline(TMDIChild& project, FigureRange range)
{
    const auto start = static_cast<std::size_t>(project.startFigure);
    const bool frameStarts = range.whole() && project.frameAdded && start < project.figures.size() &&
                             project.figures[start].kind == kFigureFrame;
    if (!frameStarts) {
        project.cutOutline = 1;
        return true;
    }
    switch (m_context.language.AskQuestion(m_context.Text("Main_window", "czyRysowacObrys"), Buttons::YesNoCancel)) {
    case AnswerCancel:
        return false;
    case AnswerYes:
        project.cutOutline = 1;
        return true;
    default:
        project.cutOutline = 0;
        return true;
    }
}

bool JobDriver::write2D(TMDIChild& project, FigureRange range, const CutProgramJob& job, double angleStep)
{
    const auto count = static_cast<std::int32_t>(project.figures.size());
    if (range.whole() || project.synchronousPair) {
        // The figures of a synchronous pair are cut together or not at all.
        return written(save_ciecie(project, job, programPath(), 0, angleStep, count - 1));
    }
    // The walk of the cut tree starts at the range's first figure: cutting to the end takes
    // everything the tree attaches below it, cutting one figure leaves the others out.
    const StartFigureOverride from(project, range);
    std::vector<std::uint8_t> unconnected;
    if (range.first == range.last) {
        unconnected.reserve(project.figures.size());
        for (std::int32_t i = 0; i < count; ++i) {
            tfigura& figure = project.figures[static_cast<std::size_t>(i)];
            unconnected.push_back(figure.unconnected);
            if (i != range.first)
                figure.unconnected = 1;
        }
    }
    const ProgramWriteResult result = save_ciecie(project, job, programPath(), range.first, angleStep, range.last);
    for (std::size_t i = 0; i < unconnected.size(); ++i)
        project.figures[i].unconnected = unconnected[i];
    return written(result);
}

}  // namespace kerfline
