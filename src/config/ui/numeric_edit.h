#pragma once

#include "config/numeric_field.h"

#include <QAbstractSpinBox>

namespace kerfline::ui {

// The numeric fields as widgets over the value logic of numeric_field.h: spin buttons, mouse
// wheel, the typing filter, leaving the field, and the keypad on a (double) click.
class TFloatEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TFloatEdit(const NumberField::Settings& settings, QWidget* parent = nullptr);
    double GetValue() const;
    void SetValue(double value);

private:
    NumberField m_field;
};

// The plain field of the other dialogs; its name is used in its validation messages.
class TFltEdit : public TFloatEdit {
    Q_OBJECT
public:
    explicit TFltEdit(const NumberField::Settings& settings, QWidget* parent = nullptr);
};

// A length field: holds millimetres, shows them in its display unit. settings.family tells
// TFloatEditU from TFltEditU.
class TFloatEditU : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TFloatEditU(const LengthField::Settings& settings, QWidget* parent = nullptr);
    double GetValue() const;  // millimetres
    void SetValue(double millimetres);
    void setUnit(int displayUnit);

private:
    LengthField m_field;
};

class TFltEditU : public TFloatEditU {
    Q_OBJECT
public:
    explicit TFltEditU(const LengthField::Settings& settings, QWidget* parent = nullptr);
};

}  // namespace kerfline::ui
