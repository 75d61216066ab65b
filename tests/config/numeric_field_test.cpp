#include "config/field_validation.h"
#include "config/numeric_field.h"
#include "config/numpad_entry.h"
#include "base/language.h"
#include "base/scripted_host.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

LengthField::Settings configLength(double minValue, double maxValue, double value, int unit = 0)
{
    LengthField::Settings s;
    s.MinValue = minValue;
    s.MaxValue = maxValue;
    s.Value = value;
    s.sunit = unit;
    return s;
}

TEST(LengthSpinStep, ATenthOfTheOrderOfMagnitude)
{
    struct Case {
        double shown;
        int unit;
        double step;
    };
    for (const Case& c : {Case{500, 0, 10}, Case{12, 0, 1}, Case{5, 0, 0.1}, Case{10, 0, 1}, Case{1, 0, 0.1},
                          Case{-500, 0, 10}, Case{0.25, 0, 0.01}, Case{0.05, 0, 0.001}, Case{0.1, 0, 0.01},
                          Case{0, 0, 0.1}, Case{0, 1, 0.1 / 25.4}})
        EXPECT_DOUBLE_EQ(lengthSpinStep(c.shown, c.unit), c.step) << c.shown;
}

TEST(LengthField, StoresMillimetresAndShowsTheDisplayUnit)
{
    LengthField diameter(configLength(0, 4000, 500));
    diameter.SetValue(5000);
    EXPECT_EQ(diameter.text(), "4000.0");
    EXPECT_EQ(diameter.GetValue(), 4000);

    LengthField field(configLength(0, 4000, 25.4, 1));
    EXPECT_EQ(field.text(), "1.00");
    field.setText("2");
    field.leave();
    EXPECT_DOUBLE_EQ(field.GetValue(), 50.8);
    EXPECT_EQ(field.text(), "2.00");
    field.setUnit(2);
    EXPECT_EQ(field.text(), "0.167");
    field.setUnit(0);
    EXPECT_EQ(field.text(), "50.8");

    field.setText("");  // an empty text keeps the value
    EXPECT_EQ(field.leave(), LeaveOutcome::Empty);
    EXPECT_EQ(field.GetValue(), 50.8);
    field.setText("3,5");  // either separator
    field.leave();
    EXPECT_EQ(field.GetValue(), 3.5);
}

TEST(LengthField, SpinsByTheMagnitudeOfWhatItShows)
{
    LengthField::Settings s = configLength(0.05, 0.25, 0.2);
    s.extraDecimals = 1;  // fuPlt_accuracy
    LengthField accuracy(s);
    accuracy.SetValue(0.25);
    accuracy.setText("0.24");
    EXPECT_TRUE(accuracy.spin(true));
    EXPECT_EQ(accuracy.text(), "0.25");
    accuracy.SetValue(0.2);
    accuracy.spin(true);
    EXPECT_EQ(accuracy.text(), "0.21");

    s = configLength(0, 4000, 0.25);
    s.extraDecimals = 1;
    LengthField small(s);
    EXPECT_EQ(small.text(), "0.25");
    small.spin(true);
    EXPECT_EQ(small.text(), "0.26");
    EXPECT_DOUBLE_EQ(small.GetValue(), 0.26);

    LengthField wide(configLength(0, 4000, 500));
    wide.spin(true);
    EXPECT_EQ(wide.GetValue(), 510);
    wide.spin(false);
    wide.spin(false);
    EXPECT_EQ(wide.GetValue(), 490);

    s = configLength(-100, 100, 0.25);
    s.readOnly = true;
    LengthField locked(s);
    EXPECT_FALSE(locked.spin(true));
    EXPECT_EQ(locked.GetValue(), 0.25);
}

