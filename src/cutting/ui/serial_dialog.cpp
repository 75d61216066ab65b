#include "cutting/ui/serial_dialog.h"

#include "base/app_context.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"
#include "config/configuration.h"
#include "config/dialog_rules.h"
#include "config/field_validation.h"
#include "config/numpad_entry.h"
#include "config/ui/numeric_edit.h"
#include "cutting/job_state.h"
#include "cutting/serial_answers.h"
#include "machine/machine_state.h"
#include "project/tmdichild.h"

#include <QAbstractItemDelegate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace kerfline::ui {
namespace {

constexpr int kFileColumn = 0;
constexpr int kAngleColumn = 1;
constexpr double kMostRepetitions = 999999;
constexpr double kLargestShift = 9999999;

}  // namespace

TfDlgSeryjne::TfDlgSeryjne(AppContext& context, std::vector<TMDIChild*> windows, QWidget* parent)
    : QDialog(parent), m_context(context), m_windows(std::move(windows))
{
    setObjectName(QStringLiteral("fDlgSeryjne"));
    setWindowTitle(qs(context.Text("Serial_cut", "fDlgSeryjne.caption")));
    const SerialRepetition& repetition = context.job.serialRepetition;

    auto* layout = new QVBoxLayout(this);
    sgKatyObrotu = new QTableWidget(0, 2, this);
    sgKatyObrotu->setObjectName(QStringLiteral("sgKatyObrotu"));
    sgKatyObrotu->setHorizontalHeaderLabels(
        {qs(context.Text("Serial_cut", "plik")), qs(context.Text("Serial_cut", "kat"))});
    sgKatyObrotu->verticalHeader()->setVisible(true);
    sgKatyObrotu->setColumnWidth(kFileColumn, 200);
    sgKatyObrotu->setColumnWidth(kAngleColumn, 50);
    sgKatyObrotu->horizontalHeader()->setStretchLastSection(true);
    sgKatyObrotu->setSelectionMode(QAbstractItemView::SingleSelection);
    // Typing into a cell edits it, as a double click or F2 does.
    sgKatyObrotu->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed);
    sgKatyObrotu->setMinimumWidth(300);
    // Enter ends the edit of an angle and goes on to the next row's.
    connect(sgKatyObrotu->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                const int row = sgKatyObrotu->currentRow();
                if (hint == QAbstractItemDelegate::SubmitModelCache && row + 1 < sgKatyObrotu->rowCount())
                    sgKatyObrotu->setCurrentCell(row + 1, kAngleColumn);
            });
    layout->addWidget(sgKatyObrotu, 1);

    NumberField::Settings count;
    count.format = {FloatFormat::ffFixed, 15, 0};
    count.separator = context.decimalSeparator;
    count.MinValue = 0;
    count.MaxValue = kMostRepetitions;
    felloscPowtorzenSer = new TFltEdit(count, this);
    felloscPowtorzenSer->setObjectName(QStringLiteral("felloscPowtorzenSer"));
    felloscPowtorzenSer->setLanguage(context.language);
    felloscPowtorzenSer->SetValue(repetition.remaining);

    feuY_Przesuniecie = new TFltEditU(
        LengthField::displayLength(context.configuration.displayUnit, context.decimalSeparator, 0, kLargestShift), this);
    feuY_Przesuniecie->setObjectName(QStringLiteral("feuY_Przesuniecie"));
    feuY_Przesuniecie->setLanguage(context.language);
    feuY_Przesuniecie->SetValue(repetition.shiftMm);

    auto* fields = new QGridLayout;
    auto* repetitions = new QLabel(qs(context.Text("Serial_cut", "lIloscPowtorzenSer.caption")), this);
    repetitions->setObjectName(QStringLiteral("lIloscPowtorzenSer"));
    repetitions->setBuddy(felloscPowtorzenSer);
    auto* times = new QLabel(qs(context.Text("Serial_cut", "lIloscPowtorzenSerRazy.caption")), this);
    times->setObjectName(QStringLiteral("lIloscPowtorzenSerRazy"));
    auto* shift = new QLabel(qs(context.Text("Serial_cut", "lPrzesuniecie.caption")), this);
    shift->setObjectName(QStringLiteral("lPrzesuniecie"));
    shift->setBuddy(feuY_Przesuniecie);
    lPrzesuniecieUnit =
        new QLabel(qs("[" + std::string(unitText(context.configuration.displayUnit)) + "]"), this);
    lPrzesuniecieUnit->setObjectName(QStringLiteral("lPrzesuniecieUnit"));
    fields->addWidget(repetitions, 0, 0);
    fields->addWidget(felloscPowtorzenSer, 0, 1);
    fields->addWidget(times, 0, 2);
    fields->addWidget(shift, 1, 0);
    fields->addWidget(feuY_Przesuniecie, 1, 1);
    fields->addWidget(lPrzesuniecieUnit, 1, 2);
    layout->addLayout(fields);

    btnFolder = dialogButton(this, "btnFolder");
    btnFolder->setText(qs(context.Text("Serial_cut", "btnFolder.caption")));
    btnFolder->setVisible(false);
    btnParDomyslne = dialogButton(this, "btnParDomyslne");
    btnParDomyslne->setText(qs(context.Text("Duplication_parameters", "btnParDomyslne.Caption")));
    btnZatwierdz = dialogButton(this, "btnZatwierdz");
    btnZatwierdz->setText(qs(context.Text("Duplication_parameters", "btnZatwierdz.Caption")));
    btnZatwierdz->setDefault(true);
    btnAnuluj = dialogButton(this, "btnAnuluj");
    btnAnuluj->setText(qs(context.Text("Duplication_parameters", "btnAnuluj.Caption")));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnFolder);
    buttons->addWidget(btnParDomyslne);
    buttons->addStretch(1);
    buttons->addWidget(btnZatwierdz);
    buttons->addWidget(btnAnuluj);
    layout->addLayout(buttons);

    connect(btnFolder, &QPushButton::clicked, this, [this] { btnFolderClick(); });
    connect(btnParDomyslne, &QPushButton::clicked, this, [this] { btnParDomyslneClick(); });
    connect(btnZatwierdz, &QPushButton::clicked, this, [this] { btnZatwierdzClick(); });
    connect(btnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    fillRows();
}

