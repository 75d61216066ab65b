// inspect: the figures of a design as JSON. With --raw, what the importer delivers, in order,
// without the figures it marks invalid.
#include "cli/inspect_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "designfiles/thpgl.h"

#include <charconv>
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
    std::string unit;           // for the configuration model of the loaded form
    std::optional<int> dxfResolution;
    std::vector<std::string> switches;
};

int usage(const std::string& problem)
{
    std::fprintf(stderr,
                 "kerfline-cli inspect: %s\n"
                 "usage: kerfline-cli inspect FILE [--raw] [--pen N] [--unit mm|in|ft] "
                 "[--dxf-resolution 1..8] [SWITCH...]\n",
                 problem.c_str());
    return ExitUsage;
}

std::optional<int> integerIn(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// Either "--name VALUE" or "--name=VALUE"; false when the parameter is not this option.
bool takeOption(std::string_view name, int argc, char** argv, int& i, std::optional<std::string>& value)
{
    const std::string_view argument = argv[i];
    if (argument == name) {
        value = i + 1 < argc ? std::optional<std::string>(argv[++i]) : std::nullopt;
        return true;
    }
    if (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
        argument[name.size()] == '=') {
        value = std::string(argument.substr(name.size() + 1));
        return true;
    }
    return false;
}

// Returns the exit code of a usage error, or nothing when the parameters are sound.
std::optional<int> parse(int argc, char** argv, InspectOptions& options)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        if (std::strcmp(argv[i], "--raw") == 0) {
            options.raw = true;
        } else if (takeOption("--pen", argc, argv, i, value)) {
            options.pen = value ? integerIn(*value, 0, 255) : std::nullopt;
            if (!options.pen)
                return usage("--pen needs a pen number from 0 to 255");
        } else if (takeOption("--unit", argc, argv, i, value)) {
            if (!value || (*value != "mm" && *value != "in" && *value != "ft"))
                return usage("--unit is mm, in or ft");
            options.unit = *value;
        } else if (takeOption("--dxf-resolution", argc, argv, i, value)) {
            options.dxfResolution = value ? integerIn(*value, 1, 8) : std::nullopt;
            if (!options.dxfResolution)
                return usage("--dxf-resolution is a whole number from 1 to 8");
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

int runInspect(int argc, char** argv)
{
    InspectOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;

    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    const tInterfejs& language = context.app->language;

    if (!options.raw) {
        std::fputs("kerfline-cli inspect: the loaded project is not available yet; use --raw for the "
                   "figures as the importer reads them\n",
                   stderr);
        return ExitRefused;
    }
    const std::int32_t type = designTypeOf(options.file);
    if (type == kDesignUnknown) {
        language.ShowMessageBox(language.Text("Universal", "nieprawidlowyFormatPliku") + ": " + options.file,
                                true);
        return ExitRefused;
    }
    if (type != kDesignHpgl) {
        std::fputs("kerfline-cli inspect: only HPGL designs (.plt) can be read yet\n", stderr);
        return ExitRefused;
    }

    Thpgl importer;
    if (const int code = importer.OpenDesign(options.file, type); code != 0) {
        language.ShowMessageBox(language.Text("Universal", "zbioruNieMoznaOtworzyc") + options.file + "\n" +
                                    language.Text("Universal", "SzczegolyBledu") + " " + std::strerror(code),
                                true);
        return ExitRefused;
    }
    JsonWriter json;
    json.beginObject().key("file").string(options.file).key("figures").beginArray();
    while (!importer.endOfFile()) {
        tfigura figure;
        if (const ReadResult result = importer.ReadFigure(figure); !result) {
            language.ShowMessageBox(result.error->message(language), true);
            return ExitRefused;
        }
        if (figure.valid)
            writeFigure(json, figure);
    }
    importer.CloseDesign();
    json.endArray().endObject().print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
