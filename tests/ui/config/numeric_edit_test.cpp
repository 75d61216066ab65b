#include "config/numpad_entry.h"
#include "config/parameters.h"
#include "config/ui/numeric_edit.h"
#include "config/ui/numpad_form.h"
#include "base/scripted_host.h"
#include "support/screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

LengthField::Settings lengthSettings(double minValue, double maxValue, double value, int unit = UnitMillimetre)
{
    LengthField::Settings s;
    s.MinValue = minValue;
    s.MaxValue = maxValue;
    s.Value = value;
    s.sunit = unit;
    return s;
}

QString shown(const QAbstractSpinBox& field)
{
    return field.text();
}

void leave(QAbstractSpinBox& field)
{
    QTest::keyClick(&field, Qt::Key_Return);
}

void wheel(QWidget& widget, int delta)
{
    const QPointF centre(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent event(centre, widget.mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &event);
}

TEST(NumericEdit, LengthFieldClampsAndShowsTheDisplayUnit)
{
    TFloatEditU diameter(lengthSettings(0, 4000, 500));
    diameter.SetValue(5000);
    EXPECT_EQ(shown(diameter), "4000.0");
    EXPECT_EQ(diameter.GetValue(), 4000);

    TFloatEditU field(lengthSettings(0, 4000, 25.4, UnitInch));
    field.show();
    EXPECT_EQ(shown(field), "1.00");
    int edits = 0;
    QObject::connect(&field, &NumericSpinBox::valueEdited, [&] { ++edits; });
    field.lineEdit()->selectAll();
    QTest::keyClicks(&field, "2");
    leave(field);
    EXPECT_DOUBLE_EQ(field.GetValue(), 50.8);
    EXPECT_EQ(shown(field), "2.00");
    EXPECT_EQ(edits, 1);

    field.setUnit(UnitMillimetre);
    EXPECT_EQ(shown(field), "50.8");
    EXPECT_DOUBLE_EQ(field.GetValue(), 50.8);
}

TEST(NumericEdit, LeavingAnUntouchedFieldKeepsItsExactValue)
{
    TFloatEditU field(lengthSettings(0, 4000, 12.34));
    field.show();
    EXPECT_EQ(shown(field), "12.3");
    leave(field);
    EXPECT_DOUBLE_EQ(field.GetValue(), 12.34);
}

TEST(NumericEdit, SpinsFromWhatItShows)
{
    LengthField::Settings s = lengthSettings(0, 4000, 0.25);
    s.extraDecimals = 1;
    TFloatEditU small(s);
    small.show();
    EXPECT_EQ(shown(small), "0.25");
    QTest::keyClick(&small, Qt::Key_Up);
    EXPECT_EQ(shown(small), "0.26");
    EXPECT_DOUBLE_EQ(small.GetValue(), 0.26);

    // wheel down steps up, wheel up steps down
    TFloatEditU wide(lengthSettings(0, 4000, 500));
    wide.show();
    wheel(wide, -120);
    EXPECT_EQ(wide.GetValue(), 510);
    wheel(wide, 120);
    wheel(wide, 120);
    EXPECT_EQ(wide.GetValue(), 490);

    NumberField::Settings plain;
    plain.Value = 8;
    plain.MinValue = 1;
    plain.MaxValue = 50000;
    plain.Increment = 1;
    TFloatEdit steps(plain);
    steps.show();
    wheel(steps, -120);
    EXPECT_EQ(steps.GetValue(), 9);
    steps.stepBy(-3);
    EXPECT_EQ(steps.GetValue(), 6);

    plain.readOnly = true;
    TFloatEdit locked(plain);
    locked.show();
    int edits = 0;
    QObject::connect(&locked, &NumericSpinBox::valueEdited, [&] { ++edits; });
    QTest::keyClick(&locked, Qt::Key_Up);  // beeps
    EXPECT_EQ(locked.GetValue(), 8);
    EXPECT_EQ(edits, 0);
}

TEST(NumericEdit, TFltEditUTakesOnlyWhatANumberNeeds)
{
    LengthField::Settings s = lengthSettings(0, 1000, 0);
    s.family = LengthField::Family::TFltEditU;
    s.separator = ',';
    TFltEditU field(s);
    field.show();
    field.lineEdit()->clear();
    QTest::keyClicks(&field, "1a2.b");
    QTest::keyClick(&field, Qt::Key_Comma, Qt::KeypadModifier);  // the keypad's decimal key
    QTest::keyClick(&field, Qt::Key_5);
    EXPECT_EQ(field.lineEdit()->text(), "12,5");
    EXPECT_DOUBLE_EQ(field.GetValue(), 12.5);  // read from the text before leaving
    QTest::keyClick(&field, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(field.lineEdit()->text(), "12,5,");
    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.lineEdit()->text(), "12,5");
}

TEST(NumericEdit, ValidationMessagesGoThroughTheHost)
{
    ScriptedHost host;
    NumberField::Settings s;
    s.Value = 5;
    s.MinValue = 1;
    s.MaxValue = 10;
    TFltEdit count(s);
    count.setFieldName("Ilość");
    count.setHost(&host);
    EXPECT_TRUE(count.IntegerInRange());
    count.lineEdit()->setText("2.5");
    EXPECT_FALSE(count.IntegerInRange());
    count.lineEdit()->setText("");
    EXPECT_FALSE(count.ValueInRange());
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "W polu  »Ilość« wymagana jest liczba całkowita\r\nDopuszczalny zakres (min= 1.00; max= 10.00 )");
    EXPECT_EQ(host.messages[1].text, "Proszę wypełnić pole  »Ilość«");
    EXPECT_EQ(host.messages[1].caption, "Błąd");
    EXPECT_TRUE(host.messages[1].isError);
}

