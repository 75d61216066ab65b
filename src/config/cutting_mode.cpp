#include "config/cutting_mode.h"

#include "config/parameters.h"
#include "machine/machine_state.h"
#include "shell/switches.h"

namespace kerfline {

int shortenedModeCount(int count, const MachineState& machine, const CommandLine& commandLine)
{
    if (!machine.isTwoWireMachine() && count == 6)
        count = 5;
    if (!machine.beginsWithProductLineLetter() && count == 5 && !commandLine.HasSwitch("showAll"))
        count = 4;
    return count;
}

int cutOutputKind(int mode, int stolikSwitch, bool spindleAxisFound)
{
    switch (mode) {
    case Mode2D:
    case ModeIndependent:
    case ModePerpendicular:
        return 32;
    case ModeRotary:
        return spindleAxisFound ? 31 : 311;
    case ModeSerial:
        return stolikSwitch == DeviceTable ? 33 : (stolikSwitch == DeviceSpindle || stolikSwitch == DeviceNone) ? 31 : 0;
    case ModeTurning:
        switch (stolikSwitch) {
        case DeviceSpindle: return 30;
        case DeviceTable: return 301;
        case DeviceNone: return 32;
        default: return 0;
        }
    default:
        return 0;
    }
}

}  // namespace kerfline
