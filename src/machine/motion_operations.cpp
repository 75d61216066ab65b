#include "machine/motion_operations.h"

#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "base/app_context.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace kerfline::machine {
namespace {

constexpr std::int32_t kJogRevolutions = 10;
constexpr std::int32_t kWireGap = 1000;  // 10 mm between the front and the side wire
constexpr int kHeatingOutput = 2;
// Every output that heats a wire: 2 for manual moves, 1 and 3 for programs.
constexpr int kHeatingOutputs[] = {kHeatingOutput, 1, 3};
constexpr char kGotoCaption[] = "Goto point";

std::int32_t saturated(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

// A jog never runs against its key: an arm already past the end moves by nothing.
std::int32_t distance(std::int64_t value)
{
    return saturated(std::max<std::int64_t>(0, value));
}

}  // namespace

// Offsets of a heated move: millimetres for the arms, revolutions for the rotary axis.
struct MotionOperations::Offsets {
    double frontX = 0, frontY = 0, backX = 0, backY = 0;
    double revolutions = 0;
    int rotaryAxis = AxisSpindle;
    std::int32_t stepsPerRevolution = 0;
};

void MotionOperations::sleepMs(double ms)
{
    m_protocol.context().clock.sleepMs(roundHalfEven<std::int64_t>(ms));
}

CommandBytes MotionOperations::powerCommand(int output, std::int32_t value) const
{
    return commands::powerSetting(output, value, m_protocol.context().machine.newPowerFormat());
}

void MotionOperations::StopMotion()
{
    m_protocol.SendCommand(commands::stopMotion());
}

void MotionOperations::SetSpeed(std::uint16_t period)
{
    m_protocol.ReadStatus();
    const MachineState& s = m_protocol.context().machine;
    if (s.selectedSpeedSet <= 3) {
        // A multiplier of 0 (a "wspV" switch of 0) would divide by zero: the period goes as it is.
        const int multiplier = s.speedMultiplier > 0 ? s.speedMultiplier : 1;
        m_protocol.SendCommand(
            commands::speedPeriod(s.selectedSpeedSet, static_cast<std::uint16_t>(period / multiplier)));
    }
    m_protocol.ReadSpeeds();
}

void MotionOperations::SetProgramOrigin(std::int32_t originX, std::int32_t originY)
{
    const MachineState& s = m_protocol.context().machine;
    m_protocol.SendCommand(
        commands::programOrigin(roundHalfEven(originX * s.resX), roundHalfEven(originY * s.resY)));
}

void MotionOperations::SetDisplayUnit(int unitIndex)
{
    m_protocol.SendCommand(commands::setParameter(ParameterId::DisplayUnit, unitIndex));
}

void MotionOperations::SetTension(std::int32_t tenthsOfNewton)
{
    m_protocol.SendCommand(commands::setParameter(ParameterId::Tension, tenthsOfNewton));
}

void MotionOperations::WriteEepromByte(std::uint8_t address, std::uint8_t value)
{
    m_protocol.SendCommand(commands::writeEepromByte(address, value));
}

void MotionOperations::HeatAndPause()
{
    heatForMove(kHeatingOutput);
    sleepMs(m_protocol.settings().cornerPauseMs);
}

void MotionOperations::markHeatedForMove()
{
    if (!m_protocol.context().machine.heatingOn())
        m_heatedForMove = true;
}

void MotionOperations::heatForMove(int output)
{
    markHeatedForMove();
    m_protocol.SendCommand(commands::heating(true, output));
}

void MotionOperations::coolAfterMove()
{
    if (!m_heatedForMove)
        return;
    m_heatedForMove = false;
    SwitchHeatingOff();
}

void MotionOperations::SendPowerSetting()
{
    const MachineState& s = m_protocol.context().machine;
    m_protocol.SendCommand(powerCommand(s.selectedPowerOutput, s.currentPower));
}

void MotionOperations::SetWorkPower(int output, double power)
{
    const MachineState& s = m_protocol.context().machine;
    const double p = s.reportsPowerInPercent ? power * 255.0 / 100.0 : power * 10.0 * s.powerScale;
    m_protocol.SendCommand(powerCommand(output, roundHalfEven(p)));
}

void MotionOperations::HeatRamp(int output, int percent)
{
    const MachineState& s = m_protocol.context().machine;
    const std::int64_t target = static_cast<std::int64_t>(percent) * 255 / 100;
    const double cornerPause = m_protocol.settings().cornerPauseMs;
    const std::int64_t steps = cornerPause > 600 ? roundHalfEven<std::int64_t>(cornerPause) / 60 : 10;

    m_protocol.SendCommand(commands::heating(false, output));
    sleepMs(100);
    m_protocol.SendCommand(powerCommand(output, 4));
    sleepMs(100);
    m_protocol.SendCommand(commands::heating(true, output));
    for (std::int64_t i = 1; i <= steps; ++i) {
        const auto value = static_cast<std::int32_t>((i * target / steps) & 0xFF);
        m_protocol.SendCommand(powerCommand(output, value));
        if (value > 12) {
            // A broken wire shows only once some current flows; without an answer the power is
            // raised no further.
            if (!m_protocol.ReadStatus() || s.wireBreak())
                return;
        }
        m_protocol.SendCommand(commands::heating(true, output));
    }
}

void MotionOperations::SwitchHeatingOff()
{
    // The status tells only that some output heats: a program heats output 1 or 3, jogs and
    // heated moves output 2, the panel the selected output.
    const int selected = m_protocol.context().machine.selectedPowerOutput;
    for (const int output : kHeatingOutputs)
        m_protocol.SendCommand(commands::heating(false, output));
    if (std::find(std::begin(kHeatingOutputs), std::end(kHeatingOutputs), selected) == std::end(kHeatingOutputs))
        m_protocol.SendCommand(commands::heating(false, selected));
}

void MotionOperations::ToggleHeating()
{
    const MachineState& s = m_protocol.context().machine;
    if (s.heatingOn()) {
        SwitchHeatingOff();
        sleepMs(200);
    } else if (s.reportsPowerInPercent) {
        HeatRamp(s.selectedPowerOutput, roundHalfEven(s.currentPower * 100.0 / 255.0));
    } else {
        SwitchHeatingOn(s.selectedPowerOutput);
    }
}

void MotionOperations::SwitchHeatingOn(int output)
{
    m_protocol.SendCommand(commands::heating(true, output));
    sleepMs(200);
}

JogDistances MotionOperations::jogDistances(int key, bool front, bool back) const
{
    const MachineState& s = m_protocol.context().machine;
    const bool homed = s.homed();
    const std::int64_t fx = s.frontX, fy = s.frontY, bx = s.backX, by = s.backY;
    const std::int64_t lx = std::int64_t{s.limitX} * 100, ly = std::int64_t{s.limitY} * 100;
    auto endX = [lx](std::int64_t p) { return lx - p; };
    auto endY = [ly](std::int64_t p) { return ly - p; };

    JogDistances d;
    std::int64_t f = 0, b = 0, both = 0;
    int dirX = 0, dirY = 0;
    switch (key) {
    case KeyLeft: case KeyPad4:
        f = homed ? fx : ly;
        b = homed ? bx : ly;
        both = homed ? std::min(f, b) : lx;
        dirX = -1;
        break;
    case KeyRight: case KeyPad6:
        f = homed ? endX(fx) : ly;
        b = homed ? endX(bx) : ly;
        both = homed ? std::min(f, b) : ly;
        dirX = 1;
        break;
    case KeyUp: case KeyPad8:
        f = endY(fy);
        b = endY(by);
        both = std::min(f, b);
        dirY = 1;
        break;
    case KeyDown: case KeyPad2:
        f = homed ? fy : ly;
        b = homed ? by : ly;
        both = homed ? std::min(f, b) : ly;
        dirY = -1;
        break;
    case KeyPad1:
        f = std::min(fx, fy);
        b = std::min(bx, by);
        both = std::min(f, b);
        dirX = dirY = -1;
        break;
    case KeyPad3:
        f = std::min(endX(fx), fy);
        b = std::min(endX(bx), by);
        both = std::min(f, b);
        dirX = 1;
        dirY = -1;
        break;
    case KeyPad7:
        f = std::min(fx, endY(fy));
        b = std::min(bx, endY(by));
        both = std::min(f, b);
        dirX = -1;
        dirY = 1;
        break;
    case KeyPad9:
        f = std::min(endX(fx), endY(fy));
        b = std::min(endX(bx), endY(by));
        both = std::min(f, b);
        dirX = dirY = 1;
        break;
    case KeyPageUp:
        d.spindleRevolutions = -kJogRevolutions;
        return d;
    case KeyPageDown:
        d.spindleRevolutions = kJogRevolutions;
        return d;
    case KeyComma: case KeyFullStop: {
        const std::int32_t turn = key == KeyComma ? -kJogRevolutions : kJogRevolutions;
        (s.tableOnSpindleAxis() ? d.spindleRevolutions : d.tableRevolutions) = turn;
        return d;
    }
    default:
        return d;
    }
    const std::int32_t frontDistance = distance(front && back ? both : f);
    const std::int32_t backDistance = distance(front && back ? both : b);
    if (front) {
        d.frontX = dirX * frontDistance;
        d.frontY = dirY * frontDistance;
    }
    if (back) {
        d.backX = dirX * backDistance;
        d.backY = dirY * backDistance;
    }
    return d;
}

JogDistances MotionOperations::jogDistancesTwoWire(int key, bool front, bool back) const
{
    // The panel selects one wire at a time; keys that turn, or both wires, follow the four-axis
    // table.
    if (front == back || key == KeyPageUp || key == KeyPageDown || key == KeyComma || key == KeyFullStop)
        return jogDistances(key, front, back);

    const MachineState& s = m_protocol.context().machine;
    const bool homed = s.homed();
    const std::int64_t fx = s.frontX, fy = s.frontY, bx = s.backX, by = s.backY;
    const std::int64_t lx = std::int64_t{s.limitX} * 100, ly = std::int64_t{s.limitY} * 100;
    auto endX = [lx](std::int64_t p) { return lx - p; };
    auto endY = [ly](std::int64_t p) { return ly - p; };
    // Room between the wires, less the 10 mm the side wire keeps below the front wire.
    const std::int64_t gap = fy - by - kWireGap;

    std::int64_t amount = 0;
    int dirX = 0, dirY = 0;
    switch (key) {
    case KeyLeft: case KeyPad4:
        amount = homed ? (front ? fx : bx) : ly;
        dirX = -1;
        break;
    case KeyRight: case KeyPad6:
        if (front || by >= 0)
            amount = homed ? endX(front ? fx : bx) : ly;
        dirX = 1;
        break;
    case KeyUp: case KeyPad8:
        amount = front ? endY(fy) : gap;
        dirY = 1;
        break;
    case KeyDown: case KeyPad2:
        if (front)
            amount = homed ? gap : ly;
        else
            amount = (homed ? by : ly) + (bx == 0 ? kWireGap : 0);
        dirY = -1;
        break;
    case KeyPad1:
        if (!front)
            amount = std::min(bx, by);
        else if (fy >= 0)
            amount = std::min(fx, gap);
        dirX = dirY = -1;
        break;
    case KeyPad3:
        if (!front)
            amount = std::min(endX(bx), by);
        else if (fy >= 0)
            amount = std::min(endX(fx), gap);
        dirX = 1;
        dirY = -1;
        break;
    case KeyPad7:
        if (!front)
            amount = std::min(bx, gap);
        else if (by >= 0)
            amount = std::min(fx, endY(fy));
        dirX = -1;
        dirY = 1;
        break;
    case KeyPad9:
        if (front)
            amount = std::min(endX(fx), endY(fy));
        else if (by >= 0)
            amount = std::min(endX(bx), gap);
        dirX = dirY = 1;
        break;
    default:
        return {};
    }
    const std::int32_t moved = distance(amount);
    JogDistances d;
    (front ? d.frontX : d.backX) = dirX * moved;
    (front ? d.frontY : d.backY) = dirY * moved;
    return d;
}

void MotionOperations::JogByKey(int key, bool front, bool back)
{
    // A machine whose state is unknown is not jogged.
    if (m_protocol.WaitWhileBusy())
        jog(jogDistances(key, front, back), front, back, false);
}

void MotionOperations::JogByKeyTwoWire(int key, bool front, bool back)
{
    if (m_protocol.WaitWhileBusy())
        jog(jogDistancesTwoWire(key, front, back), front, back, true);
}

void MotionOperations::jog(const JogDistances& d, bool front, bool back, bool twoWire)
{
    if (!d.any())
        return;
    AppContext& context = m_protocol.context();
    const MachineState& s = context.machine;
    if (s.reportsPowerInPercent) {
        markHeatedForMove();
        HeatRamp(kHeatingOutput, roundHalfEven(s.currentPower * 100.0 / 255.0));
    } else {
        heatForMove(kHeatingOutput);
    }
    if (twoWire) {
        // Power goes to the wire that moves: 0 the front wire, 5 the side wire.
        if (front)
            m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, kFrontWireOutput));
        if (back)
            m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, kSideWireOutput));
    }
    if (!s.reportsPowerInPercent)
        sleepMs(m_protocol.settings().cornerPauseMs);
    const bool rotary = d.tableRevolutions != 0 || d.spindleRevolutions != 0;
    if (rotary && m_protocol.settings().heavyRotaryDevice)
        m_protocol.SendCommand(commands::setParameter(ParameterId::HeavyRotation, 1));

    AxisSteps steps{};
    steps[AxisFrontX] = roundHalfEven(d.frontX * s.resX);
    steps[AxisBackX] = roundHalfEven(d.backX * s.resX);
    steps[AxisFrontY] = roundHalfEven(d.frontY * s.resY);
    steps[AxisBackY] = roundHalfEven(d.backY * s.resY);
    steps[AxisTable] = saturated(std::int64_t{d.tableRevolutions} * s.stepsS);
    steps[AxisSpindle] = saturated(std::int64_t{d.spindleRevolutions} * s.stepsW);
    const MoveCommand move = m_protocol.BuildMove(LetterMove, steps);
    if (move.count > 0)
        m_protocol.SendCommand(move.text);
    if (rotary)
        rotaryMoved = true;
}