// A field its dialog did not name goes by its label's caption, so that every dialog's fields say
// which field a clamp or a refused text speaks of.
TEST(NumericEdit, AFieldGoesByTheCaptionOfItsLabel)
{
    EXPECT_EQ(fieldNameFromCaption("Heat-up time [ms]"), "Heat-up time");
    EXPECT_EQ(fieldNameFromCaption("&Repeat the\nseries:"), "Repeat the series");
    EXPECT_EQ(fieldNameFromCaption("&X="), "X");
    EXPECT_EQ(fieldNameFromCaption("Cut && turn"), "Cut & turn");

    QWidget dialog;
    NumberField::Settings s;
    s.Value = 5;
    s.MinValue = 1;
    s.MaxValue = 10;
    auto* count = new TFltEdit(s, &dialog);
    auto* label = new QLabel("&Repeat the series", &dialog);
    EXPECT_EQ(count->fieldName(), "");
    label->setBuddy(count);
    EXPECT_EQ(count->fieldName(), "Repeat the series");
    QSignalSpy notices(count, &NumericSpinBox::notice);
    count->lineEdit()->setText("25");
    count->commit();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_NE(notices[0][0].toString().indexOf("»Repeat the series«"), -1) << notices[0][0].toString().toStdString();
    EXPECT_DOUBLE_EQ(count->GetValue(), 10.0);
}

TEST(NumPadForm, KeysAndKeyboardEditTheEntry)
{
    TNumPadForm keypad(',', true, KeypadTexts{}, nullptr);
    EXPECT_EQ(keypad.size(), QSize(kBigNumPadWidth, kBigNumPadHeight));
    auto* five = keypad.findChild<QPushButton*>("btn5");
    ASSERT_NE(five, nullptr);
    EXPECT_EQ(five->size(), QSize(kBigNumPadButton, kBigNumPadButton));
    EXPECT_EQ(keypad.findChild<QPushButton*>("btnSeparator")->text(), ",");

    keypad.findChild<QPushButton*>("btnMinus")->click();
    five->click();
    keypad.findChild<QPushButton*>("btnMinus")->click();  // "-5" stays "-5"
    EXPECT_EQ(keypad.entry(), "-5");
    EXPECT_EQ(keypad.windowTitle(), "-5");
    QTest::keyClick(&keypad, Qt::Key_Period);
    QTest::keyClick(&keypad, Qt::Key_2);
    EXPECT_EQ(keypad.entry(), "-5,2");
    EXPECT_EQ(keypad.findChild<QLabel*>("entry")->text(), "-5,2");
    keypad.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&keypad));
    kerfline::testing::saveScreenshot(keypad, "keypad_big");
    keypad.findChild<QPushButton*>("btnCE")->click();
    EXPECT_EQ(keypad.entry(), "-5,");
    keypad.findChild<QPushButton*>("btnC")->click();
    EXPECT_EQ(keypad.entry(), "");

    TNumPadForm small('.', false, KeypadTexts{}, nullptr);
    EXPECT_EQ(small.size(), QSize(kSmallNumPadWidth, kSmallNumPadHeight));
    small.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&small));
    kerfline::testing::saveScreenshot(small, "keypad_small");
}

TEST(NumPadForm, OkHandsTheEntryToTheField)
{
    TFloatEditU field(lengthSettings(-100, 100, 10, UnitInch));
    field.show();
    field.setBigNumPad(true);
    field.setKeypadTexts(KeypadTexts{"Gotowe"});
    // The keypad is modal: answer it once it is up.
    QTimer::singleShot(0, [] {
        auto* keypad = qobject_cast<TNumPadForm*>(QApplication::activeModalWidget());
        ASSERT_NE(keypad, nullptr);
        // OK speaks the language of the field's dialog
        EXPECT_EQ(keypad->findChild<QPushButton*>("btnOK")->text(), "Gotowe");
        keypad->findChild<QPushButton*>("btn2")->click();
        keypad->findChild<QPushButton*>("btnMinus")->click();
        keypad->findChild<QPushButton*>("btnOK")->click();
    });
    QTest::mouseDClick(field.lineEdit(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(field.GetValue(), -50.8);
    EXPECT_EQ(shown(field), "-2.00");

    field.takeKeypadEntry("9");  // 228.6 mm, beyond the range
    EXPECT_EQ(field.GetValue(), 100);

    // JedenKlikKalkulator: a single click is enough; Escape leaves the value alone
    field.setJedenKlikKalkulator(true);
    QTimer::singleShot(0, [] {
        auto* keypad = qobject_cast<TNumPadForm*>(QApplication::activeModalWidget());
        ASSERT_NE(keypad, nullptr);
        QTest::keyClick(keypad, Qt::Key_1);
        QTest::keyClick(keypad, Qt::Key_Escape);
    });
    QTest::mouseClick(field.lineEdit(), Qt::LeftButton);
    EXPECT_EQ(field.GetValue(), 100);
}

}  // namespace
}  // namespace kerfline::ui
