#include "config/field_validation.h"

#include "config/number_text.h"
#include "base/language.h"

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

std::string rangeText(const std::string& line, double minValue, double maxValue, const FieldNumbers& numbers)
{
    return formatText(line, {shown(minValue, numbers), shown(maxValue, numbers)});
}

}  // namespace

FieldCheckTexts fieldCheckTexts(const tInterfejs& language)
{
    FieldCheckTexts texts;
    texts.caption = language.Text("Universal", "blad");
    texts.emptyField = language.Text("Configuration", "pole.wypelnij");
    texts.outOfRange = language.Text("Configuration", "pole.pozaZakresem");
    texts.range = language.Text("Configuration", "pole.zakres");
    texts.notInteger = language.Text("Configuration", "pole.liczbaCalkowita");
    texts.allowedRange = language.Text("Configuration", "pole.dopuszczalnyZakres");
    texts.clamped = language.Text("Configuration", "pole.ograniczono");
    texts.notANumber = language.Text("Configuration", "pole.liczba");
    texts.previousKept = language.Text("Configuration", "pole.poprzedniaWartosc");
    return texts;
}

FieldCheck checkValueInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                             double maxValue, const FieldNumbers& numbers, const FieldCheckTexts& texts)
{
    if (isBlank(text))
        return {false, formatText(texts.emptyField, {fieldName})};
    if (minValue != maxValue && (value < minValue || value > maxValue))
        return {false, formatText(texts.outOfRange, {fieldName}) + "\r\n" +
                           rangeText(texts.range, minValue, maxValue, numbers)};
    return {};
}

FieldCheck checkIntegerInRange(std::string_view text, double value, std::string_view fieldName, double minValue,
                               double maxValue, const FieldNumbers& numbers, const FieldCheckTexts& texts)
{
    if (isBlank(text))
        return {false, formatText(texts.emptyField, {fieldName})};
    if (value != std::trunc(value)) {
        std::string message = formatText(texts.notInteger, {fieldName});
        if (minValue != maxValue)
            message += "\r\n" + rangeText(texts.allowedRange, minValue, maxValue, numbers);
        return {false, message};
    }
    return checkValueInRange(text, value, fieldName, minValue, maxValue, numbers, texts);
}

std::string leaveNotice(LeaveOutcome outcome, std::string_view fieldName,
                        const std::pair<std::string, std::string>& range, const FieldCheckTexts& texts)
{
    switch (outcome) {
    case LeaveOutcome::Taken: return {};
    case LeaveOutcome::Clamped: return formatText(texts.clamped, {fieldName, range.first, range.second});
    case LeaveOutcome::Empty: return formatText(texts.emptyField, {fieldName}) + "\n" + texts.previousKept;
    case LeaveOutcome::NotANumber: return formatText(texts.notANumber, {fieldName}) + "\n" + texts.previousKept;
    }
    return {};
}

}  // namespace kerfline