bool MotionOperations::gotopoint(bool wait, int speedSet, double frontX, double backX, double frontY,
                                 double backY, std::int32_t tableTarget, std::int32_t spindleTarget)
{
    AppContext& context = m_protocol.context();
    const MachineState& s = context.machine;
    const auto lost = [&context] {
        context.language.ShowMessageBox(context.Text("Control", "ploterBrakLacznosci"), true, kGotoCaption);
        return false;
    };
    // A key or a click while the wire travels stops it where it is: the go-to ends unreached.
    const auto waitForTheMove = [&] {
        switch (m_protocol.WaitWhileBusyOrInterrupted()) {
        case ControllerProtocol::WaitEnd::Still:
            return true;
        case ControllerProtocol::WaitEnd::Lost:
            return lost();
        case ControllerProtocol::WaitEnd::Interrupted:
            break;
        }
        StopMotion();
        if (!m_protocol.WaitWhileBusy())
            return lost();
        m_protocol.ReadPositions();
        context.language.ShowMessageBox(context.Text("Control", "przejazdPrzerwany"), false, kGotoCaption);
        return false;
    };
    if (!m_protocol.ReadStatus())
        return lost();
    if (s.busy() || s.programRunning()) {
        context.language.ShowMessageBox(context.Text("Control", "nieMoznaPrzesuwac"), true, kGotoCaption);
        return false;
    }
    // The offsets are taken from where the wire stands: without an answer there is no offset.
    if (!m_protocol.ReadPositions())
        return lost();
    m_protocol.SendCommand(commands::selectSpeedSet(speedSet));

    const std::int64_t frontXOffset = roundHalfEven<std::int64_t>(frontX * 100) - s.frontX;
    const std::int64_t backXOffset = roundHalfEven<std::int64_t>(backX * 100) - s.backX;
    const std::int64_t frontYOffset = roundHalfEven<std::int64_t>(frontY * 100) - s.frontY;
    const std::int64_t backYOffset = roundHalfEven<std::int64_t>(backY * 100) - s.backY;
    // The shorter way round on the rotary axes.
    auto shorter = [](std::int64_t target, std::int64_t remainder, std::int64_t perRevolution) {
        std::int64_t t = target - remainder;
        if (t > perRevolution / 2)
            t -= perRevolution;
        if (t < -(perRevolution / 2))
            t += perRevolution;
        return t;
    };
    const std::int64_t table = shorter(tableTarget, s.tableRemainder, s.stepsS);
    const std::int64_t spindle = shorter(spindleTarget, s.spindleRemainder, s.stepsW);
    if (!m_protocol.WaitWhileBusy())
        return lost();

    AxisSteps linear{};
    linear[AxisFrontX] = roundHalfEven(static_cast<double>(frontXOffset) * s.resX);
    linear[AxisBackX] = roundHalfEven(static_cast<double>(backXOffset) * s.resX);
    linear[AxisFrontY] = roundHalfEven(static_cast<double>(frontYOffset) * s.resY);
    linear[AxisBackY] = roundHalfEven(static_cast<double>(backYOffset) * s.resY);
    AxisSteps rotary{};
    rotary[AxisTable] = saturated(table);
    rotary[AxisSpindle] = saturated(spindle);

    const bool anyOffset = frontXOffset || backXOffset || frontYOffset || backYOffset || table || spindle;
    if (anyOffset) {
        if ((table || spindle) && m_protocol.settings().heavyRotaryDevice) {
            m_protocol.SendCommand(commands::setParameter(ParameterId::HeavyRotation, 1));
            m_protocol.SendCommand(m_protocol.BuildMove(LetterMove, rotary).text);
            if (!waitForTheMove())
                return false;
            m_protocol.SendCommand(m_protocol.BuildMove(LetterMove, linear).text);
        } else {
            AxisSteps all = linear;
            all[AxisTable] = rotary[AxisTable];
            all[AxisSpindle] = rotary[AxisSpindle];
            m_protocol.SendCommand(m_protocol.BuildMove(LetterMove, all).text);
        }
        if (wait && !waitForTheMove())
            return false;
    }
    if (!m_protocol.ReadPositions())
        return lost();
    return true;
}

