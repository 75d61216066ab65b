#include "config/ui/config_dialog.h"

#include "config/config_file_result.h"
#include "config/configuration.h"
#include "config/configuration_lifecycle.h"
#include "config/cutting_mode.h"
#include "config/dialog_texts.h"
#include "config/ui/numeric_edit.h"
#include "cutting/project_windows.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/ui/text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

constexpr int kFieldWidth = 96;

std::size_t slot(Param p)
{
    return static_cast<std::size_t>(p);
}

Qt::CheckState qtState(CheckState state)
{
    switch (state) {
    case CheckState::cbChecked: return Qt::Checked;
    case CheckState::cbGrayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

// A row of the field grids: caption, field, unit label.
void addFieldRow(QGridLayout* grid, QLabel* caption, QWidget* field, QLabel* unit = nullptr)
{
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    if (unit != nullptr)
        grid->addWidget(unit, row, 2);
}

}  // namespace

TDlgkonfig::TDlgkonfig(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Dlgkonfig"));
    if (m_context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    const std::pair<QWidget*, const char*> pages[] = {{buildCuttingTab(), "TabSheet2"},
                                                      {buildMachineTab(), "ploter"},
                                                      {buildSerialTab(), "tabSeryjne"},
                                                      {buildRotaryTab(), "tabObrotowe"},
                                                      {buildOtherTab(), "tabInne"}};
    for (const auto& [page, name] : pages) {
        page->setObjectName(QString::fromLatin1(name));
        m_pages->addTab(page, QString());
    }
    m_pages->setTabVisible(m_pages->indexOf(findChild<QWidget*>(QStringLiteral("tabObrotowe"))),
                           rotaryTabVisible(m_context.commandLine));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildBottom());

    for (int c = 0; c < kControlCount; ++c)
        m_controls[static_cast<std::size_t>(c)] =
            findChild<QWidget*>(QString::fromLatin1(controlName(static_cast<Control>(c)).data(),
                                                    static_cast<int>(controlName(static_cast<Control>(c)).size())));

    ApplyTexts();
    model().changed = [this](Param p) { valueChanged(p); };
    setWindowTitle(qs(model().settings.configPath));
    showAll();
    showSchemePicture();
}

TDlgkonfig::~TDlgkonfig()
{
    model().changed = nullptr;
}

Configuration& TDlgkonfig::model()
{
    return m_context.configuration;
}

QLabel* TDlgkonfig::label(const char* name, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// ---- the tabs --------------------------------------------------------------------------------

QWidget* TDlgkonfig::buildCuttingTab()
{
    auto* page = new QWidget;
    auto* fields = new QGridLayout;
    addFieldRow(fields, label("Labelsrednica", page), bindLength(Param::Srednicamaterialu, page),
                label("Labelsrednicaunit", page));
    addFieldRow(fields, label("Labelspeed", page), bindLength(Param::szybkoscObrobki, page),
                label("LabelszybkoscObrobki", page));
    addFieldRow(fields, label("Labelprzestawcza", page), bindLength(Param::PrzeSpeed, page),
                label("Labelprzespeed", page));
    addFieldRow(fields, label("Labelpower", page), bindFloat(Param::work_power, page), label("LabelPowerJM", page));
    addFieldRow(fields, label("Labelstarttime", page), bindFloat(Param::CzasRozgrzewania, page));
    addFieldRow(fields, label("Labelpauza", page), bindFloat(Param::Pauza_w_kacie, page));
    addFieldRow(fields, label("Labelilobr", page), bindFloat(Param::il_obr_rys, page));
    addFieldRow(fields, label("Labelilkrok", page), bindFloat(Param::ilosckrokow, page));
    addFieldRow(fields, label("Labelskala", page), bindFloat(Param::skala, page));
    fields->setRowStretch(fields->rowCount(), 1);

    auto* direction = new QVBoxLayout;
    direction->addWidget(bindChoice(Param::CatDir, 3, 1, page));
    direction->addWidget(bindCheck(Param::dopasujKierunek, page));
    direction->addWidget(bindChoice(Param::KierunekObrotow, 2, 1, page));
    direction->addStretch(1);

    auto* device = new QVBoxLayout;
    device->addWidget(bindChoice(Param::StolikSwitch, 3, 1, page));
    for (const Param p : {Param::Wstrzymaj, Param::Heavy, Param::AddFrame, Param::MoveAfter})
        device->addWidget(bindCheck(p, page));
    device->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(direction);
    layout->addLayout(device);
    return page;
}

QWidget* TDlgkonfig::buildMachineTab()
{
    auto* page = new QWidget;
    auto* fields = new QGridLayout;
    auto takeButton = [&](const char* name, bool spindle) {
        auto* button = new QPushButton(page);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, spindle] { takeAxisPositionClick(spindle); });
        fields->addWidget(button, fields->rowCount(), 0, 1, 3);
    };
    addFieldRow(fields, label("LabelXwrzeciona", page), bindLength(Param::Xwrzeciona, page),
                label("Xwrzecionaunit", page));
    addFieldRow(fields, label("LabelYwrzeciona", page), bindLength(Param::Ywrzeciona, page),
                label("ywrzecionaunit", page));
    takeButton("btnPobierzXYwrzeciona", true);
    addFieldRow(fields, label("LabelXstolika", page), bindLength(Param::Xstolika, page), label("XstolikaUnit", page));
    addFieldRow(fields, label("LabelYstolika", page), bindLength(Param::Ystolika, page), label("YstolikaUnit", page));
    takeButton("btnPobierzXYstolika", false);
    addFieldRow(fields, label("LabelXnarzedzia", page), bindLength(Param::Xnarzedzia, page),
                label("xnarzedziaunit", page));
    addFieldRow(fields, label("LabelYnarzedzia", page), bindLength(Param::Ynarzedzia, page),
                label("Ynarzedziaunit", page));
    fields->setRowStretch(fields->rowCount(), 1);

    auto* calibration = new QGroupBox(page);
    calibration->setObjectName(QStringLiteral("gbKalibracja"));
    auto* calibrationFields = new QGridLayout(calibration);
    addFieldRow(calibrationFields, label("lKalibracjaX", calibration), bindFloat(Param::feKalibracjaX, calibration));
    addFieldRow(calibrationFields, label("lKalibracjaY", calibration), bindFloat(Param::feKalibracjaY, calibration));

    auto* right = new QVBoxLayout;
    right->addWidget(calibration);
    right->addWidget(bindChoice(Param::rgBazowanie, 2, 1, page));
    // Kept in the file, never shown: the program opens no connection to look for updates.
    bindCheck(Param::cbCheckForUpdate, page)->hide();
    right->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(right, 1);
    return page;
}

