#pragma once

namespace kerfline {

class CommandLine;
struct MachineState;

// The length of the mode list after the dialog's activation shortened it for the machine:
// perpendicular cutting only on the two-wire family; independent cutting only on the product
// line, or anywhere with the switch "showAll". Entries once removed stay removed.
int shortenedModeCount(int count, const MachineState& machine, const CommandLine& commandLine);

// The kind of cut program the writer produces for a mode. `spindleAxisFound`: the rotary
// project found its horizontal spindle axis line. 0 when no row applies (a mode or a rotary
// device that is not chosen), the value the main window holds at start.
int cutOutputKind(int mode, int stolikSwitch, bool spindleAxisFound);

}  // namespace kerfline