bool MotionOperations::prepareSideWire(bool back, double dyMm, bool always, double& limitXmm, double& limitYmm,
                                       bool& linked)
{
    MachineState& s = m_protocol.context().machine;
    if (!s.isTwoWireMachine() || !back)
        return true;
    if (s.backY < 0) {
        // Raising the side wire needs the front wire at least 10 mm above it.
        if (s.frontY < kWireGap)
            return false;
        if (always || -s.backY / 100.0 != dyMm) {
            AxisSteps raise{};
            raise[AxisBackY] = roundHalfEven(-s.backY * s.resY);
            m_protocol.SendCommand(m_protocol.BuildMove(LetterMove, raise).text);
            // The limits below follow from where the side wire ended up.
            if (!m_protocol.WaitWhileBusy() || !m_protocol.ReadPositions()) {
                linked = false;
                return false;
            }
        }
    }
    limitXmm = s.secondWireLimitX;
    limitYmm = std::min(s.frontY / 100.0 - 10, static_cast<double>(s.secondWireLimitY));
    return true;
}

void MotionOperations::heatedMove(bool front, bool back, const Offsets& o)
{
    AppContext& context = m_protocol.context();
    const MachineState& s = context.machine;
    const bool frontMoves = front && (o.frontX != 0 || o.frontY != 0);
    const bool backMoves = back && (o.backX != 0 || o.backY != 0);
    if (!frontMoves && !backMoves && o.revolutions == 0)
        return;
    {
        BusyCursor busy(context.host);
        HeatAndPause();
        sleepMs(m_protocol.settings().heatingTimeMs);
        if (o.revolutions != 0 && m_protocol.settings().heavyRotaryDevice)
            m_protocol.SendCommand(commands::setParameter(ParameterId::HeavyRotation, 1));
        AxisSteps steps{};
        if (front) {
            steps[AxisFrontX] = roundHalfEven(o.frontX * 100 * s.resX);
            steps[AxisFrontY] = roundHalfEven(o.frontY * 100 * s.resY);
        }
        if (back) {
            steps[AxisBackX] = roundHalfEven(o.backX * 100 * s.resX);
            steps[AxisBackY] = roundHalfEven(o.backY * 100 * s.resY);
        }
        if (front && back)
            steps[static_cast<std::size_t>(o.rotaryAxis)] = roundHalfEven(o.revolutions * o.stepsPerRevolution);
        const MoveCommand move = m_protocol.BuildMove(LetterMove, steps);
        if (move.count > 0)
            m_protocol.SendCommand(move.text);
    }
    if (o.revolutions != 0)
        rotaryMoved = true;
}

