#include "cutting/ui/wire_move_dialog.h"

#include "config/parameters.h"
#include "config/ui/numeric_edit.h"
#include "cutting/cutting_session.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace kerfline::ui {

TprzesunDialog::TprzesunDialog(AppContext& context, CuttingSession& session, QWidget* parent)
    : QDialog(parent), m_context(context), m_session(session), m_logic(context, session.protocol, session.motion)
{
    setObjectName(QStringLiteral("przesun"));
    const int unit = m_context.configuration.displayUnit;

    auto* layout = new QVBoxLayout(this);
    auto* choice = new QGroupBox(qs(m_context.Text("Move_wire", "przesun.caption")), this);
    choice->setObjectName(QStringLiteral("przesunGroup"));
    auto* choiceLayout = new QVBoxLayout(choice);
    Przesun = new QButtonGroup(this);
    przesunItem0 = new QRadioButton(qs(m_context.Text("Move_wire", "przesun.Item0")), choice);
    przesunItem1 = new QRadioButton(qs(m_context.Text("Move_wire", "przesun.Item1")), choice);
    przesunItem0->setObjectName(QStringLiteral("przesunItem0"));
    przesunItem1->setObjectName(QStringLiteral("przesunItem1"));
    Przesun->addButton(przesunItem0, MoveToMachinePoint);
    Przesun->addButton(przesunItem1, MoveByValue);
    przesunItem1->setChecked(true);
    // As wide as their texts: a click on the blank beyond a text would not choose it.
    choiceLayout->addWidget(przesunItem0, 0, Qt::AlignLeft);
    choiceLayout->addWidget(przesunItem1, 0, Qt::AlignLeft);
    layout->addWidget(choice);

    const LengthField::Settings length = LengthField::displayLength(unit, m_context.decimalSeparator, 0, 0);
    NumberField::Settings angle;
    angle.format = {FloatFormat::ffFixed, 15, 2};
    angle.separator = m_context.decimalSeparator;

    auto* fields = new QGridLayout;
    delta_x = new TFltEditU(length, this);
    delta_y = new TFltEditU(length, this);
    delta_z = new TFltEdit(angle, this);
    delta_x->setObjectName(QStringLiteral("delta_x"));
    delta_y->setObjectName(QStringLiteral("delta_y"));
    delta_z->setObjectName(QStringLiteral("delta_z"));
    for (NumericSpinBox* field : {static_cast<NumericSpinBox*>(delta_x), static_cast<NumericSpinBox*>(delta_y),
                                  static_cast<NumericSpinBox*>(delta_z)})
        field->setLanguage(m_context.language);
    auto* label1 = new QLabel(QStringLiteral("&X="), this);
    auto* label2 = new QLabel(QStringLiteral("&Y="), this);
    label1->setBuddy(delta_x);
    label2->setBuddy(delta_y);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setBuddy(delta_z);
    Label4 = new QLabel(this);
    Label5 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5->setObjectName(QStringLiteral("Label5"));
    fields->addWidget(label1, 0, 0);
    fields->addWidget(delta_x, 0, 1);
    fields->addWidget(Label4, 0, 2);
    fields->addWidget(label2, 1, 0);
    fields->addWidget(delta_y, 1, 1);
    fields->addWidget(Label5, 1, 2);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(delta_z, 2, 1);
    fields->addWidget(new QLabel(QString(QChar(0x00B0)), this), 2, 2);
    fields->setColumnStretch(1, 1);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    Wykonaj = dialogButton(this, "Wykonaj");
    Wykonaj->setText(qs(m_context.Text("Move_wire", "wykonaj.caption")));
    Wykonaj->setDefault(true);
    cancel = dialogButton(this, "cancel");
    cancel->setText(qs(m_context.Text("Move_wire", "cancel.caption")));
    buttons->addStretch(1);
    buttons->addWidget(Wykonaj);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    pSerwis = new QWidget(this);
    pSerwis->setObjectName(QStringLiteral("pSerwis"));
    pSerwis->setToolTip(qs(m_context.Text("Move_wire", "testy.Hint")));
    auto* service = new QHBoxLayout(pSerwis);
    service->setContentsMargins(0, 0, 0, 0);
    test = dialogButton(pSerwis, "test");
    test->setText(qs(m_context.Text("Move_wire", "test.caption")));
    TestGrzalki = dialogButton(pSerwis, "TestGrzalki");
    TestGrzalki->setText(qs(m_context.Text("Move_wire", "TestGrzalki.caption")));
    service->addWidget(test);
    service->addWidget(TestGrzalki);
    pSerwis->hide();
    layout->addWidget(pSerwis);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Wykonaj, &QPushButton::clicked, this, &TprzesunDialog::WykonajClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(test, &QPushButton::clicked, this, &TprzesunDialog::testClick);
    connect(TestGrzalki, &QPushButton::clicked, this, &TprzesunDialog::TestGrzalkiClick);
    auto* serviceKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::ALT | Qt::Key_F12), this);
    connect(serviceKey, &QShortcut::activated, this, [this] { pSerwis->setVisible(!pSerwis->isVisible()); });

    // The counters show on the OK button after every pass, so the operator sees the test run.
    m_logic.setTestPassShown([this](const std::string& counters) {
        Wykonaj->setText(qs(counters));
        Wykonaj->repaint();
    });

    FormActivate(m_context.machine.KeyFront, m_context.machine.KeyBack);
}

TprzesunDialog::~TprzesunDialog() = default;

void TprzesunDialog::FormActivate(bool front, bool back)
{
    m_logic.setArms(front, back);
    const WireMoveTexts texts = m_logic.FormActivate();
    setWindowTitle(qs(texts.caption));
    // Wide enough for the caption to name the arms that will move, not cut off after the blanks.
    if (auto* choice = findChild<QGroupBox*>(QStringLiteral("przesunGroup")))
        choice->setMinimumWidth(fontMetrics().horizontalAdvance(qs(texts.caption)) + 96);
    Label4->setText(qs(texts.unitLabel));
    Label5->setText(qs(texts.unitLabel));
    Label3->setText(qs(texts.zLabel));
    Label3->setToolTip(qs(texts.zHint));
    delta_z->setToolTip(qs(texts.zHint));
    delta_x->setUnit(m_context.configuration.displayUnit);
    delta_y->setUnit(m_context.configuration.displayUnit);
    Wykonaj->setText(qs(m_context.Text("Move_wire", "wykonaj.caption")));
}

void TprzesunDialog::showFor(bool front, bool back)
{
    FormActivate(front, back);
    delta_x->setFocus();
    exec();
}

double TprzesunDialog::shownValue(const TFltEditU& field) const
{
    return field.GetValue() / unitFactor(m_context.configuration.displayUnit);
}

void TprzesunDialog::WykonajClick()
{
    m_logic.WykonajClick(Przesun->checkedId(), shownValue(*delta_x), shownValue(*delta_y), delta_z->GetValue());
    accept();
}

void TprzesunDialog::testClick()
{
    // The test moves by steps per millimetre, so the fields' millimetres go in as they are.
    const std::string counters = m_logic.testClick(delta_x->GetValue(), delta_y->GetValue(), delta_z->GetValue());
    if (!counters.empty())
        Wykonaj->setText(qs(counters));
}

void TprzesunDialog::TestGrzalkiClick()
{
    m_logic.TestGrzalkiClick();
}

}  // namespace kerfline::ui
