#include "config/field_validation.h"

#include "config/number_text.h"

#include <cmath>

namespace kerfline {
namespace {

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

std::string shown(double value, const FieldNumbers& numbers)
{
    return formatGrouped(value, 2, numbers.decimalSeparator, numbers.thousandsSeparator);
}

std::string rangeText(double minValue, double maxValue, const FieldNumbers& numbers)
{
    return "min= " + shown(minValue, numbers) + "; max= " + shown(maxValue, numbers) + " )";
}

FieldCheck emptyField(std::string_view fieldName)
{
    return {false, "Proszę wypełnić pole  »" + std::string(fieldName) + "«"};
}

}  // namespace

FieldCheck checkValueInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                             double maxValue, const FieldNumbers& numbers)
{
    if (isBlank(text))
        return emptyField(fieldName);
    if (minValue != maxValue && (value < minValue || value > maxValue))
        return {false, "W polu  »" + std::string(fieldName) + "«  wartość poza dopuszczalnym zakresem.\r\n( " +
                           rangeText(minValue, maxValue, numbers)};
    return {};
}

FieldCheck checkIntegerInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                               double maxValue, const FieldNumbers& numbers)
{
    if (isBlank(text))
        return emptyField(fieldName);
    if (value != std::trunc(value)) {
        std::string message = "W polu  »" + std::string(fieldName) + "« wymagana jest liczba całkowita";
        if (minValue != maxValue)
            message += "\r\nDopuszczalny zakres (" + rangeText(minValue, maxValue, numbers);
        return {false, message};
    }
    return checkValueInRange(text, value, fieldName, minValue, maxValue, numbers);
}

}  // namespace kerfline
