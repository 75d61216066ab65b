#include "config/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace kerfline {
namespace {

// Puts the separator in place of the point that to_chars writes.
std::string withSeparator(std::string text, char separator)
{
    for (char& c : text)
        if (c == '.')
            c = separator;
    return text;
}

}  // namespace

std::string formatGeneral(double value, char separator, int significantDigits)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    if (significantDigits < 1)
        significantDigits = 1;

    // d.ddddde±x, rounded to the significant digits, then laid out without an exponent.
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significantDigits - 1);
    if (ec != std::errc())
        return "0";
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = text.find('e');
    const bool negative = text.front() == '-';
    std::string digits;
    for (const char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());

    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string integerPart;
    std::string fraction;
    const int pointAfter = exponent + 1;  // digits before the decimal point
    if (pointAfter <= 0) {
        integerPart = "0";
        fraction = std::string(static_cast<std::size_t>(-pointAfter), '0') + digits;
    } else if (static_cast<std::size_t>(pointAfter) >= digits.size()) {
        integerPart = digits + std::string(static_cast<std::size_t>(pointAfter) - digits.size(), '0');
    } else {
        integerPart = digits.substr(0, static_cast<std::size_t>(pointAfter));
        fraction = digits.substr(static_cast<std::size_t>(pointAfter));
    }
    std::string result = negative ? "-" : "";
    result += integerPart;
    if (!fraction.empty()) {
        result += separator;
        result += fraction;
    }
    return result;
}

std::string formatFixed(double value, int decimals, char separator)
{
    if (!std::isfinite(value))
        value = 0.0;
    if (decimals < 0)
        decimals = 0;
    char buffer[512];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    std::string text(buffer, end);
    // "-0.00" is shown as "0.00"
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    return withSeparator(std::move(text), separator);
}

std::string formatGrouped(double value, int decimals, char separator, std::string_view thousands)
{
    const std::string plain = formatFixed(value, decimals, separator);
    const bool negative = plain.front() == '-';
    const std::size_t start = negative ? 1 : 0;
    std::size_t integerEnd = plain.find(separator, start);
    if (integerEnd == std::string::npos)
        integerEnd = plain.size();
    std::string result = negative ? "-" : "";
    for (std::size_t i = start; i < integerEnd; ++i) {
        result += plain[i];
        const std::size_t left = integerEnd - i - 1;
        if (left > 0 && left % 3 == 0)
            result += thousands;
    }
    result += plain.substr(integerEnd);
    return result;
}

std::optional<double> parseDecimal(std::string_view text)
{
    std::string normal;
    normal.reserve(text.size());
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            normal += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            normal += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value,
                                           std::chars_format::fixed);
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{2147483648})
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::int64_t{2147483647})
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace kerfline
