#include "shell/ui/application.h"

#include "aids/ui/about_box.h"
#include "aids/ui/project_info_window.h"
#include "config/configuration.h"
#include "config/configuration_lifecycle.h"
#include "config/dialog_rules.h"
#include "config/parameters.h"
#include "config/ui/config_dialog.h"
#include "cutting/cutting_session.h"
#include "cutting/ui/base_points_dialog.h"
#include "cutting/ui/job_status_panel.h"
#include "cutting/ui/manual_panel.h"
#include "cutting/ui/wire_move_dialog.h"
#include "base/round.h"
#include "base/ui/dialog_placement.h"
#include "base/ui/qt_translations.h"
#include "machine/machine_state.h"
#include "machine/ui/firmware_upgrade_dialog.h"
#include "machine/ui/virtual_cutter_window.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "placement/ui/placement_dialogs.h"
#include "project/ui/project_window.h"
#include "shell/app_context.h"
#include "shell/design_opening.h"
#include "shell/ui/main_window.h"
#include "shell/ui/mdi_project_windows.h"
#include "shell/ui/production_aids.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace kerfline::ui {
namespace {

// The virtual cutter runs in real time, also while nothing polls it.
constexpr int kVirtualCutterStepMs = 50;
// How often the wire's position is read while a job runs, for the project window.
constexpr int kWireFollowMs = 100;

}  // namespace

Application::Application(AppContext& context, machine::PlatformChoice platform)
    : m_context(context), m_platform(std::move(platform))
{
    // Qt's own dialogs and key names speak the program's language; installed before any window
    // exists so that every text Qt makes is translated.
    installQtTranslations(context.language.languageCode());
    m_mainForm = std::make_unique<TMainForm>(context);
    centreDialogsOn(*m_mainForm);
    // The session is made before the windows its hooks reach; the hooks forward to them once
    // they exist.
    m_panelHooks = std::make_unique<PanelWindowHooks>();
    m_session = std::make_unique<CuttingSession>(context, *m_platform.platform, m_mainForm->projectWindows(),
                                                 m_panelHooks->hooks());

    // The configuration dialog's creation loads the global settings and the configuration.
    const ConfigFileResult configuration = startConfiguration(context);
    if (!configuration.ok())
        context.language.ShowMessageBox(messageFor(configuration, context.language), true);
    QWidget* owner = m_mainForm.get();
    m_configuration = std::make_unique<TDlgkonfig>(context, owner);
    m_configuration->setProjectWindows(&m_mainForm->projectWindows());
    m_configuration->setProtocol(&m_session->protocol);
    m_configuration->setRereadMachine([this] {
        if (m_session->link.connected())
            m_session->protocol.ReadMachineInfo();
    });
    m_basePoints = std::make_unique<TPunkty_bazoweDialog>(context, *m_session, owner);
    m_upgrade = std::make_unique<TUpgradeProgramForm>(context, *m_session, owner);
    m_about = std::make_unique<AboutBox>(context, *m_session, owner);
    m_wireMove = std::make_unique<TprzesunDialog>(context, *m_session, owner);
    m_information = std::make_unique<ProjectInfoWindow>(context, *m_session, owner);

    // The transmission feeds the controller from this timer at the interval each tick asks
    // for; the timer runs only while a program is being sent.
    m_transmissionTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_transmissionTimer, &QTimer::timeout, [this] { transmissionTick(); });
    m_session->transmission.started = [this] { m_transmissionTimer.start(TransmitArm::kSendingIntervalMs); };

    m_panel = std::make_unique<TsterWindow>(context, *m_session, owner);
    m_aids = std::make_unique<ProductionAids>(context, *m_mainForm, *m_session, m_configuration.get());
    wireWindows();

    // The job's figures get a row of their own under the project windows: beside the status
    // panels of fixed width they had no room on a narrow main window.
    m_jobBar = new QToolBar(m_mainForm.get());
    m_jobBar->setObjectName(QStringLiteral("jobStatusBar"));
    m_jobBar->setMovable(false);
    m_jobBar->setFloatable(false);
    m_jobBar->toggleViewAction()->setVisible(false);
    m_jobStatus = new JobStatusPanel(context.language, m_jobBar);
    m_jobBar->addWidget(m_jobStatus);
    m_mainForm->addToolBar(Qt::BottomToolBarArea, m_jobBar);
    m_jobBar->hide();
    QObject::connect(&m_wireTimer, &QTimer::timeout, [this] { followWire(); });
    m_wireTimer.start(kWireFollowMs);

    if (machine::VirtualCutter* cutter = m_platform.virtualCutter) {
        m_virtualCutterWindow = std::make_unique<VirtualCutterWindow>(*cutter, context.language, owner);
        QObject::connect(&m_virtualCutterTimer, &QTimer::timeout,
                         [this, cutter] { cutter->advanceTo(m_context.clock.nowMs()); });
        m_virtualCutterTimer.start(kVirtualCutterStepMs);
    }
}

