#include "cutting/ui/manual_panel.h"

#include "cutting/cutting_session.h"
#include "cutting/ui/panel_keys.h"
#include "base/app_context.h"
#include "machine/machine_state.h"
#include "base/ui/buttons.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kerfline::ui {
namespace {

constexpr int kJogButtonSize = 44;

QLabel* valueLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    font.setStyleHint(QFont::Monospace);
    font.setFamily(QStringLiteral("monospace"));
    label->setFont(font);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-00000.000")));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

QToolButton* jogButton(QWidget* parent, const char* name, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    // Drawn arrows stay a few pixels small whatever the button's size; a glyph fills the button
    // the operator aims at while watching the machine.
    char16_t glyph = u'\u25B6';
    switch (arrow) {
    case Qt::UpArrow: glyph = u'\u25B2'; break;
    case Qt::DownArrow: glyph = u'\u25BC'; break;
    case Qt::LeftArrow: glyph = u'\u25C0'; break;
    default: break;
    }
    button->setText(QString(QChar(glyph)));
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    button->setFont(font);
    button->setFixedSize(kJogButtonSize, kJogButtonSize);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// The turn buttons and the angle between them, in a group of their own.
QWidget* rotaryRow(QGroupBox* box)
{
    auto* row = new QWidget(box);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* boxLayout = new QHBoxLayout(box);
    boxLayout->addWidget(row);
    return row;
}

QSlider* bar(QWidget* parent, const char* name)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    return slider;
}

QGroupBox* group(QWidget* parent, const char* name)
{
    auto* box = new QGroupBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

void setBar(QSlider* slider, int minimum, int maximum, int value, int small, int large)
{
    slider->setRange(minimum, std::max(minimum, maximum));
    slider->setSingleStep(std::max(1, small));
    slider->setPageStep(std::max(1, large));
    slider->setValue(value);
}

}  // namespace

// Sees operator input before the host's own filter, which takes the input that arrives while the
// program waits for the machine. It notes the release of what started a jog, and whether the
// operator pressed or let go of a key or mouse button on the panel since the last tick; it never
// takes an event.
class TsterWindow::ReleaseWatch : public QObject {
public:
    explicit ReleaseWatch(QWidget* panel) : m_panel(panel) {}

    int heldKey = 0;
    bool heldButton = false;
    bool released = false;
    bool inputSinceTick = false;

    void hold(int key, bool button)
    {
        heldKey = key;
        heldButton = button;
        released = false;
    }
    // True when the held input was let go meanwhile; forgets it.
    bool letGo()
    {
        const bool result = released;
        hold(0, false);
        return result;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        noteInput(watched, event);
        if (event->type() == QEvent::KeyRelease && heldKey != 0) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat() && panelKeyCode(*key) == heldKey)
                released = true;
        } else if (event->type() == QEvent::MouseButtonRelease && heldButton) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                released = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void noteInput(QObject* watched, QEvent* event)
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            // A held key repeats while it jogs; only a new press or the release is the operator's.
            if (static_cast<QKeyEvent*>(event)->isAutoRepeat())
                return;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
            break;
        default:
            return;
        }
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == m_panel)
            inputSinceTick = true;
    }

    QWidget* m_panel;
};

PanelHooks PanelWindowHooks::hooks()
{
    PanelHooks h;
    h.isActive = [this] { return panel != nullptr && panel->isActiveWindow(); };
    h.inputWaiting = [this] { return panel != nullptr && panel->inputSinceLastTick(); };
    h.close = [this] {
        if (panel != nullptr)
            panel->close();
    };
    h.repaint = [this] {
        if (panel != nullptr) {
            panel->showState();
            panel->repaint();
        }
    };
    h.showBasePoints = [this] {
        if (showBasePoints)
            showBasePoints();
    };
    h.showMoveDialog = [this](bool front, bool back) {
        if (showMoveDialog)
            showMoveDialog(front, back);
    };
    h.showUpgrade = [this] {
        if (showUpgrade)
            showUpgrade();
    };
    return h;
}

