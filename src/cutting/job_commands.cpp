#include "cutting/job_commands.h"

#include "base/round.h"
#include "machine/controller_protocol.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

namespace kerfline {

machine::CommandBytes speedCommand(machine::ControllerProtocol& protocol, int set, double speedMmPerMinute)
{
    const MachineState& s = protocol.context().machine;
    const auto speed = static_cast<std::uint16_t>(roundHalfEven<std::int64_t>(speedMmPerMinute * s.speedMultiplier));
    return machine::commands::speedPeriod(set, protocol.SpeedToPeriod(speed));
}

machine::CommandBytes heatingOnCommand(const AppContext& context)
{
    return machine::commands::heating(true, context.configuration.choice(Param::PowerOutput) == 1 ? 3 : 1);
}

}  // namespace kerfline
