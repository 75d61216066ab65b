#include "config/ui/numeric_edit.h"

namespace kerfline::ui {

TFloatEdit::TFloatEdit(const NumberField::Settings& settings, QWidget* parent)
    : QAbstractSpinBox(parent), m_field(settings)
{
}
double TFloatEdit::GetValue() const { return m_field.GetValue(); }
void TFloatEdit::SetValue(double value) { m_field.SetValue(value); }

TFltEdit::TFltEdit(const NumberField::Settings& settings, QWidget* parent) : TFloatEdit(settings, parent) {}

TFloatEditU::TFloatEditU(const LengthField::Settings& settings, QWidget* parent)
    : QAbstractSpinBox(parent), m_field(settings)
{
}
double TFloatEditU::GetValue() const { return m_field.GetValue(); }
void TFloatEditU::SetValue(double millimetres) { m_field.SetValue(millimetres); }
void TFloatEditU::setUnit(int displayUnit) { m_field.setUnit(displayUnit); }

TFltEditU::TFltEditU(const LengthField::Settings& settings, QWidget* parent) : TFloatEditU(settings, parent) {}

}  // namespace kerfline::ui