TEST(LengthField, OtherDialogsFieldsReadTheirTextAndTheirOwnDigits)
{
    LengthField::Settings s = configLength(10, 1000, 100, 1);
    s.family = LengthField::Family::TFltEditU;
    s.format = {FloatFormat::ffFixed, 15, 2};
    LengthField field(s);
    EXPECT_EQ(field.decimals(), 3);
    EXPECT_EQ(field.text(), "3.937");
    field.setText("2");
    EXPECT_DOUBLE_EQ(field.GetValue(), 50.8);  // read from the text, before leaving
    field.setText("x");
    EXPECT_EQ(field.GetValue(), 10);            // the minimum, in millimetres

    s.unitDigits = {1, 2, 5};
    s.sunit = 2;
    EXPECT_EQ(LengthField(s).decimals(), 5);
    s.unitDigits = {1, 0, 5};
    EXPECT_EQ(LengthField(s).decimals(), 4);
    s.format.Digit = 0;
    EXPECT_EQ(LengthField(s).decimals(), std::nullopt);

    s = configLength(0, 1000, 100);
    s.family = LengthField::Family::TFltEditU;
    s.LiniowyInkrement = true;
    s.Increment = 5;
    LengthField linear(s);
    linear.spin(true);
    EXPECT_EQ(linear.GetValue(), 105);
}

TEST(NumberField, ClampsShowsAndReads)
{
    NumberField::Settings s;
    s.Value = 8;
    s.MinValue = 1;
    s.MaxValue = 50000;
    s.Increment = 1;
    s.separator = ',';
    NumberField steps(s);
    EXPECT_EQ(steps.text(), "8");
    steps.SetValue(0.5);
    EXPECT_EQ(steps.text(), "1");
    steps.setText("abc");
    EXPECT_EQ(steps.GetValue(), 8);  // unreadable: the initial value
    steps.setText("70000");
    steps.leave();
    EXPECT_EQ(steps.text(), "50000");
    steps.setText("12,5");
    steps.leave();
    EXPECT_EQ(steps.text(), "12,5");  // in range: left as typed
    EXPECT_TRUE(steps.spin(false));
    EXPECT_EQ(steps.text(), "11,5");

    s.format = {FloatFormat::ffFixed, 15, 2};
    s.readOnly = true;
    NumberField fixed(s);
    EXPECT_EQ(fixed.text(), "8,00");
    EXPECT_FALSE(fixed.spin(true));
}

TEST(TypedCharacter, OnlyWhatANumberNeeds)
{
    struct Case {
        char c;
        bool keypad;
        bool editable;
        bool accepted;
        char result;
        bool beep;
    };
    for (const Case& c : {Case{'7', false, true, true, '7', false}, Case{'-', false, true, true, '-', false},
                          Case{',', false, true, true, ',', false}, Case{'.', false, true, false, 0, true},
                          Case{'.', true, true, true, ',', false}, Case{'a', false, true, false, 0, true},
                          Case{'\r', false, true, false, 0, true}, Case{'\b', false, true, true, '\b', false},
                          Case{'\x03', false, false, true, '\x03', false}, Case{'\b', false, false, false, 0, false},
                          Case{'5', false, false, false, 0, false}}) {
        const TypedCharacter t = filterTypedCharacter(c.c, c.keypad, c.editable, ',');
        EXPECT_EQ(t.accepted, c.accepted) << int(c.c);
        EXPECT_EQ(t.character, c.result) << int(c.c);
        EXPECT_EQ(t.beep, c.beep) << int(c.c);
    }
}

TEST(NumPadEntry, EditsTheEntry)
{
    NumPadEntry entry(',');
    entry.digit(5);
    entry.minus();
    EXPECT_EQ(entry.text(), "-5");
    entry.minus();
    EXPECT_EQ(entry.text(), "-5");
    entry.decimalSeparator();
    entry.digit(2);
    entry.digit(10);  // no such button
    EXPECT_EQ(entry.text(), "-5,2");
    entry.clearLast();
    EXPECT_EQ(entry.text(), "-5,");
    entry.clear();
    entry.clearLast();
    EXPECT_EQ(entry.text(), "");
    entry.minus();
    EXPECT_EQ(entry.text(), "-");
}

