// kerfline: the desktop program.
#include "machine/hid_platform_choice.h"
#include "shell/app_context.h"
#include "shell/ui/application.h"
#include "shell/ui/main_window.h"
#include "base/ui/qt_host.h"
#include "base/version.h"
#include "model3d/ui/traw_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    // The 3D view draws with the fixed-function pipeline: ask for a compatibility context before
    // the application exists.
    kerfline::ui::TRAWview::requestCompatibilityContext();

    QApplication application(argc, argv);
    QApplication::setApplicationName(kerfline::kProgramTitle);

    kerfline::ui::QtHost host;
    kerfline::ui::QtClock clock;
    kerfline::AppContext context(host, clock, kerfline::CommandLine::fromArgv(argc, argv));
    context.decimalSeparator = kerfline::adoptEnvironmentLocale();
    if (!kerfline::startShell(context, [](const char* name) { return std::getenv(name); }))
        return 1;

    // The controller: the virtual cutter with --virtual-machine, the USB devices otherwise.
    kerfline::ui::Application program(
        context, kerfline::machine::createHidPlatform(context.commandLine, host, clock, true));
    host.setWindow(&program.mainForm());
    host.setStatusSink(program.statusSink());
    program.show();
    program.openCommandLineFiles();

    // --quit-after-show: report how long the program took to become usable, then end. The
    // timer fires once the shown windows have been painted and the event loop is idle.
    if (context.commandLine.HasSwitch("--quit-after-show")) {
        QTimer::singleShot(0, &application, [&] {
            std::fprintf(stderr, "kerfline: main window usable after %lld ms\n",
                         static_cast<long long>(sinceStart.elapsed()));
            program.mainForm().close();
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
