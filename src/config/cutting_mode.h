#pragma once

namespace kerfline {

class CommandLine;
struct MachineState;

// The length of the mode list after the dialog's activation shortened it for the machine:
// perpendicular cutting only on the two-wire family; independent cutting only on the product
// line, or anywhere with the switch "showAll". Entries once removed stay removed.
int shortenedModeCount(int count, const MachineState& machine, const CommandLine& commandLine);

// The kind of cut program the writer produces: its header, body and trailer. The numbers are the
// codes the program has always used for them (the plan command prints them).
enum class OutputKind : int {
    None = 0,             // no row applies: the value held at start; writes no header
    TurningSpindle = 30,  // turning on the spindle, heated on output 3
    RotarySpindle = 31,   // rotary cutting about the spindle axis, and serial passes on the spindle
    Plain = 32,           // plain 2D, independent arms, perpendicular wires, turning without a device
    SerialTable = 33,     // serial passes on the rotary table, with the cut-off after the series
    TurningTable = 301,   // turning on the rotary table, heated on output 3
    RotaryTable = 311,    // rotary cutting about the table's axis
};

// The one place that chooses the output kind, from the mode and the rotary device.
// `spindleAxisFound`: the rotary project found its horizontal spindle axis line.
OutputKind cutOutputKind(int mode, int stolikSwitch, bool spindleAxisFound);

}  // namespace kerfline
