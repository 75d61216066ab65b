// export: a project written back out as an HPGL plot or a DXF drawing.
#include "cli/export_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/inspect_command.h"
#include "cli/options.h"
#include "designfiles/design_type.h"
#include "designfiles/dxf_export.h"
#include "designfiles/hpgl_export.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kerfline::cli {
namespace {

enum class ExportKind { hpgl, dxf };

struct ExportOptions {
    std::string file;
    std::optional<ExportKind> kind;
    std::string output;
    DesignReadOptions design;
    std::vector<std::string> switches;
};

const CommandUsage usage{"export",
    "usage: kerfline-cli export FILE (--hpgl OUT | --dxf OUT) [--unit mm|in|ft] "
    "[--dxf-resolution 1..8] [--config FILE] [--set NAME=VALUE]... [SWITCH...]\n"};

std::optional<int> parse(int argc, char** argv, ExportOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::string problem;
        std::optional<ExportKind> kind;
        std::optional<std::string> value;
        for (const auto& [name, k] : {std::pair{std::string_view("--hpgl"), ExportKind::hpgl},
                                      std::pair{std::string_view("--dxf"), ExportKind::dxf}}) {
            if (!kind && takeValue(name, argc, argv, i, value))
                kind = k;
        }
        if (kind) {
            if (options.kind)
                return usage("give one of --hpgl and --dxf, once");
            if (!value || value->empty())
                return usage(std::string(kind == ExportKind::hpgl ? "--hpgl" : "--dxf") + " needs an OUT file");
            options.kind = kind;
            options.output = *value;
        } else if (takeDesignOption(argc, argv, i, options.design, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else {
            options.switches.emplace_back(argv[i]);  // one of the program's own switches
        }
    }
    if (!options.kind)
        return usage("give --hpgl OUT or --dxf OUT");
    return std::nullopt;
}

}  // namespace

int runExport(int argc, char** argv)
{
    ExportOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    AppContext& app = *context.app;
    if (const int code = loadConfiguration(app, options.design.configuration, usage); code != ExitSuccess)
        return code;
    const tInterfejs& language = app.language;

    const std::int32_t type = designTypeOf(options.file);
    if (type == kDesignUnknown) {
        language.ShowMessageBox(language.Text("Universal", "nieprawidlowyFormatPliku") + ": " + options.file, true);
        return ExitRefused;
    }
    // The export writes what the project window holds: the design as loaded and prepared.
    TMDIChild project(app);
    project.fileType = type;
    if (project.Load(options.file, 255) != LoadOutcome::Opened)
        return ExitRefused;

    const int code = *options.kind == ExportKind::hpgl
                         ? WriteHpglFile(project.figures, options.output)
                         : WriteDxfFile(project.figures, options.output, app.configuration.displayUnit);
    if (code != 0) {
        language.ShowMessageBox(formatText(language.Text("Configuration", "bladZapisuPliku"), {options.output}) +
                                    "\n" + language.Text("Universal", "SzczegolyBledu") + " " + std::strerror(code),
                                true);
        return ExitRefused;
    }
    return ExitSuccess;
}

}  // namespace kerfline::cli