QWidget* TDlgkonfig::buildSerialTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(bindChoice(Param::rgKatObrotu, 2, 1, page));
    layout->addStretch(1);
    return page;
}

QWidget* TDlgkonfig::buildRotaryTab()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    left->addWidget(bindChoice(Param::rgAlgorytmObrotowego, 2, 1, page));
    left->addStretch(1);
    layout->addLayout(left);
    m_scheme = label("iObrotoweSchemat", page);
    m_scheme->setMinimumSize(240, 180);
    m_scheme->setAlignment(Qt::AlignCenter);
    m_scheme->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_scheme, 1);
    connect(m_groups["rgAlgorytmObrotowego"], &QButtonGroup::idClicked, this, [this] { showSchemePicture(); });
    return page;
}

QWidget* TDlgkonfig::buildOtherTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* accuracy = new QHBoxLayout;
    accuracy->addWidget(label("Labelplt_accuracy", page));
    accuracy->addWidget(bindLength(Param::fuPlt_accuracy, page, 1));
    accuracy->addWidget(label("fuPlt_accuracyLabel", page));
    accuracy->addStretch(1);
    layout->addLayout(accuracy);

    auto scale = [&](const char* caption, Param p, const char* low, const char* high) {
        layout->addSpacing(6);
        layout->addWidget(label(caption, page));
        auto* row = new QHBoxLayout;
        row->addWidget(label(low, page));
        QScrollBar* bar = bindPosition(p, page);
        bar->setMinimumWidth(260);
        row->addWidget(bar);
        row->addWidget(label(high, page));
        row->addStretch(1);
        layout->addLayout(row);
    };
    scale("LabelSymulacja", Param::sbWspSymulacji, "LabelSymulacjaNormalna", "LabelSymulacjaSzybka");
    scale("lRozdzielczoscKrzywychDXF", Param::sbRozdzKrzywychDXF, "lRozdzKrzywychDXFmala", "lRozdzKrzywychDXFduza");

    layout->addSpacing(6);
    QGroupBox* lathe = bindChoice(Param::rgPredkoscTokarki, 0, 1, page);
    lathe->layout()->addWidget(bindRadio(Param::rbZmiennaPredkosc, lathe));
    lathe->layout()->addWidget(bindRadio(Param::rbStalaPredkosc, lathe));
    auto* latheRow = new QHBoxLayout;
    latheRow->addWidget(lathe);
    latheRow->addStretch(1);
    layout->addLayout(latheRow);
    layout->addStretch(1);
    return page;
}

