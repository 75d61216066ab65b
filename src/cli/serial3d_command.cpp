// serial3d: the serial generator without windows: a 3D model turned into numbered DXF passes.
#include "cli/serial3d_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/inspect_command.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "model3d/pass_window_list.h"
#include "model3d/serial_generator.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::cli {
namespace {

struct Serial3dOptions {
    std::string model;
    std::string output;
    model3d::GeneratorSettings settings;
    DesignReadOptions design;
    std::vector<std::string> switches;
};

const CommandUsage usage{"serial3d",
    "usage: kerfline-cli serial3d MODEL [--passes 1..180] [--keep-closed] [--no-cut-off] "
    "[--unit mm|in|ft] [--config FILE] [--set NAME=VALUE]... [SWITCH...] -o DIR\n"};

std::optional<int> parse(int argc, char** argv, Serial3dOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the MODEL file comes first");
    options.model = argv[0];
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::optional<std::string> value;
        std::string problem;
        if (takeValue("--passes", argc, argv, i, value)) {
            const auto passes = value ? wholeNumberArgument<int>(*value) : std::nullopt;
            if (!passes || *passes < 1 || *passes > 180)
                return usage("--passes takes a whole number from 1 to 180");
            options.settings.passes = *passes;
        } else if (takeValue("-o", argc, argv, i, value) || takeValue("--output", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs a DIR");
            options.output = *value;
        } else if (argument == "--keep-closed") {
            options.settings.keepClosed = true;
        } else if (argument == "--no-cut-off") {
            options.settings.cutOff = false;
        } else if (takeDesignOption(argc, argv, i, options.design, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else {
            options.switches.emplace_back(argv[i]);
        }
    }
    if (options.output.empty())
        return usage("give the output folder with -o DIR");
    return std::nullopt;
}

}  // namespace

int runSerial3d(int argc, char** argv)
{
    Serial3dOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    AppContext& app = *context.app;
    if (const int code = loadConfiguration(app, options.design.configuration, usage); code != ExitSuccess)
        return code;

    model3d::PassWindowList windows(app);
    model3d::SerialGenerator generator(app.services(), app.configuration, app.machine, windows);
    generator.settings = options.settings;
    generator.settings.closeWhenDone = false;
    generator.settings.decimalSeparator = app.decimalSeparator;
    // A tool without an operator goes on with passes of several figures and over old files.
    context.host.answers.assign(static_cast<std::size_t>(options.settings.passes) + 1, AnswerOk);
    // Each completion starts the next pass, so the workers are waited for until none runs.
    const auto settle = [&] {
        while (generator.locked()) {
            generator.waitForWorkers();
            context.host.runPosted();
        }
    };

    if (!generator.loadModel(options.model))
        return ExitRefused;
    settle();
    if (!generator.hasModel())
        return ExitRefused;
    if (!generator.generate())
        return ExitRefused;
    settle();
    const std::vector<TMDIChild*> passes = windows.windows();
    if (static_cast<int>(passes.size()) != options.settings.passes)
        return ExitRefused;

    std::error_code error;
    std::filesystem::create_directories(options.output, error);
    if (!model3d::saveSerialPasses(passes, options.output, app.configuration.displayUnit, app.services()))
        return ExitRefused;

    const model3d::TModel& model = generator.model()->model;
    JsonWriter json;
    json.beginObject().key("model").beginObject();
    json.key("triangles").integer(static_cast<std::int64_t>(generator.model()->triangles.size()));
    json.key("bounds_mm").beginArray();
    for (const double value : {model.minX, model.minY, model.minZ, model.maxX, model.maxY, model.maxZ})
        json.number(value);
    json.endArray().endObject();
    json.key("passes").beginArray();
    for (std::size_t i = 0; i < passes.size(); ++i) {
        const TMDIChild& pass = *passes[i];
        std::size_t points = 0;
        int figures = 0;
        for (const tfigura& figure : pass.figures) {
            if (figure.isDesign == 0)
                continue;
            ++figures;
            points += figure.points.size();
        }
        json.beginObject();
        json.key("file").string((std::filesystem::path(options.output) / model3d::serialPassFileName(pass.seriesIndex)).string());
        json.key("angle").number(model3d::passAngle(pass.seriesIndex, options.settings.passes));
        json.key("figures").integer(figures);
        json.key("points").integer(static_cast<std::int64_t>(points));
        json.endObject();
    }
    json.endArray().endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
