#pragma once

#include "config/cutting_mode.h"
#include "designfiles/axis_registers.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace kerfline {

class CommandLine;
class Configuration;
struct MachineState;

// What the writer reads of the program around it: the configuration, the machine as last read
// and the command line. The application context hands these out.
struct WriterSettings {
    const Configuration& configuration;
    const MachineState& machine;
    const CommandLine& commandLine;
};

// What the cutting job decides before a cut program is written and the writer reads: the output
// kind, the start positions of the rotary, turning and serial programs, and the link for the
// one direct command the writer sends. Lengths are millimetres.
struct CutProgramJob {
    OutputKind outputKind = OutputKind::None;
    double programStartX = 0.0;  // programStartX
    double programStartY = 0.0;  // programStartY
    double firstEntry = 0.0;     // DajPoz1szegoWjazduWmat, read by the turning kinds 30 and 301
    double frontWireStartX = 0.0;  // Fx of the two-wire finishing moves
    double frontWireStartY = 0.0;  // Fy

    // Serial cutting on the table (kind 33): the cut-off move after the last project.
    std::int32_t seriesPosition = 0;      // the project's seriesIndex
    std::int32_t projectWindowCount = 0;
    bool cutOffAfterSeries = false;       // cbOdcinajPoZakonczeniu of the serial generator
    std::int32_t projectWidth = 0;        // plotter units, unscaled

    // Sends a direct command to the controller (SendCommand); false when it failed. Empty when
    // the program is written without a controller: the commands go nowhere.
    std::function<bool(std::string_view)> sendCommand;

    // Sees the program as it is written: each group of commands with `path`, the registers
    // before its first move followed by the registers after each of its moves (empty when it
    // moves nothing). The G-code export reads the program here, so it follows every byte.
    std::function<void(std::string_view commands, std::span<const AxisRegisters> path)> observe;
    // False: the program goes to `observe` alone and no file is created or touched.
    bool writeFile = true;
};

}  // namespace kerfline
