#include "cutting/wire_move.h"

#include "config/dialog_rules.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <limits>

namespace kerfline {
namespace {

constexpr int kHeatingOutput = 2;
constexpr int kIdleWaits = 10;

std::int32_t steps(double value)
{
    const double limit = std::numeric_limits<std::int32_t>::max();
    return roundHalfEven<std::int32_t>(std::clamp(value, -limit, limit));
}

// The first character of a UTF-8 text, whole.
std::string firstCharacter(const std::string& text)
{
    if (text.empty())
        return {};
    std::size_t length = 1;
    while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        ++length;
    return text.substr(0, length);
}

}  // namespace

std::string frontArmCaption(const AppContext& context)
{
    return context.Text("Control", "KeyFront.caption");
}

std::string backArmCaption(const AppContext& context)
{
    return context.machine.isTwoWireMachine() ? context.Text("Control", "PrKeyBack.caption")
                                              : context.Text("Control", "QdKeyBack.caption");
}

Tprzesun::Tprzesun(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion)
    : m_context(context), m_protocol(protocol), m_motion(motion)
{
}

WireMoveTexts Tprzesun::FormActivate() const
{
    WireMoveTexts texts;
    texts.caption = m_context.Text("Move_wire", "caption") + std::string(38, ' ');
    if (m_front && m_back)
        texts.caption += frontArmCaption(m_context) + " & " + backArmCaption(m_context);
    else if (m_front)
        texts.caption += frontArmCaption(m_context);
    else if (m_back)
        texts.caption += backArmCaption(m_context);
    texts.unitLabel = "[" + std::string(unitText(m_context.configuration.displayUnit)) + "]";

    const int device = m_context.configuration.choice(Param::StolikSwitch);
    if (device == DeviceSpindle || device == DeviceTable) {
        texts.zHint = device == DeviceSpindle ? m_context.Text("Configuration", "stolikswitch.Item0")
                                              : m_context.Text("Configuration", "stolikswitch.Item1");
        texts.zLabel = "&" + firstCharacter(texts.zHint) + "=";
    } else {
        texts.zLabel = "&Z=";
    }
    return texts;
}

void Tprzesun::WykonajClick(int choice, double x, double y, double z)
{
    if (choice == MoveToMachinePoint)
        m_motion.MoveToPoint(m_front, m_back, z, y, x);
    else
        m_motion.MoveByDelta(m_front, m_back, z, y, x);
}

bool Tprzesun::takeStopInput()
{
    const PendingInput input = m_context.host.takePendingInput();
    if (input == PendingInput::KeyDown || input == PendingInput::LeftButtonDown)
        m_stopRequested = true;
    return m_stopRequested;
}

void Tprzesun::waitWhileBusy()
{
    // As WaitWhileBusy, but a key or click that comes while the machine moves is kept for the end
    // of the pass: the loops move nearly all the time, and a dropped key would leave the operator
    // no way to end them.
    const MachineState& s = m_context.machine;
    m_context.clock.sleepMs(1);
    // A lost link ends the wait (and the loops with it): a key could no longer be told apart.
    if (!m_protocol.ReadStatus()) {
        m_stopRequested = true;
        return;
    }
    while (s.busy()) {
        m_context.clock.sleepMs(1);
        if (!m_protocol.ReadStatus()) {
            m_stopRequested = true;
            return;
        }
        takeStopInput();
    }
}

std::string Tprzesun::testClick(double dx, double dy, double dz)
{
    const MachineState& s = m_context.machine;
    m_protocol.ReadStatus();
    while (s.busy() && m_protocol.link().connected()) {
        // The pause lets the machine (and a simulated one) move on between polls.
        m_context.clock.sleepMs(1);
        m_protocol.ReadStatus();
    }
    if (!m_protocol.link().connected())
        return {};

    auto move = [&](double sign) {
        machine::AxisSteps a{};
        a[AxisFrontX] = a[AxisBackX] = steps(sign * dx * s.resX * 100);
        a[AxisFrontY] = a[AxisBackY] = steps(sign * dy * s.resY * 100);
        a[AxisTable] = a[AxisAux] = a[AxisSpindle] = steps(sign * s.stepsW * dz * 100);
        const machine::MoveCommand command = m_protocol.BuildMove(machine::LetterMove, a);
        if (command.count > 0)
            m_protocol.SendCommand(command.text);
        waitWhileBusy();
        m_protocol.ReadPositions();
        m_protocol.ReadMachineInfo();
    };
    // Before each test move: ten empty moves, which send nothing and only wait while the
    // machine is busy.
    auto idle = [&] {
        for (int i = 0; i < kIdleWaits; ++i)
            waitWhileBusy();
    };
    std::string counters;
    m_stopRequested = false;
    do {
        idle();
        move(1.0);
        idle();
        move(-1.0);
        counters = m_protocol.link().countersText();
        if (m_passShown)
            m_passShown(counters);
        m_context.host.keepPainting();
    } while (!takeStopInput());
    return counters;
}

void Tprzesun::TestGrzalkiClick()
{
    const auto warmUp = [this] {
        m_context.clock.sleepMs(roundHalfEven<std::int64_t>(m_context.configuration.number(Param::CzasRozgrzewania)));
    };
    m_stopRequested = false;
    do {
        m_motion.HeatAndPause();
        waitWhileBusy();
        warmUp();
        m_protocol.SendCommand(machine::commands::heating(false, kHeatingOutput));
        waitWhileBusy();
        warmUp();
    } while (!takeStopInput());
}

}  // namespace kerfline
