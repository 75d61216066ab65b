#include "machine/reply_decoding.h"

#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/machine_state.h"

namespace kerfline::machine {
namespace {

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
    state.stateByte = replyField<std::uint8_t>(reply, reply::StateByte);
    state.statusFlags = replyField<std::uint32_t>(reply, reply::StatusFlags);
}

void decodePositions(std::span<const std::uint8_t> reply, MachineState& state)
{
    for (std::size_t axis = 0; axis < static_cast<std::size_t>(kAxisCount); ++axis)
        state.rawSteps[axis] = replyField<std::int32_t>(reply, reply::position(axis));
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
    state.selectedSpeedSet = replyField<std::uint8_t>(reply, reply::SelectedSpeedSet);
    for (std::size_t i = 0; i < state.speeds.size(); ++i) {
        // A 16-bit product, as the controller's numbers are 16-bit.
        const auto period = replyField<std::int16_t>(reply, reply::speedPeriod(i));
        state.speeds[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(period * state.speedMultiplier));
    }
    if (state.selectedSpeedSet <= 3)
        state.currentSpeed = state.speeds[state.selectedSpeedSet];
}

void decodePower(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.selectedPowerOutput = replyField<std::uint8_t>(reply, reply::SelectedPowerOutput);
    for (std::size_t output = 0; output < state.powerSettings.size(); ++output)
        state.powerSettings[output] = replyField<std::int32_t>(reply, reply::powerSetting(output));
    state.measuredPower = replyField<std::uint16_t>(reply, reply::MeasuredPower);
    // Only eight outputs exist: a selection beyond them leaves the current setting alone.
    if (state.selectedPowerOutput < state.powerSettings.size())
        state.currentPower = static_cast<std::uint16_t>(state.powerSettings[state.selectedPowerOutput] & 0xFFFF);
}

void decodeMachineLimits(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.limitX = replyField<std::int32_t>(reply, reply::LimitX);
    state.limitY = replyField<std::int32_t>(reply, reply::LimitY);
    state.secondWireLimitX = replyField<std::int32_t>(reply, reply::SecondWireLimitX);
    state.secondWireLimitY = state.limitY;
    state.rotaryLimits = {360, 360};
    state.furtherValues = {replyField<std::int32_t>(reply, reply::furtherValue(0)),
                           replyField<std::int32_t>(reply, reply::furtherValue(1))};
}

void decodeResolution(std::span<const std::uint8_t> reply, MachineState& state)
{
    const auto resolution = [reply](ReplyField field) {
        return static_cast<double>(replyField<std::int64_t>(reply, field)) / reply::kResolutionOne;
    };
    state.resX = resolution(reply::ResX);
    state.resY = resolution(reply::ResY);
    state.res3 = resolution(reply::Res3);
    state.stepsW = replyField<std::int32_t>(reply, reply::StepsW);
    state.stepsS = replyField<std::int32_t>(reply, reply::StepsS);
    state.stepsT = replyField<std::int32_t>(reply, reply::StepsT);
    state.fcWidth = static_cast<double>(replyField<std::int64_t>(reply, reply::FcWidth));
}

void decodeTension(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.tensionSetPoint = replyField<std::int32_t>(reply, reply::TensionSetPoint);
    state.tensionMeasured = replyField<std::int32_t>(reply, reply::TensionMeasured);
}

void decodeVersion(std::span<const std::uint8_t> reply, MachineState& state)
{
    state.versionMajor = replyField<std::uint8_t>(reply, reply::VersionMajor);
    state.versionMinor = replyField<std::uint8_t>(reply, reply::VersionMinor);
}

}  // namespace kerfline::machine