QWidget* TDlgkonfig::buildBottom()
{
    auto* bottom = new QWidget(this);
    auto* layout = new QHBoxLayout(bottom);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bindChoice(Param::Mode, 6, 2, bottom), 2);
    layout->addWidget(bindChoice(Param::PowerOutput, 2, 1, bottom), 1);
    layout->addWidget(bindChoice(Param::radiounit, 3, 1, bottom));
    for (int unit = 0; unit < 3; ++unit)
        m_groups["radiounit"]->button(unit)->setText(qs(std::string(unitText(unit))));

    auto* commands = new QGridLayout;
    commands->addWidget(bindCheck(Param::AutoSave, bottom), 0, 0, 1, 2);
    auto button = [&](const char* name, int row, int column) {
        auto* b = new QPushButton(bottom);
        b->setObjectName(QString::fromLatin1(name));
        commands->addWidget(b, row, column);
        return b;
    };
    QPushButton* ok = button("Button1", 1, 0);
    QPushButton* cancel = button("cancel", 1, 1);
    QPushButton* saveAsButton = button("zapis", 2, 0);
    QPushButton* openButton = button("Odczyt", 2, 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TDlgkonfig::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &TDlgkonfig::reject);
    connect(saveAsButton, &QPushButton::clicked, this, &TDlgkonfig::zapisClick);
    connect(openButton, &QPushButton::clicked, this, &TDlgkonfig::OdczytClick);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, &TDlgkonfig::zapisClick);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, &TDlgkonfig::OdczytClick);
    commands->setRowStretch(3, 1);
    layout->addLayout(commands);
    return bottom;
}

// ---- bindings --------------------------------------------------------------------------------

TFloatEdit* TDlgkonfig::bindFloat(Param p, QWidget* parent)
{
    NumberField::Settings settings;
    settings.Value = model().number(p);
    settings.MinValue = model().minimum(p);
    settings.MaxValue = model().maximum(p);
    settings.Increment = parameterInfo(p).step;
    settings.separator = m_context.decimalSeparator;
    auto* edit = new TFloatEdit(settings, parent);
    edit->setObjectName(QString::fromLatin1(parameterInfo(p).key));
    edit->setFixedWidth(kFieldWidth);
    m_show[slot(p)] = [this, edit, p] {
        edit->setRange(model().minimum(p), model().maximum(p));
        edit->SetValue(model().number(p));
    };
    connect(edit, &NumericSpinBox::valueEdited, this, [this, edit, p] {
        model().setNumber(p, edit->GetValue());
        // The model may keep its value (clamped to a range the field does not know): show it.
        m_show[slot(p)]();
    });
    return edit;
}

