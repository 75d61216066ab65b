#include "cli/options.h"

#include "cli/commands.h"

#include <cstdio>

namespace kerfline::cli {

int usageError(std::string_view command, std::string_view usage, std::string_view problem)
{
    std::fprintf(stderr, "kerfline-cli %.*s: %.*s\n%.*s", static_cast<int>(command.size()), command.data(),
                 static_cast<int>(problem.size()), problem.data(), static_cast<int>(usage.size()), usage.data());
    return ExitUsage;
}

}  // namespace kerfline::cli
