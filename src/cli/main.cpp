// kerfline-cli: the engine without a window. JSON to stdout, messages to stderr; exit 0 success,
// 1 a refused input, 2 usage.
#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

void printUsage()
{
    std::fputs(
        "usage: kerfline-cli COMMAND [ARGS...] [SWITCH...]\n"
        "commands:\n"
        "  inspect FILE [--raw] [--pen N] [--unit mm|in|ft] [--dxf-resolution 1..8]\n"
        "  config [FILE.kcc] [--set NAME=VALUE]...\n"
        "  machine --virtual-machine[=PRODUCT]\n"
        "  plan FILE [--config F.kcc] [--set NAME=VALUE]... [--machine PRODUCT] -o OUT.cn\n"
        "  decode FILE.cn [--machine PRODUCT]\n"
        "  export FILE (--hpgl OUT | --dxf OUT)\n"
        "  cut FILE --virtual-machine[=PRODUCT] [--config F.kcc] [--set NAME=VALUE]...\n"
        "  arch FILE --depth MM [--reduction-ratio 1..20] -o OUT.dxf\n"
        "  duplicate FILE --rows M --columns N [--element-offset MM] [--row-offset MM]\n"
        "            [--vertical-line-distance MM] [--horizontal-line-distance MM] [--accept-overlap] -o OUT.dxf\n"
        "  mix DESIGN [--width MM] [--distance MM] [--arm-spacing MM] [--machine PRODUCT] -o OUT.cn\n"
        "  barcode label CODE [--config F.kcc] [--line TEXT]... -o OUT.epl\n"
        "  barcode draw CODE -o OUT.png\n"
        "  support-report [DESIGN...] -o OUT.html\n"
        "  kerf-calibration --outer MM --inner MM\n"
        "  serial3d MODEL [--passes 1..180] [--keep-closed] [--no-cut-off] -o DIR\n"
        "every command that reads a design also takes --unit and --dxf-resolution\n"
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