namespace {

// Polls until the axes stand still; the pause lets a simulated machine run meanwhile. False when
// a read fails.
bool waitUntilStill(ControllerProtocol& protocol)
{
    if (!protocol.ReadStatus())
        return false;
    while (protocol.context().machine.busy()) {
        protocol.context().clock.sleepMs(1);
        if (!protocol.ReadStatus())
            return false;
    }
    return true;
}

}  // namespace

bool MotionOperations::noConnection()
{
    AppContext& context = m_protocol.context();
    context.language.ShowMessageBox(context.Text("Control", "ploterBrakLacznosci"), true);
    return false;
}

bool MotionOperations::MoveToPoint(bool front, bool back, double angle, double y, double x)
{
    AppContext& context = m_protocol.context();
    const MachineState& s = context.machine;
    // Every offset below is taken from the positions read here: a move without them goes nowhere.
    if (!waitUntilStill(m_protocol) || !m_protocol.ReadPositions())
        return noConnection();
    double limitXmm = s.limitX, limitYmm = s.limitY;
    bool linked = true;
    if (!prepareSideWire(back, 0.0, true, limitXmm, limitYmm, linked))
        return linked ? false : noConnection();
    x = std::max(0.0, x);
    y = std::max(0.0, y);

    Offsets o;
    const bool table = m_protocol.settings().tableDevice && !s.tableOnSpindleAxis();
    o.rotaryAxis = table ? AxisTable : AxisSpindle;
    o.stepsPerRevolution = table ? s.stepsS : s.stepsW;
    const std::int32_t remainder = table ? s.tableRemainder : s.spindleRemainder;
    const double turn = angle / 360.0 - std::floor(angle / 360.0);
    o.revolutions = turn - (o.stepsPerRevolution != 0 ? static_cast<double>(remainder) / o.stepsPerRevolution : 0.0);

    const double factor = m_protocol.settings().unitFactor;
    const double xmm = std::min(x * factor, limitXmm);
    const double ymm = std::min(y * factor, limitYmm);
    o.frontX = xmm - s.frontX / 100.0;
    o.backX = xmm - s.backX / 100.0;
    o.backY = ymm - s.backY / 100.0;
    double frontYTarget = ymm;
    if (s.isTwoWireMachine() && front && !back)
        frontYTarget = std::max(frontYTarget, s.backY / 100.0 + 10);
    o.frontY = frontYTarget - s.frontY / 100.0;
    heatedMove(front, back, o);
    return true;
}

