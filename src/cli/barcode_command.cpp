// barcode: the label of a barcode project as EPL2 bytes, and the EAN-13 symbol as a picture.
#include "cli/barcode_command.h"

#include "aids/barcode_label.h"
#include "aids/barcode_project.h"
#include "aids/ean13.h"
#include "aids/symbol_image.h"
#include "base/atomic_file.h"
#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {
namespace {

// The browser shows the symbol at this size.
constexpr int kPixelsPerModule = 3;

struct BarcodeOptions {
    std::string action;
    std::string code;
    std::optional<std::string> config;
    std::vector<std::string> lines;
    std::string output;
    std::vector<std::string> switches;
};

const CommandUsage usage{"barcode",
    "usage: kerfline-cli barcode label CODE [--config F.kcc] [--line TEXT]... -o OUT.epl [SWITCH...]\n"
    "       kerfline-cli barcode draw CODE -o OUT.png [SWITCH...]\n"};

std::optional<int> parse(int argc, char** argv, BarcodeOptions& options)
{
    if (argc < 2 || (std::string_view(argv[0]) != "label" && std::string_view(argv[0]) != "draw"))
        return usage("give label or draw, then the CODE");
    options.action = argv[0];
    options.code = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::optional<std::string> value;
        if (takeValue("-o", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs an OUT file");
            options.output = *value;
        } else if (options.action == "label" && takeValue("--config", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("--config needs a FILE");
            options.config = *value;
        } else if (options.action == "label" && takeValue("--line", argc, argv, i, value)) {
            if (!value)
                return usage("--line needs a TEXT");
            options.lines.push_back(*value);
        } else {
            options.switches.emplace_back(argv[i]);
        }
    }
    if (options.output.empty())
        return usage("give -o OUT");
    if (options.lines.size() > OperatorLabelLines{}.size())
        return usage("a label has at most four --line");
    return std::nullopt;
}

bool write(AppContext& app, const std::string& path, const std::string& bytes)
{
    if (writeFileAtomically(path, bytes))
        return true;
    app.language.ShowMessageBox(formatText(app.Text("Configuration", "bladZapisuPliku"), {path}), true);
    return false;
}

// The label as the browser prints it: the project's configuration and lines unless the command
// names others.
int label(AppContext& app, const BarcodeOptions& options)
{
    const auto project = readBarcodeProject(barcodeProjectPath(app.dataDirectory, options.code));
    const std::string config = options.config ? *options.config : project ? project->configFileName : "";
    OperatorLabelLines lines;
    if (!options.lines.empty())
        std::copy(options.lines.begin(), options.lines.end(), lines.begin());
    else if (project)
        lines = project->labelLines;
    const std::string bytes = labelBytes(options.code, defaultLabelLines(config, app.language), lines, 1);
    if (!write(app, options.output, bytes))
        return ExitRefused;
    JsonWriter json;
    json.beginObject().key("number").string(options.code).key("bytes").integer(static_cast<std::int64_t>(bytes.size()));
    json.endObject().print();
    return ExitSuccess;
}

int draw(AppContext& app, const BarcodeOptions& options)
{
    const GreyImage image = rasteriseSymbol(*ean13Symbol(options.code), kPixelsPerModule);
    if (!write(app, options.output, pngBytes(image)))
        return ExitRefused;
    JsonWriter json;
    json.beginObject().key("number").string(options.code).key("width").integer(image.width);
    json.key("height").integer(image.height).endObject().print();
    return ExitSuccess;
}

}  // namespace

int runBarcode(int argc, char** argv)
{
    BarcodeOptions options;
    if (const auto failed = parse(argc, argv, options))
        return *failed;
    CliContext context;
    if (!context.start(options.switches))
        return ExitRefused;
    AppContext& app = *context.app;
    if (!isValidEan13(options.code)) {
        std::fprintf(stderr, "kerfline-cli barcode: %s is not an EAN-13 number: 13 digits ending in their check digit\n",
                     options.code.c_str());
        return ExitRefused;
    }
    return options.action == "label" ? label(app, options) : draw(app, options);
}

}  // namespace kerfline::cli
