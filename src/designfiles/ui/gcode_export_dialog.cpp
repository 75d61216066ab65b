#include "designfiles/ui/gcode_export_dialog.h"

#include "base/language.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

constexpr const char* kSection = "Gcode_export";

}  // namespace

GcodeExportDialog::GcodeExportDialog(const tInterfejs& language, const GcodeExportSettings& settings, QWidget* parent)
    : QDialog(parent), m_language(language)
{
    setObjectName(QStringLiteral("GcodeExport"));
    setWindowTitle(qs(language.Text(kSection, "caption")));
    const auto text = [&language](const char* key) { return qs(language.Text(kSection, key)); };

    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("profile"));
    for (const GcodeProfile& profile : gcodeProfiles())
        m_profile->addItem(qs(std::string(profile.title)), static_cast<int>(profile.id));

    m_axes = new QComboBox(this);
    m_axes->setObjectName(QStringLiteral("axes"));
    m_axes->setEditable(true);
    m_axes->addItems({QStringLiteral("XYUV"), QStringLiteral("XYZA"), QStringLiteral("XYUZ")});
    m_axes->setToolTip(text("osie.Hint"));

    m_feed = new QComboBox(this);
    m_feed->setObjectName(QStringLiteral("feed"));
    m_feed->addItem(text("posuwG94"), static_cast<int>(GcodeFeedMode::UnitsPerMinute));
    m_feed->addItem(text("posuwG93"), static_cast<int>(GcodeFeedMode::InverseTime));

    m_heatScale = new QDoubleSpinBox(this);
    m_heatScale->setObjectName(QStringLiteral("heatScale"));
    m_heatScale->setRange(0.001, 1000.0);
    m_heatScale->setDecimals(3);
    m_heatScale->setToolTip(text("moc.Hint"));

    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("file"));
    m_file->setMinimumWidth(320);
    m_browse = dialogButton(this, "wybierz");
    m_browse->setText(text("wybierz"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(m_browse);

    auto* form = new QFormLayout;
    form->addRow(text("lProfil"), m_profile);
    form->addRow(text("lOsie"), m_axes);
    form->addRow(text("lPosuw"), m_feed);
    form->addRow(text("lMoc"), m_heatScale);
    form->addRow(text("lPlik"), fileRow);

    auto* buttons = new QDialogButtonBox(this);
    m_export = buttons->addButton(text("eksportuj"), QDialogButtonBox::AcceptRole);
    m_export->setObjectName(QStringLiteral("eksportuj"));
    m_export->setDefault(true);
    QPushButton* cancel = buttons->addButton(text("anuluj"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("anuluj"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    chooseFile = [this, title = text("tytulZapisu"), filter = text("plikiGcode") + QStringLiteral(" (*.ngc *.nc *.gcode);;*")](
                     const std::string& start) -> std::optional<std::string> {
        const QString file = QFileDialog::getSaveFileName(this, title, qs(start), filter);
        if (file.isEmpty())
            return std::nullopt;
        return ss(file);
    };

    // The saved choices first; a profile chosen later brings its own letters and scale.
    const GcodeOptions& options = settings.options;
    m_profile->setCurrentIndex(m_profile->findData(static_cast<int>(options.profile)));
    m_axes->setCurrentText(qs(options.axisLetters()));
    m_feed->setCurrentIndex(m_feed->findData(static_cast<int>(options.feedMode)));
    m_heatScale->setValue(options.powerScale());
    m_file->setText(qs(settings.file));

    connect(m_profile, &QComboBox::currentIndexChanged, this, [this] { profileChosen(); });
    connect(m_axes, &QComboBox::currentTextChanged, this, [this] { showState(); });
    connect(m_file, &QLineEdit::textChanged, this, [this] { showState(); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        if (const auto chosen = chooseFile(ss(m_file->text())); chosen && !chosen->empty())
            m_file->setText(qs(*chosen));
    });
    showState();
}

void GcodeExportDialog::profileChosen()
{
    const GcodeProfile& profile = gcodeProfile(static_cast<GcodeProfileId>(m_profile->currentData().toInt()));
    m_axes->setCurrentText(qs(std::string(profile.axes)));
    m_heatScale->setValue(profile.heatScale);
    showState();
}

void GcodeExportDialog::showState()
{
    const GcodeProfile& profile = gcodeProfile(static_cast<GcodeProfileId>(m_profile->currentData().toInt()));
    if (!profile.inverseTime)
        m_feed->setCurrentIndex(m_feed->findData(static_cast<int>(GcodeFeedMode::UnitsPerMinute)));
    m_feed->setEnabled(profile.inverseTime);
    m_export->setEnabled(validAxisLetters(ss(m_axes->currentText())) && !m_file->text().trimmed().isEmpty());
}

GcodeExportSettings GcodeExportDialog::settings() const
{
    GcodeExportSettings settings;
    settings.options.profile = static_cast<GcodeProfileId>(m_profile->currentData().toInt());
    const std::string axes = ss(m_axes->currentText());
    if (validAxisLetters(axes))
        settings.options.axes = axes;
    settings.options.feedMode = static_cast<GcodeFeedMode>(m_feed->currentData().toInt());
    settings.options.heatScale = m_heatScale->value();
    settings.file = ss(m_file->text().trimmed());
    return settings;
}

}  // namespace kerfline::ui