TFloatEditU* TDlgkonfig::bindLength(Param p, QWidget* parent, int extraDecimals)
{
    LengthField::Settings settings;
    settings.family = LengthField::Family::TFloatEditU;
    settings.Value = model().number(p);
    settings.MinValue = model().minimum(p);
    settings.MaxValue = model().maximum(p);
    settings.extraDecimals = extraDecimals;
    settings.sunit = model().displayUnit;
    settings.separator = m_context.decimalSeparator;
    auto* edit = new TFloatEditU(settings, parent);
    edit->setObjectName(QString::fromLatin1(parameterInfo(p).key));
    edit->setFixedWidth(kFieldWidth);
    m_lengthFields.push_back(edit);
    m_show[slot(p)] = [this, edit, p] {
        edit->setUnit(model().displayUnit);
        edit->setRange(model().minimum(p), model().maximum(p));
        edit->SetValue(model().number(p));
    };
    connect(edit, &NumericSpinBox::valueEdited, this, [this, edit, p] {
        model().setNumber(p, edit->GetValue());
        m_show[slot(p)]();
    });
    return edit;
}

QCheckBox* TDlgkonfig::bindCheck(Param p, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(parameterInfo(p).key));
    m_show[slot(p)] = [this, box, p] {
        const CheckState state = model().check(p);
        // Grayed only comes from a file; the operator's click chooses checked or unchecked.
        box->setTristate(state == CheckState::cbGrayed);
        box->setCheckState(qtState(state));
    };
    connect(box, &QCheckBox::clicked, this, [this, box, p] {
        model().setCheck(p, box->checkState() == Qt::Unchecked ? CheckState::cbUnchecked : CheckState::cbChecked);
        m_show[slot(p)]();
    });
    return box;
}

QGroupBox* TDlgkonfig::bindChoice(Param p, int items, int columns, QWidget* parent)
{
    const QString name = QString::fromLatin1(parameterInfo(p).key);
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    auto* group = new QButtonGroup(box);
    m_groups[parameterInfo(p).key] = group;
    auto* grid = new QGridLayout(box);
    const int rows = (items + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < items; ++i) {
        auto* button = new QRadioButton(box);
        button->setObjectName(name + QStringLiteral("Item%1").arg(i));
        group->addButton(button, i);
        grid->addWidget(button, i % std::max(rows, 1), i / std::max(rows, 1));
    }
    m_show[slot(p)] = [this, group, p] {
        const int chosen = model().choice(p);
        if (QAbstractButton* button = group->button(chosen)) {
            button->setChecked(true);
        } else if (QAbstractButton* checked = group->checkedButton()) {
            // Nothing chosen: an exclusive group cannot show that by itself.
            group->setExclusive(false);
            checked->setChecked(false);
            group->setExclusive(true);
        }
    };
    connect(group, &QButtonGroup::idClicked, this, [this, p](int id) {
        model().setChoice(p, id);
        m_show[slot(p)]();
    });
    return box;
}

QScrollBar* TDlgkonfig::bindPosition(Param p, QWidget* parent)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(parameterInfo(p).key));
    bar->setPageStep(1);
    m_show[slot(p)] = [this, bar, p] {
        const QSignalBlocker quiet(bar);
        bar->setRange(static_cast<int>(model().minimum(p)), static_cast<int>(model().maximum(p)));
        bar->setValue(model().position(p));
    };
    connect(bar, &QScrollBar::valueChanged, this, [this, p](int value) { model().setPosition(p, value); });
    return bar;
}

QRadioButton* TDlgkonfig::bindRadio(Param p, QWidget* parent)
{
    auto* button = new QRadioButton(parent);
    button->setObjectName(QString::fromLatin1(parameterInfo(p).key));
    // The model unchecks the other button of the frame.
    button->setAutoExclusive(false);
    m_show[slot(p)] = [this, button, p] { button->setChecked(model().radio(p)); };
    connect(button, &QRadioButton::clicked, this, [this, p] {
        model().setRadio(p, true);
        m_show[slot(p)]();
    });
    return button;
}

// ---- texts -----------------------------------------------------------------------------------

