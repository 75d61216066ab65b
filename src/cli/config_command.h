#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kerfline {
struct AppContext;
class Configuration;
}  // namespace kerfline

namespace kerfline::cli {

class JsonWriter;
struct CommandUsage;

// The configuration a command runs with: a configuration file and NAME=VALUE overrides.
struct ConfigurationOptions {
    std::optional<std::string> file;
    std::vector<std::string> overrides;  // "NAME=VALUE", in the order given
};

// Takes "--config FILE", "--set NAME=VALUE" (or "--config=FILE", "--set=NAME=VALUE") at argv[i],
// advancing i past a separate value. False when argv[i] is neither; `problem` is set when the
// option lacks its value. Commands that show lengths or flatten curves pass their --unit and
// --dxf-resolution on as the overrides "radiounit=N" and "sbRozdzKrzywychDXF=N".
bool takeConfigurationOption(int argc, char** argv, int& i, ConfigurationOptions& options, std::string& problem);

// Loads the configuration as the program does at start: the file through the program's own
// reader (without a file, the defaults), then the overrides as the operator's edits in the
// dialog, then the derived values as OK sets them. Messages go to stderr. Returns ExitSuccess,
// ExitRefused for a file that is missing or does not load, ExitUsage for a bad override, which
// is told with the usage of the command that took it.
int loadConfiguration(AppContext& app, const ConfigurationOptions& options, const CommandUsage& usage);

// {"parameters":{NAME: value,…},"derived":{…}}: numbers as numbers, check states by name,
// radio buttons as true/false.
void writeConfiguration(JsonWriter& json, const Configuration& configuration);

// kerfline-cli config [FILE.kcc] [--set NAME=VALUE]... [SWITCH...]: a bare parameter is the file
// when it ends in ".kcc"; --config FILE takes a file of any name.
int runConfig(int argc, char** argv);

}  // namespace kerfline::cli
