#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline {

// Numbers as the configuration file and the numeric fields write and read them. None of these
// depends on the process locale: the decimal separator is always passed in.

// General format with up to `significantDigits` significant digits, trailing zeros dropped.
// Never uses an exponent: the file reader reads a plain run of digits and separator only, so a
// number written as "1E-7" would come back as 1.
std::string formatGeneral(double value, char separator, int significantDigits = 15);

// Fixed-point with exactly `decimals` decimals.
std::string formatFixed(double value, int decimals, char separator);

// Fixed-point with `decimals` decimals and groups of three digits, as "#,##0.00" formats.
std::string formatGrouped(double value, int decimals, char separator, std::string_view thousands);

// An optional sign, digits and at most one decimal separator, which may be "." or "," whatever
// the locale: a file written under the other locale keeps its fractions. At least one digit;
// nothing else in the text.
std::optional<double> parseDecimal(std::string_view text);

// An optional sign and decimal digits, in the range of a 32-bit integer.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace kerfline
