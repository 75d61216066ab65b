// support-report: the support request page as the program writes it, with the designs as the
// open projects and the machine as the controller link finds it.
#include "cli/support_report_command.h"

#include "aids/support_report.h"
#include "base/atomic_file.h"
#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "config/global_settings.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::cli {
namespace {

const CommandUsage usage{"support-report",
    "usage: kerfline-cli support-report [DESIGN...] [--config F.kcc] -o OUT.html "
    "[--virtual-machine[=PRODUCT]] [SWITCH...]\n"};

// The configuration file the program would name: the one of the global settings, read without
// writing them.
std::string currentConfigPath(const std::string& dataDirectory)
{
    GlobalSettingsRecord record{};
    std::ifstream in(dataDirectory + kGlobalSettingsFile, std::ios::binary);
    if (in.read(reinterpret_cast<char*>(record.data()), static_cast<std::streamsize>(record.size())))
        return decodeGlobalSettings(record).configPath;
    return defaultGlobalSettings(dataDirectory).configPath;
}

}  // namespace

int runSupportReport(int argc, char** argv)
{
    std::vector<std::string> designs, switches;
    std::optional<std::string> output, config;
    for (int i = 0; i < argc; ++i) {
        std::optional<std::string> value;
        if (takeValue("-o", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs an OUT file");
            output = value;
        } else if (takeValue("--config", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("--config needs a FILE");
            config = value;
        } else if (argv[i][0] != '-' && std::filesystem::path(argv[i]).has_extension() &&
                   std::string(argv[i]).find('\'') == std::string::npos) {
            designs.emplace_back(argv[i]);
        } else {
            switches.emplace_back(argv[i]);
        }
    }
    if (!output)
        return usage("give -o OUT.html");

    CliContext context;
    if (!context.start(switches))
        return ExitRefused;
    AppContext& app = *context.app;
    for (const std::string& design : designs) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(design, error)) {
            app.language.ShowMessageBox(app.Text("Universal", "zbioruNieMoznaOtworzyc") + design, true);
            return ExitRefused;
        }
    }
    app.configuration.settings.configPath = config ? *config : currentConfigPath(app.dataDirectory);

    context.openPlatform();
    machine::TfUsb link(app, *context.platform.platform);
    if (link.connected()) {
        machine::ControllerProtocol protocol(app, link);
        protocol.ReadMachineInfo();
    }
    const std::string html = supportReportHtml(supportReportFor(app, designs, link.connected(), ""));
    if (!writeFileAtomically(*output, html)) {
        app.language.ShowMessageBox(formatText(app.Text("Support_request", "bladZapisuRaportu"), {*output}), true);
        return ExitRefused;
    }
    return ExitSuccess;
}

}  // namespace kerfline::cli
