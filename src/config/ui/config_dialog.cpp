#include "config/ui/config_dialog.h"

#include "config/config_file_result.h"
#include "config/configuration.h"
#include "config/configuration_lifecycle.h"
#include "config/cutting_mode.h"
#include "config/ui/numeric_edit.h"
#include "cutting/project_windows.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "base/ui/text.h"

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
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

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

// The parameters shown in a place, top to bottom.
std::vector<Param> rowsOf(DialogPlace place)
{
    std::vector<const ParameterInfo*> rows;
    for (const ParameterInfo& info : parameterTable())
        if (info.dialog.place == place)
            rows.push_back(&info);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ParameterInfo* a, const ParameterInfo* b) { return a->dialog.row < b->dialog.row; });
    std::vector<Param> params;
    for (const ParameterInfo* info : rows)
        params.push_back(info->id);
    return params;
}

// How long the notice of a field stays under the pages.
constexpr int kNoticeMs = 5000;

// A long list of choices takes two columns.
int choiceColumns(Param p)
{
    return parameterInfo(p).choiceCount > 3 ? 2 : 1;
}

}  // namespace

TDlgkonfig::TDlgkonfig(AppContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("Dlgkonfig"));
    if (m_context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    const std::tuple<QWidget*, const char*, TextKey> pages[] = {
        {buildCuttingTab(), "TabSheet2", TextKey{"Configuration", "Tabsheet2.caption"}},
        {buildMachineTab(), "ploter", TextKey{"Configuration", "ploter.caption"}},
        {buildSerialTab(), "tabSeryjne", TextKey{"Configuration", "tabSeryjne.caption"}},
        {buildRotaryTab(), "tabObrotowe", TextKey{"Configuration", "tabObrotowe.caption"}},
        {buildOtherTab(), "tabInne", TextKey{"Configuration", "tabInne.caption"}}};
    for (const auto& [page, name, text] : pages) {
        page->setObjectName(QString::fromLatin1(name));
        m_pages->addTab(page, qs(m_context.language.Text(text)));
    }
    m_serialTab = std::get<0>(pages[2]);
    m_pages->setTabVisible(m_pages->indexOf(std::get<0>(pages[3])), rotaryTabVisible(m_context.commandLine));

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("fieldNotice"));
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_noticeTimer = new QTimer(this);
    m_noticeTimer->setSingleShot(true);
    m_noticeTimer->setInterval(kNoticeMs);
    connect(m_noticeTimer, &QTimer::timeout, m_notice, &QLabel::clear);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_notice);
    layout->addWidget(buildBottom());

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

QLabel* TDlgkonfig::label(const char* name, const TextKey& text, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    if (text.key != nullptr)
        l->setText(qs(m_context.language.Text(text)));
    return l;
}

