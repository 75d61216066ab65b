#pragma once

// Runs the built kerfline-cli the way a script does (KERFLINE_CLI is its path), with English
// messages and a data directory of the test's own, whatever the machine's settings.
#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kerfline::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline CliRun runCli(const TempDir& dir, const std::string& command, const std::vector<std::string>& arguments)
{
    std::string line = shellQuoted(KERFLINE_CLI) + " " + command;
    for (const std::string& argument : arguments)
        line += " " + shellQuoted(argument);
    line += " USA " + shellQuoted("dataDir'" + dir.str() + "data/'");
    line += " >" + shellQuoted(dir.str() + "stdout") + " 2>" + shellQuoted(dir.str() + "stderr");
    const int status = std::system(line.c_str());
    CliRun result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = contentOf(dir.str() + "stdout");
    result.err = contentOf(dir.str() + "stderr");
    return result;
}

}  // namespace kerfline::testing
