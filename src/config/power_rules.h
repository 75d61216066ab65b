#pragma once

#include <optional>

namespace kerfline {

class CommandLine;
struct MachineState;

// The maximum of work_power for the chosen power output on this machine, and the unit its
// label shows.
struct PowerMaximum {
    double maximum;
    const char* unitLabel;  // "[A]" or "[%]"
};

// Nothing for a PowerOutput that is not chosen (-1): the maximum stays as it was.
std::optional<PowerMaximum> powerMaximum(int powerOutput, const MachineState& machine, const CommandLine& commandLine);

// The power-limited models with firmware before 3.5 cannot heat below 0.8 A: a value strictly
// between 0 and 0.8 is raised to 0.8. Other values come back unchanged.
double raisedToPowerMinimum(double workPower, const MachineState& machine, const CommandLine& commandLine);

}  // namespace kerfline
