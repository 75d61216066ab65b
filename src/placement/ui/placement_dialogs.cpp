#include "placement/ui/placement_dialogs.h"

#include "aids/display_length.h"
#include "config/dialog_rules.h"
#include "config/parameters.h"
#include "config/ui/numeric_edit.h"
#include "cutting/cutting_session.h"
#include "cutting/wire_move.h"
#include "geometry/geometry.h"
#include "placement/dpl_file.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

// The largest value a length field takes when the dialog gives no maximum.
constexpr double kNoMaximum = 99999.0;
// Wide enough for a length of five digits and its decimals.
constexpr int kFieldWidth = 110;

TFltEditU* lengthField(AppContext& context, QWidget* parent, const char* name, double maximum,
                       std::array<int, 3> decimals = {2, 3, 3})
{
    LengthField::Settings settings =
        LengthField::displayLength(context.configuration.displayUnit, context.decimalSeparator, -kNoMaximum, maximum);
    settings.unitDigits = decimals;
    auto* field = new TFltEditU(settings, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMinimumWidth(kFieldWidth);
    field->setLanguage(context.language);
    return field;
}

TFltEdit* countField(AppContext& context, QWidget* parent, const char* name)
{
    NumberField::Settings settings;
    settings.format = {FloatFormat::ffFixed, 15, 0};
    settings.separator = context.decimalSeparator;
    settings.MinValue = -kNoMaximum;
    settings.MaxValue = kNoMaximum;
    auto* field = new TFltEdit(settings, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMinimumWidth(kFieldWidth);
    field->setLanguage(context.language);
    return field;
}

// "[mm]", "[in]" or "[ft]".
QString unitLabel(const AppContext& context)
{
    return qs("[" + std::string(unitText(context.configuration.displayUnit)) + "]");
}

QLabel* label(QWidget* parent, const char* name, const std::string& text)
{
    auto* l = new QLabel(qs(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

// A row of a form: the caption, the field and its unit.
void addLengthRow(QFormLayout* form, AppContext& context, QLabel* caption, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(new QLabel(unitLabel(context)));
    caption->setBuddy(field);
    form->addRow(caption, row);
}

QHBoxLayout* buttonRow(QPushButton* accept, QPushButton* cancel)
{
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(accept);
    buttons->addWidget(cancel);
    return buttons;
}

QPushButton* defaultButton(QWidget* parent, const char* name, const std::string& text)
{
    QPushButton* button = dialogButton(parent, name);
    button->setText(qs(text));
    button->setDefault(true);
    return button;
}

QPushButton* cancelButton(QWidget* parent, const char* name, const std::string& text)
{
    QPushButton* button = dialogButton(parent, name);
    button->setText(qs(text));
    QObject::connect(button, &QPushButton::clicked, parent, [parent] { static_cast<QDialog*>(parent)->reject(); });
    return button;
}

std::string fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals).toStdString();
}

}  // namespace

// ---- TfFigNaMat ----

TfFigNaMat::TfFigNaMat(AppContext& context, machine::ControllerProtocol* protocol, TMDIChild& mix, QWidget* parent)
    : QDialog(parent), m_context(context), m_mix(mix), m_placement(context, context.job.placement, protocol)
{
    setObjectName(QStringLiteral("fFigNaMat"));
    setWindowTitle(qs(context.Text("Independent_start_dialog", "fFigNaMat.caption")));
    const PlacementAnswers first = m_placement.initialAnswers();
    const double spacing = m_placement.armSpacing();

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* machineWidth = label(this, "lSzerPlotera", context.Text("Independent_start_dialog", "lSzerPlotera.caption"));
    auto* machineWidthValue = label(this, "lSzerPloteraValue",
                                    fixed(context.machine.fcWidth / unitFactor(context.configuration.displayUnit), 1) +
                                        " " + unitLabel(context).toStdString());
    form->addRow(machineWidth, machineWidthValue);
    feuSzerMat = lengthField(context, this, "feuSzerMat", spacing);
    feuOdlMatOdFrontu = lengthField(context, this, "feuOdlMatOdFrontu", spacing);
    feuRozstawRamion = lengthField(context, this, "feuRozstawRamion", kNoMaximum);
    feuSzerMat->SetValue(first.width);
    feuOdlMatOdFrontu->SetValue(first.distance);
    feuRozstawRamion->SetValue(first.armSpacing);
    // The arm spacing changes only on machines whose arms can be moved apart.
    feuRozstawRamion->setEnabled(context.commandLine.HasSwitch("ChangeableFCWidth") ||
                                 context.commandLine.HasSwitch("ChangeableFrontBackWidth"));
    addLengthRow(form, context, label(this, "lSzerMat", context.Text("Independent_start_dialog", "lSzerMat.caption")),
                 feuSzerMat);
    addLengthRow(form, context,
                 label(this, "lOdlMatOdFrontu", context.Text("Independent_start_dialog", "lOdlMatOdFrontu.caption")),
                 feuOdlMatOdFrontu);
    addLengthRow(form, context,
                 label(this, "lRozstawRamion", context.Text("Independent_start_dialog", "lRozstawRamion.caption")),
                 feuRozstawRamion);
    layout->addLayout(form);

    btnDalej = defaultButton(this, "btnDalej", withoutAccelerator(context.Text("Main_window", "Start1.Caption")));
    btnAnuluj = cancelButton(this, "btnAnuluj", context.Text("Base_points", "anuluj.Caption"));
    layout->addLayout(buttonRow(btnDalej, btnAnuluj));
    connect(btnDalej, &QPushButton::clicked, this, &TfFigNaMat::btnDalejClick);

    TimerDlgFigNaMat = new QTimer(this);
    TimerDlgFigNaMat->setObjectName(QStringLiteral("TimerDlgFigNaMat"));
    TimerDlgFigNaMat->setInterval(500);
    TimerDlgFigNaMat->setSingleShot(true);
    connect(TimerDlgFigNaMat, &QTimer::timeout, this, &TfFigNaMat::btnDalejClick);
}

TfFigNaMat::~TfFigNaMat() = default;

void TfFigNaMat::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    feuSzerMat->setFocus();
    // Repeated jobs go on by themselves: Start is pressed for the operator.
    if (m_context.commandLine.HasSwitch("REPEAT") && m_context.job.jobCounter > 1)
        TimerDlgFigNaMat->start();
}

bool TfFigNaMat::run()
{
    return exec() == QDialog::Accepted;
}

void TfFigNaMat::btnDalejClick()
{
    for (TFltEditU* field : {feuSzerMat, feuOdlMatOdFrontu, feuRozstawRamion})
        field->commit();
    const PlacementAnswers answers{feuSzerMat->GetValue(), feuOdlMatOdFrontu->GetValue(), feuRozstawRamion->GetValue()};
    if (m_placement.Start(m_mix, answers))
        accept();
    else
        feuSzerMat->setFocus();
}

// ---- TfPrStartDlg ----

TfPrStartDlg::TfPrStartDlg(AppContext& context, CuttingSession& session, const TMDIChild& front,
                           const TMDIChild& side, QWidget* parent)
    : QDialog(parent), m_context(context), m_front(front), m_side(side),
      m_logic(context, session.protocol, session.motion)
{
    setObjectName(QStringLiteral("fPrStartDlg"));
    setWindowTitle(qs(context.Text("Perpendicular_start_dialog", "fPrStartDlg.Caption")));
    m_logic.tickKeyFront = session.driver.arms.tickKeyFront;
    m_logic.tickKeyBack = session.driver.arms.tickKeyBack;
    m_logic.store = [&context](const TwoWireStart& start) {
        context.job.frontWireStart = {start.frontX, start.frontY};
        context.job.sideWireStart = {start.sideX, start.sideY};
    };
    const TwoWireStart limits = twoWireLimits(context);
    const TwoWireStart current = twoWireCurrent(context);
    const double unit = unitFactor(context.configuration.displayUnit);
    const std::string unitCaption = " " + unitLabel(context).toStdString() + " ";

    auto* layout = new QHBoxLayout;
    const auto group = [&](const char* name, const std::string& caption, TFltEditU*& x, TFltEditU*& y,
                           const char* xName, const char* yName, double limitX, double limitY, double atX, double atY,
                           const char* maxXName, const char* maxYName) {
        auto* box = new QGroupBox(qs(caption + unitCaption), this);
        box->setObjectName(QString::fromLatin1(name));
        auto* form = new QFormLayout(box);
        x = lengthField(context, box, xName, limitX);
        y = lengthField(context, box, yName, limitY);
        x->SetValue(atX);
        y->SetValue(atY);
        auto* maxX = label(box, maxXName, "≤ " + fixed(limitX / unit, 2));
        auto* maxY = label(box, maxYName, "≤ " + fixed(limitY / unit, 2));
        auto* rowX = new QHBoxLayout;
        rowX->addWidget(x, 1);
        rowX->addWidget(maxX);
        auto* rowY = new QHBoxLayout;
        rowY->addWidget(y, 1);
        rowY->addWidget(maxY);
        form->addRow(QStringLiteral("X"), rowX);
        form->addRow(QStringLiteral("Y"), rowY);
        layout->addWidget(box);
    };
    group("gbFront", frontArmCaption(context), feuFx, feuFy, "feuFx", "feuFy", limits.frontX, limits.frontY,
          current.frontX, current.frontY, "pMaxFx", "pMaxFy");
    group("gbBack", backArmCaption(context), feuBx, feuBy, "feuBx", "feuBy", limits.sideX, limits.sideY, current.sideX,
          current.sideY, "pMaxBx", "pMaxBy");
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(layout);
    btnDalej = defaultButton(this, "btnDalej", withoutAccelerator(context.Text("Main_window", "Start1.Caption")));
    btnAnuluj = cancelButton(this, "btnAnuluj", context.Text("Base_points", "anuluj.Caption"));
    outer->addLayout(buttonRow(btnDalej, btnAnuluj));
    connect(btnDalej, &QPushButton::clicked, this, &TfPrStartDlg::btnDalejClick);
}

TfPrStartDlg::~TfPrStartDlg() = default;

bool TfPrStartDlg::run()
{
    feuFx->setFocus();
    return exec() == QDialog::Accepted;
}

void TfPrStartDlg::btnDalejClick()
{
    for (TFltEditU* field : {feuFx, feuFy, feuBx, feuBy})
        field->commit();
    const TwoWireStart start{feuFx->GetValue(), feuFy->GetValue(), feuBx->GetValue(), feuBy->GetValue()};
    if (m_logic.Start(start, m_front, m_side)) {
        accept();
        return;
    }
    (m_logic.refusal == TwoWireRefusal::Side ? feuBx : feuFx)->setFocus();
}

// ---- TfParDup ----

TfParDup::TfParDup(AppContext& context, const TMDIChild& pattern, std::string patternCaption,
                   std::function<TMDIChild&(const std::string&)> createResult, QWidget* parent)
    : QDialog(parent), m_context(context), m_pattern(pattern), m_caption(std::move(patternCaption)),
      m_parameterFile(duplicationFilePath(m_caption)), m_createResult(std::move(createResult)),
      m_widthMm(unitsToMm(pattern.width)), m_heightMm(unitsToMm(pattern.height))
{
    const auto text = [&](const char* key) { return context.Text("Duplication_parameters", key); };
    setObjectName(QStringLiteral("fParDup"));
    setWindowTitle(qs(text("fParDup.caption")));
    if (context.language.rightToLeft())
        setLayoutDirection(Qt::RightToLeft);
    const int unit = context.configuration.displayUnit;
    const int decimals = unitTexts(unit, context.language).lengthDecimals;
    const std::string unitName(unitText(unit));

    auto* layout = new QVBoxLayout(this);
    auto* gbWzorzec = new QGroupBox(qs(text("gbWzorzec.Caption")), this);
    gbWzorzec->setObjectName(QStringLiteral("gbWzorzec"));
    auto* patternForm = new QFormLayout(gbWzorzec);
    auto* ePlik = label(gbWzorzec, "ePlik", m_caption);
    ePlik->setToolTip(qs(m_caption));
    patternForm->addRow(label(gbWzorzec, "lPlik", text("lPlik.Caption")), ePlik);
    const double factor = unitFactor(unit);
    patternForm->addRow(label(gbWzorzec, "lSzerokosc", text("lSzerokosc.Caption")),
                        label(gbWzorzec, "eSzerokosc", fixed(m_widthMm / factor, decimals) + " " + unitName));
    patternForm->addRow(label(gbWzorzec, "lWysokosc", text("lWysokosc.Caption")),
                        label(gbWzorzec, "eWysokosc", fixed(m_heightMm / factor, decimals) + " " + unitName));
    layout->addWidget(gbWzorzec);

    auto* form = new QFormLayout;
    feIloscElemWWierszu = countField(context, this, "feIloscElemWWierszu");
    feIloscWierszy = countField(context, this, "feIloscWierszy");
    feuPrzesuniecieMdzyElem = lengthField(context, this, "feuPrzesuniecieMdzyElem", kNoMaximum);
    feuPrzesMdzyWierszami = lengthField(context, this, "feuPrzesMdzyWierszami", kNoMaximum);
    feuOdlMdzyEl_i_laczPionowym = lengthField(context, this, "feuOdlMdzyEl_i_laczPionowym", kNoMaximum);
    feuOdlMdzyEl_i_laczPoziomym = lengthField(context, this, "feuOdlMdzyEl_i_laczPoziomym", kNoMaximum);
    form->addRow(label(this, "lIloscElemWWierszu", text("lIloscElemWWierszu.Caption")), feIloscElemWWierszu);
    form->addRow(label(this, "lIloscWierszy", text("lIloscWierszy.Caption")), feIloscWierszy);
    addLengthRow(form, context,
                 label(this, "lPrzesuniecieMdzyElem",
                       text("lPrzesuniecieMdzyElem1.Caption") + "\n" + text("lPrzesuniecieMdzyElem2.Caption")),
                 feuPrzesuniecieMdzyElem);
    addLengthRow(form, context,
                 label(this, "lPrzesMdzyWierszami",
                       text("lPrzesMdzyWierszami1.Caption") + "\n" + text("lPrzesMdzyWierszami2.Caption")),
                 feuPrzesMdzyWierszami);
    addLengthRow(form, context, label(this, "lOdlMdzyEl_i_laczPionowym", text("lOdlMdzyEl_i_laczPionowym.Caption")),
                 feuOdlMdzyEl_i_laczPionowym);
    addLengthRow(form, context, label(this, "lOdlMdzyEl_i_laczPoziomym", text("lOdlMdzyEl_i_laczPoziomym.Caption")),
                 feuOdlMdzyEl_i_laczPoziomym);
    lSzerCalegoProj = label(this, "pSzerCalegoProj", "");
    lWysCalegoProj = label(this, "pWysCalegoProj", "");
    form->addRow(label(this, "lSzerCalegoProj", text("lSzerCalegoProj.Caption")), lSzerCalegoProj);
    form->addRow(label(this, "lWysCalegoProj", text("lWysCalegoProj.Caption")), lWysCalegoProj);
    layout->addLayout(form);

    btnZatwierdz = defaultButton(this, "btnZatwierdz", text("btnZatwierdz.Caption"));
    btnAnuluj = cancelButton(this, "btnAnuluj", text("btnAnuluj.Caption"));
    btnParDomyslne = dialogButton(this, "btnParDomyslne");
    btnParDomyslne->setText(qs(text("btnParDomyslne.Caption")));
    auto* buttons = buttonRow(btnZatwierdz, btnAnuluj);
    buttons->insertWidget(0, btnParDomyslne);
    layout->addLayout(buttons);
    connect(btnZatwierdz, &QPushButton::clicked, this, &TfParDup::btnZatwierdzClick);
    connect(btnParDomyslne, &QPushButton::clicked, this, &TfParDup::btnParDomyslneClick);
    for (NumericSpinBox* field : std::initializer_list<NumericSpinBox*>{
             feIloscElemWWierszu, feIloscWierszy, feuPrzesuniecieMdzyElem, feuPrzesMdzyWierszami})
        connect(field, &NumericSpinBox::valueEdited, this, &TfParDup::updateTotals);

    const DuplicationParameters defaults = defaultDuplication(m_widthMm, m_heightMm);
    showParameters(readDuplicationFile(m_parameterFile, defaults).value_or(defaults));
    feIloscElemWWierszu->setFocus();
}

TfParDup::~TfParDup() = default;

DuplicationParameters TfParDup::answers() const
{
    DuplicationParameters p;
    p.elementsInRow = feIloscElemWWierszu->GetValue();
    p.rows = feIloscWierszy->GetValue();
    p.elementOffset = feuPrzesuniecieMdzyElem->GetValue();
    p.rowOffset = feuPrzesMdzyWierszami->GetValue();
    p.verticalLineDistance = feuOdlMdzyEl_i_laczPionowym->GetValue();
    p.horizontalLineDistance = feuOdlMdzyEl_i_laczPoziomym->GetValue();
    return p;
}

void TfParDup::showParameters(const DuplicationParameters& p)
{
    feIloscElemWWierszu->SetValue(p.elementsInRow);
    feIloscWierszy->SetValue(p.rows);
    feuPrzesuniecieMdzyElem->SetValue(p.elementOffset);
    feuPrzesMdzyWierszami->SetValue(p.rowOffset);
    feuOdlMdzyEl_i_laczPionowym->SetValue(p.verticalLineDistance);
    feuOdlMdzyEl_i_laczPoziomym->SetValue(p.horizontalLineDistance);
    updateTotals();
}

void TfParDup::updateTotals()
{
    const DuplicationParameters p = answers();
    const int unit = m_context.configuration.displayUnit;
    const int decimals = unitTexts(unit, m_context.language).lengthDecimals;
    const double factor = unitFactor(unit);
    const std::string unitName(unitText(unit));
    lSzerCalegoProj->setText(qs(fixed(p.elementsInRow * p.elementOffset / factor, decimals) + " " + unitName));
    lWysCalegoProj->setText(qs(fixed(p.rows * p.rowOffset / factor, decimals) + " " + unitName));
}

void TfParDup::btnParDomyslneClick()
{
    const DuplicationParameters defaults = defaultDuplication(m_widthMm, m_heightMm);
    DuplicationParameters p = answers();
    p.elementOffset = defaults.elementOffset;
    p.rowOffset = defaults.rowOffset;
    p.verticalLineDistance = defaults.verticalLineDistance;
    p.horizontalLineDistance = defaults.horizontalLineDistance;
    showParameters(p);
    feIloscElemWWierszu->setFocus();
}

void TfParDup::btnZatwierdzClick()
{
    for (NumericSpinBox* field : std::initializer_list<NumericSpinBox*>{
             feIloscElemWWierszu, feIloscWierszy, feuPrzesuniecieMdzyElem, feuPrzesMdzyWierszami,
             feuOdlMdzyEl_i_laczPionowym, feuOdlMdzyEl_i_laczPoziomym})
        field->commit();
    const DuplicationParameters p = answers();
    const auto text = [&](const char* key) { return m_context.Text("Duplication_parameters", key); };
    const int unit = m_context.configuration.displayUnit;
    const std::string unitName(unitText(unit));
    const double factor = unitFactor(unit);
    bool overlapAccepted = false;
    for (;;) {
        const auto refusal = duplicationRefusal(p, m_widthMm, m_heightMm, overlapAccepted);
        if (!refusal)
            break;
        NumericSpinBox* fields[] = {feIloscElemWWierszu, feIloscWierszy, feuPrzesuniecieMdzyElem,
                                    feuPrzesMdzyWierszami, feuOdlMdzyEl_i_laczPionowym, feuOdlMdzyEl_i_laczPoziomym};
        fields[static_cast<int>(refusal->field)]->setFocus();
        if (refusal->question) {
            const std::string question = text("ElNachodzaNaSiebie") + "\n" + text("SzerokoscPojedynElem") + ": " +
                                         fixed(m_widthMm / factor, 2) + " " + unitName + "\n\n" + text("CzyAkceptujesz");
            if (m_context.language.AskQuestion(question, Buttons::YesNo) != AnswerYes)
                return;
            overlapAccepted = true;
            continue;
        }
        std::string message = m_context.Text(refusal->section, refusal->key);
        if (refusal->key == "BlednePrzesMdzyWier")
            message += "\nmin: " + fixed(m_heightMm / factor, 2) + " " + unitName;
        m_context.language.ShowMessageBox(message, true);
        return;
    }
    TMDIChild& created = m_createResult(m_parameterFile);
    resultWindow = &created;
    executeDuplication(m_pattern, m_parameterFile, p, created);
    created.requestRepaint();
    accept();
}

// ---- TfZaginacz ----

TfZaginacz::TfZaginacz(AppContext& context, TMDIChild& source, std::string sourceCaption,
                       std::function<TMDIChild&(const std::string&)> createResult,
                       std::function<void(TMDIChild&)> closeResult, QWidget* parent)
    : QDialog(parent), m_context(context), m_caption(std::move(sourceCaption)), m_createResult(std::move(createResult)),
      m_closeResult(std::move(closeResult)), m_arch(source)
{
    const auto text = [&](const char* key) { return context.Text("Arch_cutting", key); };
    setObjectName(QStringLiteral("fZaginacz"));
    setWindowTitle(qs(text("caption")));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    feuGlebokoscNaciec = lengthField(context, this, "feuGlebokoscNaciec", 9999.0, {1, 2, 3});
    feuGlebokoscNaciec->setRange(0.0, 9999.0);
    addLengthRow(form, context, label(this, "lSzerMat", text("lSzerMat.caption")), feuGlebokoscNaciec);
    trbReductionRatio = new QSlider(Qt::Horizontal, this);
    trbReductionRatio->setObjectName(QStringLiteral("trbReductionRatio"));
    trbReductionRatio->setRange(1, 20);
    trbReductionRatio->setValue(1);
    trbReductionRatio->setTickPosition(QSlider::TicksBelow);
    auto* ratio = new QHBoxLayout;
    ratio->addWidget(label(this, "labReductionSmall", text("labReductionSmall.caption")));
    ratio->addWidget(trbReductionRatio, 1);
    ratio->addWidget(label(this, "labReductionBig", text("labReductionBig.caption")));
    form->addRow(label(this, "labReductionRatio", text("labReductionRatio.caption")), ratio);
    layout->addLayout(form);
    btnGeneruj = defaultButton(this, "btnGeneruj", text("btnGeneruj.caption"));
    btnAnuluj = cancelButton(this, "btnAnuluj", context.Text("Configuration", "cancel.caption"));
    layout->addLayout(buttonRow(btnGeneruj, btnAnuluj));
    connect(btnGeneruj, &QPushButton::clicked, this, &TfZaginacz::btnGenerujClick);
    feuGlebokoscNaciec->setFocus();
}

TfZaginacz::~TfZaginacz() = default;

void TfZaginacz::btnGenerujClick()
{
    feuGlebokoscNaciec->commit();
    const auto text = [&](const char* key) { return m_context.Text("Arch_cutting", key); };
    if (resultWindow != nullptr) {
        m_closeResult(*resultWindow);
        resultWindow = nullptr;
    }
    TMDIChild& created = m_createResult(m_caption + " : " + text("caption"));
    const auto overlapped = m_arch.Generate(feuGlebokoscNaciec->GetValue(), trbReductionRatio->value(), created);
    if (!overlapped) {
        m_closeResult(created);
        feuGlebokoscNaciec->setFocus();
        return;
    }
    resultWindow = &created;
    created.requestRepaint();
    if (*overlapped) {
        if (renameResult)
            renameResult(created, "!!! " + text("blednyPrzebieg") + " !!!  " + m_caption);
        feuGlebokoscNaciec->setFocus();
        return;
    }
    accept();
}

}  // namespace kerfline::ui