TsterWindow::TsterWindow(AppContext& context, CuttingSession& session, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      m_context(context),
      m_session(session),
      m_releaseWatch(std::make_unique<ReleaseWatch>(this))
{
    setObjectName(QStringLiteral("ster"));
    setFocusPolicy(Qt::StrongFocus);
    build();
    connectControls();
    watchChildren();
    if (m_context.language.rightToLeft()) {
        setLayoutDirection(Qt::RightToLeft);
        // Arrows name directions of the machine, not of the text: they are never mirrored.
        for (QWidget* w : {jogPad, spindleRow, tableRow})
            w->setLayoutDirection(Qt::LeftToRight);
    }
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TsterWindow::heartbeat);
    m_session.homing.setPanelTimer = [this](bool enabled) {
        if (enabled)
            syncTimer();
        else
            m_timer.stop();
    };
    // A controller plugged in later is read by the panel's logic; the window shows it and
    // starts the heartbeat.
    m_session.machineReread = [this] {
        showState();
        syncTimer();
    };
    // Installed after the host's filter, so it runs before it.
    qApp->installEventFilter(m_releaseWatch.get());
    run([this] { m_session.panel.FormCreate(); });
}

TsterWindow::~TsterWindow()
{
    qApp->removeEventFilter(m_releaseWatch.get());
    m_session.homing.setPanelTimer = nullptr;
    m_session.machineReread = nullptr;
}

