#pragma once

#include <cstdint>
#include <span>

namespace kerfline {
struct MachineState;
}

namespace kerfline::machine {

// Decoders of the reply channels into MachineState. Each takes the reply as read (any length:
// bytes beyond its end read as zeros) and never fails.

// Channel 10: state byte and status flags.
void decodeStatus(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 10: raw positions and the positions, remainders and angles derived with the current
// resolutions.
void decodePositions(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 12: selected speed set, the five values times speedMultiplier, current speed.
void decodeSpeeds(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 13: selected output, the eight settings, measured value, current power setting.
void decodePower(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 14: limits and the two further values.
void decodeMachineLimits(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 15: resolutions, steps per revolution and working width, as the controller has them.
void decodeResolution(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 16: tension set point and measured tension.
void decodeTension(std::span<const std::uint8_t> reply, MachineState& state);
// Channel 17: major and minor version.
void decodeVersion(std::span<const std::uint8_t> reply, MachineState& state);

}  // namespace kerfline::machine
