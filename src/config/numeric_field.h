#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace kerfline {

// The logic of the numeric fields: the plain fields TFloatEdit and TFltEdit, and the length
// fields TFloatEditU and TFltEditU, which hold millimetres and show them in their display unit.
// The widgets own the text the operator edits and call these.

enum class FloatFormat { ffGeneral, ffFixed };

struct FieldFormat {
    FloatFormat ffFormat = FloatFormat::ffGeneral;
    int Precision = 0;
    int Digit = 0;
};

// The text of a number in a field's format; general format when Precision or Digit is 0.
std::string formatFieldValue(double value, const FieldFormat& format, char separator);

// Below the minimum gives the minimum, above the maximum the maximum; no range when they are
// equal.
double clampToRange(double value, double minValue, double maxValue);

// The spin step of a length field in display units, from the magnitude of the value it shows:
// a tenth of its order of magnitude (500 → 10, 12 → 1, 5 → 0.1, 0.25 → 0.01, 0.05 → 0.001);
// for 0 a tenth of a millimetre.
double lengthSpinStep(double shownValue, int displayUnit);

// What leaving a field did with the typed text. A value outside the range is taken clamped, and
// the operator is told; a text that is no number (or none) leaves the previous value in place.
enum class LeaveOutcome { Taken, Clamped, Empty, NotANumber };

// A plain field (TFloatEdit, TFltEdit).
class NumberField {
public:
    struct Settings {
        double Value = 0.0;      // the initial value, also what an unreadable text reads as
        double MinValue = 0.0;
        double MaxValue = 0.0;
        double Increment = 1.0;
        FieldFormat format;
        bool readOnly = false;
        char separator = '.';
    };
    explicit NumberField(const Settings& settings);

    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }  // as typed

    void SetValue(double value);  // clamps and shows
    double GetValue() const;
    LeaveOutcome leave();         // shows a value outside the range clamped
    bool spin(bool up);           // false for a read-only field: the widget beeps
    // A new range (the power maximum follows the output type); the shown value is clamped to it.
    void setRange(double minValue, double maxValue);
    const Settings& settings() const { return m_settings; }
    // The minimum and the maximum as the field shows numbers.
    std::pair<std::string, std::string> rangeTexts() const;

private:
    Settings m_settings;
    std::string m_text;
    std::string m_accepted;  // the text of the last value taken, for a text that is no number
};

// A length field: TFloatEditU (the configuration dialog's) or TFltEditU (the other dialogs').
class LengthField {
public:
    enum class Family { TFloatEditU, TFltEditU };
    struct Settings {
        Family family = Family::TFloatEditU;
        double Value = 0.0;      // millimetres
        double MinValue = 0.0;   // millimetres
        double MaxValue = 0.0;
        double Increment = 1.0;  // display units, used with LiniowyInkrement
        bool LiniowyInkrement = false;
        FieldFormat format;      // TFltEditU: general format when Precision or Digit is 0
        std::array<int, 3> unitDigits{};  // TFltEditU: decimals for mm, inch, foot, if all set
        int extraDecimals = 0;   // TFloatEditU: fuPlt_accuracy shows one decimal more
        int sunit = 0;           // display unit
        bool readOnly = false;
        char separator = '.';
    };
    explicit LengthField(const Settings& settings);
    // A length the dialogs take in the display unit: fixed point, two decimals in millimetres and
    // three in inches and feet, between `minimum` and `maximum` millimetres.
    static Settings displayLength(int displayUnit, char separator, double minimum, double maximum);

    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }

    void SetValue(double millimetres);  // clamps, stores and shows in the display unit
    double GetValue() const;            // millimetres
    LeaveOutcome leave();               // reads the text in the display unit, stores, shows
    void setUnit(int displayUnit);      // the same millimetres in another unit
    bool spin(bool up);                 // false for a read-only field: the widget beeps
    // A new range in millimetres (the speed maxima follow the machine); the value is clamped.
    void setRange(double minValue, double maxValue);
    const Settings& settings() const { return m_settings; }

    int unit() const { return m_settings.sunit; }
    double millimetres() const { return m_millimetres; }
    // Decimals shown; nothing for general format.
    std::optional<int> decimals() const;
    // The minimum and the maximum in the display unit, as the field shows lengths.
    std::pair<std::string, std::string> rangeTexts() const;

private:
    std::string show(double millimetres) const;

    Settings m_settings;
    double m_millimetres = 0.0;
    std::string m_text;
};

// A character typed into a TFltEditU.
struct TypedCharacter {
    bool accepted = false;
    char character = 0;  // what goes into the text
    bool beep = false;
};
// Accepted: "+", "-", digits, the separator and control characters other than CR. The decimal
// key of the keypad with Num Lock on types the separator whatever it sends. A field whose
// editing is disabled refuses backspace and every printable character.
TypedCharacter filterTypedCharacter(char c, bool keypadDecimalKey, bool editingEnabled, char separator);

}  // namespace kerfline