Application::~Application()
{
    m_virtualCutterTimer.stop();
    m_wireTimer.stop();
    m_transmissionTimer.stop();
    if (m_trailWindow)
        m_trailWindow->setWireTrail(nullptr);
    // Whatever is still being sent ends before the link closes with the session.
    m_session->transmission.stop();
    m_session->transmission.started = nullptr;
    m_session->driver.dialogs = {};
    m_session->supervisor.updateMenuItems = nullptr;
    *m_panelHooks = PanelWindowHooks{};
    finishConfiguration(m_context);
}

void Application::wireWindows()
{
    m_panelHooks->panel = m_panel.get();
    m_panelHooks->showBasePoints = [this] { m_basePoints->exec(); };
    m_panelHooks->showMoveDialog = [this](bool front, bool back) { m_wireMove->showFor(front, back); };
    m_panelHooks->showUpgrade = [this] { m_upgrade->exec(); };

    JobDialogs& dialogs = m_session->driver.dialogs;
    dialogs.simulate = [this](TMDIChild& project) {
        if (ProjectWindow* window = m_mainForm->projectWindowOf(project))
            window->simulate();
    };
    dialogs.showCutPreview = [this](TMDIChild& project, const CutPreview* preview) {
        if (ProjectWindow* window = m_mainForm->projectWindowOf(project))
            window->setCutPreview(preview);
    };
    dialogs.placement = [this](TMDIChild& project) {
        TfFigNaMat dialog(m_context, &m_session->protocol, project, m_mainForm.get());
        return dialog.run();
    };
    dialogs.twoWireStart = [this](TMDIChild&) {
        TMDIChild* front = m_session->driver.windows().bySeriesIndex(0);
        TMDIChild* side = m_session->driver.windows().bySeriesIndex(1);
        if (front == nullptr || side == nullptr)
            return false;
        TfPrStartDlg dialog(m_context, *m_session, *front, *side, m_mainForm.get());
        return dialog.run();
    };
    dialogs.serial = [this] { return m_mainForm->serialDialogForJob(); };
    dialogs.showManualControl = [this] {
        m_panel->show();
        m_panel->raise();
        m_panel->activateWindow();
    };
    m_session->supervisor.updateMenuItems = [this] { m_mainForm->UpdateMenuItems(); };

    m_mainForm->attach({m_session.get(), m_configuration.get(), m_information.get(), m_about.get(), m_panel.get()});
}

void Application::transmissionTick()
{
    // A tick may wait on the controller or show a message, which lets this timer in again.
    if (m_inTransmissionTick)
        return;
    m_inTransmissionTick = true;
    TransmitArm& transmission = m_session->transmission;
    const int next = transmission.active() ? transmission.Timer1Timer() : 0;
    if (!transmission.active())
        m_transmissionTimer.stop();
    else if (m_transmissionTimer.interval() != next)
        m_transmissionTimer.setInterval(next);
    m_inTransmissionTick = false;
}

void Application::followJob(bool started, bool changed)
{
    const std::int64_t now = m_context.clock.nowMs();
    if (started)
        m_jobWatch.begin(m_session->transmission.programPath(), m_context.machine, m_context.job.originSteps, now);
    if (!changed || !m_jobWatch.watching())
        return;
    m_jobWatch.tick(m_context.machine, now);
    const bool running = m_session->transmission.active() || m_context.job.jobActive;
    const JobPhase phase = jobPhaseOf({m_session->link.connected(), m_context.machine.statusFlags, m_context.job.jobActive,
                                       m_context.job.stoppedByOperator, !running});
    const int unit = m_context.configuration.displayUnit;
    m_jobStatus->showStatus(m_jobWatch.status(phase, m_context.machine, now), 1.0 / unitFactor(unit), std::string(unitText(unit)));
    m_jobBar->show();
}

