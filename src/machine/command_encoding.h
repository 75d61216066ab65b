#pragma once

#include "machine/machine_state.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline::machine {

// Controller commands are byte strings: a letter, then raw little-endian numbers. Zero bytes may
// occur inside, so a command is a std::string of bytes, not a text.
using CommandBytes = std::string;

using AxisSteps = std::array<std::int32_t, kAxisCount>;

// The 4 bytes of a signed 32-bit value, least significant first.
CommandBytes EncodeInt32(std::int32_t value);
// The 2 bytes of a 16-bit value, least significant first.
CommandBytes EncodeUInt16(std::uint16_t value);

// A move command and its duration count (steps of the longest wire end times the multiplier).
struct MoveCommand {
    CommandBytes text;
    std::int32_t count = 0;
};

// The pieces of a move: start (0xFF), one piece per moving axis in the order 0 4 1 5 2 6 3 7,
// end (0xFE) with the count. Empty when nothing moves or the count is not positive.
MoveCommand BuildMove(char letter, const AxisSteps& steps, int speedMultiplier);

// Speed in mm/min (already multiplied where the caller says so) to a step period; speeds up to
// 20 mm/min all give the period of 20 mm/min.
std::uint16_t SpeedToPeriod(std::uint16_t speed, double resX);
// Step period back to mm/min; period 0 (or less) means the fastest, the travel limit.
std::uint16_t PeriodToSpeed(std::int32_t period, double resX, int maxTravelSpeed);

// The length of each program command, letter included, indexed by the letter with case folded.
// The controller reads commands by it and the transmission cuts the program file by it.
class CommandLengthTable {
public:
    // 0 for a byte that is not a letter.
    int lengthOf(char letter) const;
    // "t" carries a 32-bit power value once the controller takes the new power format.
    void setNewPowerFormat(bool newFormat) { m_lengths['T' - 'A'] = newFormat ? 6 : 3; }

private:
    //                                    A  B  C  D  E  F  G  H  I  J  K  L  M
    std::array<std::uint8_t, 26> m_lengths{6, 2, 1, 1, 1, 2, 1, 2, 2, 1, 1, 3, 1,
                                           // N  O  P  Q  R  S  T  U  V  W  X  Y  Z
                                           4, 1, 2, 1, 3, 6, 3, 7, 4, 1, 1, 1, 1};
};

}  // namespace kerfline::machine
