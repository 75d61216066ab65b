// mix: the program of the independent arms for one design, front shape pen 4 and back shape
// pen 3, placed on the block as the placement dialog places it.
#include "cli/mix_command.h"

#include "cli/cli_context.h"
#include "cli/cli_windows.h"
#include "cli/commands.h"
#include "cli/inspect_command.h"
#include "cli/options.h"
#include "cli/placement_options.h"
#include "cli/plan_command.h"
#include "config/cutting_mode.h"
#include "project/cut_path_walk.h"
#include "project/cut_start_point.h"
#include "project/tmdichild.h"
#include "shell/design_opening.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::cli {
namespace {

constexpr const char* kDefaultProduct = "Qd 1200";

struct MixOptions {
    std::string file;
    std::string output;
    std::optional<std::string> machine;
    DesignReadOptions design;
    PlacementOptions placement;
    std::vector<std::string> switches;
};

const CommandUsage usage{"mix",
    std::string("usage: kerfline-cli mix DESIGN [--width MM] [--distance MM] [--arm-spacing MM] [--machine PRODUCT] "
                "[--config F.kcc] [--set NAME=VALUE]... [--unit mm|in|ft] [--dxf-resolution 1..8] -o OUT.cn "
                "[SWITCH...]\n"
                "the front shape is drawn with pen 4, the back shape with pen 3; the answers of the placement:\n") +
    kPlacementUsage};

std::optional<int> parse(int argc, char** argv, MixOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the DESIGN comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        std::string problem;
        if (takeDesignOption(argc, argv, i, options.design, problem) ||
            takePlacementOption(argc, argv, i, options.placement, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else if (takeValue("-o", argc, argv, i, value) || takeValue("--output", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs the path of the cut program");
            options.output = *value;
        } else if (takeValue("--machine", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("--machine needs a PRODUCT");
            options.machine = *value;
        } else {
            options.switches.emplace_back(argv[i]);  // one of the program's own switches
        }
    }
    if (options.output.empty())
        return usage("-o OUT.cn is required");
    return std::nullopt;
}

}  // namespace

int runMix(int argc, char** argv)
{
    MixOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    AppContext& app = *context.app;
    if (!options.machine)
        app.machine.setProduct(kDefaultProduct);
    MachineModel machineModel;
    if (!machineModel.open(context, options.machine))
        return ExitRefused;
    if (const int loaded = loadConfiguration(app, options.design.configuration, usage); loaded != ExitSuccess)
        return loaded;
    app.configuration.setChoice(Param::Mode, ModeIndependent);

    CliWindows windows(app);
    DesignOpener(app, windows).Open("", options.file, false);
    TMDIChild* mix = windows.active();
    if (!mix || mix->synchronousPair == 0)
        return ExitRefused;  // the opening or the mixing said why

    settleStartPoint(*mix);
    // Asked to move the arms so the path fits, the tool says yes.
    context.host.answers.push_back(AnswerYes);
    if (!placeWithAnswers(app, *mix, options.placement, nullptr))
        return ExitRefused;
    mix->cutOutline = 1;

    CutProgramJob job;
    job.outputKind = cutOutputKind(ModeIndependent, app.configuration.choice(Param::StolikSwitch), false);
    job.sendCommand = machineModel.sender();
    const auto last = static_cast<std::int32_t>(mix->figures.size()) - 1;
    if (const ProgramWriteResult written = save_ciecie(*mix, job, options.output, 0, 0.0, last); !written) {
        app.language.ShowMessageBox(written.error->message(app.language), true);
        return ExitRefused;
    }
    return reportWrittenProgram(app, *mix, ModeIndependent, job.outputKind, options.output, true);
}

}  // namespace kerfline::cli