TEST(NumPadEntry, StaysOnTheScreen)
{
    EXPECT_EQ(placeKeypad(100, 100, 298, 318, 1280, 1024).x, 100);
    EXPECT_EQ(placeKeypad(1000, 100, 298, 318, 1280, 1024).x, 702);
    EXPECT_EQ(placeKeypad(100, 800, 298, 318, 1280, 1024).y, 482);

    struct Case {
        int fieldLeft, fieldTop;
        ScreenRect screen;
        int x, y;
    };
    for (const Case& c : {
             Case{1400, 100, {1280, 0, 2560, 1024}, 1400, 100},  // second monitor: stays
             Case{2400, 900, {1280, 0, 2560, 1024}, 2102, 582},  // moved left and up on it
             Case{1300, 100, {1280, 0, 1500, 1024}, 1280, 100},  // moved left past the edge
             Case{10, 200, {0, 0, 1024, 300}, 10, 0},            // a screen lower than the keypad
         }) {
        const KeypadPlacement p = placeKeypad(c.fieldLeft, c.fieldTop, 298, 318, c.screen);
        EXPECT_EQ(p.x, c.x) << c.fieldLeft;
        EXPECT_EQ(p.y, c.y) << c.fieldTop;
    }
}

TEST(NumericFields, ANewRangeClampsTheValue)
{
    LengthField speed(configLength(20, 5000, 4000));
    speed.setRange(20, 3000);
    EXPECT_EQ(speed.GetValue(), 3000);
    EXPECT_EQ(speed.text(), "3000.0");
    LengthField exact(configLength(0, 100, 12.34));
    exact.setRange(0, 50);  // in range: the millimetres stay exact, not the one decimal shown
    EXPECT_DOUBLE_EQ(exact.GetValue(), 12.34);

    NumberField::Settings s;
    s.Value = 4;
    s.MinValue = 0;
    s.MaxValue = 100;
    NumberField power(s);
    power.setRange(0, 1);
    EXPECT_EQ(power.text(), "1");
}

TEST(FieldValidation, MessagesAsTheFieldWritesThem)
{
    const FieldNumbers numbers{',', " "};
    EXPECT_EQ(checkValueInRange("", 0, "Szerokość", 0, 10, numbers).message, "Proszę wypełnić pole  »Szerokość«");
    EXPECT_TRUE(checkValueInRange("5", 5, "Szerokość", 0, 10, numbers).ok);
    EXPECT_TRUE(checkValueInRange("50", 50, "Szerokość", 3, 3, numbers).ok);  // no range
    const FieldCheck range = checkValueInRange("12000", 12000, "Szerokość", 0.5, 10000, numbers);
    EXPECT_FALSE(range.ok);
    EXPECT_EQ(range.message,
              "W polu  »Szerokość«  wartość poza dopuszczalnym zakresem.\r\n( min= 0,50; max= 10 000,00 )");

    EXPECT_EQ(checkIntegerInRange("2,5", 2.5, "Ilość", 1, 20, {'.', ","}).message,
              "W polu  »Ilość« wymagana jest liczba całkowita\r\nDopuszczalny zakres (min= 1.00; max= 20.00 )");
    EXPECT_EQ(checkIntegerInRange("2.5", 2.5, "Ilość", 0, 0, {}).message, "W polu  »Ilość« wymagana jest liczba całkowita");
    EXPECT_FALSE(checkIntegerInRange("30", 30, "Ilość", 1, 20, {}).ok);
    EXPECT_TRUE(checkIntegerInRange("3", 3, "Ilość", 1, 20, {}).ok);
}

