#include "aids/ui/kerf_calibration_dialog.h"

#include "aids/display_length.h"
#include "aids/kerf_calibration.h"
#include "config/number_text.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "base/ui/text.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

QDoubleSpinBox* sizeField(double nominal, const char* name, QWidget* parent)
{
    auto* field = new QDoubleSpinBox(parent);
    field->setObjectName(name);
    field->setDecimals(2);
    field->setSingleStep(0.01);
    field->setRange(0.0, 2 * kCalibrationOuterMm);
    field->setSuffix(" mm");
    field->setValue(nominal);
    return field;
}

}  // namespace

KerfCalibrationDialog::KerfCalibrationDialog(AppContext& context, std::function<void()> openPiece, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName("KerfCalibration");
    setWindowTitle(qs(context.Text("Kerf_calibration", "Caption")));
    const char separator = context.decimalSeparator;

    auto* description = new QLabel(
        qs(formatText(context.Text("Kerf_calibration", "opis"),
                      {formatFixed(kCalibrationOuterMm, 0, separator), formatFixed(kCalibrationInnerMm, 0, separator),
                       formatFixed(kCalibrationSlotMm, 0, separator)})),
        this);
    description->setWordWrap(true);
    description->setMinimumWidth(380);

    auto* open = new QPushButton(qs(context.Text("Kerf_calibration", "btnProbka.caption")), this);
    open->setObjectName("btnProbka");
    connect(open, &QPushButton::clicked, this, [openPiece = std::move(openPiece)] {
        if (openPiece)
            openPiece();
    });

    m_outer = sizeField(kCalibrationOuterMm, "feZewnetrzny", this);
    m_inner = sizeField(kCalibrationInnerMm, "feWewnetrzny", this);
    auto* form = new QFormLayout;
    form->addRow(qs(context.Text("Kerf_calibration", "lZewnetrzny.caption")), m_outer);
    form->addRow(qs(context.Text("Kerf_calibration", "lWewnetrzny.caption")), m_inner);
    m_result = new QLabel(this);
    m_result->setObjectName("lWynik");
    m_result->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(qs(context.Text("Kerf_calibration", "OK.caption")), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName("OK");
    QPushButton* cancel =
        buttons->addButton(qs(context.Text("Kerf_calibration", "cancel.caption")), QDialogButtonBox::RejectRole);
    cancel->setObjectName("cancel");
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        store();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(description);
    layout->addWidget(open, 0, Qt::AlignLeft);
    layout->addLayout(form);
    layout->addWidget(m_result);
    layout->addWidget(buttons);

    for (QDoubleSpinBox* field : {m_outer, m_inner})
        connect(field, &QDoubleSpinBox::valueChanged, this, &KerfCalibrationDialog::updateResult);
    updateResult();
}

void KerfCalibrationDialog::updateResult()
{
    const char separator = m_context.decimalSeparator;
    const int unit = m_context.configuration.displayUnit;
    const auto measured = kerfFromMeasurement(m_outer->value(), m_inner->value());
    m_ok->setEnabled(measured.has_value());
    if (!measured) {
        m_result->setText(qs(formatText(m_context.Text("Kerf_calibration", "pomiarNiepoprawny"),
                                        {formatFixed(kCalibrationOuterMm, 0, separator),
                                         formatFixed(kCalibrationInnerMm, 0, separator)})));
        return;
    }
    const auto shown = [&](double mm) { return lengthWithUnit(mm, unit == UnitMillimetre ? 2 : 3, unit, separator); };
    m_result->setText(qs(formatText(m_context.Text("Kerf_calibration", "wynik"),
                                    {shown(measured->fromOuter), shown(measured->fromInner), shown(measured->kerf)})));
}

void KerfCalibrationDialog::store()
{
    if (const auto measured = kerfFromMeasurement(m_outer->value(), m_inner->value()))
        m_context.configuration.setNumber(Param::kerf, measured->kerf);
}

}  // namespace kerfline::ui
