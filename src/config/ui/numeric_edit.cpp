#include "config/ui/numeric_edit.h"

#include "config/field_validation.h"
#include "config/ui/numpad_form.h"
#include "base/host.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace kerfline::ui {
namespace {

// How long a field's notice stays beside it.
constexpr int kNoticeMs = 5000;

}  // namespace

NumericSpinBox::NumericSpinBox(QWidget* parent) : QAbstractSpinBox(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFocusPolicy(Qt::WheelFocus);
    lineEdit()->installEventFilter(this);
}

std::string fieldNameFromCaption(std::string caption)
{
    std::string name;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&')
            continue;  // the accelerator's mark; "&&" is an ampersand
        name += caption[i] == '\n' ? ' ' : caption[i];
        if (caption[i] == '&')
            ++i;
    }
    if (const auto bracket = name.find(" ["); bracket != std::string::npos)
        name.erase(bracket);
    while (!name.empty() && (name.back() == ':' || name.back() == '=' || name.back() == ' '))
        name.pop_back();
    return name;
}

std::string NumericSpinBox::fieldName() const
{
    if (!m_fieldName.empty())
        return m_fieldName;
    for (const QLabel* label : window()->findChildren<QLabel*>())
        if (label->buddy() == this)
            return fieldNameFromCaption(ss(label->text()));
    return {};
}

void NumericSpinBox::setLanguage(const tInterfejs& language)
{
    m_keypadTexts = kerfline::keypadTexts(language);
    m_checkTexts = fieldCheckTexts(language);
}

void NumericSpinBox::showField()
{
    lineEdit()->setText(qs(fieldText()));
}

void NumericSpinBox::commit()
{
    const std::string typed = ss(lineEdit()->text());
    // Leaving an untouched field must not round its value to the decimals it shows.
    if (typed == fieldText())
        return;
    takeText(typed);
}

void NumericSpinBox::takeKeypadEntry(const std::string& entry)
{
    takeText(entry);
}

void NumericSpinBox::takeText(const std::string& text)
{
    setFieldText(text);
    const LeaveOutcome outcome = leaveField();
    showField();
    // Only a field with a name can say which field it speaks of.
    const std::string name = fieldName();
    const std::string message =
        name.empty() ? std::string() : leaveNotice(outcome, name, rangeTexts(), m_checkTexts);
    if (!message.empty()) {
        // Beside the field, for a moment: a modal box here would fight the focus change that
        // brought the operator out of the field.
        const QString text = qs(message);
        QToolTip::showText(mapToGlobal(QPoint(0, height())), text, this, QRect(), kNoticeMs);
        emit notice(text);
    }
    if (outcome == LeaveOutcome::Taken || outcome == LeaveOutcome::Clamped)
        emit valueEdited();
}

void NumericSpinBox::openKeypad()
{
    if (!isEnabled() || fieldReadOnly())
        return;
    TNumPadForm keypad(separator(), m_bigNumPad, m_keypadTexts, this);
    keypad.placeAt(mapToGlobal(QPoint(0, 0)));
    if (keypad.exec() == QDialog::Accepted)
        takeKeypadEntry(keypad.entry());
}

void NumericSpinBox::stepBy(int steps)
{
    const std::string typed = ss(lineEdit()->text());
    if (typed != fieldText())
        setFieldText(typed);
    const bool up = steps > 0;
    for (int i = 0; i < (steps > 0 ? steps : -steps); ++i) {
        if (!spinField(up)) {
            QApplication::beep();
            return;
        }
    }
    showField();
    emit valueEdited();
}

QAbstractSpinBox::StepEnabled NumericSpinBox::stepEnabled() const
{
    // Both ways always: a read-only field answers a spin with a beep rather than grey buttons.
    return StepUpEnabled | StepDownEnabled;
}

void NumericSpinBox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || !isEnabled()) {
        event->ignore();
        return;
    }
    // The fields' own convention: turning the wheel towards the operator raises the value.
    stepBy(delta > 0 ? -1 : 1);
    event->accept();
}

void NumericSpinBox::focusOutEvent(QFocusEvent* event)
{
    commit();
    QAbstractSpinBox::focusOutEvent(event);
}

void NumericSpinBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        // The base ignores Enter afterwards, so the dialog's default button still gets it.
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (filtersTyping() && text.size() == 1) {
        const QChar typed = text.at(0);
        const bool keypadDecimal =
            (event->modifiers() & Qt::KeypadModifier) != 0 && (typed == QLatin1Char('.') || typed == QLatin1Char(','));
        // Characters beyond ASCII are never part of a number: they meet the filter as a letter.
        const char c = typed.unicode() < 0x80 ? static_cast<char>(typed.unicode()) : 'x';
        const TypedCharacter result =
            filterTypedCharacter(c, keypadDecimal, isEnabled() && !fieldReadOnly(), separator());
        if (!result.accepted) {
            if (result.beep)
                QApplication::beep();
            event->accept();
            return;
        }
        if (result.character != c) {
            lineEdit()->insert(QString(QChar(result.character)));
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

bool NumericSpinBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && isEnabled() && !fieldReadOnly()) {
        const bool doubleClick = event->type() == QEvent::MouseButtonDblClick;
        const bool press = event->type() == QEvent::MouseButtonPress &&
                           static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if ((doubleClick && !m_singleClick) || (press && m_singleClick)) {
            openKeypad();
            return true;
        }
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

TFloatEdit::TFloatEdit(const NumberField::Settings& settings, QWidget* parent)
    : FieldSpinBox(settings, parent)
{
    lineEdit()->setReadOnly(settings.readOnly);
    showField();
}

double TFloatEdit::GetValue() const
{
    // What the operator sees is what counts, typed or not.
    NumberField reading = m_field;
    reading.setText(ss(lineEdit()->text()));
    return reading.GetValue();
}

void TFloatEdit::SetValue(double value)
{
    m_field.SetValue(value);
    showField();
}

void TFloatEdit::setRange(double minValue, double maxValue)
{
    m_field.setRange(minValue, maxValue);
    showField();
}

TFltEdit::TFltEdit(const NumberField::Settings& settings, QWidget* parent) : TFloatEdit(settings, parent) {}

namespace {

FieldNumbers fieldNumbers(char decimalSeparator)
{
    FieldNumbers numbers;
    numbers.decimalSeparator = decimalSeparator;
    numbers.thousandsSeparator = ss(QLocale().groupSeparator());
    if (numbers.thousandsSeparator.empty() || numbers.thousandsSeparator == std::string(1, decimalSeparator))
        numbers.thousandsSeparator = decimalSeparator == ',' ? " " : ",";
    return numbers;
}

}  // namespace

bool TFltEdit::report(bool ok, const std::string& message)
{
    if (ok)
        return true;
    const std::string& caption = m_checkTexts.caption;
    if (m_host != nullptr)
        m_host->showMessage(message, true, caption);
    else
        QMessageBox::critical(this, qs(caption), qs(message));
    setFocus();
    return false;
}

bool TFltEdit::ValueInRange()
{
    const FieldCheck check = checkValueInRange(ss(lineEdit()->text()), GetValue(), fieldName(), settings().MinValue,
                                               settings().MaxValue, fieldNumbers(separator()), m_checkTexts);
    return report(check.ok, check.message);
}

bool TFltEdit::IntegerInRange()
{
    const FieldCheck check = checkIntegerInRange(ss(lineEdit()->text()), GetValue(), fieldName(),
                                                 settings().MinValue, settings().MaxValue, fieldNumbers(separator()),
                                                 m_checkTexts);
    return report(check.ok, check.message);
}

TFloatEditU::TFloatEditU(const LengthField::Settings& settings, QWidget* parent)
    : FieldSpinBox(settings, parent)
{
    lineEdit()->setReadOnly(settings.readOnly);
    showField();
}

double TFloatEditU::GetValue() const
{
    // TFloatEditU answers its stored millimetres, TFltEditU reads its text: the core knows which.
    LengthField reading = m_field;
    reading.setText(ss(lineEdit()->text()));
    return reading.GetValue();
}

void TFloatEditU::SetValue(double millimetres)
{
    m_field.SetValue(millimetres);
    showField();
}

void TFloatEditU::setUnit(int displayUnit)
{
    m_field.setUnit(displayUnit);
    showField();
}

void TFloatEditU::setRange(double minMillimetres, double maxMillimetres)
{
    m_field.setRange(minMillimetres, maxMillimetres);
    showField();
}

TFltEditU::TFltEditU(const LengthField::Settings& settings, QWidget* parent) : TFloatEditU(settings, parent) {}

}  // namespace kerfline::ui
