// kerfline: the desktop program.
#include "config/configuration_lifecycle.h"
#include "machine/controller_link.h"
#include "machine/hid_platform_choice.h"
#include "machine/virtual_cutter.h"
#include "shell/app_context.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_host.h"
#include "shell/version.h"

#include <QApplication>
#include <QLabel>
#include <QSurfaceFormat>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv)
{
    // The 3D view draws with the fixed-function pipeline: ask for a compatibility context before
    // the application exists.
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication application(argc, argv);
    QApplication::setApplicationName(kerfline::kProgramTitle);

    kerfline::ui::QtHost host;
    kerfline::ui::QtClock clock;
    kerfline::AppContext context(host, clock, kerfline::CommandLine::fromArgv(argc, argv));
    context.decimalSeparator = kerfline::adoptEnvironmentLocale();
    if (!kerfline::startShell(context, [](const char* name) { return std::getenv(name); }))
        return 1;

    kerfline::ui::TMainForm window(context);
    host.setWindow(&window);
    host.setStatusSink([&window](int panel, const std::string& text) {
        if (auto* label = window.statusPanel(panel))
            label->setText(QString::fromStdString(text));
    });

    // The controller: the virtual cutter with --virtual-machine, the USB devices otherwise. The
    // platform outlives the link that uses it.
    kerfline::machine::PlatformChoice platform =
        kerfline::machine::createHidPlatform(context.commandLine, host, clock, true);
    kerfline::machine::TfUsb link(context, *platform.platform);
    QTimer virtualCutterTimer;
    if (platform.virtualCutter != nullptr) {
        // The virtual cutter runs in real time, also while nothing polls it.
        QObject::connect(&virtualCutterTimer, &QTimer::timeout,
                         [&] { platform.virtualCutter->advanceTo(clock.nowMs()); });
        virtualCutterTimer.start(50);
    }

    // The configuration dialog's creation: global settings, then the configuration file.
    const kerfline::ConfigFileResult configuration = kerfline::startConfiguration(context);
    if (!configuration.ok())
        context.language.ShowMessageBox(kerfline::messageFor(configuration, context.language), true);

    window.showMaximized();
    const int result = QApplication::exec();
    kerfline::finishConfiguration(context);
    return result;
}
