#include "aids/ui/barcode_browser.h"

#include "aids/barcode_project.h"
#include "aids/barcode_sheet.h"
#include "aids/label_port.h"
#include "aids/ui/barcode_sheet_pdf.h"
#include "aids/ui/barcode_symbol.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "base/ui/text.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>
#include <filesystem>
#include <memory>

namespace kerfline::ui {
namespace {

std::string directoryOfPath(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace

TfBarCodDlg::TfBarCodDlg(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName("fBarCodDlg");
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    const auto text = [&](const char* key) { return qs(context.Text("Barcode_projects", key)); };
    setWindowTitle(text("Caption"));

    openDialog = [this](const std::string& title, const std::string& directory,
                        const QString& filter) -> std::optional<std::string> {
        const QString file = QFileDialog::getOpenFileName(this, qs(title), qs(directory), filter);
        return file.isEmpty() ? std::nullopt : std::optional(ss(file));
    };
    pdfDialog = [this](const std::string& title, const std::string& initialName) -> std::optional<std::string> {
        const QString file = QFileDialog::getSaveFileName(this, qs(title), qs(initialName), QStringLiteral("PDF (*.pdf)"));
        return file.isEmpty() ? std::nullopt : std::optional(ss(file));
    };

    // The stored numbers.
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(text("lKody"), this));
    m_codes = new QListWidget(this);
    m_codes->setObjectName("lbKodyKreskowe");
    m_codes->installEventFilter(this);
    left->addWidget(m_codes);

    // The selected project.
    auto* right = new QVBoxLayout;
    m_image = new BarcodeImage(this);
    m_image->setMinimumSize(m_image->sizeHint());
    right->addWidget(m_image, 0, Qt::AlignHCenter);

    right->addWidget(new QLabel(text("lKonfig"), this));
    auto* configRow = new QHBoxLayout;
    m_config = new QLineEdit(this);
    m_config->setObjectName("eKonfig");
    m_chooseConfig = new QToolButton(this);
    m_chooseConfig->setObjectName("sbPobierzSciezkeKonfiga");
    m_chooseConfig->setText(QStringLiteral("..."));
    configRow->addWidget(m_config);
    configRow->addWidget(m_chooseConfig);
    right->addLayout(configRow);

    right->addWidget(new QLabel(text("lProjekty"), this));
    auto* designRow = new QHBoxLayout;
    m_designs = new QListWidget(this);
    m_designs->setObjectName("lbProjekty");
    m_designs->setMaximumHeight(110);
    auto* designButtons = new QVBoxLayout;
    m_addDesign = new QToolButton(this);
    m_addDesign->setObjectName("sbDodajProjekt");
    m_addDesign->setText(QStringLiteral("+"));
    m_removeDesign = new QToolButton(this);
    m_removeDesign->setObjectName("sbUsunProjekt");
    m_removeDesign->setText(QStringLiteral("-"));
    designButtons->addWidget(m_addDesign);
    designButtons->addWidget(m_removeDesign);
    designButtons->addStretch();
    designRow->addWidget(m_designs);
    designRow->addLayout(designButtons);
    right->addLayout(designRow);

    auto* defaults = new QGroupBox(text("lEtykietaDomyslna"), this);
    auto* defaultsLayout = new QVBoxLayout(defaults);
    for (std::size_t i = 0; i < m_defaultLines.size(); ++i) {
        m_defaultLines[i] = new QLineEdit(defaults);
        m_defaultLines[i]->setObjectName(QStringLiteral("eEtykietaDomyslna%1").arg(i + 1));
        m_defaultLines[i]->setReadOnly(true);
        defaultsLayout->addWidget(m_defaultLines[i]);
    }
    right->addWidget(defaults);
    auto* own = new QGroupBox(text("lEtykieta"), this);
    auto* ownLayout = new QVBoxLayout(own);
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i] = new QLineEdit(own);
        m_lines[i]->setObjectName(QStringLiteral("eEtykieta%1").arg(i + 1));
        ownLayout->addWidget(m_lines[i]);
        connect(m_lines[i], &QLineEdit::textEdited, this, [this] { edited(); });
    }
    right->addWidget(own);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name) {
        auto* b = new QPushButton(text(name), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    m_printSheet = button("btnDrukujPelneInfo");
    m_printLabel = button("btnDrukujEtykiete");
    m_delete = button("btnUsunPlik");
    buttons->addStretch();
    m_save = button("btnZapisz");
    QPushButton* cancel = button("btnAnuluj");

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    connect(m_codes, &QListWidget::currentRowChanged, this, [this] { selectionChanged(); });
    connect(m_config, &QLineEdit::textEdited, this, [this] { edited(); });
    connect(m_chooseConfig, &QToolButton::clicked, this, [this] { sbPobierzSciezkeKonfigaClick(); });
    connect(m_addDesign, &QToolButton::clicked, this, [this] { sbDodajProjektClick(); });
    connect(m_removeDesign, &QToolButton::clicked, this, [this] { sbUsunProjektClick(); });
    connect(m_save, &QPushButton::clicked, this, [this] { btnZapiszClick(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { btnUsunPlikClick(); });
    connect(m_printLabel, &QPushButton::clicked, this, [this] { btnDrukujEtykieteClick(); });
    connect(m_printSheet, &QPushButton::clicked, this, [this] { btnDrukujPelneInfoClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    enableButtons();
}

int TfBarCodDlg::ShowBrowser(const std::string& number)
{
    refill(number);
    return exec();
}

void TfBarCodDlg::refill(const std::string& number)
{
    m_filling = true;
    m_codes->clear();
    for (const std::string& code : barcodeNumbers(m_context.dataDirectory))
        m_codes->addItem(qs(code));
    m_filling = false;
    const auto found = m_codes->findItems(qs(number), Qt::MatchExactly);
    m_codes->setCurrentRow(number.empty() || found.isEmpty() ? -1 : m_codes->row(found.front()));
    selectionChanged();
}

std::string TfBarCodDlg::selectedNumber() const
{
    const QListWidgetItem* item = m_codes->currentItem();
    return item != nullptr && m_codes->currentRow() >= 0 ? ss(item->text()) : std::string();
}

void TfBarCodDlg::selectionChanged()
{
    if (m_filling)
        return;
    m_config->clear();
    m_designs->clear();
    for (QLineEdit* line : m_lines)
        line->clear();
    const std::string number = selectedNumber();
    m_image->setCode(number);
    if (!number.empty()) {
        if (const auto project = readBarcodeProject(barcodeProjectPath(m_context.dataDirectory, number))) {
            m_config->setText(qs(project->configFileName));
            for (const std::string& design : project->designs)
                m_designs->addItem(qs(design));
            for (std::size_t i = 0; i < m_lines.size(); ++i)
                m_lines[i]->setText(qs(project->labelLines[i]));
        }
    }
    showDefaultLines();
    m_save->setEnabled(false);
    enableButtons();
}

void TfBarCodDlg::showDefaultLines()
{
    const DefaultLabelLines lines = defaultLabelLines(ss(m_config->text()), m_context.language);
    for (std::size_t i = 0; i < lines.size(); ++i)
        m_defaultLines[i]->setText(qs(lines[i]));
}

void TfBarCodDlg::enableButtons()
{
    const bool selected = !selectedNumber().empty();
    for (QWidget* w : std::initializer_list<QWidget*>{m_delete, m_printLabel, m_printSheet, m_addDesign, m_removeDesign,
                                                      m_chooseConfig})
        w->setEnabled(selected);
    if (!selected)
        m_save->setEnabled(false);
}

void TfBarCodDlg::edited()
{
    if (!selectedNumber().empty())
        m_save->setEnabled(true);
}

DefaultLabelLines TfBarCodDlg::defaultLines() const
{
    DefaultLabelLines lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = ss(m_defaultLines[i]->text());
    return lines;
}

OperatorLabelLines TfBarCodDlg::operatorLines() const
{
    OperatorLabelLines lines;
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i] = ss(m_lines[i]->text());
    return lines;
}

std::vector<std::string> TfBarCodDlg::designs() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < m_designs->count(); ++i)
        paths.push_back(ss(m_designs->item(i)->text()));
    return paths;
}

void TfBarCodDlg::btnZapiszClick()
{
    const std::string number = selectedNumber();
    if (number.empty())
        return;
    BarcodeProject project;
    project.configFileName = ss(m_config->text());
    project.designs = designs();
    project.labelLines = operatorLines();
    const std::string path = barcodeProjectPath(m_context.dataDirectory, number);
    if (!saveBarcodeProject(path, project, true)) {
        m_context.language.ShowMessageBox(
            formatText(m_context.Text("Barcode_projects", "bladZapisuKodu"), {path}), true);
        return;
    }
    m_save->setEnabled(false);
}

void TfBarCodDlg::btnUsunPlikClick()
{
    const std::string number = selectedNumber();
    if (number.empty())
        return;
    deleteBarcodeProject(m_context.dataDirectory, number, m_context.language);
    refill({});
}

void TfBarCodDlg::btnDrukujEtykieteClick()
{
    const std::string number = selectedNumber();
    if (number.empty())
        return;
    const std::string port = labelPort(m_context.commandLine);
    const int error = writeToLabelPort(port, labelBytes(number, defaultLines(), operatorLines(), 1));
    if (error != 0)
        m_context.language.ShowMessageBox(
            formatText(m_context.Text("Barcode_projects", "bladDrukowania"), {port, std::strerror(error)}), true);
}

void TfBarCodDlg::btnDrukujPelneInfoClick()
{
    const std::string number = selectedNumber();
    if (number.empty())
        return;
    const auto path = pdfDialog(m_context.Text("Barcode_projects", "zapiszPdf"), m_context.dataDirectory + number + ".pdf");
    if (!path)
        return;
    if (!printBarcodeSheet(barcodeSheet(number, defaultLines(), operatorLines(), designs(), m_context.language), *path))
        m_context.language.ShowMessageBox(formatText(m_context.Text("Barcode_projects", "bladDrukuA4"), {*path}), true);
}

void TfBarCodDlg::sbDodajProjektClick()
{
    const auto path = openDialog(m_context.Text("Main_window", "otworz"),
                                 m_context.configuration.settings.lastOpenDir,
                                 QStringLiteral("Hpgl (*.plt);;DXF (*.dxf)"));
    if (!path)
        return;
    m_designs->addItem(qs(*path));
    edited();
}

void TfBarCodDlg::sbUsunProjektClick()
{
    if (QListWidgetItem* item = m_designs->currentItem()) {
        std::unique_ptr<QListWidgetItem> removed(m_designs->takeItem(m_designs->row(item)));
        edited();
    }
}

void TfBarCodDlg::sbPobierzSciezkeKonfigaClick()
{
    const std::string current = ss(m_config->text());
    const std::string directory =
        current.empty() ? m_context.configuration.settings.lastOpenDir : directoryOfPath(current);
    const auto path = openDialog(m_context.Text("Main_window", "otworz"), directory,
                                 QStringLiteral("Kerfline kcc (*.kcc);;*.* (*)"));
    if (!path)
        return;
    m_config->setText(qs(*path));
    showDefaultLines();
    edited();
}

bool TfBarCodDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_codes && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        btnUsunPlikClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kerfline::ui
