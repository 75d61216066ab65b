#include "config/numeric_field.h"

#include "config/number_text.h"
#include "config/parameters.h"

#include <cmath>

namespace kerfline {
namespace {

std::optional<double> readText(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const auto last = text.find_last_not_of(' ');
    return parseDecimal(std::string_view(text).substr(first, last - first + 1));
}

// A typed text that reads as no number, told from no text at all.
LeaveOutcome unreadable(const std::string& text)
{
    return text.find_first_not_of(' ') == std::string::npos ? LeaveOutcome::Empty : LeaveOutcome::NotANumber;
}

int knownUnit(int displayUnit)
{
    return (displayUnit == UnitInch || displayUnit == UnitFoot) ? displayUnit : UnitMillimetre;
}

}  // namespace

std::string formatFieldValue(double value, const FieldFormat& format, char separator)
{
    if (format.Precision == 0 || format.Digit == 0)
        return formatGeneral(value, separator);
    if (format.ffFormat == FloatFormat::ffGeneral)
        return formatGeneral(value, separator, format.Precision);
    // Fixed: Precision significant digits, shown with Digit decimals.
    const double rounded = parseDecimal(formatGeneral(value, '.', format.Precision)).value_or(value);
    return formatFixed(rounded, format.Digit, separator);
}

double clampToRange(double value, double minValue, double maxValue)
{
    if (minValue == maxValue)
        return value;
    if (value < minValue)
        return minValue;
    if (value > maxValue)
        return maxValue;
    return value;
}

double lengthSpinStep(double shownValue, int displayUnit)
{
    double m = std::fabs(shownValue);
    if (m == 0.0 || !std::isfinite(m))
        return 0.1 / unitFactor(displayUnit);
    int k = 0;
    if (m >= 1.0) {
        while (m / 10.0 >= 1.0) {
            m /= 10.0;
            ++k;
        }
        return std::pow(10.0, k) / 10.0;
    }
    while (m < 10.0 && k < 400) {
        m *= 10.0;
        ++k;
    }
    return 1.0 / std::pow(10.0, k);
}

NumberField::NumberField(const Settings& settings) : m_settings(settings)
{
    SetValue(settings.Value);
}

void NumberField::SetValue(double value)
{
    m_text = formatFieldValue(clampToRange(value, m_settings.MinValue, m_settings.MaxValue), m_settings.format,
                              m_settings.separator);
    m_accepted = m_text;
}

double NumberField::GetValue() const
{
    return readText(m_text).value_or(m_settings.Value);
}

LeaveOutcome NumberField::leave()
{
    const auto typed = readText(m_text);
    if (!typed) {
        const LeaveOutcome outcome = unreadable(m_text);
        m_text = m_accepted;
        return outcome;
    }
    if (clampToRange(*typed, m_settings.MinValue, m_settings.MaxValue) != *typed) {
        SetValue(*typed);
        return LeaveOutcome::Clamped;
    }
    m_accepted = m_text;
    return LeaveOutcome::Taken;
}

std::pair<std::string, std::string> NumberField::rangeTexts() const
{
    return {formatFieldValue(m_settings.MinValue, m_settings.format, m_settings.separator),
            formatFieldValue(m_settings.MaxValue, m_settings.format, m_settings.separator)};
}

bool NumberField::spin(bool up)
{
    if (m_settings.readOnly)
        return false;
    SetValue(GetValue() + (up ? m_settings.Increment : -m_settings.Increment));
    return true;
}

void NumberField::setRange(double minValue, double maxValue)
{
    m_settings.MinValue = minValue;
    m_settings.MaxValue = maxValue;
    leave();
}

LengthField::Settings LengthField::displayLength(int displayUnit, char separator, double minimum, double maximum)
{
    Settings settings;
    settings.family = Family::TFltEditU;
    settings.format = {FloatFormat::ffFixed, 15, 2};
    settings.unitDigits = {2, 3, 3};
    settings.sunit = displayUnit;
    settings.separator = separator;
    settings.MinValue = minimum;
    settings.MaxValue = maximum;
    return settings;
}

LengthField::LengthField(const Settings& settings) : m_settings(settings)
{
    SetValue(settings.Value);
}

std::optional<int> LengthField::decimals() const
{
    const int unit = knownUnit(m_settings.sunit);
    if (m_settings.family == Family::TFloatEditU)
        return (unit == UnitInch ? 2 : unit == UnitFoot ? 3 : 1) + m_settings.extraDecimals;
    if (m_settings.format.Digit == 0 || m_settings.format.Precision == 0)
        return std::nullopt;
    const auto& digits = m_settings.unitDigits;
    if (digits[0] != 0 && digits[1] != 0 && digits[2] != 0)
        return digits[static_cast<std::size_t>(unit)];
    return unit == UnitFoot ? 4 : 3;
}

std::string LengthField::show(double millimetres) const
{
    const double shown = millimetres / unitFactor(m_settings.sunit);
    if (const auto d = decimals())
        return formatFixed(shown, *d, m_settings.separator);
    return formatGeneral(shown, m_settings.separator);
}

void LengthField::SetValue(double millimetres)
{
    if (std::isnan(millimetres))
        millimetres = m_settings.MinValue;
    m_millimetres = clampToRange(millimetres, m_settings.MinValue, m_settings.MaxValue);
    m_text = show(m_millimetres);
}

double LengthField::GetValue() const
{
    if (m_settings.family == Family::TFloatEditU)
        return m_millimetres;
    // MinValue is millimetres already: it is not converted again.
    const auto typed = readText(m_text);
    return typed ? *typed * unitFactor(m_settings.sunit) : m_settings.MinValue;
}

LeaveOutcome LengthField::leave()
{
    const auto typed = readText(m_text);
    if (!typed) {
        const LeaveOutcome outcome = unreadable(m_text);
        m_text = show(m_millimetres);
        return outcome;
    }
    const double millimetres = *typed * unitFactor(m_settings.sunit);
    SetValue(millimetres);
    return m_millimetres != millimetres ? LeaveOutcome::Clamped : LeaveOutcome::Taken;
}

std::pair<std::string, std::string> LengthField::rangeTexts() const
{
    return {show(m_settings.MinValue), show(m_settings.MaxValue)};
}

void LengthField::setUnit(int displayUnit)
{
    m_settings.sunit = displayUnit;
    m_text = show(m_millimetres);
}

bool LengthField::spin(bool up)
{
    if (m_settings.readOnly)
        return false;
    const double factor = unitFactor(m_settings.sunit);
    const double shown = readText(m_text).value_or(m_millimetres / factor);
    const double step = (m_settings.family == Family::TFltEditU && m_settings.LiniowyInkrement)
                            ? m_settings.Increment
                            : lengthSpinStep(shown, m_settings.sunit);
    SetValue((shown + (up ? step : -step)) * factor);
    return true;
}

void LengthField::setRange(double minValue, double maxValue)
{
    m_settings.MinValue = minValue;
    m_settings.MaxValue = maxValue;
    // The stored millimetres, not the rounded text, are what gets clamped.
    SetValue(m_millimetres);
}

TypedCharacter filterTypedCharacter(char c, bool keypadDecimalKey, bool editingEnabled, char separator)
{
    if (keypadDecimalKey && (c == ',' || c == '.'))
        c = separator;
    const auto u = static_cast<unsigned char>(c);
    const bool control = u < 0x20 || u == 0x7F;
    if (!editingEnabled && (c == '\b' || !control))
        return {};
    if (c == '\r')
        return {false, 0, true};
    if (control || c == '+' || c == '-' || (c >= '0' && c <= '9') || c == separator)
        return {true, c, false};
    return {false, 0, true};
}

}  // namespace kerfline
