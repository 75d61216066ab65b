// config: every parameter and derived value of a configuration as JSON.
#include "cli/config_command.h"

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/options.h"
#include "config/configuration.h"
#include "config/konfig_file.h"
#include "base/switches.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline::cli {
namespace {

const CommandUsage configUsage{"config",
    "usage: kerfline-cli config [FILE.kcc | --config FILE] [--set NAME=VALUE]... [SWITCH...]\n"};

// The file comes without an option only under its extension: other bare parameters are the
// program's own switches.
bool endsWithKcc(std::string_view argument)
{
    return argument.size() > 4 && equalsIgnoringCase(argument.substr(argument.size() - 4), ".kcc");
}

}  // namespace

bool takeConfigurationOption(int argc, char** argv, int& i, ConfigurationOptions& options, std::string& problem)
{
    const std::string_view argument = argv[i];
    problem.clear();
    for (const std::string_view name : {"--config", "--set"}) {
        std::optional<std::string> value;
        if (argument == name) {
            if (i + 1 >= argc) {
                problem = std::string(name) + (name == "--set" ? " needs NAME=VALUE" : " needs a FILE");
                return true;
            }
            value = argv[++i];
        } else if (argument.size() > name.size() && argument.substr(0, name.size()) == name &&
                   argument[name.size()] == '=') {
            value = std::string(argument.substr(name.size() + 1));
        } else {
            continue;
        }
        if (name == "--set")
            options.overrides.push_back(*value);
        else
            options.file = *value;
        return true;
    }
    return false;
}

int loadConfiguration(AppContext& app, const ConfigurationOptions& options, const CommandUsage& usage)
{
    Configuration& configuration = app.configuration;
    configuration.applySpeedMaxima();
    configuration.applyAccuracyRange();

    ConfigFileResult loaded;
    if (options.file) {
        // The program would create a missing file; a query does not.
        std::error_code ec;
        if (!std::filesystem::exists(*options.file, ec)) {
            loaded = {ConfigFileResult::Status::ReadFailed, *options.file, 0, {}, {}};
        } else {
            loaded = LoadKonfig(configuration, *options.file, app.decimalSeparator, app.language);
        }
    } else {
        loaded = applyKonfigText(configuration, {});
    }
    if (!loaded.ok()) {
        app.language.ShowMessageBox(messageFor(loaded, app.language), true);
        return ExitRefused;
    }

    for (const std::string& assignment : options.overrides) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos)
            return usage("--set needs NAME=VALUE, not '" + assignment + "'");
        const std::string name = assignment.substr(0, equals);
        const std::string value = assignment.substr(equals + 1);
        switch (applyParameterText(configuration, name, value)) {
        case ApplyOutcome::Applied:
            break;
        case ApplyOutcome::UnknownName:
            return usage("there is no parameter '" + name + "' (names are case-sensitive)");
        case ApplyOutcome::BadValue:
            return usage("'" + value + "' is not a value of " + name);
        }
    }

    configuration.updateDisplayUnit();
    configuration.updateJoinToleranceAndCurveStep();
    configuration.updateConstantLatheSpeed();
    return ExitSuccess;
}

void writeConfiguration(JsonWriter& json, const Configuration& configuration)
{
    json.beginObject();
    json.key("parameters").beginObject();
    for (const ParameterInfo& info : parameterTable()) {
        json.key(info.key);
        switch (info.kind) {
        case ParameterKind::Float:
        case ParameterKind::Length:
            json.number(configuration.number(info.id));
            break;
        case ParameterKind::Choice:
        case ParameterKind::Position:
            json.integer(static_cast<std::int64_t>(configuration.raw(info.id)));
            break;
        case ParameterKind::Check:
            json.string(checkStateName(configuration.check(info.id)));
            break;
        case ParameterKind::Radio:
            json.boolean(configuration.radio(info.id));
            break;
        }
    }
    json.endObject();
    json.key("derived").beginObject();
    json.key("displayUnit").integer(configuration.displayUnit);
    json.key("joinTolerance").number(configuration.joinTolerance);
    json.key("dxfCurveStep").number(configuration.dxfCurveStep);
    json.key("constantLatheSpeed").boolean(configuration.constantLatheSpeed);
    json.endObject();
    json.endObject();
}

int runConfig(int argc, char** argv)
{
    ConfigurationOptions options;
    std::vector<std::string> switches;
    for (int i = 0; i < argc; ++i) {
        std::string problem;
        if (takeConfigurationOption(argc, argv, i, options, problem)) {
            if (!problem.empty())
                return configUsage(problem);
        } else if (!options.file && endsWithKcc(argv[i])) {
            options.file = argv[i];
        } else {
            switches.emplace_back(argv[i]);  // one of the program's own switches
        }
    }

    CliContext context;
    if (!context.start(switches))
        return ExitRefused;
    if (const int code = loadConfiguration(*context.app, options, configUsage); code != ExitSuccess)
        return code;
    JsonWriter json;
    writeConfiguration(json, context.app->configuration);
    json.print();
    return ExitSuccess;
}

}  // namespace kerfline::cli