void TfDlgSeryjne::setChooseFolder(std::function<std::optional<std::vector<TMDIChild*>>()> chooseFolder)
{
    m_chooseFolder = std::move(chooseFolder);
    btnFolder->setVisible(static_cast<bool>(m_chooseFolder));
}

void TfDlgSeryjne::fillRows()
{
    const QString angle = qs(serialDefaultAngle(m_windows.size(), m_context.decimalSeparator));
    sgKatyObrotu->setRowCount(static_cast<int>(m_windows.size()));
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        const int row = static_cast<int>(i);
        auto* file = new QTableWidgetItem(qs(std::filesystem::path(m_windows[i]->fileName).filename().string()));
        file->setFlags(file->flags() & ~Qt::ItemIsEditable);
        sgKatyObrotu->setItem(row, kFileColumn, file);
        sgKatyObrotu->setItem(row, kAngleColumn, new QTableWidgetItem(angle));
    }
    if (!m_windows.empty())
        sgKatyObrotu->setCurrentCell(0, kAngleColumn);
    // A series of no designs has nothing to confirm.
    btnZatwierdz->setEnabled(!m_windows.empty());
}

void TfDlgSeryjne::btnParDomyslneClick()
{
    const QString angle = qs(serialDefaultAngle(m_windows.size(), m_context.decimalSeparator));
    for (int row = 0; row < sgKatyObrotu->rowCount(); ++row)
        sgKatyObrotu->item(row, kAngleColumn)->setText(angle);
}

void TfDlgSeryjne::btnFolderClick()
{
    if (!m_chooseFolder)
        return;
    if (auto windows = m_chooseFolder()) {
        m_windows = std::move(*windows);
        fillRows();
    }
}

void TfDlgSeryjne::btnZatwierdzClick()
{
    felloscPowtorzenSer->commit();
    feuY_Przesuniecie->commit();
    SerialAnswers answers;
    for (int row = 0; row < sgKatyObrotu->rowCount(); ++row)
        answers.angles.push_back(ss(sgKatyObrotu->item(row, kAngleColumn)->text()));
    answers.repetitions = felloscPowtorzenSer->GetValue();
    answers.shiftMm = feuY_Przesuniecie->GetValue();
    answers.decimalSeparator = m_context.decimalSeparator;
    if (readStatus)
        readStatus();
    const SerialAnswersCheck check =
        applySerialAnswers(answers, m_windows, m_context.job.serialRepetition, m_context.machine.product,
                           m_context.configuration.number(Param::Ystolika));
    if (check.ok()) {
        accept();
        return;
    }
    m_context.language.ShowMessageBox(serialAnswersMessage(check, m_context.language), true);
    if (check.fault == SerialAnswersCheck::Fault::Angle) {
        sgKatyObrotu->setCurrentCell(static_cast<int>(check.row), kAngleColumn);
        sgKatyObrotu->setFocus();
    } else {
        felloscPowtorzenSer->setFocus();
    }
}

}  // namespace kerfline::ui
