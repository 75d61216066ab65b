#pragma once

#include "config/numeric_field.h"

#include <string>
#include <string_view>
#include <utility>

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
    std::string clamped = "Wartość w polu  »%1«  ograniczono do zakresu (min= %2; max= %3 ).";
    std::string notANumber = "W polu  »%1«  wymagana jest liczba.";
    std::string previousKept = "Pozostaje poprzednia wartość.";
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

// What the operator is told on leaving a field: the range a clamped value was limited to (as the
// field shows its minimum and maximum), or that an empty or unreadable text left the previous
// value in place. Empty for a value taken as typed.
std::string leaveNotice(LeaveOutcome outcome, std::string_view fieldName,
                        const std::pair<std::string, std::string>& range, const FieldCheckTexts& texts = {});

}  // namespace kerfline