void TDlgkonfig::ApplyTexts()
{
    const tInterfejs& language = m_context.language;
    for (const DialogText& t : kConfigurationDialogTexts) {
        const QString text = qs(language.Text(t.key));
        const QString name = QString::fromLatin1(t.control);
        QWidget* widget = findChild<QWidget*>(name);
        if (widget == nullptr)
            continue;
        if (t.role == TextRole::Hint) {
            widget->setToolTip(text);
            continue;
        }
        if (const int tab = m_pages->indexOf(widget); tab >= 0) {
            m_pages->setTabText(tab, text);
            continue;
        }
        const auto group = m_groups.find(t.control);
        if (t.role == TextRole::Item) {
            if (group != m_groups.end())
                if (QAbstractButton* button = group->second->button(t.item))
                    button->setText(text);
            continue;
        }
        if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(widget))
            l->setText(text);
    }
    const std::vector<std::string> modes = modeListTexts(static_cast<int>(kModeTexts.size()), language);
    for (std::size_t i = 0; i < modes.size(); ++i)
        m_groups["Mode"]->button(static_cast<int>(i))->setText(qs(modes[i]));
    findChild<QGroupBox*>(QStringLiteral("StolikSwitch"))->setTitle(qs(language.Text("Configuration", "stolikswitch.caption")));
    findChild<QLabel*>(QStringLiteral("lKalibracjaX"))->setText(qs(language.Text("Configuration", "lKalibracjaX.caption")));
    findChild<QLabel*>(QStringLiteral("lKalibracjaY"))->setText(qs(language.Text("Configuration", "lKalibracjaY.caption")));
    for (NumericSpinBox* field : findChildren<NumericSpinBox*>())
        field->setKeypadTexts(keypadTexts(language));
}

// ---- showing the model -----------------------------------------------------------------------

void TDlgkonfig::valueChanged(Param p)
{
    if (const auto& show = m_show[slot(p)])
        show();
    showState();
    if (p == Param::Mode || p == Param::CatDir || p == Param::radiounit)
        applyFeedSign();
    if (p == Param::rgAlgorytmObrotowego)
        showSchemePicture();
}

void TDlgkonfig::showAll()
{
    for (const auto& show : m_show)
        if (show)
            show();
    showState();
}

void TDlgkonfig::showState()
{
    const Configuration& configuration = model();
    for (int c = 0; c < kControlCount; ++c) {
        QWidget* widget = m_controls[static_cast<std::size_t>(c)];
        if (widget == nullptr)
            continue;
        const bool enabled = configuration.enabled(static_cast<Control>(c));
        if (const int tab = m_pages->indexOf(widget); tab >= 0)
            m_pages->setTabEnabled(tab, enabled);
        else
            widget->setEnabled(enabled);
    }

    const UnitTexts units = unitTexts(configuration.displayUnit, m_context.language);
    for (const std::string_view name : kLengthUnitLabels)
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(name.data(), static_cast<int>(name.size()))))
            l->setText(qs(units.length));
    for (const char* name : {"LabelszybkoscObrobki", "Labelprzespeed"})
        findChild<QLabel*>(QString::fromLatin1(name))->setText(qs(units.speed));
    for (TFloatEditU* field : m_lengthFields)
        field->setUnit(configuration.displayUnit);
    findChild<QLabel*>(QStringLiteral("LabelPowerJM"))->setText(QString::fromLatin1(configuration.powerUnitLabel()));

    QButtonGroup* modes = m_groups["Mode"];
    for (QAbstractButton* button : modes->buttons())
        button->setVisible(modes->id(button) < configuration.choiceCount(Param::Mode));
    findChild<QGroupBox*>(QStringLiteral("Mode"))
        ->setToolTip(qs(modeHintText(configuration.modeHintPowerOutput(), m_context.language)));
}

void TDlgkonfig::applyFeedSign()
{
    if (m_windows == nullptr)
        return;
    // directionX holds the sign as a byte: 255 is -1.
    const std::uint8_t sign = xFeedSign(model().choice(Param::CatDir)) < 0 ? 255 : 1;
    for (TMDIChild* window : m_windows->windows())
        if (window != nullptr)
            window->directionX = {sign, sign};
}

