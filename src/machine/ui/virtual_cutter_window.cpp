#include "machine/ui/virtual_cutter_window.h"

#include "machine/virtual_cutter.h"
#include "base/language.h"
#include "base/ui/text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kerfline::ui {
namespace {

struct FlagText {
    StatusFlag flag;
    TextKey key;
};

constexpr std::array<FlagText, 11> kFlags{{
    {StatusFlag::busy, TextKey{"Virtual_machine", "flag.busy"}},
    {StatusFlag::programRunning, TextKey{"Virtual_machine", "flag.programRunning"}},
    {StatusFlag::heatingOn, TextKey{"Virtual_machine", "flag.heatingOn"}},
    {StatusFlag::paused, TextKey{"Virtual_machine", "flag.paused"}},
    {StatusFlag::bufferFull, TextKey{"Virtual_machine", "flag.bufferFull"}},
    {StatusFlag::startRequest, TextKey{"Virtual_machine", "flag.startRequest"}},
    {StatusFlag::stopRequest, TextKey{"Virtual_machine", "flag.stopRequest"}},
    {StatusFlag::continueRequest, TextKey{"Virtual_machine", "flag.continueRequest"}},
    {StatusFlag::homed, TextKey{"Virtual_machine", "flag.homed"}},
    {StatusFlag::wireBreak, TextKey{"Virtual_machine", "flag.wireBreak"}},
    {StatusFlag::waitingForGo, TextKey{"Virtual_machine", "flag.waitingForGo"}},
}};

constexpr std::array<TextKey, 8> kAxes{{
    TextKey{"Virtual_machine", "axis0"},
    TextKey{"Virtual_machine", "axis1"},
    TextKey{"Virtual_machine", "axis2"},
    TextKey{"Virtual_machine", "axis3"},
    TextKey{"Virtual_machine", "axis4"},
    TextKey{"Virtual_machine", "axis5"},
    TextKey{"Virtual_machine", "axis6"},
    TextKey{"Virtual_machine", "axis7"},
}};

struct ButtonText {
    const char* name;
    TextKey key;
};

constexpr std::array<ButtonText, 7> kButtons{{
    {"btnStart", TextKey{"Virtual_machine", "btnStart"}},
    {"btnStop", TextKey{"Virtual_machine", "btnStop"}},
    {"btnContinue", TextKey{"Virtual_machine", "btnContinue"}},
    {"btnBreakWire", TextKey{"Virtual_machine", "btnBreakWire"}},
    {"btnMendWire", TextKey{"Virtual_machine", "btnMendWire"}},
    {"btnUnplug", TextKey{"Virtual_machine", "btnUnplug"}},
    {"btnReplug", TextKey{"Virtual_machine", "btnReplug"}},
}};

// A lamp: a set flag lights up, a clear one stays grey.
void showLamp(QLabel* label, bool on, const char* colour)
{
    label->setStyleSheet(on ? QString("QLabel { background: %1; color: black; border: 1px solid #555; padding: 2px 6px; }")
                                  .arg(colour)
                            : QString("QLabel { background: #e4e4e4; color: #707070; border: 1px solid #b0b0b0; "
                                      "padding: 2px 6px; }"));
}

}  // namespace

VirtualCutterWindow::VirtualCutterWindow(machine::VirtualCutter& cutter, QWidget* parent)
    : VirtualCutterWindow(cutter, nullptr, parent)
{
}

VirtualCutterWindow::VirtualCutterWindow(machine::VirtualCutter& cutter, const tInterfejs& language, QWidget* parent)
    : VirtualCutterWindow(cutter, &language, parent)
{
}

