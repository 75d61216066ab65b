// inspect: the figures of a design as JSON. With --raw, what the importer delivers, in order,
// without the figures it marks invalid.
#include "cli/inspect_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "designfiles/design_settings.h"
#include "designfiles/design_type.h"
#include "designfiles/thpgl.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {
namespace {

struct InspectOptions {
    std::string file;
    bool raw = false;
    std::optional<int> pen;
    DesignReadOptions design;
    std::vector<std::string> switches;
};

const CommandUsage usage{"inspect",
    "usage: kerfline-cli inspect FILE [--raw] [--pen N] [--unit mm|in|ft] "
    "[--dxf-resolution 1..8] [--config FILE] [--set NAME=VALUE]... [SWITCH...]\n"};

std::optional<int> integerIn(std::string_view text, int low, int high)
{
    const std::optional<int> value = wholeNumberArgument<int>(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

// Returns the exit code of a usage error, or nothing when the parameters are sound.
std::optional<int> parse(int argc, char** argv, InspectOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        std::string problem;
        if (std::strcmp(argv[i], "--raw") == 0) {
            options.raw = true;
        } else if (takeValue("--pen", argc, argv, i, value)) {
            options.pen = value ? integerIn(*value, 0, 255) : std::nullopt;
            if (!options.pen)
                return usage("--pen needs a pen number from 0 to 255");
        } else if (takeDesignOption(argc, argv, i, options.design, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else {
            options.switches.emplace_back(argv[i]);  // one of the program's own switches
        }
    }
    return std::nullopt;
}

void writeFigure(JsonWriter& json, const tfigura& figure)
{
    json.beginObject();
    json.key("pen").integer(figure.pen);
    json.key("open").boolean(figure.open != 0);
    json.key("points").beginArray();
    for (const Point& p : figure.points)
        json.beginArray().integer(p.x).integer(p.y).endArray();
    json.endArray();
    json.endObject();
}

}  // namespace

bool takeDesignOption(int argc, char** argv, int& i, DesignReadOptions& options, std::string& problem)
{
    problem.clear();
    std::optional<std::string> value;
    if (takeValue("--unit", argc, argv, i, value)) {
        // The index of the unit among the configuration's radio buttons.
        static constexpr std::string_view kUnits[] = {"mm", "in", "ft"};
        const auto* unit = value ? std::find(std::begin(kUnits), std::end(kUnits), *value) : std::end(kUnits);
        if (unit == std::end(kUnits))
            problem = "--unit is mm, in or ft";
        else
            options.configuration.overrides.push_back("radiounit=" + std::to_string(unit - std::begin(kUnits)));
        return true;
    }
    if (takeValue("--dxf-resolution", argc, argv, i, value)) {
        const std::optional<int> resolution = value ? integerIn(*value, 1, 8) : std::nullopt;
        if (!resolution)
            problem = "--dxf-resolution is a whole number from 1 to 8";
        else
            options.configuration.overrides.push_back("sbRozdzKrzywychDXF=" + std::to_string(*resolution));
        return true;
    }
    return takeConfigurationOption(argc, argv, i, options.configuration, problem);
}

int readDesignFigures(AppContext& app, const std::string& file, std::vector<tfigura>& figures)
{
    const tInterfejs& language = app.language;
    const std::int32_t type = designTypeOf(file);
    if (type == kDesignUnknown) {
        language.ShowMessageBox(language.Text("Universal", "nieprawidlowyFormatPliku") + ": " + file, true);
        return ExitRefused;
    }
    Thpgl importer;
    importer.setCurveSettings(designCurveSettings(app.configuration));
    if (const int code = importer.OpenDesign(file, type); code != 0) {
        if (code == kOpenWrongKind)
            language.ShowMessageBox(file + ": " + language.Text("Project_window", "obslugiwanyFormatAI"), true,
                                    language.Text("Universal", "nieprawidlowyFormatPliku"));
        else
            language.ShowMessageBox(language.Text("Universal", "zbioruNieMoznaOtworzyc") + file + "\n" +
                                        language.Text("Universal", "SzczegolyBledu") + " " + std::strerror(code),
                                    true);
        return ExitRefused;
    }
    while (!importer.endOfFile()) {
        tfigura figure;
        figure.sourceFigure = -1;
        if (const ReadResult result = importer.ReadFigure(figure); !result) {
            language.ShowMessageBox(result.error->message(language), true);
            return ExitRefused;
        }
        if (figure.valid)
            figures.push_back(std::move(figure));
    }
    importer.CloseDesign();
    return ExitSuccess;
}

int runInspect(int argc, char** argv)
{
    InspectOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    if (const int code = loadConfiguration(*context.app, options.design.configuration, usage); code != ExitSuccess)
        return code;

    if (!options.raw) {
        // The project as the program opens it: pen filter, joined ends, duplicates removed. The
        // figures the preparation adds (entry line, frame, connectors) are not the design's.
        TMDIChild project(*context.app);
        project.fileType = designTypeOf(options.file);
        if (project.fileType == kDesignUnknown) {
            context.app->language.ShowMessageBox(
                context.app->Text("Universal", "nieprawidlowyFormatPliku") + ": " + options.file, true);
            return ExitRefused;
        }
        const auto penFilter = static_cast<std::uint8_t>(options.pen.value_or(255));
        if (project.Load(options.file, penFilter) == LoadOutcome::Closed)
            return ExitRefused;
        printFigures(options.file, project.figures, true, project.drawingUnitsNote);
        return ExitSuccess;
    }
    std::vector<tfigura> figures;
    if (const int code = readDesignFigures(*context.app, options.file, figures); code != ExitSuccess)
        return code;
    printFigures(options.file, figures, false);
    return ExitSuccess;
}

void printFigures(const std::string& file, const std::vector<tfigura>& figures, bool designOnly,
                  const std::string& drawingUnits)
{
    JsonWriter json;
    json.beginObject().key("file").string(file).key("figures").beginArray();
    for (const tfigura& figure : figures)
        if (!designOnly || figure.isDesign)
            writeFigure(json, figure);
    json.endArray();
    if (!drawingUnits.empty())
        json.key("drawingUnits").string(drawingUnits);
    json.endObject().print();
}

}  // namespace kerfline::cli