TEST(FieldValidation, MessagesSpeakTheLanguageOfTheDialog)
{
    ScriptedHost host;
    const FieldNumbers numbers{'.', ","};
    tInterfejs polish(host);
    ASSERT_TRUE(polish.load(KERFLINE_LANG_DIR, LanguageChoice{"PL", 48, false}));
    const FieldCheckTexts pl = fieldCheckTexts(polish);
    EXPECT_EQ(pl.caption, "Błąd");
    // The Polish file holds the fields' own texts word for word.
    EXPECT_EQ(checkIntegerInRange("2.5", 2.5, "Ilość", 1, 20, numbers, pl).message,
              checkIntegerInRange("2.5", 2.5, "Ilość", 1, 20, numbers).message);
    EXPECT_EQ(checkValueInRange("30", 30, "Ilość", 1, 20, numbers, pl).message,
              checkValueInRange("30", 30, "Ilość", 1, 20, numbers).message);
    EXPECT_EQ(checkValueInRange(" ", 0, "Ilość", 1, 20, numbers, pl).message,
              checkValueInRange(" ", 0, "Ilość", 1, 20, numbers).message);
    for (const LeaveOutcome outcome : {LeaveOutcome::Clamped, LeaveOutcome::Empty, LeaveOutcome::NotANumber})
        EXPECT_EQ(leaveNotice(outcome, "Ilość", {"1", "20"}, pl), leaveNotice(outcome, "Ilość", {"1", "20"}));

    tInterfejs english(host);
    ASSERT_TRUE(english.load(KERFLINE_LANG_DIR, LanguageChoice{}));
    const FieldCheckTexts us = fieldCheckTexts(english);
    EXPECT_EQ(us.caption, "Error");
    EXPECT_EQ(checkValueInRange("1200", 1200, "Width", 0.5, 1000, numbers, us).message,
              "The value in the field  »Width«  is out of the permitted range.\r\n( min= 0.50; max= 1,000.00 )");
}

// Leaving a field clamps a value beyond its range and says so; a text that is no number keeps the
// value the field had, never the minimum or the initial value, and says so too.
TEST(LeavingAField, TellsWhatBecameOfTheTypedText)
{
    ScriptedHost host;
    tInterfejs english(host);
    ASSERT_TRUE(english.load(KERFLINE_LANG_DIR, LanguageChoice{}));
    const FieldCheckTexts us = fieldCheckTexts(english);
    const struct {
        const char* typed;
        LeaveOutcome outcome;
        const char* numberText;  // a plain field of 1 … 500 that showed 40 (initial value 8)
        const char* lengthText;  // a length field of 20 … 3000 mm in inches that showed 1000 mm
        const char* notice;
    } cases[] = {
        {"60", LeaveOutcome::Taken, "60", "60.00", ""},
        {"900", LeaveOutcome::Clamped, "500", "118.11",
         "The value in the field  »Speed«  was limited to its range (min= %1; max= %2 )."},
        {"0", LeaveOutcome::Clamped, "1", "0.79",
         "The value in the field  »Speed«  was limited to its range (min= %1; max= %2 )."},
        {"fast", LeaveOutcome::NotANumber, "40", "39.37",
         "The field  »Speed«  requires a number.\nThe previous value is kept."},
        {"  ", LeaveOutcome::Empty, "40", "39.37", "Please fill in the field  »Speed«\nThe previous value is kept."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        NumberField::Settings n;
        n.Value = 8;
        n.MinValue = 1;
        n.MaxValue = 500;
        NumberField number(n);
        number.SetValue(40);
        number.setText(c.typed);
        EXPECT_EQ(number.leave(), c.outcome);
        EXPECT_EQ(number.text(), c.numberText);
        EXPECT_EQ(leaveNotice(c.outcome, "Speed", number.rangeTexts(), us), formatText(c.notice, {"1", "500"}));

        LengthField length(configLength(20, 3000, 1000, 1));
        length.setText(c.typed);
        EXPECT_EQ(length.leave(), c.outcome);
        EXPECT_EQ(length.text(), c.lengthText);
        EXPECT_EQ(leaveNotice(c.outcome, "Speed", length.rangeTexts(), us), formatText(c.notice, {"0.79", "118.11"}));
    }
}

}  // namespace
}  // namespace kerfline