VirtualCutterWindow::VirtualCutterWindow(machine::VirtualCutter& cutter, const tInterfejs* language, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_cutter(cutter), m_language(language)
{
    setObjectName("VirtualCutterWindow");
    setWindowTitle(text(TextKey{"Virtual_machine", "Caption"}) + " " + qs(cutter.product()));
    if (m_language != nullptr && m_language->rightToLeft())
        setLayoutDirection(Qt::RightToLeft);

    m_connection = new QLabel(this);
    m_connection->setObjectName("connection");
    m_connection->setAlignment(Qt::AlignCenter);

    auto* status = new QGroupBox(text(TextKey{"Virtual_machine", "Status"}), this);
    auto* flags = new QGridLayout(status);
    for (std::size_t i = 0; i < kFlags.size(); ++i) {
        m_flags[i] = new QLabel(text(kFlags[i].key), status);
        m_flags[i]->setAlignment(Qt::AlignCenter);
        flags->addWidget(m_flags[i], static_cast<int>(i / 3), static_cast<int>(i % 3));
    }

    auto* axes = new QGroupBox(text(TextKey{"Virtual_machine", "Axes"}), this);
    auto* axisGrid = new QGridLayout(axes);
    axisGrid->addWidget(new QLabel(text(TextKey{"Virtual_machine", "Position"}), axes), 0, 1, Qt::AlignRight);
    axisGrid->addWidget(new QLabel(text(TextKey{"Virtual_machine", "Steps"}), axes), 0, 2, Qt::AlignRight);
    for (std::size_t i = 0; i < kAxes.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        axisGrid->addWidget(new QLabel(text(kAxes[i]), axes), row, 0);
        m_values[i] = new QLabel(axes);
        m_values[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_values[i]->setMinimumWidth(fontMetrics().horizontalAdvance("-00000.00 mm"));
        m_steps[i] = new QLabel(axes);
        m_steps[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_steps[i]->setMinimumWidth(fontMetrics().horizontalAdvance("-0000000000"));
        axisGrid->addWidget(m_values[i], row, 1);
        axisGrid->addWidget(m_steps[i], row, 2);
    }

    auto* bufferRow = new QHBoxLayout;
    bufferRow->addWidget(new QLabel(text(TextKey{"Virtual_machine", "Buffer"}), this));
    m_buffer = new QProgressBar(this);
    m_buffer->setObjectName("buffer");
    m_buffer->setRange(0, 100);
    bufferRow->addWidget(m_buffer, 1);

    auto* machineButtons = new QGroupBox(text(TextKey{"Virtual_machine", "Buttons"}), this);
    // Machine buttons in the first row, the wire in the second, the cable in the third.
    auto* buttonRows = new QVBoxLayout(machineButtons);
    QHBoxLayout* row = nullptr;
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        if (i == 0 || i == 3 || i == 5) {
            row = new QHBoxLayout;
            buttonRows->addLayout(row);
        }
        auto* b = new QPushButton(text(kButtons[i].key), machineButtons);
        b->setObjectName(kButtons[i].name);
        b->setFocusPolicy(Qt::TabFocus);  // a click must not take the focus from the main window
        row->addWidget(b);
    }
    connect(button("btnStart"), &QPushButton::clicked, this, [this] { m_cutter.pressStart(); refresh(); });
    connect(button("btnStop"), &QPushButton::clicked, this, [this] { m_cutter.pressStop(); refresh(); });
    connect(button("btnContinue"), &QPushButton::clicked, this, [this] { m_cutter.pressContinue(); refresh(); });
    connect(button("btnBreakWire"), &QPushButton::clicked, this, [this] { m_cutter.breakWire(); refresh(); });
    connect(button("btnMendWire"), &QPushButton::clicked, this, [this] { m_cutter.mendWire(); refresh(); });
    connect(button("btnUnplug"), &QPushButton::clicked, this, [this] { m_cutter.unplug(); refresh(); });
    connect(button("btnReplug"), &QPushButton::clicked, this, [this] { m_cutter.replug(); refresh(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_connection);
    layout->addWidget(status);
    layout->addWidget(axes);
    layout->addLayout(bufferRow);
    layout->addWidget(machineButtons);

    m_timer = new QTimer(this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &VirtualCutterWindow::refresh);
    refresh();
}

VirtualCutterWindow::~VirtualCutterWindow() = default;

QString VirtualCutterWindow::text(TextKey key) const
{
    return m_language != nullptr ? qs(m_language->Text(key)) : QString::fromLatin1(key.key);
}

QPushButton* VirtualCutterWindow::button(const char* name) const
{
    return findChild<QPushButton*>(QString::fromLatin1(name));
}

void VirtualCutterWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
    m_timer->start();
}

void VirtualCutterWindow::hideEvent(QHideEvent* event)
{
    m_timer->stop();
    QWidget::hideEvent(event);
}

void VirtualCutterWindow::refresh()
{
    const machine::VirtualCutterReadout r = m_cutter.readout();
    m_connection->setText(text(r.plugged ? TextKey{"Virtual_machine", "plugged"} : TextKey{"Virtual_machine", "unplugged"}));
    showLamp(m_connection, true, r.plugged ? "#9be29b" : "#f0a0a0");
    for (std::size_t i = 0; i < kFlags.size(); ++i) {
        const bool on = (r.statusFlags & statusBit(kFlags[i].flag)) != 0;
        const bool alarm = kFlags[i].flag == StatusFlag::wireBreak || kFlags[i].flag == StatusFlag::bufferFull;
        showLamp(m_flags[i], on, alarm ? "#f0a0a0" : kFlags[i].flag == StatusFlag::heatingOn ? "#f5c97a" : "#9be29b");
    }
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        m_values[i]->setText(r.rotary[i] ? QString::number(r.values[i], 'f', 1) + QString::fromUtf8(" °")
                                         : QString::number(r.values[i], 'f', 2) + " mm");
        m_steps[i]->setText(QString::number(r.steps[i]));
    }
    m_buffer->setValue(r.bufferPercent);
    m_buffer->setFormat(QString("%1 / %2").arg(r.bufferedCommands).arg(r.bufferCapacity));
    button("btnUnplug")->setEnabled(r.plugged);
    button("btnReplug")->setEnabled(!r.plugged);
    button("btnBreakWire")->setEnabled(!r.wireBroken);
    button("btnMendWire")->setEnabled(r.wireBroken);
}

}  // namespace kerfline::ui
