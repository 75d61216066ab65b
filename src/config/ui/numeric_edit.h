#pragma once

#include "config/field_validation.h"
#include "config/numeric_field.h"
#include "config/numpad_entry.h"

#include <QAbstractSpinBox>

#include <string>

namespace kerfline {
class Host;
class tInterfejs;
}

namespace kerfline::ui {

// The name a field goes by in its messages, from the caption of its label: without the
// accelerator's '&', on one line, without a trailing colon or equals sign, or the unit in
// brackets ("Heat-up time [ms]" names "Heat-up time").
std::string fieldNameFromCaption(std::string caption);

// What the four fields share: the text comes from the core field, the spin buttons, arrow keys
// and the mouse wheel step it (wheel down steps up), Enter or leaving the field reads what was
// typed, and a double click (a single click with JedenKlikKalkulator) opens the keypad.
class NumericSpinBox : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit NumericSpinBox(QWidget* parent = nullptr);
    // The text the operator edits; dialogs and tests type into it.
    using QAbstractSpinBox::lineEdit;

    void setBigNumPad(bool big) { m_bigNumPad = big; }
    bool BigNumPad() const { return m_bigNumPad; }
    void setJedenKlikKalkulator(bool singleClick) { m_singleClick = singleClick; }
    bool JedenKlikKalkulator() const { return m_singleClick; }
    // The keypad's word keys in the language of the dialog that owns the field.
    void setKeypadTexts(KeypadTexts texts) { m_keypadTexts = std::move(texts); }
    const KeypadTexts& keypadTexts() const { return m_keypadTexts; }
    // The field's name in its messages, and the messages in the language of its dialog. A field
    // without a name set goes by the caption of the label it is the buddy of.
    void setFieldName(std::string name) { m_fieldName = std::move(name); }
    std::string fieldName() const;
    void setCheckTexts(FieldCheckTexts texts) { m_checkTexts = std::move(texts); }
    // The keypad's word keys and the messages in the language of the field's dialog.
    void setLanguage(const tInterfejs& language);

    // Opens the keypad at the field and takes its entry on OK.
    void openKeypad();
    // What OK of the keypad does: the entry is read as on leaving the field.
    void takeKeypadEntry(const std::string& entry);
    // Reads what the operator typed, as on leaving the field (Enter, focus out, a dialog's OK).
    void commit();

    void stepBy(int steps) override;

signals:
    // The operator changed the value: spin, wheel, keypad, or typing followed by leaving.
    void valueEdited();
    // Leaving the field clamped the typed value, or kept the previous one for a text that is
    // no number. The field also shows the notice beside itself for a moment. Only a field with
    // a name tells.
    void notice(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The core field behind the widget.
    virtual std::string fieldText() const = 0;
    virtual void setFieldText(std::string text) = 0;
    virtual LeaveOutcome leaveField() = 0;
    virtual std::pair<std::string, std::string> rangeTexts() const = 0;
    virtual bool spinField(bool up) = 0;
    virtual char separator() const = 0;
    virtual bool fieldReadOnly() const = 0;
    // Only TFltEditU refuses characters a number cannot hold.
    virtual bool filtersTyping() const { return false; }

    // Puts the core field's text into the line edit.
    void showField();

    std::string m_fieldName;
    FieldCheckTexts m_checkTexts;

private:
    // Reads the text as on leaving the field and tells what became of it.
    void takeText(const std::string& text);

    bool m_bigNumPad = false;
    bool m_singleClick = false;
    KeypadTexts m_keypadTexts;
};

// The spin box over one core field, plain or length: the widget's hooks go to the field.
template <typename Field>
class FieldSpinBox : public NumericSpinBox {
public:
    FieldSpinBox(const typename Field::Settings& settings, QWidget* parent) : NumericSpinBox(parent), m_field(settings) {}
    const typename Field::Settings& settings() const { return m_field.settings(); }

protected:
    std::string fieldText() const override { return m_field.text(); }
    void setFieldText(std::string text) override { m_field.setText(std::move(text)); }
    LeaveOutcome leaveField() override { return m_field.leave(); }
    std::pair<std::string, std::string> rangeTexts() const override { return m_field.rangeTexts(); }
    bool spinField(bool up) override { return m_field.spin(up); }
    char separator() const override { return m_field.settings().separator; }
    bool fieldReadOnly() const override { return m_field.settings().readOnly; }

    Field m_field;
};

// The plain field of the configuration dialog.
class TFloatEdit : public FieldSpinBox<NumberField> {
    Q_OBJECT
public:
    explicit TFloatEdit(const NumberField::Settings& settings, QWidget* parent = nullptr);
    double GetValue() const;
    void SetValue(double value);
    void setRange(double minValue, double maxValue);
};

// The plain field of the other dialogs; its name is used in its validation messages.
class TFltEdit : public TFloatEdit {
    Q_OBJECT
public:
    explicit TFltEdit(const NumberField::Settings& settings, QWidget* parent = nullptr);

    // Where the validation messages go; without a host they open a message box of their own.
    void setHost(Host* host) { m_host = host; }

    // Each shows the field's message with the error icon and gives the field the focus when
    // the value is not acceptable.
    bool ValueInRange();
    bool IntegerInRange();

private:
    bool report(bool ok, const std::string& message);

    Host* m_host = nullptr;
};

// A length field: holds millimetres, shows them in its display unit. settings.family tells
// TFloatEditU from TFltEditU.
class TFloatEditU : public FieldSpinBox<LengthField> {
    Q_OBJECT
public:
    explicit TFloatEditU(const LengthField::Settings& settings, QWidget* parent = nullptr);
    double GetValue() const;  // millimetres
    void SetValue(double millimetres);
    void setUnit(int displayUnit);
    void setRange(double minMillimetres, double maxMillimetres);
    int unit() const { return m_field.unit(); }
};

class TFltEditU : public TFloatEditU {
    Q_OBJECT
public:
    explicit TFltEditU(const LengthField::Settings& settings, QWidget* parent = nullptr);

protected:
    bool filtersTyping() const override { return true; }
};

}  // namespace kerfline::ui
