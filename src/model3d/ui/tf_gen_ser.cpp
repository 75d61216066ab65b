#include "model3d/ui/tf_gen_ser.h"

#include "base/ui/dialog_placement.h"
#include "config/configuration.h"
#include "model3d/ui/model_info_window.h"
#include "model3d/ui/traw_view.h"
#include "base/app_context.h"
#include "base/ui/text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include <filesystem>

namespace kerfline::ui {

TfGenSer::TfGenSer(AppContext& context, model3d::PassWindows& windows, QWidget* parent)
    : QDialog(parent), m_context(context), m_windows(windows)
{
    // The menu item's text without its accelerator and ellipsis.
    setWindowTitle(qs(context.Text("Main_window", "miGenSeryjnego3D.caption")).remove(QLatin1Char('&')).remove(QStringLiteral("...")));
    const auto text = [&](const char* section, const char* key) { return qs(context.Text(section, key)); };

    auto* model = new QGroupBox(text("Main_window", "File1.Caption").remove(QLatin1Char('&')), this);
    ePlik = new QLineEdit(model);
    ePlik->setReadOnly(true);
    btnPlikRaw = new QPushButton(QStringLiteral("..."), model);
    btnPlikRaw->setShortcut(Qt::Key_F3);
    btnModelInfo = new QPushButton(text("SerialCutFrom3D", "btnModelInfo.caption"), model);
    auto* modelRow = new QHBoxLayout(model);
    modelRow->addWidget(ePlik, 1);
    modelRow->addWidget(btnPlikRaw);
    modelRow->addWidget(btnModelInfo);

    RAWview1 = new TRAWview(this);
    RAWview1->settings.Model_Material = 1.0;
    RAWview1->settings.UkladWsp = true;
    RAWview1->settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
    RAWview1->setMinimumSize(480, 360);
    RAWview1->setToolTip(text("SerialCutFrom3D", "RAWview1.hint"));

    auto* passesLabel = new QLabel(text("Configuration", "Labelilkrok.caption"), this);
    feIloscObrotow = new QSpinBox(this);
    feIloscObrotow->setRange(1, 180);
    feIloscObrotow->setValue(18);
    cbOdcinajPoZakonczeniu = new QCheckBox(text("SerialCutFrom3D", "cbOdcinajPoZakonczeniu.caption"), this);
    cbOdcinajPoZakonczeniu->setToolTip(text("SerialCutFrom3D", "cbOdcinajPoZakonczeniu.hint"));
    cbOdcinajPoZakonczeniu->setChecked(true);
    cbZamkniOknoAut = new QCheckBox(text("SerialCutFrom3D", "cbZamkniOknoAut.caption"), this);
    cbZamkniOknoAut->setChecked(true);
    cbZostawZamknieteFig = new QCheckBox(text("SerialCutFrom3D", "cbZostawZamknieteFig.caption"), this);
    cbZostawZamknieteFig->setVisible(false);
    btnGeneruj = new QPushButton(text("SerialCutFrom3D", "btnGeneruj.caption"), this);
    btnAnuluj = new QPushButton(text("Configuration", "cancel.caption"), this);

    sb = new QStatusBar(this);
    sb->setSizeGripEnabled(false);
    panels[0] = new QLabel(sb);
    panels[1] = new QLabel(sb);
    progress = new QProgressBar(sb);
    progress->setVisible(false);
    sb->addWidget(panels[0], 3);
    sb->addWidget(progress, 3);
    sb->addWidget(panels[1], 1);

    auto* options = new QGridLayout;
    options->addWidget(passesLabel, 0, 0);
    options->addWidget(feIloscObrotow, 0, 1);
    options->addWidget(cbOdcinajPoZakonczeniu, 1, 0, 1, 2);
    options->addWidget(cbZamkniOknoAut, 2, 0, 1, 2);
    options->addWidget(cbZostawZamknieteFig, 3, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnGeneruj);
    buttons->addWidget(btnAnuluj);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(model);
    layout->addWidget(RAWview1, 1);
    layout->addLayout(options);
    layout->addLayout(buttons);
    layout->addWidget(sb);

    m_generator = std::make_unique<model3d::SerialGenerator>(context.services(), context.configuration,
                                                             context.machine, windows);
    model3d::GeneratorView& view = m_generator->view;
    view.changed = [this] { refresh(); };
    view.showModel = [this](const model3d::ModelHandle& handle) { RAWview1->LadujListeRAW(handle); };
    view.resetView = [this] { RAWview1->ResetujPrzeksztalcenia(); };
    view.turnView = [this](int units) {
        RAWview1->Nawigacja(1, units, 0);
        RAWview1->PokazScene();
    };
    view.close = [this] { accept(); };
    view.status = [this](int panel, const std::string& text) { setStatus(panel, text); };

    chooseModelFile = [this]() -> std::optional<std::string> {
        const std::string& last = m_context.configuration.settings.lastOpenDir;
        const std::string start = last.empty() ? m_context.programDirectory : last;
        const QString all = qs(m_context.Text("Universal", "wszystkiePliki")) + QStringLiteral(" (*.dxf *.raw *.DXF *.RAW)");
        const QString dxf = qs(m_context.Text("SerialCutFrom3D", "plikDXF3D")) + QStringLiteral(" (*.dxf *.DXF)");
        const QString raw = qs(m_context.Text("SerialCutFrom3D", "plikRhino")) + QStringLiteral(" (*.raw *.RAW)");
        const QString file = QFileDialog::getOpenFileName(this, qs(m_context.Text("SerialCutFrom3D", "wybierzPlikModelu")),
                                                          qs(start), all + QStringLiteral(";;") + dxf +
                                                                         QStringLiteral(";;") + raw);
        if (file.isEmpty())
            return std::nullopt;
        return ss(file);
    };

    connect(btnPlikRaw, &QPushButton::clicked, this, [this] { btnPlikRawClick(); });
    connect(btnModelInfo, &QPushButton::clicked, this, [this] { btnModelInfoClick(); });
    connect(btnGeneruj, &QPushButton::clicked, this, [this] { btnGenerujClick(); });
    connect(btnAnuluj, &QPushButton::clicked, this, [this] { btnAnulujClick(); });
    connect(RAWview1, &TRAWview::doubleClicked, this, [this] { btnPlikRawClick(); });
    auto* toggleClosed = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_F12), this);
    connect(toggleClosed, &QShortcut::activated, this,
            [this] { cbZostawZamknieteFig->setVisible(!cbZostawZamknieteFig->isVisible()); });
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    refresh();
}