void Application::followWire()
{
    const bool running = m_session->transmission.active() || m_context.job.jobActive;
    const bool started = running && !m_jobWasRunning;
    const bool ended = !running && m_jobWasRunning;
    m_jobWasRunning = running;
    // The status comes with the positions: the trail takes a point only while the program runs.
    // The panel's heartbeat reads that report every 100 ms too: what it read a moment ago serves
    // the trail, and the controller is asked only when it did not.
    const bool readOk = running && (m_session->panel.positionsReadWithinMs(kWireFollowMs) ||
                                    m_session->protocol.ReadStatusAndPositions());
    if (started)
        clearSimulationTrail();
    followJob(started, running || ended);
    // Only a two-dimensional program moves the wire in the plane of the design.
    if (!running || m_context.configuration.choice(Param::Mode) != Mode2D)
        return;
    if (started) {
        // A new job: the project being cut is the active one.
        if (m_trailWindow)
            m_trailWindow->setWireTrail(nullptr);
        m_trailWindow = nullptr;
        TMDIChild* project = m_mainForm->projectWindows().active();
        ProjectWindow* window = project != nullptr ? m_mainForm->projectWindowOf(*project) : nullptr;
        if (window == nullptr)
            return;
        // The job may have run a while before this timer saw it: the trail starts from the
        // origin the job recorded when the wire stood at the project's start point.
        const MachineState& machine = m_context.machine;
        const bool backArm = WireTrail::followsBackArm(machine);
        const auto hundredths = [&](int axis, double resolution) {
            return static_cast<std::int32_t>(roundHalfEven(m_context.job.originSteps[axis] / resolution));
        };
        if (!m_wireTrail.begin(*project, backArm ? hundredths(AxisBackX, machine.resX) : m_context.job.originX,
                               backArm ? hundredths(AxisBackY, machine.resY) : m_context.job.originY, backArm,
                               m_context.configuration.number(Param::skala)))
            return;
        m_wireTrail.follow(machine, readOk);
        m_trailWindow = window;
        window->setWireTrail(&m_wireTrail);
        window->update();
        return;
    }
    if (m_trailWindow && m_wireTrail.follow(m_context.machine, readOk))
        m_trailWindow->update();
}

void Application::clearSimulationTrail()
{
    // The job's own trail is drawn now; a simulation's red dots beside it would mislead.
    if (TMDIChild* project = m_mainForm->projectWindows().active())
        if (ProjectWindow* window = m_mainForm->projectWindowOf(*project))
            window->clearSimulationTrail();
}

void Application::show()
{
    // A top-level window's move() places its frame, setGeometry() its client area: placing the
    // client area at the screen's corner would push the title bar off the screen.
    const QRect screen = m_mainForm->screen()->availableGeometry();
    m_mainForm->move(screen.topLeft());
    if (m_virtualCutterWindow == nullptr) {
        m_mainForm->resize(screen.size());
        m_mainForm->showMaximized();
        return;
    }
    // The virtual cutter stands beside the main window, which takes the rest of the screen.
    m_virtualCutterWindow->adjustSize();
    const int side = m_virtualCutterWindow->width();
    const QSize wanted(screen.width() - side - 8, screen.height());
    m_mainForm->resize(wanted);
    m_mainForm->show();
    // Once the window manager has framed the window, the frame is taken off the client size so
    // that the whole window fits. The frame comes some time after show(): look again for a while.
    fitFrameOnScreen(wanted, screen, 40);
    m_virtualCutterWindow->move(screen.right() - side, screen.top());
    m_virtualCutterWindow->show();
}

void Application::fitFrameOnScreen(QSize wanted, QRect screen, int triesLeft)
{
    QTimer::singleShot(triesLeft == 40 ? 0 : 50, m_mainForm.get(), [this, wanted, screen, triesLeft] {
        TMainForm* form = m_mainForm.get();
        const QSize frame = form->frameGeometry().size() - form->geometry().size();
        if (frame.isEmpty() && triesLeft > 1) {
            fitFrameOnScreen(wanted, screen, triesLeft - 1);
            return;
        }
        form->resize(wanted - frame);
        form->move(screen.topLeft());
    });
}

void Application::openCommandLineFiles()
{
    for (const std::string& file : designFilesOnCommandLine(m_context.commandLine))
        m_mainForm->Open("", file, false);
}

std::function<void(int, const std::string&)> Application::statusSink()
{
    return [this](int panel, const std::string& text) {
        if (QLabel* label = m_mainForm->statusPanel(panel))
            label->setText(QString::fromStdString(text));
    };
}

}  // namespace kerfline::ui