void TsterWindow::build()
{
    auto* columns = new QHBoxLayout(this);
    // The panel is always as large as what it shows: machines differ in their controls, and the
    // hidden panels come and go.
    columns->setSizeConstraint(QLayout::SetFixedSize);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    // Coordinates, one row per arm.
    GroupBox1 = group(this, "GroupBox1");
    auto* coordinates = new QGridLayout(GroupBox1);
    KeyFront = new QCheckBox(GroupBox1);
    KeyFront->setObjectName(QStringLiteral("KeyFront"));
    KeyBack = new QCheckBox(GroupBox1);
    KeyBack->setObjectName(QStringLiteral("KeyBack"));
    wmxf = valueLabel(GroupBox1, "wmxf");
    wmyf = valueLabel(GroupBox1, "wmyf");
    wmxb = valueLabel(GroupBox1, "wmxb");
    wmyb = valueLabel(GroupBox1, "wmyb");
    backXName = new QLabel(QStringLiteral("X"), GroupBox1);
    backYName = new QLabel(QStringLiteral("Y"), GroupBox1);
    coordinates->addWidget(KeyFront, 0, 0);
    coordinates->addWidget(new QLabel(QStringLiteral("X"), GroupBox1), 0, 1);
    coordinates->addWidget(wmxf, 0, 2);
    coordinates->addWidget(new QLabel(QStringLiteral("Y"), GroupBox1), 0, 3);
    coordinates->addWidget(wmyf, 0, 4);
    coordinates->addWidget(KeyBack, 1, 0);
    coordinates->addWidget(backXName, 1, 1);
    coordinates->addWidget(wmxb, 1, 2);
    coordinates->addWidget(backYName, 1, 3);
    coordinates->addWidget(wmyb, 1, 4);
    wersjaARMa = new QLabel(GroupBox1);
    wersjaARMa->setObjectName(QStringLiteral("wersjaARMa"));
    wersjaARMa->setAlignment(Qt::AlignRight);
    coordinates->addWidget(wersjaARMa, 2, 0, 1, 5);
    coordinates->setColumnStretch(2, 1);
    coordinates->setColumnStretch(4, 1);
    coordinates->setColumnMinimumWidth(3, 16);
    left->addWidget(GroupBox1);

    // The jog cross with STOP in its middle.
    jogPad = new QWidget(this);
    auto* cross = new QGridLayout(jogPad);
    ku = jogButton(jogPad, "ku", Qt::UpArrow);
    kd = jogButton(jogPad, "kd", Qt::DownArrow);
    kl = jogButton(jogPad, "kl", Qt::LeftArrow);
    kr = jogButton(jogPad, "kr", Qt::RightArrow);
    kstop = dialogButton(jogPad, "kstop");
    kstop->setFixedSize(kJogButtonSize * 2, kJogButtonSize);
    kstop->setStyleSheet(QStringLiteral("QPushButton { color: white; background: #c62828; font-weight: bold; }"));
    cross->addWidget(ku, 0, 1, Qt::AlignCenter);
    cross->addWidget(kl, 1, 0, Qt::AlignRight);
    cross->addWidget(kstop, 1, 1, Qt::AlignCenter);
    cross->addWidget(kr, 1, 2, Qt::AlignLeft);
    cross->addWidget(kd, 2, 1, Qt::AlignCenter);
    sbWyrownajBackToFront = dialogButton(jogPad, "sbWyrownajBackToFront");
    cross->addWidget(sbWyrownajBackToFront, 3, 0, 1, 3, Qt::AlignCenter);
    left->addWidget(jogPad);

    // Spindle and table, side by side.
    auto* rotary = new QHBoxLayout;
    GroupWrzeciono = group(this, "GroupWrzeciono");
    spindleRow = rotaryRow(GroupWrzeciono);
    kwd = jogButton(spindleRow, "kwd", Qt::LeftArrow);
    wmw = valueLabel(spindleRow, "wmw");
    kwu = jogButton(spindleRow, "kwu", Qt::RightArrow);
    spindleRow->layout()->addWidget(kwd);
    spindleRow->layout()->addWidget(wmw);
    spindleRow->layout()->addWidget(kwu);
    GroupStolik = group(this, "GroupStolik");
    tableRow = rotaryRow(GroupStolik);
    ksl = jogButton(tableRow, "ksl", Qt::LeftArrow);
    wms = valueLabel(tableRow, "wms");
    ksr = jogButton(tableRow, "ksr", Qt::RightArrow);
    tableRow->layout()->addWidget(ksl);
    tableRow->layout()->addWidget(wms);
    tableRow->layout()->addWidget(ksr);
    rotary->addWidget(GroupWrzeciono);
    rotary->addWidget(GroupStolik);
    left->addLayout(rotary);
    left->addStretch(1);

    // Speed.
    Szybkosc = group(this, "Szybkosc");
    auto* speed = new QHBoxLayout(Szybkosc);
    VScroll = bar(Szybkosc, "VScroll");
    speedlabel = new QLabel(Szybkosc);
    speedlabel->setObjectName(QStringLiteral("speedlabel"));
    speedlabel->setMinimumWidth(speedlabel->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")));
    speedlabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    speed->addWidget(VScroll, 1);
    speed->addWidget(speedlabel);
    right->addWidget(Szybkosc);

    // Heating.
    GroupPower = group(this, "GroupPower");
    auto* heating = new QHBoxLayout(GroupPower);
    k_zalwyl = dialogButton(GroupPower, "k_zalwyl");
    k_zalwyl->setCheckable(true);
    k_zalwyl->setStyleSheet(QStringLiteral("QPushButton:checked { background: #ff8f00; color: black; }"));
    stan_drutu = new QLabel(GroupPower);
    stan_drutu->setObjectName(QStringLiteral("stan_drutu"));
    stan_drutu->setStyleSheet(QStringLiteral("color: #c62828; font-weight: bold;"));
    heating->addWidget(k_zalwyl);
    heating->addWidget(stan_drutu, 1);
    right->addWidget(GroupPower);

    BoxAmper = group(this, "BoxAmper");
    auto* power = new QGridLayout(BoxAmper);
    PScroll = bar(BoxAmper, "PScroll");
    PowerLabel = new QLabel(BoxAmper);
    PowerLabel->setObjectName(QStringLiteral("PowerLabel"));
    PowerLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PowerLabel->setMinimumWidth(PowerLabel->fontMetrics().horizontalAdvance(QStringLiteral("000.00")));
    gRealPower2 = new QProgressBar(BoxAmper);
    gRealPower2->setObjectName(QStringLiteral("gRealPower2"));
    gRealPower2->setTextVisible(false);
    gRealPower2->setMaximumHeight(14);
    lRealPower = new QLabel(BoxAmper);
    lRealPower->setObjectName(QStringLiteral("lRealPower"));
    lRealPower->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    power->addWidget(PScroll, 0, 0);
    power->addWidget(PowerLabel, 0, 1);
    power->addWidget(gRealPower2, 1, 0);
    power->addWidget(lRealPower, 1, 1);
    right->addWidget(BoxAmper);

    pNaciagDrutu = new QWidget(this);
    pNaciagDrutu->setObjectName(QStringLiteral("pNaciagDrutu"));
    auto* tensionPanel = new QVBoxLayout(pNaciagDrutu);
    tensionPanel->setContentsMargins(0, 0, 0, 0);
    NaciagBox = group(pNaciagDrutu, "NaciagBox");
    auto* tension = new QHBoxLayout(NaciagBox);
    ScrollNaciag = bar(NaciagBox, "ScrollNaciag");
    LabelNaciag = new QLabel(NaciagBox);
    LabelNaciag->setObjectName(QStringLiteral("LabelNaciag"));
    LabelNaciag->setMinimumWidth(LabelNaciag->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    LabelNaciag->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelNaciagRzeczywisty = new QLabel(NaciagBox);
    LabelNaciagRzeczywisty->setObjectName(QStringLiteral("LabelNaciagRzeczywisty"));
    LabelNaciagRzeczywisty->setMinimumWidth(LabelNaciag->fontMetrics().horizontalAdvance(QStringLiteral("000.0")));
    LabelNaciagRzeczywisty->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelNaciagRzeczywisty->setFrameShape(QFrame::StyledPanel);
    tension->addWidget(ScrollNaciag, 1);
    tension->addWidget(LabelNaciag);
    tension->addWidget(LabelNaciagRzeczywisty);
    tensionPanel->addWidget(NaciagBox);
    right->addWidget(pNaciagDrutu);

    auto* commands = new QGridLayout;
    Bazuj = dialogButton(this, "Bazuj");
    Base = dialogButton(this, "Base");
    keyprzesun = dialogButton(this, "keyprzesun");
    zamknij = dialogButton(this, "zamknij");
    commands->addWidget(Bazuj, 0, 0);
    commands->addWidget(Base, 0, 1);
    commands->addWidget(keyprzesun, 1, 0);
    commands->addWidget(zamknij, 1, 1);
    right->addLayout(commands);

    pUpgradeFirmware = new QWidget(this);
    pUpgradeFirmware->setObjectName(QStringLiteral("pUpgradeFirmware"));
    auto* upgrade = new QHBoxLayout(pUpgradeFirmware);
    upgrade->setContentsMargins(0, 0, 0, 0);
    btnUpgrade = dialogButton(pUpgradeFirmware, "btnUpgrade");
    btnRestoreEPROM = dialogButton(pUpgradeFirmware, "btnRestoreEPROM");
    upgrade->addWidget(btnUpgrade);
    upgrade->addWidget(btnRestoreEPROM);
    pUpgradeFirmware->hide();
    right->addWidget(pUpgradeFirmware);

    pSerwis = new QWidget(this);
    pSerwis->setObjectName(QStringLiteral("pSerwis"));
    auto* service = new QGridLayout(pSerwis);
    service->setContentsMargins(0, 0, 0, 0);
    chwilowaName = new QLabel(pSerwis);
    chwilowa = new QProgressBar(pSerwis);
    chwilowa->setObjectName(QStringLiteral("chwilowa"));
    chwilowa->setTextVisible(false);
    chwilowa->setMaximumHeight(14);
    chwilowaLabel = new QLabel(pSerwis);
    chwilowaLabel->setObjectName(QStringLiteral("chwilowaLabel"));
    UsbError = new QLabel(pSerwis);
    UsbError->setObjectName(QStringLiteral("UsbError"));
    service->addWidget(chwilowaName, 0, 0);
    service->addWidget(chwilowa, 0, 1);
    service->addWidget(chwilowaLabel, 0, 2);
    service->addWidget(UsbError, 1, 0, 1, 3);
    pSerwis->hide();
    right->addWidget(pSerwis);
    right->addStretch(1);

    applyTexts();
}

void TsterWindow::applyTexts()
{
    ku->setToolTip(qs(m_context.Text("Control", "ku.Hint")));
    kd->setToolTip(qs(m_context.Text("Control", "kd.Hint")));
    kl->setToolTip(qs(m_context.Text("Control", "kl.Hint")));
    kr->setToolTip(qs(m_context.Text("Control", "kr.Hint")));
    kstop->setText(qs(m_context.Text("Control", "kstop.caption")));
    kstop->setToolTip(qs(m_context.Text("Control", "kstop.Hint")));
    sbWyrownajBackToFront->setText(qs(m_context.Text("Control", "sbWyrownajBackToFront.caption")));
    sbWyrownajBackToFront->setToolTip(qs(m_context.Text("Control", "sbWyrownajBackToFront.Hint")));
    kwu->setToolTip(qs(m_context.Text("Control", "kwu.Hint")));
    kwd->setToolTip(qs(m_context.Text("Control", "kwd.Hint")));
    ksl->setToolTip(qs(m_context.Text("Control", "ksl.Hint")));
    ksr->setToolTip(qs(m_context.Text("Control", "ksr.Hint")));
    GroupPower->setTitle(qs(m_context.Text("Control", "GroupPower.Caption")));
    k_zalwyl->setText(qs(m_context.Text("Control", "k_zalwyl.caption")));
    k_zalwyl->setToolTip(qs(m_context.Text("Control", "k_zalwyl.Hint")));
    lRealPower->setToolTip(qs(m_context.Text("Control", "lRealPower.Hint")));
    gRealPower2->setToolTip(qs(m_context.Text("Control", "lRealPower.Hint")));
    LabelNaciag->setToolTip(qs(m_context.Text("Control", "LabelNaciag.Hint")));
    LabelNaciagRzeczywisty->setToolTip(qs(m_context.Text("Control", "LabelNaciagRzeczywisty.Hint")));
    Bazuj->setText(qs(m_context.Text("Control", "bazuj.caption")));
    Base->setText(qs(m_context.Text("Control", "base.Caption")));
    keyprzesun->setText(qs(m_context.Text("Control", "keyprzesun.caption")));
    zamknij->setText(qs(m_context.Text("Control", "zamknij.caption")));
    btnUpgrade->setText(qs(m_context.Text("Control", "btnUpgrade.caption")));
    btnRestoreEPROM->setText(qs(m_context.Text("Control", "btnRestoreEPROM.caption")));
    chwilowaName->setText(qs(m_context.Text("Control", "chwilowa.caption")));
}

void TsterWindow::connectControls()
{
    Tster& panel = m_session.panel;
    const struct {
        QAbstractButton* button;
        JogButton role;
    } jogs[] = {{ku, JogButton::ku}, {kd, JogButton::kd}, {kl, JogButton::kl}, {kr, JogButton::kr},
                {kwu, JogButton::kwu}, {kwd, JogButton::kwd}, {ksl, JogButton::ksl}, {ksr, JogButton::ksr}};
    for (const auto& jog : jogs) {
        QAbstractButton* button = jog.button;
        const JogButton role = jog.role;
        connect(button, &QAbstractButton::pressed, this, [this, button, role] {
            // The left button alone: a second button held means the operator is not jogging.
            if ((QGuiApplication::mouseButtons() & ~Qt::LeftButton) != Qt::NoButton)
                return;
            pressJogButton(button, role);
        });
        connect(jog.button, &QAbstractButton::released, this, [this, &panel] {
            run([&panel] { panel.MMouseUp(); });
            setFocus();
        });
    }
    connect(kstop, &QPushButton::clicked, this, [this, &panel] { run([&panel] { panel.kstopClick(); }); });
    connect(sbWyrownajBackToFront, &QPushButton::clicked, this,
            [this, &panel] { run([&panel] { panel.sbWyrownajBackToFrontClick(); }); });
    connect(k_zalwyl, &QPushButton::clicked, this, [this, &panel] { run([&panel] { panel.k_zalwylClick(); }); });
    connect(KeyFront, &QCheckBox::clicked, this,
            [this, &panel](bool checked) { run([&panel, checked] { panel.KeyFrontClick(checked); }); });
    connect(KeyBack, &QCheckBox::clicked, this,
            [this, &panel](bool checked) { run([&panel, checked] { panel.KeyBackClick(checked); }); });
    connect(VScroll, &QSlider::valueChanged, this, [this, &panel](int value) {
        if (!m_showing)
            run([&panel, value] {
                panel.setSpeedPosition(value);
                panel.VScrollChange();
            });
    });
    connect(PScroll, &QSlider::valueChanged, this, [this, &panel](int value) {
        if (!m_showing)
            run([&panel, value] {
                panel.setPowerPosition(value);
                panel.PScrollChange();
            });
    });
    // The tension goes to the machine when the operator lets go of the bar, not at every step.
    connect(ScrollNaciag, &QSlider::valueChanged, this, [this, &panel](int value) {
        if (m_showing)
            return;
        panel.setTensionPosition(value);
        if (!ScrollNaciag->isSliderDown())
            run([&panel] { panel.NaciagEditExit(); });
    });
    connect(ScrollNaciag, &QSlider::sliderReleased, this,
            [this, &panel] { run([&panel] { panel.NaciagEditExit(); }); });
    connect(Bazuj, &QPushButton::clicked, this, [this] { run([this] { m_session.homing.bazujClick(); }); });
    connect(Base, &QPushButton::clicked, this, [this, &panel] { run([&panel] { panel.BaseClick(); }); });
    connect(keyprzesun, &QPushButton::clicked, this, [this, &panel] { run([&panel] { panel.keyprzesunClick(); }); });
    connect(zamknij, &QPushButton::clicked, this, &QWidget::close);
    connect(btnUpgrade, &QPushButton::clicked, this, [this, &panel] { run([&panel] { panel.btnUpgradeClick(); }); });
    connect(btnRestoreEPROM, &QPushButton::clicked, this,
            [this, &panel] { run([&panel] { panel.btnRestoreEPROMClick(); }); });
}

void TsterWindow::watchChildren()
{
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TsterWindow::pressKey(int code, KeyModifiers modifiers)
{
    Tster& panel = m_session.panel;
    const bool jogging = panel.jogActive();
    m_releaseWatch->hold(code, false);
    run([&panel, code, modifiers] { panel.OnKeyDown(code, modifiers); });
    if (m_releaseWatch->letGo() && !jogging && panel.jogActive())
        run([&panel, code] { panel.OnKeyUp(code); });
}

void TsterWindow::pressJogButton(QAbstractButton* button, JogButton role)
{
    Tster& panel = m_session.panel;
    m_releaseWatch->hold(0, true);
    run([&panel, role] { panel.MMouseDown(role); });
    if (m_releaseWatch->letGo()) {
        run([&panel] { panel.MMouseUp(); });
        button->setDown(false);  // the button never saw its release
    }
}

void TsterWindow::run(const std::function<void()>& action)
{
    ++m_running;
    action();
    --m_running;
    showState();
    syncTimer();
}

void TsterWindow::syncTimer()
{
    const Tster& panel = m_session.panel;
    if (!panel.timerEnabled()) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive() || m_timer.interval() != panel.timerIntervalMs())
        m_timer.start(panel.timerIntervalMs());
}

void TsterWindow::heartbeat()
{
    if (m_running > 0)
        return;
    run([this] { m_session.panel.Timer1Timer(); });
    m_releaseWatch->inputSinceTick = false;
}

bool TsterWindow::inputSinceLastTick() const
{
    return m_releaseWatch->inputSinceTick;
}

void TsterWindow::showState()
{
    const PanelView& v = m_session.panel.view();
    const MachineState& machine = m_context.machine;
    const PanelCaptions captions = panelCaptions(m_context);
    m_showing = true;

    setWindowTitle(qs(captions.form));
    GroupBox1->setTitle(qs(captions.coordinates));
    KeyFront->setText(qs(captions.frontRow));
    KeyBack->setText(qs(captions.backRow));
    KeyFront->setChecked(machine.KeyFront);
    KeyBack->setChecked(machine.KeyBack);
    GroupWrzeciono->setTitle(qs(captions.spindleGroup));
    GroupStolik->setTitle(qs(captions.tableGroup));
    NaciagBox->setTitle(qs(captions.tension));
    Szybkosc->setTitle(qs(v.speedCaption));
    BoxAmper->setTitle(qs(m_context.Text("Control", "BoxAmper.Caption") + v.powerUnitSuffix));

    wmxf->setText(qs(v.frontX));
    wmyf->setText(qs(v.frontY));
    wmxb->setText(qs(v.backX));
    wmyb->setText(qs(v.backY));
    wms->setText(qs(v.tableAngle) + QChar(0x00B0));
    wmw->setText(qs(v.spindleAngle) + QChar(0x00B0));
    wersjaARMa->setText(qs(v.firmwareLabel));

    // Without the arm selection the front row stands alone, with no box to tick.
    KeyFront->setVisible(v.armSelectionVisible);
    for (QWidget* w : {static_cast<QWidget*>(KeyBack), static_cast<QWidget*>(wmxb), static_cast<QWidget*>(wmyb),
                       static_cast<QWidget*>(backXName), static_cast<QWidget*>(backYName)})
        w->setVisible(v.armSelectionVisible);
    sbWyrownajBackToFront->setVisible(v.alignVisible);
    GroupStolik->setVisible(v.tableGroupVisible);
    pNaciagDrutu->setVisible(v.tensionVisible);
    pUpgradeFirmware->setVisible(v.upgradePanelVisible);
    pSerwis->setVisible(v.servicePanelVisible);

    for (QWidget* w : std::initializer_list<QWidget*>{ku, kd, kl, kr, kwu, kwd, ksl, ksr, k_zalwyl, Bazuj, keyprzesun})
        w->setEnabled(v.motionButtonsEnabled);
    sbWyrownajBackToFront->setEnabled(v.alignEnabled);

    // The operator's drag wins over the polled value until the bar is let go.
    if (!VScroll->isSliderDown())
        setBar(VScroll, v.speedMin, v.speedMax, v.speedPosition, v.speedSmallStep, v.speedLargeStep);
    speedlabel->setText(qs(v.speedLabel));
    if (!PScroll->isSliderDown())
        setBar(PScroll, 0, v.powerMax, v.powerPosition, v.powerSmallStep, v.powerLargeStep);
    PowerLabel->setText(qs(v.powerLabel));
    gRealPower2->setVisible(v.gaugeVisible);
    lRealPower->setVisible(v.gaugeVisible);
    gRealPower2->setRange(0, std::max(1, v.gaugeMax));
    gRealPower2->setValue(std::clamp(v.gaugePosition, 0, std::max(1, v.gaugeMax)));
    if (v.gaugeRed != m_gaugeRed || gRealPower2->styleSheet().isEmpty()) {
        m_gaugeRed = v.gaugeRed;
        gRealPower2->setStyleSheet(v.gaugeRed ? QStringLiteral("QProgressBar::chunk { background: red; }")
                                              : QStringLiteral("QProgressBar::chunk { background: lime; }"));
    }
    lRealPower->setText(qs(v.realPowerLabel));
    if (!ScrollNaciag->isSliderDown())
        setBar(ScrollNaciag, 0, v.tensionMax, v.tensionPosition, 1, 10);
    LabelNaciag->setText(qs(v.tensionLabel));
    LabelNaciagRzeczywisty->setText(qs(v.realTensionLabel));

    k_zalwyl->setChecked(v.heatingDown);
    stan_drutu->setText(qs(v.wireState));

    chwilowa->setRange(0, std::max(1, v.speedMax));
    chwilowa->setValue(std::clamp(v.instantSpeed, 0, std::max(1, v.speedMax)));
    chwilowaLabel->setText(QString::number(v.instantSpeed));
    UsbError->setText(qs(m_context.Text("Control", "UsbError.caption")) + QStringLiteral(": ") + qs(v.usbError));

    m_showing = false;
    // Captions and panels may have changed size: lay out now, not after the next paint.
    layout()->activate();
}

bool TsterWindow::event(QEvent* event)
{
    // An activation that comes inside a running action (a dialog of that action closing) would
    // re-send the settings in the middle of it; the next activation does that.
    switch (event->type()) {
    case QEvent::WindowActivate:
        if (m_running > 0)
            break;
        run([this] { m_session.panel.FormActivate(); });
        break;
    case QEvent::WindowDeactivate:
        run([this] { m_session.panel.FormDeactivate(); });
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (handleKey(event))
            return true;
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TsterWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress || type == QEvent::KeyRelease)
        return handleKey(event);
    return QWidget::eventFilter(watched, event);
}

bool TsterWindow::handleKey(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && event->type() == QEvent::KeyPress) {
        close();  // a tool window: Esc puts it away, the heartbeat goes on
        return true;
    }
    const int code = panelKeyCode(*key);
    if (code == 0)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // The panel's keys are its own, not shortcuts of the main window's menus.
        event->accept();
        return true;
    }
    Tster& panel = m_session.panel;
    if (event->type() == QEvent::KeyPress) {
        pressKey(code, panelModifiers(*key));
    } else if (!key->isAutoRepeat()) {
        // An auto-repeated key sends release and press pairs; only the real release stops.
        run([&panel, code] { panel.OnKeyUp(code); });
        setFocus();
    }
    return true;
}

}  // namespace kerfline::ui
