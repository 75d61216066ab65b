#include "machine/reply_decoding.h"

#include "geometry/round.h"
#include "machine/machine_state.h"
#include "machine/reply_bytes.h"

namespace kerfline::machine {
namespace {

constexpr double kFixedPointOne = 16777216.0;  // resolutions are sent times 2^24

// Steps within one revolution, with the sign of the position; 0 without a divisor.
std::int32_t remainderOf(std::int32_t steps, std::int32_t perRevolution)
{
    if (perRevolution == 0)
        return 0;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(steps) % perRevolution);
}

double angleOf(std::int32_t remainder, std::int32_t perRevolution)
{
    return perRevolution == 0 ? 0.0 : remainder * 360.0 / perRevolution;
}

}  // namespace

void decodeStatus(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.stateByte = replyU8(reply, 1);
    state.statusFlags = replyU32(reply, 2);
}

void decodePositions(std::span<const std::uint8_t> reply, MachineState& state)
{
    for (std::size_t axis = 0; axis < static_cast<std::size_t>(kAxisCount); ++axis)
        state.rawSteps[axis] = replyI32(reply, 6 + 4 * axis);
    const auto& raw = state.rawSteps;
    state.frontX = roundHalfEven(raw[AxisFrontX] / state.resX);
    state.frontY = roundHalfEven(raw[AxisFrontY] / state.resY);
    state.backX = roundHalfEven(raw[AxisBackX] / state.resX);
    state.backY = roundHalfEven(raw[AxisBackY] / state.resY);
    state.axis3 = roundHalfEven(raw[AxisAux] / state.res3);
    state.tableRemainder = remainderOf(raw[AxisTable], state.stepsS);
    state.spindleRemainder = remainderOf(raw[AxisSpindle], state.stepsW);
    state.axis7Remainder = remainderOf(raw[AxisAuxRotary], state.stepsT);
    state.tableAngle = angleOf(state.tableRemainder, state.stepsS);
    state.spindleAngle = angleOf(state.spindleRemainder, state.stepsW);
    state.axis7Angle = angleOf(state.axis7Remainder, state.stepsT);
}

void decodeSpeeds(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.selectedSpeedSet = replyU8(reply, 0);
    for (std::size_t i = 0; i < state.speeds.size(); ++i) {
        // A 16-bit product, as the controller's numbers are 16-bit.
        const auto product = static_cast<std::uint16_t>(replyI16(reply, 2 + 2 * i) * state.speedMultiplier);
        state.speeds[i] = static_cast<std::int16_t>(product);
    }
    if (state.selectedSpeedSet <= 3)
        state.currentSpeed = state.speeds[state.selectedSpeedSet];
}

void decodePower(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.selectedPowerOutput = replyU8(reply, 0);
    for (std::size_t output = 0; output < state.powerSettings.size(); ++output)
        state.powerSettings[output] = replyI32(reply, 2 + 4 * output);
    state.measuredPower = replyU16(reply, 34);
    // Only eight outputs exist: a selection beyond them leaves the current setting alone.
    if (state.selectedPowerOutput < state.powerSettings.size())
        state.currentPower = static_cast<std::uint16_t>(state.powerSettings[state.selectedPowerOutput] & 0xFFFF);
}

void decodeMachineLimits(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.limitX = replyI32(reply, 2);
    state.limitY = replyI32(reply, 6);
    state.secondWireLimitX = replyI32(reply, 10);
    state.secondWireLimitY = state.limitY;
    state.rotaryLimits = {360, 360};
    state.furtherValues = {replyI32(reply, 14), replyI32(reply, 18)};
}

void decodeResolution(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.resX = static_cast<double>(replyI64(reply, 6)) / kFixedPointOne;
    state.resY = static_cast<double>(replyI64(reply, 14)) / kFixedPointOne;
    state.res3 = static_cast<double>(replyI64(reply, 22)) / kFixedPointOne;
    state.stepsW = replyI32(reply, 30);
    state.stepsS = replyI32(reply, 38);
    state.stepsT = replyI32(reply, 46);
    state.fcWidth = static_cast<double>(replyI64(reply, 54));
}

void decodeTension(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.tensionSetPoint = replyI32(reply, 2);
    state.tensionMeasured = replyI32(reply, 6);
}

void decodeVersion(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.versionMajor = replyU8(reply, 0);
    state.versionMinor = replyU8(reply, 1);
}

}  // namespace kerfline::machine
