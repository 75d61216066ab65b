#include "designfiles/dxf_export.h"

#include "config/parameters.h"
#include "designfiles/atomic_output.h"
#include "base/round.h"

#include <cstdlib>
#include <string_view>

namespace kerfline {
namespace {

constexpr int kSignificantDigits = 7;

int decimalsFor(int displayUnit)
{
    switch (displayUnit) {
    case UnitInch:
        return 2;
    case UnitFoot:
        return 3;
    default:
        return 1;
    }
}

std::int64_t powerOfTen(int n)
{
    std::int64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

int digitCount(std::int64_t magnitude)
{
    int digits = 0;
    for (; magnitude != 0; magnitude /= 10)
        ++digits;
    return digits;
}

// magnitude / 10^shift, rounded half to even. The quotient of an integer below 2^53 by a power
// of ten lands exactly on a half only when the true quotient is one, so rounding the double is
// exact here.
std::int64_t roundedShift(std::int64_t magnitude, int shift)
{
    if (shift <= 0)
        return magnitude * powerOfTen(-shift);
    return roundHalfEven<std::int64_t>(static_cast<double>(magnitude) / static_cast<double>(powerOfTen(shift)));
}

void writeGroup(AtomicOutput& out, std::string_view code, std::string_view value)
{
    out.write(code);
    out.write("\r\n");
    out.write(value);
    out.write("\r\n");
}

}  // namespace

std::string dxfCoordinate(std::int64_t units, int displayUnit)
{
    const int decimals = decimalsFor(displayUnit);
    // Millimetres are units / 40, so the thousandths of a millimetre are exact: units * 25.
    const std::int64_t thousandths = units * 25;
    const bool negative = thousandths < 0;
    const std::int64_t magnitude = std::llabs(thousandths);
    // Digits before the point, and with them the last digit 7 significant digits allow.
    const int whole = digitCount(magnitude / 1000);
    int shift = 3 - decimals;
    if (whole - kSignificantDigits + 3 > shift)
        shift = whole - kSignificantDigits + 3;
    const std::int64_t kept = roundedShift(magnitude, shift);  // in units of 10^shift thousandths
    std::string text;
    if (digitCount(kept) + shift - 3 > kSignificantDigits) {
        // Exponent notation: d.dddddd E±XX, the digits rounded once more to 7.
        const int digits = digitCount(kept);
        std::int64_t mantissa = roundedShift(kept, digits - kSignificantDigits);
        int exponent = digits - 1 + shift - 3;
        if (digitCount(mantissa) > kSignificantDigits) {
            mantissa /= 10;
            ++exponent;
        }
        const std::string m = std::to_string(mantissa);
        if (negative)
            text += '-';
        text += m[0];
        text += '.';
        text.append(m, 1);
        text += exponent < 10 ? "E+0" : "E+";
        text += std::to_string(exponent);
        return text;
    }
    // The value in units of 10^-decimals millimetres.
    const std::int64_t scaled = kept * powerOfTen(shift - (3 - decimals));
    const std::string digits = std::to_string(scaled);
    const auto places = static_cast<std::size_t>(decimals);
    // A value that rounds to zero is written without a sign.
    if (negative && scaled != 0)
        text += '-';
    if (digits.size() <= places) {
        text += "0.";
        text.append(places - digits.size(), '0');
        text += digits;
        return text;
    }
    text.append(digits, 0, digits.size() - places);
    text += '.';
    text.append(digits, digits.size() - places);
    return text;
}

int WriteDxfFile(std::span<const tfigura> figures, const std::string& path, int displayUnit)
{
    AtomicOutput out;
    if (const int code = out.open(path); code != 0)
        return code;
    const std::string zero = dxfCoordinate(0, displayUnit);
    writeGroup(out, "  0", "SECTION");
    writeGroup(out, "  2", "ENTITIES");
    for (const tfigura& figure : figures) {
        if (figure.points.empty())
            continue;
        writeGroup(out, "  0", "POLYLINE");
        for (const Point& p : figure.points) {
            writeGroup(out, "  0", "VERTEX");
            writeGroup(out, "  10", dxfCoordinate(p.x, displayUnit));
            writeGroup(out, "  20", dxfCoordinate(p.y, displayUnit));
            writeGroup(out, "  30", zero);
        }
        writeGroup(out, "  0", "SEQEND");
    }
    writeGroup(out, "  0", "ENDSEC");
    writeGroup(out, "  0", "EOF");
    return out.commit();
}

}  // namespace kerfline
