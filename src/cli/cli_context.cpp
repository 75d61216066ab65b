#include "cli/cli_context.h"

#include <cstdlib>

namespace kerfline::cli {

bool CliContext::start(std::vector<std::string> switches)
{
    host.echoToStderr = true;
    app = std::make_unique<AppContext>(host, clock, CommandLine(std::move(switches)));
    app->decimalSeparator = adoptEnvironmentLocale();
    return startShell(*app, [](const char* name) { return std::getenv(name); });
}

void CliContext::openPlatform()
{
    // The tool reads and ends: no hotplug thread.
    platform = machine::createHidPlatform(app->commandLine, host, clock, false);
}

}  // namespace kerfline::cli
