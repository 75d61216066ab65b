// duplicate and arch: the projects the duplication and the arch cutting dialogs generate from a
// design, written as DXF drawings.
#include "cli/shaping_commands.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/inspect_command.h"
#include "cli/options.h"
#include "designfiles/design_type.h"
#include "designfiles/dxf_export.h"
#include "geometry/geometry.h"
#include "placement/arch_cutting.h"
#include "placement/dpl_file.h"
#include "placement/duplication.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::cli {
namespace {

// The options every generating command shares: the design, the design options, the output and
// the program's own switches; the dialog's answers by name.
struct GeneratorOptions {
    std::string file;
    std::string output;
    DesignReadOptions design;
    std::vector<std::string> switches;
    std::map<std::string, double> answers;
    std::map<std::string, bool> flags;
};

struct Field {
    const char* option;
    const char* help;
};

// What a generating command offers: its name and synopsis, the dialog's fields that take a number
// and its flags.
struct GeneratorCommand {
    const char* name;
    const char* synopsis;
    const std::vector<Field>& fields;
    const std::vector<Field>& flags;

    // The synopsis with the options every generating command takes, then a line for each field
    // and flag.
    CommandUsage usage() const
    {
        std::string text = std::string("usage: kerfline-cli ") + name + " " + synopsis +
                           " -o OUT.dxf [--config F.kcc] [--set NAME=VALUE]... [--unit mm|in|ft] "
                           "[--dxf-resolution 1..8] [SWITCH...]\n";
        for (const std::vector<Field>* list : {&fields, &flags})
            for (const Field& field : *list) {
                std::string option = field.option;
                option.resize(std::max<std::size_t>(option.size(), 32), ' ');
                text += "  " + option + " " + field.help + "\n";
            }
        return {name, text};
    }
};

std::optional<int> parse(const GeneratorCommand& command, int argc, char** argv, GeneratorOptions& options)
{
    const CommandUsage usage = command.usage();
    if (argc < 1 || argv[0][0] == '-')
        return usage("the design FILE comes first");
    options.file = argv[0];
    for (int i = 1; i < argc; ++i) {
        std::optional<std::string> value;
        std::string problem;
        bool taken = false;
        for (const Field& field : command.fields) {
            const std::string name = std::string(field.option).substr(0, std::string(field.option).find(' '));
            if (takeValue(name, argc, argv, i, value)) {
                const auto number = realNumberArgument(value);
                if (!number)
                    return usage(name + " needs a number");
                options.answers[name] = *number;
                taken = true;
                break;
            }
        }
        for (const Field& flag : command.flags) {
            if (!taken && std::strcmp(argv[i], flag.option) == 0) {
                options.flags[flag.option] = true;
                taken = true;
            }
        }
        if (taken)
            continue;
        if (takeDesignOption(argc, argv, i, options.design, problem)) {
            if (!problem.empty())
                return usage(problem);
        } else if (takeValue("-o", argc, argv, i, value) || takeValue("--output", argc, argv, i, value)) {
            if (!value || value->empty())
                return usage("-o needs the path of the DXF drawing");
            options.output = *value;
        } else {
            options.switches.emplace_back(argv[i]);  // one of the program's own switches
        }
    }
    if (options.output.empty())
        return usage("-o OUT.dxf is required");
    return std::nullopt;
}

// Loads the design as a project window of the plain mode; false when it could not be (the
// message was shown).
bool loadPattern(AppContext& app, const std::string& file, TMDIChild& project)
{
    project.fileType = designTypeOf(file);
    if (project.fileType == kDesignUnknown) {
        app.language.ShowMessageBox(app.Text("Universal", "nieprawidlowyFormatPliku") + ": " + file, true);
        return false;
    }
    return project.Load(file, 255) == LoadOutcome::Opened;
}

// Starts the tool's context with the options' switches and configuration and loads the design
// into `project`; the exit code when any of it failed.
std::optional<int> startWith(CliContext& context, const GeneratorCommand& command, const GeneratorOptions& options,
                              std::unique_ptr<TMDIChild>& project)
{
    if (!context.start(options.switches))
        return ExitRefused;
    if (const int code = loadConfiguration(*context.app, options.design.configuration, command.usage()); code != ExitSuccess)
        return code;
    project = std::make_unique<TMDIChild>(*context.app);
    if (!loadPattern(*context.app, options.file, *project))
        return ExitRefused;
    return std::nullopt;
}

int writeResult(AppContext& app, const GeneratorOptions& options, const TMDIChild& result)
{
    if (const int code = WriteDxfFile(result.figures, options.output, app.configuration.displayUnit); code != 0) {
        app.language.ShowMessageBox(formatText(app.Text("Configuration", "bladZapisuPliku"), {options.output}) + "\n" +
                                        app.Text("Universal", "SzczegolyBledu") + " " + std::strerror(code),
                                    true);
        return ExitRefused;
    }
    printFigures(options.output, result.figures, false);
    return ExitSuccess;
}

const std::vector<Field> kDuplicationFields = {
    {"--columns N", "elements in a row (default 2)"},
    {"--rows M", "rows (default 1)"},
    {"--element-offset MM", "element width plus the gap to the next (default width + 10)"},
    {"--row-offset MM", "element height plus the gap to the next row (default height + 10)"},
    {"--vertical-line-distance MM", "elements to the vertical parts of the connecting line"},
    {"--horizontal-line-distance MM", "elements to the horizontal parts of the connecting line"},
};
const std::vector<Field> kDuplicationFlags = {
    {"--accept-overlap", "answer yes when the elements overlap"},
};

const std::vector<Field> kArchFields = {
    {"--depth MM", "depth of the notches (required, above 0)"},
    {"--reduction-ratio N", "reduction of the curve's vertices, 1 to 20 (default 1)"},
};
const std::vector<Field> kNoFlags;

const GeneratorCommand kArch{"arch", "FILE --depth MM [--reduction-ratio N]", kArchFields, kNoFlags};
const GeneratorCommand kDuplicate{"duplicate", "FILE --rows M --columns N [OPTIONS]", kDuplicationFields,
                                  kDuplicationFlags};

}  // namespace

