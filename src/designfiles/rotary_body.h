#pragma once

#include "designfiles/cut_program_writer.h"
#include "geometry/figure.h"

#include <cstdint>

namespace kerfline {

class Configuration;
struct MachineState;

// Which register turns and how many steps make its revolution, for a program's output kind:
// the spindle for turning and rotary cutting on the spindle, the table otherwise.
struct RotaryAxis {
    int axis = 6;                      // the register that counts its steps
    std::int32_t stepsPerRevolution = 0;
};
RotaryAxis rotaryAxisOf(OutputKind kind, const MachineState& machine);

// The phase of a rotary register: (register mod N) / N with the remainder taking the register's
// sign, as the bodies hand it on. 0 for an axis without steps per revolution.
double axisPhase(std::int32_t registerValue, std::int32_t stepsPerRevolution);

// The rotation in (-0.5, 0.5] revolutions that brings an axis standing at `registerValue` to
// `phase`. 0 for an axis without steps per revolution.
double alignmentTurn(double phase, std::int32_t registerValue, std::int32_t stepsPerRevolution);

// Writes the commands of one figure of a rotary, turning or table-serial program (the writer's
// output kind 30, 31, 33, 301 or 311) between BeginProgram and EndProgram: the approach, the
// turn to the start angle `phase`, the heat-up, the cut with the rotation of every segment and
// the retreat. `direction` (+1 or -1) signs every rotation of the cut. On return `phase` is the
// rotary axis's phase after the figure; a figure of fewer than two points writes nothing. The
// spindle-serial writer calls it once per figure with kind 31.
void WriteFigureBody(CutProgramWriter& writer, const tfigura& figure, int direction, double& phase);

}  // namespace kerfline
