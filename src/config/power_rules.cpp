#include "config/power_rules.h"

#include "machine/machine_state.h"

namespace kerfline {

std::optional<PowerMaximum> powerMaximum(int powerOutput, const MachineState& machine, const CommandLine& commandLine)
{
    if (powerOutput == 0) {  // straight wire
        if (machine.isPowerLimitedModel(commandLine))
            return PowerMaximum{1.0, "[A]"};
        if (machine.isWideHeavyMachine())
            return PowerMaximum{8.0, "[A]"};
        if (machine.reportsPowerInPercent)
            return PowerMaximum{100.0, "[%]"};
        return PowerMaximum{4.0, "[A]"};
    }
    if (powerOutput == 1) {  // shaped wire
        if (machine.reportsPowerInPercent)
            return PowerMaximum{100.0, "[%]"};
        return PowerMaximum{12.0, "[A]"};
    }
    return std::nullopt;
}

double raisedToPowerMinimum(double workPower, const MachineState& machine, const CommandLine& commandLine)
{
    if (machine.isPowerLimitedModel(commandLine) && machine.firmwareVersion() < 35 && workPower > 0.0 &&
        workPower < 0.8)
        return 0.8;
    return workPower;
}

}  // namespace kerfline
