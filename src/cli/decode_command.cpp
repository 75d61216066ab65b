// decode: a cut program as its commands, moves and register trace.
#include "cli/decode_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/plan_command.h"
#include "designfiles/cut_program_decoder.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::cli {
namespace {

const CommandUsage usage{"decode",
    "usage: kerfline-cli decode F.cn [--machine PRODUCT] [SWITCH...]\n"};

void writeSteps(JsonWriter& json, const std::array<std::int32_t, 8>& values)
{
    json.beginArray();
    for (const std::int32_t v : values)
        json.integer(v);
    json.endArray();
}

}  // namespace

int runDecode(int argc, char** argv)
{
    if (argc < 1 || argv[0][0] == '-')
        return usage("the cut program F.cn comes first");
    const std::string file = argv[0];
    std::optional<std::string> product;
    std::vector<std::string> switches;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--machine") {
            if (i + 1 >= argc)
                return usage("--machine needs a PRODUCT");
            product = argv[++i];
        } else if (argument.substr(0, 10) == "--machine=") {
            product = std::string(argument.substr(10));
        } else {
            switches.emplace_back(argument);
        }
    }

    CliContext context;
    if (!context.start(std::move(switches)))
        return ExitRefused;
    MachineModel machineModel;
    if (!machineModel.open(context, product))
        return ExitRefused;
    const AppContext& app = *context.app;

    const DecodedProgram program = readCutProgram(file, DecodeSettings::forMachine(app.machine));
    if (program.error) {
        app.language.ShowMessageBox(program.error->message(app.language), true);
        return ExitRefused;
    }

    JsonWriter json;
    json.beginObject();
    json.key("commands").beginArray();
    for (const DecodedCommand& command : program.commands) {
        json.beginObject();
        json.key("offset").integer(static_cast<std::int64_t>(command.offset));
        json.key("letter").string(std::string(1, command.letter));
        json.key("args").beginArray();
        for (const std::int64_t arg : command.args)
            json.integer(arg);
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.key("moves").beginArray();
    for (const DecodedMove& move : program.moves) {
        json.beginObject();
        json.key("steps");
        writeSteps(json, move.steps);
        json.key("count").integer(move.count);
        json.endObject();
    }
    json.endArray();
    json.key("trace").beginArray();
    for (const AxisRegisters& registers : program.trace)
        writeSteps(json, registers);
    json.endArray();
    json.endObject();
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