TfGenSer::~TfGenSer()
{
    // The generator stops and joins its threads before the view it reports to goes.
    m_generator.reset();
}

void TfGenSer::setStatus(int panel, const std::string& text)
{
    if (panel >= 0 && panel < 2)
        panels[panel]->setText(qs(text));
}

void TfGenSer::takeSettings()
{
    model3d::GeneratorSettings& settings = m_generator->settings;
    settings.passes = feIloscObrotow->value();
    settings.cutOff = cbOdcinajPoZakonczeniu->isChecked();
    settings.closeWhenDone = cbZamkniOknoAut->isChecked();
    settings.keepClosed = cbZostawZamknieteFig->isChecked();
    settings.decimalSeparator = m_context.decimalSeparator;
}

void TfGenSer::refresh()
{
    const model3d::SerialGenerator& generator = *m_generator;
    const bool locked = generator.locked();
    RAWview1->Locked = locked;
    ePlik->setText(qs(generator.modelPath()));
    ePlik->setToolTip(ePlik->text());
    btnPlikRaw->setEnabled(!locked);
    feIloscObrotow->setEnabled(!locked && generator.hasModel());
    btnGeneruj->setEnabled(!locked && generator.hasModel());
    btnModelInfo->setEnabled(!generator.reading() && generator.hasModel());
    progress->setVisible(generator.running());
    progress->setRange(0, feIloscObrotow->value());
    progress->setValue(generator.running() ? generator.passesDone() : 0);
}

void TfGenSer::btnPlikRawClick()
{
    if (m_generator->locked())
        return;
    const std::optional<std::string> file = chooseModelFile();
    if (!file)
        return;
    // A new model: the passes of the old one go.
    m_windows.closeAll();
    m_generator->loadModel(*file);
    m_context.configuration.settings.lastOpenDir = std::filesystem::path(*file).parent_path().string();
}

void TfGenSer::btnGenerujClick()
{
    takeSettings();
    m_generator->generate();
}

void TfGenSer::btnAnulujClick()
{
    if (m_generator->cancel())
        QDialog::reject();
}

void TfGenSer::btnModelInfoClick()
{
    if (!m_generator->hasModel())
        return;
    TfModelInfo info(m_context, m_generator->model()->model, this);
    placesItself(info);
    info.move(RAWview1->mapToGlobal(QPoint(0, 0)));
    info.exec();
}

void TfGenSer::closeEvent(QCloseEvent* event)
{
    if (!m_generator->closeRequested()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfGenSer::reject()
{
    // Esc: the same rule as closing the window.
    if (m_generator->closeRequested())
        QDialog::reject();
}

}  // namespace kerfline::ui