void TDlgkonfig::showSchemePicture()
{
    if (m_scheme == nullptr)
        return;
    const auto picture =
        rotarySchemePicture(model().choice(Param::rgAlgorytmObrotowego), m_context.programDirectory, m_context.language);
    QPixmap pixmap;
    if (picture && picture->found)
        pixmap.load(qs(picture->path));
    if (pixmap.isNull()) {
        m_scheme->clear();
        m_scheme->setToolTip(picture ? qs(picture->hint) : QString());
        return;
    }
    m_scheme->setPixmap(pixmap.scaled(m_scheme->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_scheme->setToolTip(QString());
}

void TDlgkonfig::showFailure(const ConfigFileResult& result)
{
    if (!result.ok())
        m_context.language.ShowMessageBox(messageFor(result, m_context.language), true);
}

// ---- lifecycle -------------------------------------------------------------------------------

void TDlgkonfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void TDlgkonfig::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        deactivateConfiguration(m_context);
}

void TDlgkonfig::activate()
{
    const ConfigFileResult snapshot = activateConfiguration(m_context);
    findChild<QCheckBox*>(QStringLiteral("MoveAfter"))->setVisible(moveAfterVisible(m_context.machine));
    setWindowTitle(qs(model().settings.configPath));
    showAll();
    applyFeedSign();
    showSchemePicture();
    // Without the snapshot Cancel cannot bring the values back: the operator should know.
    showFailure(snapshot);
}

void TDlgkonfig::commitFields()
{
    for (NumericSpinBox* field : findChildren<NumericSpinBox*>())
        field->commit();
}

void TDlgkonfig::Button1Click()
{
    commitFields();
    const ConfirmResult confirmed = confirmConfiguration(m_context);
    if (confirmed.machineToReread && m_rereadMachine)
        m_rereadMachine();
    // The values stay in force even when a file could not be written; the message says which.
    showFailure(confirmed.file);
    accept();
}

void TDlgkonfig::reject()
{
    showFailure(cancelConfiguration(m_context));
    QDialog::reject();
}

bool TDlgkonfig::saveAs(const std::string& path)
{
    commitFields();
    const ConfigFileResult saved = saveConfigurationAs(m_context, path);
    showFailure(saved);
    setWindowTitle(qs(model().settings.configPath));
    return saved.ok();
}

bool TDlgkonfig::open(const std::string& path)
{
    const ConfigFileResult loaded = openConfiguration(m_context, path);
    showFailure(loaded);
    setWindowTitle(qs(model().settings.configPath));
    showAll();
    return loaded.ok();
}

void TDlgkonfig::takeAxisPositionClick(bool spindle)
{
    switch (takeAxisPosition(model(), m_protocol, spindle)) {
    case AxisPositionTaken::Taken:
        break;
    case AxisPositionTaken::NotHomed:
        m_context.language.ShowMessageBox(m_context.language.Text(kHomeMachineFirst), true);
        break;
    case AxisPositionTaken::NoConnection:
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
        break;
    }
}

namespace {

QString chooseConfigurationFile(QWidget* parent, const AppContext& context, const QString& title, bool save)
{
    QFileDialog dialog(parent, title, QFileInfo(qs(context.configuration.settings.configPath)).absolutePath());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(qs(context.Text("Configuration", "plikiKonfiguracji")) + QStringLiteral(" (*.kcc)"));
    dialog.setDefaultSuffix(QStringLiteral("kcc"));
    dialog.selectFile(QStringLiteral("*.kcc"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void TDlgkonfig::zapisClick()
{
    const QString path = chooseConfigurationFile(this, m_context, qs(m_context.Text("Configuration", "zapis.caption")), true);
    if (!path.isEmpty())
        saveAs(ss(path));
}

void TDlgkonfig::OdczytClick()
{
    const QString path = chooseConfigurationFile(this, m_context, qs(m_context.language.Text(kOpenConfigurationTitle)), false);
    if (!path.isEmpty())
        open(ss(path));
}

}  // namespace kerfline::ui
