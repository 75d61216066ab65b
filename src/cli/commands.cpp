#include "cli/commands.h"

#include <array>

namespace kerfline::cli {

std::span<const Command> commands()
{
    static const std::array<Command, 0> table{};
    return table;
}

}  // namespace kerfline::cli
