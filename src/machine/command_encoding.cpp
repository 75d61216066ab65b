#include "machine/command_encoding.h"

#include "base/round.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kerfline::machine {

CommandBytes EncodeInt32(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    CommandBytes bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFFu);
    return bytes;
}

CommandBytes EncodeUInt16(std::uint16_t value)
{
    return CommandBytes{static_cast<char>(value & 0xFFu), static_cast<char>((value >> 8) & 0xFFu)};
}

namespace {

// Length of one wire end's travel; the 0.5 keeps a one-step move at length 1.
std::int64_t endLength(double a, double b, double c)
{
    return roundHalfEven<std::int64_t>(std::sqrt(a * a + b * b + c * c + 0.5));
}

}  // namespace

MoveCommand BuildMove(char letter, const AxisSteps& d, int speedMultiplier)
{
    if (std::all_of(d.begin(), d.end(), [](std::int32_t s) { return s == 0; }))
        return {};
    const double d0 = d[0], d1 = d[1], d2 = d[2], d4 = d[4], d5 = d[5], d6 = d[6];
    // The auxiliary axes 3 and 7 give a wire end no length: moved alone they make no move.
    const bool wireEndsStill = d0 == 0 && d1 == 0 && d2 == 0 && d4 == 0 && d5 == 0 && d6 == 0;
    const std::int64_t n = wireEndsStill ? 0
                                         : std::max({endLength(d0, d1, d2), endLength(d4, d5, d2),
                                                     endLength(d0, d1, d6), endLength(d4, d5, d6)});
    const std::int64_t product = n * speedMultiplier;
    const auto count = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(product, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
    MoveCommand move;
    move.count = count;
    if (count <= 0)
        return move;

    auto piece = [&](std::uint8_t tag, std::int32_t value) {
        move.text += letter;
        move.text += static_cast<char>(tag);
        move.text += EncodeInt32(value);
    };
    piece(0xFF, 0);
    for (const int axis : {0, 4, 1, 5, 2, 6, 3, 7}) {
        if (d[static_cast<std::size_t>(axis)] != 0)
            piece(static_cast<std::uint8_t>(axis), d[static_cast<std::size_t>(axis)]);
    }
    piece(0xFE, count);
    return move;
}

std::uint16_t SpeedToPeriod(std::uint16_t speed, double resX)
{
    const double hundredthsPerSecond = speed > 20 ? speed * 100.0 / 60.0 : 20 * 100.0 / 60.0;
    return roundHalfEven<std::uint16_t>(1000000.0 / resX / hundredthsPerSecond / 0.8);
}

std::uint16_t PeriodToSpeed(std::int32_t period, double resX, int maxTravelSpeed)
{
    if (period <= 0)
        return static_cast<std::uint16_t>(std::clamp(maxTravelSpeed, 0, 0xFFFF));
    return roundHalfEven<std::uint16_t>(600000.0 / resX / (period * 0.8));
}

int CommandLengthTable::lengthOf(char letter) const
{
    if (letter >= 'a' && letter <= 'z')
        return m_lengths[static_cast<std::size_t>(letter - 'a')];
    if (letter >= 'A' && letter <= 'Z')
        return m_lengths[static_cast<std::size_t>(letter - 'A')];
    return 0;
}

}  // namespace kerfline::machine
