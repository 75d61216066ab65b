#pragma once

#include <string>
#include <string_view>

namespace kerfline {

class tInterfejs;

// The checks of a TFltEdit before its dialog takes the value. The messages are shown with the
// caption and the error icon, and the field takes the focus.

// The texts of the checks, from the language of the dialog that owns the field: %1 is the
// field's name, %1 and %2 in the range lines the minimum and maximum. The defaults are the
// Polish texts, for a field no dialog gave any.
struct FieldCheckTexts {
    std::string caption = "Błąd";
    std::string emptyField = "Proszę wypełnić pole  »%1«";
    std::string outOfRange = "W polu  »%1«  wartość poza dopuszczalnym zakresem.";
    std::string range = "( min= %1; max= %2 )";
    std::string notInteger = "W polu  »%1« wymagana jest liczba całkowita";
    std::string allowedRange = "Dopuszczalny zakres (min= %1; max= %2 )";
};
FieldCheckTexts fieldCheckTexts(const tInterfejs& language);

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
                             double maxValue, const FieldNumbers& numbers, const FieldCheckTexts& texts = {});
// An empty text, then a fractional value, then the range as above.
FieldCheck checkIntegerInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                               double maxValue, const FieldNumbers& numbers, const FieldCheckTexts& texts = {});

}  // namespace kerfline