QPushButton* TDlgkonfig::button(const char* name, const TextKey& text, QWidget* parent)
{
    auto* b = new QPushButton(qs(m_context.language.Text(text)), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

// ---- rows from the parameter table -----------------------------------------------------------

TDlgkonfig::Row& TDlgkonfig::makeRow(Param p, QWidget* parent)
{
    const DialogRow& d = parameterInfo(p).dialog;
    const tInterfejs& language = m_context.language;
    Row& row = m_rows[slot(p)];
    if (d.caption.name != nullptr)
        row.caption = label(d.caption.name, d.caption.text, parent);
    if (d.low.name != nullptr)
        row.low = label(d.low.name, d.low.text, parent);
    switch (parameterInfo(p).kind) {
    case ParameterKind::Float: row.control = bindFloat(p, parent); break;
    case ParameterKind::Length:
        row.control = bindLength(p, parent, d.unit == DialogUnit::FineLength ? 1 : 0);
        break;
    case ParameterKind::Check: row.control = bindCheck(p, parent); break;
    case ParameterKind::Choice: row.control = bindChoice(p, parent); break;
    case ParameterKind::Position: row.control = bindPosition(p, parent); break;
    case ParameterKind::Radio: row.control = bindRadio(p, parent); break;
    }
    if (d.high.name != nullptr)
        row.high = label(d.high.name, d.high.text, parent);
    if (d.unitLabel != nullptr)
        row.unit = label(d.unitLabel, TextKey{}, parent);

    if (d.caption.name == nullptr) {
        const QString caption = qs(language.Text(d.caption.text));
        if (auto* box = qobject_cast<QGroupBox*>(row.control))
            box->setTitle(caption);
        else if (auto* b = qobject_cast<QAbstractButton*>(row.control))
            b->setText(caption);
    }
    if (row.group != nullptr)
        for (QAbstractButton* item : row.group->buttons())
            item->setText(qs(choiceItemText(p, row.group->id(item), language)));
    if (d.hint.key != nullptr)
        row.control->setToolTip(qs(language.Text(d.hint)));
    if (auto* field = qobject_cast<NumericSpinBox*>(row.control)) {
        field->setLanguage(language);
        field->setFieldName(fieldNameFromCaption(language.Text(d.caption.text)));
        connect(field, &NumericSpinBox::notice, this, [this](const QString& text) {
            m_notice->setText(text);
            m_noticeTimer->start();
        });
    }
    return row;
}

void TDlgkonfig::addRows(DialogPlace place, QGridLayout* grid, QWidget* parent)
{
    for (const Param p : rowsOf(place)) {
        const Row& row = makeRow(p, parent);
        const int r = grid->rowCount();
        if (row.caption == nullptr) {
            grid->addWidget(row.control, r, 0, 1, -1);
            continue;
        }
        grid->addWidget(row.caption, r, 0);
        grid->addWidget(row.control, r, 1);
        if (row.unit != nullptr)
            grid->addWidget(row.unit, r, 2);
    }
}

void TDlgkonfig::addRows(DialogPlace place, QBoxLayout* column, QWidget* parent)
{
    for (const Param p : rowsOf(place)) {
        const Row& row = makeRow(p, parent);
        // Side by side, choices share the spare width by their columns of items; unit symbols
        // need no more than they take.
        const bool sideBySide = column->direction() == QBoxLayout::LeftToRight;
        const bool named = parameterInfo(p).dialog.items[0].key != nullptr;
        column->addWidget(row.control, sideBySide && row.group != nullptr && named ? choiceColumns(p) : 0);
    }
}

QWidget* TDlgkonfig::widget(Control control) const
{
    const ControlWidget w = controlWidget(control);
    const Row& row = m_rows[slot(w.param)];
    switch (w.part) {
    case ControlPart::Field: return row.control;
    case ControlPart::Caption: return row.caption;
    case ControlPart::Unit: return row.unit;
    case ControlPart::SerialTab: return m_serialTab;
    }
    return nullptr;
}

// ---- the tabs --------------------------------------------------------------------------------

QWidget* TDlgkonfig::buildCuttingTab()
{
    auto* page = new QWidget;
    auto* fields = new QGridLayout;
    addRows(DialogPlace::CuttingFields, fields, page);
    fields->setRowStretch(fields->rowCount(), 1);

    auto* direction = new QVBoxLayout;
    addRows(DialogPlace::CuttingDirection, direction, page);
    direction->addStretch(1);

    auto* options = new QVBoxLayout;
    addRows(DialogPlace::CuttingOptions, options, page);
    options->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(direction);
    layout->addLayout(options);
    return page;
}

QWidget* TDlgkonfig::buildMachineTab()
{
    auto* page = new QWidget;
    auto* fields = new QGridLayout;
    auto takeButton = [&](const char* name, const TextKey& text, bool spindle) {
        QPushButton* take = button(name, text, page);
        connect(take, &QPushButton::clicked, this, [this, spindle] { takeAxisPositionClick(spindle); });
        fields->addWidget(take, fields->rowCount(), 0, 1, 3);
    };
    addRows(DialogPlace::SpindleAxis, fields, page);
    takeButton("btnPobierzXYwrzeciona", TextKey{"Configuration", "btnPobierzXYwrzeciona.Caption"}, true);
    addRows(DialogPlace::TableAxis, fields, page);
    takeButton("btnPobierzXYstolika", TextKey{"Configuration", "btnPobierzXYstolika.Caption"}, false);
    addRows(DialogPlace::ToolOffset, fields, page);
    fields->setRowStretch(fields->rowCount(), 1);

    auto* calibration = new QGroupBox(qs(m_context.Text("Configuration", "gbKalibracja.caption")), page);
    calibration->setObjectName(QStringLiteral("gbKalibracja"));
    addRows(DialogPlace::Calibration, new QGridLayout(calibration), calibration);

    auto* right = new QVBoxLayout;
    right->addWidget(calibration);
    addRows(DialogPlace::Homing, right, page);
    for (const Param p : rowsOf(DialogPlace::Hidden))
        makeRow(p, page).control->hide();
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
    addRows(DialogPlace::Serial, layout, page);
    layout->addStretch(1);
    return page;
}

QWidget* TDlgkonfig::buildRotaryTab()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    addRows(DialogPlace::Rotary, left, page);
    left->addStretch(1);
    layout->addLayout(left);
    m_scheme = label("iObrotoweSchemat", TextKey{}, page);
    m_scheme->setMinimumSize(240, 180);
    m_scheme->setAlignment(Qt::AlignCenter);
    m_scheme->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(m_scheme, 1);
    return page;
}

QWidget* TDlgkonfig::buildOtherTab()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    // One line per row at its natural width; a scroll bar has its caption above it.
    for (const Param p : rowsOf(DialogPlace::Other)) {
        if (layout->count() > 0)
            layout->addSpacing(6);
        const Row& row = makeRow(p, page);
        auto* line = new QHBoxLayout;
        const bool bar = row.low != nullptr;
        if (row.caption != nullptr)
            bar ? layout->addWidget(row.caption) : line->addWidget(row.caption);
        for (QWidget* w : std::initializer_list<QWidget*>{row.low, row.control, row.high, row.unit})
            if (w != nullptr)
                line->addWidget(w);
        line->addStretch(1);
        layout->addLayout(line);
    }
    // The two lathe-speed buttons sit in their frame.
    auto* lathe = m_rows[slot(Param::rgPredkoscTokarki)].control;
    addRows(DialogPlace::LatheSpeed, static_cast<QGridLayout*>(lathe->layout()), lathe);
    layout->addStretch(1);
    return page;
}

