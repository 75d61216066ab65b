#pragma once

#include <string>
#include <string_view>

namespace kerfline {

// The checks of a TFltEdit before its dialog takes the value. The field's messages are its own
// fixed texts, the same in every language; they are shown with this caption and the error icon,
// and the field takes the focus.
inline constexpr std::string_view kFieldCheckCaption = "Błąd";

struct FieldCheck {
    bool ok = true;
    std::string message;
};

// How a TFltEdit presents numbers in its messages ("#,##0.00" with the locale's separators).
struct FieldNumbers {
    char decimalSeparator = '.';
    std::string thousandsSeparator = ",";
};

// `text` is the field's text, `value` what GetValue reads from it.
// An empty text, then a value outside MinValue … MaxValue (no range when they are equal).
FieldCheck checkValueInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                             double maxValue, const FieldNumbers& numbers);
// An empty text, then a fractional value, then the range as above.
FieldCheck checkIntegerInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                               double maxValue, const FieldNumbers& numbers);

}  // namespace kerfline
