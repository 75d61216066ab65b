#include "cli/commands.h"

#include "cli/config_command.h"
#include "cli/inspect_command.h"
#include "cli/machine_command.h"

#include <array>

namespace kerfline::cli {

std::span<const Command> commands()
{
    static const auto table = std::to_array<Command>({
        {"config", runConfig},
        {"inspect", runInspect},
        {"machine", runMachine},
    });
    return table;
}

}  // namespace kerfline::cli
