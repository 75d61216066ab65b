// kerfline: the desktop program.
#include "shell/app_context.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_host.h"
#include "shell/version.h"

#include <QApplication>
#include <QLabel>
#include <QSurfaceFormat>

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
    window.showMaximized();
    return QApplication::exec();
}
