#pragma once

#include "machine/controller_commands.h"

namespace kerfline {
struct AppContext;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
}  // namespace kerfline::machine

namespace kerfline {

// The controller's speed sets.
inline constexpr int kTravelSet = 0;
inline constexpr int kWorkingSet = 1;
// The wire stands at the spindle's start height when it is this close, millimetres.
inline constexpr double kSpindleTolerance = 0.05;

// "V", set, the step period of a speed in mm/min (Round(speed x speedMultiplier), taken as an
// unsigned 16-bit number).
machine::CommandBytes speedCommand(machine::ControllerProtocol& protocol, int set, double speedMmPerMinute);

// "R", 1, the heating output of the configured wire: 1 for a straight wire, 3 for a shaped one.
machine::CommandBytes heatingOnCommand(const AppContext& context);

}  // namespace kerfline
