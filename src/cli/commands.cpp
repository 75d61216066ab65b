#include "cli/commands.h"

#include "cli/config_command.h"
#include "cli/export_command.h"
#include "cli/cut_command.h"
#include "cli/decode_command.h"
#include "cli/inspect_command.h"
#include "cli/machine_command.h"
#include "cli/plan_command.h"
#include "cli/serial3d_command.h"

#include <array>

namespace kerfline::cli {

std::span<const Command> commands()
{
    static const auto table = std::to_array<Command>({
        {"config", runConfig},
        {"export", runExport},
        {"cut", runCut},
        {"decode", runDecode},
        {"inspect", runInspect},
        {"machine", runMachine},
        {"plan", runPlan},
        {"serial3d", runSerial3d},
    });
    return table;
}

}  // namespace kerfline::cli
