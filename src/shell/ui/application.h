#pragma once

#include "cutting/job_progress.h"
#include "machine/hid_platform_choice.h"
#include "project/wire_trail.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

class QToolBar;

namespace kerfline {
struct AppContext;
struct CuttingSession;
}  // namespace kerfline

namespace kerfline::ui {

class AboutBox;
class JobStatusPanel;
class ProjectWindow;
class ProjectInfoWindow;
class ProductionAids;
class TDlgkonfig;
class TMainForm;
class TprzesunDialog;
class TPunkty_bazoweDialog;
class TsterWindow;
class TUpgradeProgramForm;
class VirtualCutterWindow;
struct PanelWindowHooks;

// The desktop program put together: the main window, the cutting session on the chosen HID
// platform, and the long-lived windows in their start-up order, wired to each other. main()
// and the widget tests build the same thing.
class Application {
public:
    // The context has been started (language, directories). The platform becomes the
    // session's; the configuration is loaded as the configuration dialog is made.
    Application(AppContext& context, machine::PlatformChoice platform);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the main window maximised, and the virtual cutter's window beside it.
    void show();
    // Opens the design files named on the command line.
    void openCommandLineFiles();
    // Where the Host puts status texts: the main window's panels.
    std::function<void(int, const std::string&)> statusSink();

    TMainForm& mainForm() { return *m_mainForm; }
    CuttingSession& session() { return *m_session; }
    machine::VirtualCutter* virtualCutter() { return m_platform.virtualCutter; }
    TsterWindow& panel() { return *m_panel; }
    ProductionAids& aids() { return *m_aids; }
    TDlgkonfig& configurationDialog() { return *m_configuration; }
    VirtualCutterWindow* virtualCutterWindow() { return m_virtualCutterWindow.get(); }
    const WireTrail& wireTrail() const { return m_wireTrail; }

private:
    // Sizes the main window so that its frame, once the window manager has drawn it, fits too.
    void fitFrameOnScreen(QSize wanted, QRect screen, int triesLeft);
    void transmissionTick();
    void followWire();
    void clearSimulationTrail();
    // Plans a job when it starts and shows its figures in the status bar while it runs and after it ends.
    void followJob(bool started, bool changed);
    void wireWindows();

    AppContext& m_context;
    machine::PlatformChoice m_platform;
    // The wire's route of the running job, shown in the project window being cut. It outlives
    // the windows that point at it.
    WireTrail m_wireTrail;
    QPointer<ProjectWindow> m_trailWindow;
    bool m_jobWasRunning = false;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<PanelWindowHooks> m_panelHooks;
    std::unique_ptr<CuttingSession> m_session;
    std::unique_ptr<TDlgkonfig> m_configuration;
    std::unique_ptr<TPunkty_bazoweDialog> m_basePoints;
    std::unique_ptr<TUpgradeProgramForm> m_upgrade;
    std::unique_ptr<AboutBox> m_about;
    std::unique_ptr<TprzesunDialog> m_wireMove;
    std::unique_ptr<ProjectInfoWindow> m_information;
    std::unique_ptr<TsterWindow> m_panel;
    std::unique_ptr<ProductionAids> m_aids;
    std::unique_ptr<VirtualCutterWindow> m_virtualCutterWindow;
    QTimer m_transmissionTimer;
    QTimer m_virtualCutterTimer;
    QTimer m_wireTimer;
    JobWatch m_jobWatch;
    QToolBar* m_jobBar = nullptr;           // owned by the main window
    JobStatusPanel* m_jobStatus = nullptr;  // owned by m_jobBar
    bool m_inTransmissionTick = false;
};

}  // namespace kerfline::ui
