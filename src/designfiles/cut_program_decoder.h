#pragma once

#include "designfiles/axis_registers.h"
#include "machine/command_encoding.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

class tInterfejs;
struct MachineState;

// One command of a cut program: its letter as it stands in the file and its arguments as numbers.
// A move piece "a" has [tag, value]; "p" [n]; "v" [set, period]; "f" [set]; "r" [state,
// output]; "t" [output, value]; "s" [parameter, value]; any other letter its bytes one by one.
struct DecodedCommand {
    std::size_t offset = 0;
    char letter = 0;
    std::vector<std::int64_t> args;
};

// One move: the steps of the eight axes and the duration count of its end piece.
struct DecodedMove {
    machine::AxisSteps steps{};
    std::int32_t count = 0;
    std::size_t firstCommand = 0;  // index of its start piece in the command list
};

// Why decoding stopped before the end of the file.
struct ProgramDecodeError {
    enum class Kind {
        NotACommand,  // a byte that is no command letter where a command must begin
        CutShort,     // the file ends inside a command or a move
        BrokenMove,   // move pieces out of order: no start, a second start, an unknown tag
        ReadFailed,   // the file could not be read
    };
    Kind kind = Kind::NotACommand;
    std::string file;
    std::size_t offset = 0;
    int byte = 0;        // NotACommand: the byte found
    int systemCode = 0;  // ReadFailed: the system's error code

    std::string message(const tInterfejs& language) const;
};

// How to read a program: the command lengths of the controller it was written for, and the
// resolutions and start registers that turn its steps back into registers.
struct DecodeSettings {
    machine::CommandLengthTable lengths;
    double resX = 1.0;
    double resY = 1.0;
    double res3 = 1.0;
    AxisRegisters start{};

    // The lengths and resolutions of a machine as the program knows it.
    static DecodeSettings forMachine(const MachineState& machine);
};

struct DecodedProgram {
    std::vector<DecodedCommand> commands;
    std::vector<DecodedMove> moves;
    // The registers after each move: linear axes Round(steps / resolution) in hundredths of a
    // millimetre, rotary axes in steps.
    std::vector<AxisRegisters> trace;
    // Set when decoding stopped early; everything before the fault is kept.
    std::optional<ProgramDecodeError> error;
};

// Cuts a program into commands by the length table, groups the move pieces into moves and
// traces the registers. Never reads past the bytes it is given, whatever they hold.
DecodedProgram decodeCutProgram(std::string_view bytes, const DecodeSettings& settings, const std::string& file = {});
DecodedProgram readCutProgram(const std::string& path, const DecodeSettings& settings);

// "a FE 1000", "p 250": one command for messages and test reports.
std::string describeCommand(const DecodedCommand& command);

}  // namespace kerfline
