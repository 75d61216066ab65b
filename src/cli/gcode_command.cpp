// gcode: the planned wire path as G-code for an open controller.
#include "cli/gcode_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/plan_command.h"
#include "config/parameters.h"
#include "project/cut_start_point.h"
#include "project/gcode_export.h"
#include "project/tmdichild.h"

#include <charconv>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace kerfline::cli {
namespace {

struct GcodeCommandOptions {
    PlanInput input;
    GcodeOptions gcode;
    std::string output;
};

const CommandUsage usage{"gcode",
    "usage: kerfline-cli gcode FILE [--profile linuxcnc|grblhal|fluidnc|marlin] [--axes XYUV|XYZA|XYUZ] "
    "[--feed-mode g94|g93] [--heat-scale N] [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] "
    "[--unit mm|in|ft] [--dxf-resolution 1..8] -o OUT.ngc [SWITCH...]\n"};

std::optional<int> parse(int argc, char** argv, GcodeCommandOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.input.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        std::string problem;
        if (takeValue("--profile", argc, argv, i, value)) {
            const auto profile = value ? gcodeProfileNamed(*value) : std::nullopt;
            if (!profile)
                return usage("--profile is one of linuxcnc, grblhal, fluidnc, marlin");
            options.gcode.profile = *profile;
        } else if (takeValue("--axes", argc, argv, i, value)) {
            if (!value || !validAxisLetters(*value))
                return usage("--axes needs four different axis letters, such as XYUV, XYZA or XYUZ");
            options.gcode.axes = *value;
        } else if (takeValue("--feed-mode", argc, argv, i, value)) {
            const auto mode = value ? feedModeNamed(*value) : std::nullopt;
            if (!mode)
                return usage("--feed-mode is g94 or g93");
            options.gcode.feedMode = *mode;
        } else if (takeValue("--heat-scale", argc, argv, i, value)) {
            double scale = 0.0;
            const bool read = value && !value->empty() &&
                              std::from_chars(value->data(), value->data() + value->size(), scale).ptr ==
                                  value->data() + value->size();
            if (!read || scale <= 0.0)
                return usage("--heat-scale needs a number above 0");
            options.gcode.heatScale = scale;
        } else if (takeValue("-o", argc, argv, i, value) || takeValue("--output", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs the path of the G-code file");
            options.output = *value;
        } else {
            takePlanInput(argc, argv, i, options.input, problem);
            if (!problem.empty())
                return usage(problem);
        }
    }
    if (options.output.empty())
        return usage("-o OUT.ngc is required");
    if (options.gcode.feedMode == GcodeFeedMode::InverseTime && !gcodeProfile(options.gcode.profile).inverseTime)
        return usage("the marlin profile has no inverse-time feed (g93)");
    return std::nullopt;
}

}  // namespace

int runGcode(int argc, char** argv)
{
    GcodeCommandOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    MachineModel machineModel;
    std::unique_ptr<TMDIChild> project;
    // The export follows the plain 2D program; rotary and turning bodies turn axes it has no words for.
    static constexpr int kModes[] = {Mode2D};
    const PlanModes modes{kModes, "kerfline-cli gcode: only plain 2D programs (Mode 0) can be exported"};
    if (const int ready = preparePlan(context, machineModel, options.input, modes, usage, project); ready != ExitSuccess)
        return ready;
    settleUnattendedStart(*project);
    const tInterfejs& language = context.app->language;

    const GcodeExportResult result = exportGcode(*project, options.gcode, options.output);
    if (!result) {
        language.ShowMessageBox(result.error->message(language), true);
        return ExitRefused;
    }
    JsonWriter json;
    json.beginObject();
    json.key("profile").string(gcodeProfile(options.gcode.profile).name);
    json.key("lines").integer(result.counts.lines);
    json.key("moves").integer(result.counts.moves);
    json.key("dwells").integer(result.counts.dwells);
    json.endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