bool MotionOperations::MoveByDelta(bool front, bool back, double angle, double dy, double dx)
{
    AppContext& context = m_protocol.context();
    const MachineState& s = context.machine;
    // The limits cut the offsets from the positions read here.
    if (!waitUntilStill(m_protocol) || !m_protocol.WaitWhileBusy() || !m_protocol.ReadPositions())
        return noConnection();
    const double factor = m_protocol.settings().unitFactor;
    const double dxmm = dx * factor, dymm = dy * factor;
    double limitXmm = s.limitX, limitYmm = s.limitY;
    bool linked = true;
    if (!prepareSideWire(back, dymm, false, limitXmm, limitYmm, linked))
        return linked ? false : noConnection();

    Offsets o;
    const bool table = m_protocol.settings().tableDevice && !s.tableOnSpindleAxis();
    o.rotaryAxis = table ? AxisTable : AxisSpindle;
    o.stepsPerRevolution = table ? s.stepsS : s.stepsW;
    o.revolutions = angle / 360.0;

    // Cut an offset so that the position stays within 0 .. limit; a position already outside
    // is not pushed further out.
    auto within = [](double offset, double positionMm, double limitMm, bool floorAtZero) {
        if (offset < 0 && floorAtZero && positionMm + offset < 0)
            offset = std::min(0.0, -positionMm);
        if (offset > 0 && positionMm + offset > limitMm)
            offset = std::max(0.0, limitMm - positionMm);
        return offset;
    };
    const bool twoWire = s.isTwoWireMachine();
    double frontDy = dymm;
    if (twoWire && front && !back && frontDy < 0) {
        const double allowed = s.backY / 100.0 + 10 - s.frontY / 100.0;
        frontDy = std::max(frontDy, std::min(0.0, allowed));
    }
    o.frontX = within(dxmm, s.frontX / 100.0, limitXmm, true);
    o.backX = within(dxmm, s.backX / 100.0, limitXmm, true);
    o.backY = within(dymm, s.backY / 100.0, limitYmm, true);
    o.frontY = within(frontDy, s.frontY / 100.0, limitYmm, !twoWire);
    heatedMove(front, back, o);
    return true;
}

bool MotionOperations::ParkSideWire()
{
    const MachineState& s = m_protocol.context().machine;
    if (!m_protocol.ReadPositions())
        return noConnection();
    // Below the table the side wire may stand only at X 0: it goes there first, at the table's
    // height, wherever it stands.
    if ((s.backX != 0 || s.backY > 0) &&
        !gotopoint(true, 2, s.frontX / 100.0, 0.0, s.frontY / 100.0, 0.0, s.tableRemainder, s.spindleRemainder))
        return false;
    return gotopoint(true, 2, s.frontX / 100.0, s.backX / 100.0, s.frontY / 100.0, -10.0, s.tableRemainder,
                     s.spindleRemainder);
}

void MotionOperations::saveRotaryRemainders()
{
    const MachineState& s = m_protocol.context().machine;
    savedTableRemainder = s.tableRemainder;
    savedSpindleRemainder = s.spindleRemainder;
}

}  // namespace kerfline::machine
