// kerfline-cli: the engine without a window. JSON to stdout, messages to stderr; exit 0 success,
// 1 a refused input, 2 usage.
#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

void printUsage()
{
    std::fputs("usage: kerfline-cli COMMAND [ARGS...] [SWITCH...]\ncommands:\n", stderr);
    for (const auto& command : kerfline::cli::commands())
        std::fprintf(stderr, "  %.*s %.*s\n", static_cast<int>(command.name.size()), command.name.data(),
                     static_cast<int>(command.synopsis.size()), command.synopsis.data());
    std::fputs("every command that reads a design also takes --unit and --dxf-resolution\n"
               "parameters the tool does not know are passed on as the program's own switches\n",
               stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage();
        return argc < 2 ? 2 : 0;
    }
    const std::string_view command = argv[1];
    for (const auto& entry : kerfline::cli::commands()) {
        if (command == entry.name)
            return entry.run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "kerfline-cli: unknown command '%s'\n", argv[1]);
    printUsage();
    return 2;
}
