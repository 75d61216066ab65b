#pragma once

#include <span>
#include <string_view>

namespace kerfline::cli {

enum ExitCode : int { ExitSuccess = 0, ExitRefused = 1, ExitUsage = 2 };

struct Command {
    std::string_view name;
    int (*run)(int argc, char** argv);  // the arguments after the command's name
    std::string_view synopsis;          // its lines in the tool's help, without the name
};

// Every command of the tool, in the order the help lists them; each lives in its own file.
std::span<const Command> commands();

}  // namespace kerfline::cli
