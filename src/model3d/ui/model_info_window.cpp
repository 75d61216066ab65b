#include "model3d/ui/model_info_window.h"

#include "model3d/model_info.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "base/ui/text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace kerfline::ui {

TfModelInfo::TfModelInfo(AppContext& context, const model3d::TModel& model, QWidget* parent) : QDialog(parent)
{
    const model3d::ModelInfoTexts texts = model3d::modelInfoTexts(model, context.configuration.displayUnit,
                                                                  context.language);
    const auto text = [&](const char* key) { return qs(context.Text("ModelInfo", key)); };
    setWindowTitle(text("caption"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    const auto addRow = [&](const QString& caption, const std::string& value, const QString& unit) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto* label = new QLabel(qs(value), this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, row, 1);
        grid->addWidget(new QLabel(unit, this), row, 2);
        ++row;
        return label;
    };
    const QString unit = qs(texts.unit);
    lZrodlo = addRow(text("lZrodlo.Caption"), texts.source, QString());
    lZrodlo->setToolTip(qs(texts.sourceHint));
    lRozmiar = addRow(text("lRozmiar.Caption"), texts.size, QString());
    lSzerokoscX = addRow(text("lSzerokoscX.Caption"), texts.width, unit);
    lDlugoscY = addRow(text("lDlugoscY.Caption"), texts.length, unit);
    lWysokoscZ = addRow(text("lWysokoscZ.Caption"), texts.height, unit);
    addRow(QStringLiteral("min X"), texts.minX, unit);
    addRow(QStringLiteral("max X"), texts.maxX, unit);
    addRow(QStringLiteral("min Y"), texts.minY, unit);
    addRow(QStringLiteral("max Y"), texts.maxY, unit);
    addRow(QStringLiteral("min Z"), texts.minZ, unit);
    addRow(QStringLiteral("max Z"), texts.maxZ, unit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, row, 0, 1, 3);
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
}

}  // namespace kerfline::ui