int runArch(int argc, char** argv)
{
    GeneratorOptions options;
    if (const auto failed = parse(kArch, argc, argv, options))
        return *failed;
    CliContext context;
    std::unique_ptr<TMDIChild> loaded;
    if (const auto failed = startWith(context, kArch, options, loaded))
        return *failed;
    AppContext& app = *context.app;
    TMDIChild& source = *loaded;
    const double depth = options.answers.count("--depth") ? options.answers["--depth"] : 0.0;
    const double ratio = options.answers.count("--reduction-ratio") ? options.answers["--reduction-ratio"] : 1.0;
    if (ratio < 1 || ratio > 20 || std::trunc(ratio) != ratio)
        return kArch.usage()("--reduction-ratio takes 1 to 20");
    ArchCutting arch(source);
    TMDIChild result(app);
    const auto generated = arch.Generate(depth, static_cast<int>(ratio), result);
    if (!generated) {
        if (arch.refusal == ArchRefusal::Depth)
            std::fprintf(stderr, "kerfline-cli arch: the depth must be above 0 and the curve must have more than "
                                 "two points\n");
        return ExitRefused;
    }
    // An overlapping strip is still written, as the dialog still shows it; its message was shown.
    const int written = writeResult(app, options, result);
    return written == ExitSuccess && *generated ? ExitRefused : written;
}

int runDuplicate(int argc, char** argv)
{
    GeneratorOptions options;
    if (const auto failed = parse(kDuplicate, argc, argv, options))
        return *failed;
    CliContext context;
    std::unique_ptr<TMDIChild> loaded;
    if (const auto failed = startWith(context, kDuplicate, options, loaded))
        return *failed;
    AppContext& app = *context.app;
    const TMDIChild& pattern = *loaded;

    // The dialog's first values: the pattern's parameter file, else the defaults; then the answers.
    const double widthMm = unitsToMm(pattern.width);
    const double heightMm = unitsToMm(pattern.height);
    const DuplicationParameters defaults = defaultDuplication(widthMm, heightMm);
    DuplicationParameters p = readDuplicationFile(duplicationFilePath(options.file), defaults).value_or(defaults);
    const auto answer = [&](const char* name, double& field) {
        if (const auto found = options.answers.find(name); found != options.answers.end())
            field = found->second;
    };
    answer("--columns", p.elementsInRow);
    answer("--rows", p.rows);
    answer("--element-offset", p.elementOffset);
    answer("--row-offset", p.rowOffset);
    answer("--vertical-line-distance", p.verticalLineDistance);
    answer("--horizontal-line-distance", p.horizontalLineDistance);

    const bool overlapAccepted = options.flags.count("--accept-overlap") != 0;
    if (const auto refusal = duplicationRefusal(p, widthMm, heightMm, overlapAccepted)) {
        app.language.ShowMessageBox(app.Text(refusal->section, refusal->key), true);
        return ExitRefused;
    }
    TMDIChild result(app);
    result.fileType = pattern.fileType;
    duplicate(pattern, p, result);
    return writeResult(app, options, result);
}

}  // namespace kerfline::cli