QWidget* TDlgkonfig::buildBottom()
{
    auto* bottom = new QWidget(this);
    auto* layout = new QHBoxLayout(bottom);
    layout->setContentsMargins(0, 0, 0, 0);
    addRows(DialogPlace::Choices, layout, bottom);

    auto* commands = new QGridLayout;
    addRows(DialogPlace::Commands, commands, bottom);
    const int first = commands->rowCount();
    auto add = [&](const char* name, const char* key, int row, int column) {
        QPushButton* b = button(name, TextKey{"Configuration", key}, bottom);
        commands->addWidget(b, first + row, column);
        return b;
    };
    QPushButton* ok = add("Button1", "Button1.caption", 0, 0);
    QPushButton* cancel = add("cancel", "cancel.caption", 0, 1);
    QPushButton* saveAsButton = add("zapis", "zapis.caption", 1, 0);
    QPushButton* openButton = add("Odczyt", "Odczyt.caption", 1, 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TDlgkonfig::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &TDlgkonfig::reject);
    connect(saveAsButton, &QPushButton::clicked, this, &TDlgkonfig::zapisClick);
    connect(openButton, &QPushButton::clicked, this, &TDlgkonfig::OdczytClick);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, &TDlgkonfig::zapisClick);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, &TDlgkonfig::OdczytClick);
    commands->setRowStretch(first + 2, 1);
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

QGroupBox* TDlgkonfig::bindChoice(Param p, QWidget* parent)
{
    const QString name = QString::fromLatin1(parameterInfo(p).key);
    const int items = parameterInfo(p).choiceCount;
    const int columns = choiceColumns(p);
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    auto* group = new QButtonGroup(box);
    m_rows[slot(p)].group = group;
    auto* grid = new QGridLayout(box);
    const int rows = (items + columns - 1) / columns;
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
    bar->setMinimumWidth(260);
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
        const auto control = static_cast<Control>(c);
        if (control == Control::tabSeryjne)
            m_pages->setTabEnabled(m_pages->indexOf(m_serialTab), configuration.enabled(control));
        else
            widget(control)->setEnabled(configuration.enabled(control));
    }

    const UnitTexts units = unitTexts(configuration.displayUnit, m_context.language);
    for (const ParameterInfo& info : parameterTable()) {
        QLabel* unit = m_rows[slot(info.id)].unit;
        switch (info.dialog.unit) {
        case DialogUnit::None: break;
        case DialogUnit::Length:
        case DialogUnit::FineLength: unit->setText(qs(units.length)); break;
        case DialogUnit::Speed: unit->setText(qs(units.speed)); break;
        case DialogUnit::Power: unit->setText(QString::fromLatin1(configuration.powerUnitLabel())); break;
        }
    }
    for (TFloatEditU* field : m_lengthFields)
        field->setUnit(configuration.displayUnit);

    const Row& modes = m_rows[slot(Param::Mode)];
    for (QAbstractButton* button : modes.group->buttons())
        button->setVisible(modes.group->id(button) < configuration.choiceCount(Param::Mode));
    modes.control->setToolTip(qs(modeHintText(configuration.modeHintPowerOutput(), m_context.language)));
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
    m_rows[slot(Param::MoveAfter)].control->setVisible(moveAfterVisible(m_context.machine));
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
        m_context.language.ShowMessageBox(m_context.Text("Configuration", "wykonajBazowaniePrzed"), true);
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
    const QString path = chooseConfigurationFile(this, m_context, qs(m_context.Text("Configuration", "opendialogkonfig.title")), false);
    if (!path.isEmpty())
        open(ss(path));
}

}  // namespace kerfline::ui
