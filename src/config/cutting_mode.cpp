#include "config/cutting_mode.h"

#include "config/parameters.h"
#include "machine/machine_state.h"
#include "base/switches.h"

namespace kerfline {

int shortenedModeCount(int count, const MachineState& machine, const CommandLine& commandLine)
{
    if (!machine.isTwoWireMachine() && count == 6)
        count = 5;
    if (!machine.beginsWithProductLineLetter() && count == 5 && !commandLine.HasSwitch("showAll"))
        count = 4;
    return count;
}

OutputKind cutOutputKind(int mode, int stolikSwitch, bool spindleAxisFound)
{
    switch (mode) {
    case Mode2D:
    case ModeIndependent:
    case ModePerpendicular:
        return OutputKind::Plain;
    case ModeRotary:
        return spindleAxisFound ? OutputKind::RotarySpindle : OutputKind::RotaryTable;
    case ModeSerial:
        return stolikSwitch == DeviceTable ? OutputKind::SerialTable
               : (stolikSwitch == DeviceSpindle || stolikSwitch == DeviceNone) ? OutputKind::RotarySpindle
                                                                                : OutputKind::None;
    case ModeTurning:
        switch (stolikSwitch) {
        case DeviceSpindle: return OutputKind::TurningSpindle;
        case DeviceTable: return OutputKind::TurningTable;
        case DeviceNone: return OutputKind::Plain;
        default: return OutputKind::None;
        }
    default:
        return OutputKind::None;
    }
}

}  // namespace kerfline
