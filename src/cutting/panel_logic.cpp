#include "cutting/panel_logic.h"

#include "config/number_text.h"
#include "config/dialog_rules.h"
#include "cutting/joystick.h"
#include "cutting/wire_move.h"
#include "base/round.h"
#include "machine/controller_commands.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kerfline {
namespace {

using machine::JogKey;

constexpr int kIdleIntervalMs = 3000;
constexpr int kConnectedIntervalMs = 100;
using machine::ParameterId;
namespace commands = machine::commands;

// Comma and full stop turn the table (the spindle when the table sits on its axis).
bool isTableJogKey(int key)
{
    return key == machine::KeyComma || key == machine::KeyFullStop;
}

bool isArmJogKey(int key)
{
    return (key >= machine::KeyLeft && key <= machine::KeyDown) ||
           (key >= machine::KeyPad1 && key <= machine::KeyPad4) ||
           (key >= machine::KeyPad6 && key <= machine::KeyPad9);
}

// Round to a multiple of `step`, halves to even.
std::int64_t roundedTo(double value, int step)
{
    return roundHalfEven<std::int64_t>(value / step) * step;
}

}  // namespace

PanelCaptions panelCaptions(const AppContext& context)
{
    PanelCaptions c;
    c.form = context.Text("Control", "caption");
    if (const auto filter = context.commandLine.SwitchValue("OnlyMachine"); filter && !filter->empty())
        c.form += " " + *filter;
    c.coordinates = context.Text("Control", "groupBox1.caption") + "  [ " +
                    std::string(unitText(context.configuration.displayUnit)) + " ]";
    c.frontRow = frontArmCaption(context);
    c.backRow = backArmCaption(context);
    c.tableGroup = context.Text("Configuration", "stolikswitch.Item1");
    c.spindleGroup = context.Text("Configuration", "stolikswitch.Item0");
    if (context.machine.tableOnSpindleAxis()) {
        // One rotary axis carries whichever device is configured.
        switch (context.configuration.choice(Param::StolikSwitch)) {
        case DeviceSpindle: break;
        case DeviceTable: c.spindleGroup = c.tableGroup; break;
        default: c.spindleGroup = "Z " + context.Text("Configuration", "stolikswitch.Item2"); break;
        }
    }
    c.tension = context.Text("Control", "NaciagBox.Caption") + "  [ N ]";
    return c;
}

Tster::Tster(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion,
             Joystick* joystick, PanelHooks hooks)
    : m_context(context), m_protocol(protocol), m_motion(motion), m_joystick(joystick), m_hooks(std::move(hooks))
{
}

bool Tster::connected() const
{
    return m_protocol.link().connected();
}

bool Tster::isFamily(const char* code) const
{
    return m_context.machine.familyCode == code;
}

void Tster::FormCreate()
{
    if (!m_protocol.link().FindController()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "brakPlotera"), true);
        return;
    }
    readMachine();
}

void Tster::machineConnected()
{
    // Gone again before this came round: the next connection brings the next call.
    if (m_protocol.link().FindController())
        readMachine();
}

void Tster::readMachine()
{
    MachineState& s = m_context.machine;
    // Another controller, or the same one after it was gone: what the state holds is not its.
    m_positionsKnown = false;
    m_positionsReadAtMs.reset();
    m_protocol.ReadStatus();
    if (connected() && !s.programRunning())
        m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, m_context.configuration.choice(Param::PowerOutput)));
    m_protocol.ReadMachineInfo();
    m_motion.SetDisplayUnit(m_context.configuration.choice(Param::radiounit));
    m_view.firmwareLabel = "ARM " + std::to_string(s.versionMajor) + "." + std::to_string(s.versionMinor);

    m_view.alignVisible = isFamily("Qd");
    // The two-wire machine needs the boxes too: they are the only way to choose the side wire by
    // hand, and its row shows where that wire stands.
    m_view.armSelectionVisible =
        isFamily("Qd") || s.isTwoWireMachine() || m_context.commandLine.HasSwitch("TEST");
    m_view.tableGroupVisible = !s.tableOnSpindleAxis();
    m_view.tensionVisible = isFamily("Qd") || isFamily("Qm");
    m_view.tensionMax = m_context.commandLine.HasSwitch("doubleTension") ? 200 : 100;

    m_timerEnabled = true;
    if (s.isTwoWireMachine()) {
        s.KeyFront = true;
        s.KeyBack = false;
    }
    applyPowerRanges();
    m_view.powerPosition = std::min(m_view.powerPosition, m_view.powerMax);
}

void Tster::FormActivate()
{
    MachineState& s = m_context.machine;
    m_view.speedCaption = speedCaption();
    m_motion.rotaryMoved = false;
    m_jogActive = false;
    m_context.clock.sleepMs(10);
    m_protocol.ReadStatus();
    if (!connected()) {
        m_timerEnabled = false;
        return;
    }
    m_protocol.ReadMachineInfo();
    if (!s.busy() && !s.programRunning()) {
        m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, m_context.configuration.choice(Param::PowerOutput)));
        m_protocol.ReadPower();
        m_protocol.SendCommand(commands::heating(false, s.selectedPowerOutput));
    }
    setPowerPosition(s.reportsPowerInPercent ? roundHalfEven(s.currentPower * 100.0 / 255.0) : s.currentPower);
    PScrollChange();

    m_protocol.ReadSpeeds();
    m_view.speedMax = s.maxTravelSpeed;
    if (s.currentSpeed != 0) {
        setSpeedPosition(m_protocol.PeriodToSpeed(s.currentSpeed));
        m_savedSpeed = m_protocol.PeriodToSpeed(s.currentSpeed);
    }

    m_protocol.ReadPositions();
    m_motion.SetDisplayUnit(m_context.configuration.choice(Param::radiounit));
    m_protocol.ReadTension();
    m_view.tensionPosition = std::clamp(roundHalfEven(s.tensionSetPoint / 10.0), 0, m_view.tensionMax);
    m_view.tensionLabel = std::to_string(roundHalfEven(s.tensionSetPoint / 10.0));
    m_view.realTensionLabel = formatFixed(s.tensionSetPoint / 10.0, 1, m_context.decimalSeparator);

    applyPowerRanges();
    if (s.isTwoWireMachine()) {
        if (s.KeyFront) {
            s.KeyBack = false;
            m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, machine::kFrontWireOutput));
        } else {
            s.KeyBack = true;
            m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, machine::kSideWireOutput));
        }
    }
    VScrollChange();
    m_timerEnabled = true;
}

void Tster::FormDeactivate()
{
    if (m_motion.rotaryMoved) {
        m_protocol.ReadPositions();
        m_motion.saveRotaryRemainders();
    }
    if (connected())
        m_motion.SetDisplayUnit(m_context.configuration.choice(Param::radiounit));
}

void Tster::Timer1Timer()
{
    // The status report carries the positions: on a panel without the focus, one read serves
    // the heartbeat and the coordinates the operator watches from the main window, also while
    // a job runs.
    const bool active = m_hooks.isActive && m_hooks.isActive();
    const bool answered = active ? m_protocol.ReadStatus() : m_protocol.ReadStatusAndPositions();
    if (connected()) {
        m_intervalMs = kConnectedIntervalMs;
        if (m_hooks.jobLogic)
            m_hooks.jobLogic();
        // A jog, a heated move or a go-to that has ended leaves no wire hot at rest.
        const MachineState& s = m_context.machine;
        if (answered && !s.busy() && !s.programRunning())
            m_motion.coolAfterMove();
    } else {
        m_intervalMs = kIdleIntervalMs;
    }
    // Waiting keys and clicks go first: a jog key must not wait behind a round of polling.
    if (active && m_hooks.inputWaiting && m_hooks.inputWaiting())
        return;
    if (!active) {
        if (connected())
            showPositions(answered);
        return;
    }
    m_protocol.ReadStatus();
    if (!connected()) {
        if (m_hooks.close)
            m_hooks.close();
        return;
    }
    refresh();
}

std::string Tster::coordinate(std::int32_t hundredths) const
{
    const int unit = m_context.configuration.displayUnit;
    if (unit == UnitMillimetre)
        return formatFixed(hundredths / 100.0, 2, m_context.decimalSeparator);
    return formatFixed(hundredths / 100.0 / unitFactor(unit), 3, m_context.decimalSeparator);
}

std::string Tster::speedCaption() const
{
    const MachineState& s = m_context.machine;
    std::string caption;
    switch (s.selectedSpeedSet) {
    case 0: caption = m_context.Text("Control", "szybkoscPrzestawcza"); break;
    case 1: caption = m_context.Text("Control", "szybkoscRobocza"); break;
    default: caption = m_context.Text("Control", "szybkosc"); break;
    }
    return caption + " [ " + std::string(unitText(m_context.configuration.displayUnit)) + "/min ]";
}

void Tster::refresh()
{
    MachineState& s = m_context.machine;
    const char separator = m_context.decimalSeparator;
    const bool positionsRead = m_protocol.ReadPositions();
    m_protocol.ReadSpeeds();
    m_protocol.ReadPower();
    m_view.heatingDown = s.heatingOn();

    if (s.wireBreak())
        m_view.wireState = s.reportsPowerInPercent ? m_context.Text("Control", "sprawdzBezpiecznik")
                                                   : m_context.Text("Control", "zerwanyDrut");
    else
        m_view.wireState.clear();

    const std::int16_t instant = s.speeds[4];
    if (instant != 0)
        m_view.instantSpeed = m_protocol.PeriodToSpeed(instant);

    if (s.selectedSpeedSet <= 3)
        m_view.speedCaption = speedCaption();
    m_view.speedMax = s.maxTravelSpeed;
    // The refresh only shows the controller's speed; it does not send it back.
    if (s.currentSpeed != 0)
        setSpeedPosition(m_protocol.PeriodToSpeed(s.currentSpeed));
    updateSpeedLabel();

    setPowerPosition(s.reportsPowerInPercent ? roundHalfEven(s.currentPower * 100.0 / 255.0) : s.currentPower);
    m_view.realPowerLabel = formatFixed(s.measuredPower / 1000.0, 1, separator);
    m_view.gaugePosition = roundHalfEven(s.measuredPower / 100.0 * s.powerScale);
    // Red when the set current (tenths, one decimal) is more than the wire takes.
    const double setTenths = roundHalfEven(m_view.powerPosition / 10.0 * 10.0) / 10.0;
    const double takenTenths = roundHalfEven(s.measuredPower / 1000.0 * s.powerScale * 10.0) / 10.0;
    m_view.gaugeRed = setTenths > takenTenths;

    m_protocol.ReadTension();
    m_view.tensionLabel = std::to_string(roundHalfEven(s.tensionSetPoint / 10.0));
    m_view.realTensionLabel = formatFixed(s.tensionMeasured / 10.0, 1, separator);

    showPositions(positionsRead);

    m_view.motionButtonsEnabled = !s.programRunning();
    m_view.alignEnabled = !s.programRunning() && !s.isTwoWireMachine();
    m_view.usbError = m_protocol.link().countersText();

    readJoystick();
    if (m_hooks.serialRepetition)
        m_hooks.serialRepetition();
}

bool Tster::positionsReadWithinMs(std::int64_t ms) const
{
    return m_positionsReadAtMs && m_context.clock.nowMs() - *m_positionsReadAtMs <= ms;
}

void Tster::showPositions(bool readOk)
{
    if (readOk)
        m_positionsReadAtMs = m_context.clock.nowMs();
    m_positionsKnown = m_positionsKnown || readOk;
    if (!m_positionsKnown)
        return;  // the dashes stay: zeros nobody read are no position
    // The state keeps the last good read, whoever made it.
    const MachineState& s = m_context.machine;
    const char separator = m_context.decimalSeparator;
    m_view.tableAngle = formatFixed(s.tableAngle, 2, separator);
    m_view.spindleAngle = formatFixed(s.spindleAngle, 2, separator);
    m_view.frontX = coordinate(s.frontX);
    m_view.backX = coordinate(s.backX);
    m_view.frontY = coordinate(s.frontY);
    m_view.backY = coordinate(s.backY);
}

void Tster::homingPolled(bool readOk)
{
    const PanelView before = m_view;
    showPositions(readOk);
    // Polled every few milliseconds: the panel is painted only when a coordinate moved.
    const bool moved = before.frontX != m_view.frontX || before.frontY != m_view.frontY ||
                       before.backX != m_view.backX || before.backY != m_view.backY ||
                       before.tableAngle != m_view.tableAngle || before.spindleAngle != m_view.spindleAngle;
    if (moved && m_hooks.repaint)
        m_hooks.repaint();
}

void Tster::readJoystick()
{
    if (!m_view.motionButtonsEnabled || m_joystick == nullptr)
        return;
    const std::optional<JoystickReading> reading = m_joystick->read();
    if (!reading)
        return;
    MachineState& s = m_context.machine;
    m_joystickCode = joystickCode(*reading);
    if (m_joystickCode != 0) {
        const int deflection = std::max(std::abs(reading->x - 32768), std::abs(reading->y - 32768));
        const int speed = roundHalfEven(deflection / 32768.0 * s.maxTravelSpeed);
        const int before = m_view.speedPosition;
        setSpeedPosition(speed);
        if (m_view.speedPosition != before)
            VScrollChange();
    }
    if (m_joystickCode == m_previousJoystickCode)
        return;
    m_protocol.ReadStatus();
    if (s.busy() || m_joystickCode == 0) {
        m_motion.StopMotion();
        m_protocol.WaitWhileBusy();
    }
    m_protocol.ReadPositions();
    int key = 0;
    switch (m_joystickCode) {
    case 1: key = machine::KeyPad6; break;
    case 3: key = machine::KeyPad7; break;
    case 4: key = machine::KeyPad8; break;
    case 5: key = machine::KeyPad9; break;
    case -1: key = machine::KeyPad4; break;
    case -3: key = machine::KeyPad3; break;
    case -4: key = machine::KeyPad2; break;
    case -5: key = machine::KeyPad1; break;
    case 8: key = machine::KeyPageUp; break;
    case -8: key = machine::KeyPageDown; break;
    case 16: k_zalwylClick(); break;
    default: break;
    }
    if (key != 0)
        m_motion.JogByKey(key, true, true);
    m_previousJoystickCode = m_joystickCode;
}

void Tster::jog(int key, bool front, bool back)
{
    if (m_context.machine.isTwoWireMachine() && isArmJogKey(key))
        m_motion.JogByKeyTwoWire(key, front, back);
    else
        m_motion.JogByKey(key, front, back);
}

void Tster::OnKeyDown(int key, KeyModifiers modifiers)
{
    MachineState& s = m_context.machine;
    if (key == KeyCtrl && !m_ctrlSlow) {
        // A held Ctrl repeats its key-down: only the first press saves the speed.
        m_ctrlSlow = true;
        m_savedSpeed = m_view.speedPosition;
        m_motion.SetSpeed(m_protocol.SpeedToPeriod(static_cast<std::uint16_t>(m_view.speedPosition / 10)));
    }
    if (m_jogActive)
        return;
    if (key == machine::KeyPageUp || key == machine::KeyPageDown) {
        m_jogActive = true;
        m_protocol.ReadStatus();
        m_motion.JogByKey(key, false, false);
    } else if (isTableJogKey(key)) {
        m_jogActive = true;
        m_protocol.ReadStatus();
        m_motion.JogByKey(key, s.KeyFront, s.KeyBack);
    } else if (key == KeyHome) {
        if (m_hooks.bazujClick)
            m_hooks.bazujClick();
    } else if (isArmJogKey(key)) {
        m_jogActive = true;
        m_protocol.ReadStatus();
        jog(key, s.KeyFront, s.KeyBack);
    } else if (key == KeyInsert || key == KeyPad0) {
        k_zalwylClick();
    } else if (key == KeyE && modifiers.alt) {
        m_view.upgradePanelVisible = !m_view.upgradePanelVisible;
    } else if (key == KeyPad5) {
        m_protocol.ReadStatus();
        if (!s.programRunning())
            m_motion.StopMotion();
    } else if (key == KeyPadPlus || key == KeyPadMinus) {
        const int position = m_view.speedPosition;
        const int step = position >= 1000 ? 100 : position >= 100 ? 10 : position >= 10 ? 1 : 0;
        if (key == KeyPadPlus)
            setSpeedPosition(std::min(position + step, s.maxTravelSpeed));
        else
            setSpeedPosition(std::max(position - step, 10));
        updateSpeedLabel();
        m_motion.SetSpeed(m_protocol.SpeedToPeriod(static_cast<std::uint16_t>(m_view.speedPosition)));
    } else if (key == KeyF12 && modifiers.ctrl && modifiers.shift && modifiers.alt) {
        m_view.servicePanelVisible = !m_view.servicePanelVisible;
    }
}

void Tster::stopAfterJog()
{
    m_motion.StopMotion();
    m_protocol.WaitWhileBusy();
    m_protocol.ReadPositions();
    m_motion.saveRotaryRemainders();
}

void Tster::OnKeyUp(int key)
{
    if (key == KeyCtrl) {
        // A release without a press seen by the panel has no saved speed to restore.
        if (m_ctrlSlow)
            m_motion.SetSpeed(m_protocol.SpeedToPeriod(static_cast<std::uint16_t>(m_savedSpeed)));
        m_ctrlSlow = false;
    } else if (key == machine::KeyPageUp || key == machine::KeyPageDown) {
        m_jogActive = false;
        m_motion.StopMotion();
    } else if (isArmJogKey(key) || isTableJogKey(key)) {
        m_jogActive = false;
        stopAfterJog();
    }
}

void Tster::MMouseDown(JogButton button)
{
    if (m_hooks.MoznaRuszac && !m_hooks.MoznaRuszac())
        return;
    const MachineState& s = m_context.machine;
    m_protocol.ReadStatus();
    if (!connected())
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
    m_protocol.WaitWhileBusy();
    switch (button) {
    case JogButton::ku: jog(machine::KeyPad8, s.KeyFront, s.KeyBack); break;
    case JogButton::kl: jog(machine::KeyPad4, s.KeyFront, s.KeyBack); break;
    case JogButton::kr: jog(machine::KeyPad6, s.KeyFront, s.KeyBack); break;
    case JogButton::kd: jog(machine::KeyPad2, s.KeyFront, s.KeyBack); break;
    case JogButton::kwu: m_motion.JogByKey(machine::KeyPageUp, s.KeyFront, s.KeyBack); break;
    case JogButton::kwd: m_motion.JogByKey(machine::KeyPageDown, s.KeyFront, s.KeyBack); break;
    case JogButton::ksl: m_motion.JogByKey(machine::KeyComma, s.KeyFront, s.KeyBack); break;
    case JogButton::ksr: m_motion.JogByKey(machine::KeyFullStop, s.KeyFront, s.KeyBack); break;
    }
}

void Tster::MMouseUp()
{
    stopAfterJog();
    if (m_hooks.repaint)
        m_hooks.repaint();
}

void Tster::k_zalwylClick()
{
    MachineState& s = m_context.machine;
    // The button turns over what the controller says now: on a status that was not read, a
    // toggle could switch the wire on when the operator means off.
    const auto noAnswer = [&] {
        m_view.heatingDown = s.heatingOn();
        if (m_hooks.repaint)
            m_hooks.repaint();
        m_context.language.ShowMessageBox(m_context.Text("Control", "ploterBrakLacznosci"), true);
    };
    if (!m_protocol.ReadStatus()) {
        noAnswer();
        return;
    }
    const auto flags = s.statusFlags;
    if (s.reportsPowerInPercent && !s.heatingOn()) {
        // The ramp takes a while: the button shows down at once.
        s.statusFlags |= statusBit(StatusFlag::heatingOn);
        m_view.heatingDown = true;
    }
    if (m_hooks.repaint)
        m_hooks.repaint();
    if (!m_protocol.ReadStatus()) {
        s.statusFlags = flags;
        noAnswer();
        return;
    }
    m_motion.ToggleHeating();
    m_motion.forgetMoveHeating();
    m_protocol.ReadStatus();
    m_view.heatingDown = s.heatingOn();
    if (m_hooks.repaint)
        m_hooks.repaint();
}

void Tster::setSpeedPosition(int mmPerMinute)
{
    m_view.speedPosition = std::clamp(mmPerMinute, m_view.speedMin, std::max(m_view.speedMin, m_view.speedMax));
}

void Tster::updateSpeedLabel()
{
    const int position = m_view.speedPosition;
    const char separator = m_context.decimalSeparator;
    switch (m_context.configuration.displayUnit) {
    case UnitInch: {
        std::int64_t v = roundHalfEven<std::int64_t>(position / 25.4 * 10);
        const bool large = v >= 100;
        if (large)
            v = roundedTo(static_cast<double>(v), 10);
        m_view.speedSmallStep = large ? 25 : 3;
        m_view.speedLargeStep = large ? 254 : 25;
        m_view.speedLabel = formatFixed(v / 10.0, 1, separator);
        break;
    }
    case UnitFoot: {
        std::int64_t v = roundHalfEven<std::int64_t>(position / 304.8 * 100);
        if (v >= 100)
            v = roundedTo(static_cast<double>(v), 10);
        m_view.speedSmallStep = 30;
        m_view.speedLargeStep = 305;
        m_view.speedLabel = formatFixed(v / 100.0, 1, separator);
        break;
    }
    default: {
        int multiple = 0;
        if (position < 100) {
            m_view.speedSmallStep = 1;
            m_view.speedLargeStep = 10;
        } else if (position < 1000) {
            multiple = 10;
            m_view.speedSmallStep = 10;
            m_view.speedLargeStep = 100;
        } else if (position < 5000) {
            multiple = 100;
            m_view.speedSmallStep = 100;
            m_view.speedLargeStep = 500;
        } else if (position < 10000) {
            multiple = 500;
            m_view.speedSmallStep = 500;
            m_view.speedLargeStep = 1000;
        } else {
            multiple = 1000;
            m_view.speedSmallStep = 1000;
            m_view.speedLargeStep = 2000;
        }
        const double resX = m_context.machine.resX;
        if (multiple == 0 || resX <= 0) {
            m_view.speedLabel = std::to_string(position);
        } else {
            // Rounded in motor steps, so the label shows a speed the controller can run.
            const std::int64_t r = roundedTo(position * resX, multiple);
            m_view.speedLabel = std::to_string(roundHalfEven<std::int64_t>(static_cast<double>(r) / resX));
        }
        break;
    }
    }
}

void Tster::VScrollChange()
{
    if (m_context.configuration.displayUnit == UnitInch) {
        // From 10 in/min up the bar moves in whole inches, so the speed sent is the one shown.
        const std::int64_t tenths = roundHalfEven<std::int64_t>(m_view.speedPosition / 25.4 * 10);
        if (tenths >= 100) {
            const double inches = static_cast<double>(roundedTo(static_cast<double>(tenths), 10)) / 10;
            setSpeedPosition(roundHalfEven(inches * 25.4));
        }
    }
    updateSpeedLabel();
    m_motion.SetSpeed(m_protocol.SpeedToPeriod(static_cast<std::uint16_t>(m_view.speedPosition)));
}

void Tster::applyPowerRanges()
{
    MachineState& s = m_context.machine;
    // The power format follows the controller that answered; a version that could not be read
    // (0.0) tells nothing and leaves the format as it was.
    if (s.versionMajor != 0 || s.versionMinor != 0) {
        s.powerScale = s.newPowerFormat() ? 100 : 1;
        m_protocol.lengths.setNewPowerFormat(s.newPowerFormat());
    }
    const bool percent = s.reportsPowerInPercent;
    const bool newFormat = s.newPowerFormat();
    switch (m_context.configuration.choice(Param::PowerOutput)) {
    case 0: {
        int maximum = 40;
        if (s.isPowerLimitedModel(m_context.commandLine))
            maximum = 10;
        if (s.isWideHeavyMachine())
            maximum = 80;
        m_view.powerMax = maximum * s.powerScale;
        // The gauge measures in the bar's unit: on the same scale the two can be compared.
        m_view.gaugeMax = m_view.powerMax;
        m_view.powerSmallStep = newFormat ? 10 : 1;
        m_view.powerLargeStep = newFormat ? 100 : 10;
        break;
    }
    case 1:
        m_view.powerSmallStep = newFormat ? 10 : 1;
        m_view.powerLargeStep = newFormat ? 1000 : 10;
        m_view.powerMax = 120 * s.powerScale;
        m_view.gaugeMax = m_view.powerMax;
        break;
    default:
        break;
    }
    if (percent) {
        m_view.powerMax = 100;
        m_view.gaugeVisible = false;
        m_view.powerUnitSuffix = "  [ % ]";
    } else {
        m_view.gaugeVisible = true;
        m_view.powerUnitSuffix = "  [ A ]";
    }
    m_view.powerPosition = std::clamp(m_view.powerPosition, 0, m_view.powerMax);
}

void Tster::setPowerPosition(int position)
{
    m_view.powerPosition = std::clamp(position, 0, m_view.powerMax);
}

void Tster::PScrollChange()
{
    MachineState& s = m_context.machine;
    m_protocol.ReadPower();
    const int position = m_view.powerPosition;
    if (s.reportsPowerInPercent) {
        m_view.powerLabel = std::to_string(position);
        s.currentPower = static_cast<std::uint16_t>(roundHalfEven(position * 255.0 / 100.0));
        m_motion.SendPowerSetting();
        return;
    }
    if (s.isPowerLimitedModel(m_context.commandLine) && s.firmwareVersion() < 35 && position > 0 && position < 8) {
        // Older firmware of the limited models cannot hold the wire below 0.8 A.
        setPowerPosition(8);
        PScrollChange();
        return;
    }
    m_view.powerLabel = s.newPowerFormat() ? formatFixed(position / 1000.0, 2, m_context.decimalSeparator)
                                           : formatFixed(position / 10.0, 1, m_context.decimalSeparator);
    s.currentPower = static_cast<std::uint16_t>(position);
    m_motion.SendPowerSetting();
}

void Tster::setTensionPosition(int position)
{
    m_view.tensionPosition = std::clamp(position, 0, m_view.tensionMax);
}

void Tster::NaciagEditExit()
{
    m_motion.SetTension(m_view.tensionPosition * 10);
}

void Tster::KeyFrontClick(bool checked)
{
    MachineState& s = m_context.machine;
    s.KeyFront = checked;
    if (s.isTwoWireMachine() && checked) {
        // One wire at a time on the two-wire machine; the power follows the wire.
        s.KeyBack = false;
        m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, machine::kFrontWireOutput));
    }
}

void Tster::KeyBackClick(bool checked)
{
    MachineState& s = m_context.machine;
    s.KeyBack = checked;
    if (s.isTwoWireMachine() && checked) {
        s.KeyFront = false;
        m_protocol.SendCommand(commands::setParameter(ParameterId::PowerOutput, machine::kSideWireOutput));
    }
}

void Tster::sbWyrownajBackToFrontClick()
{
    const MachineState& s = m_context.machine;
    m_protocol.ReadPositions();
    const double factor = unitFactor(m_context.configuration.displayUnit);
    m_motion.MoveToPoint(false, true, 0.0, s.frontY / 100.0 / factor, s.frontX / 100.0 / factor);
}

void Tster::kstopClick()
{
    const MachineState& s = m_context.machine;
    m_protocol.ReadStatus();
    if (!s.busy() && !s.programRunning())
        return;
    BusyCursor busy(m_context.host);
    if (m_hooks.wstrzymaj)
        m_hooks.wstrzymaj();
    m_context.job.stoppedByOperator = true;
}

void Tster::BaseClick()
{
    if (!m_context.machine.homed()) {
        m_context.language.ShowMessageBox(m_context.Text("Control", "wykonajBazowanie"), true);
        return;
    }
    if (m_hooks.showBasePoints)
        m_hooks.showBasePoints();
}

void Tster::keyprzesunClick()
{
    if (m_hooks.showMoveDialog)
        m_hooks.showMoveDialog(m_context.machine.KeyFront, m_context.machine.KeyBack);
}

void Tster::btnUpgradeClick()
{
    if (m_hooks.showUpgrade)
        m_hooks.showUpgrade();
}

void Tster::btnRestoreEPROMClick()
{
    const std::string path = m_context.dataDirectory + "eprom.bin";
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        m_context.language.ShowMessageBox(m_context.Text("Universal", "zbioruNieMoznaOtworzyc") + path, true);
        return;
    }
    std::size_t offset = 0;
    for (std::istreambuf_iterator<char> it(file), end; it != end; ++it, ++offset) {
        // The parameter-memory write of WriteEepromByte, sent here because a failed write must
        // end the restore: its message has been shown, the rest would only repeat it, and the
        // parameters are not restored.
        if (!m_protocol.SendCommand(commands::writeEepromByte(static_cast<std::uint8_t>(offset % 256), static_cast<std::uint8_t>(*it))))
            return;
    }
    m_context.clock.sleepMs(5000);
    m_context.language.ShowMessageBox(m_context.Text("Control", "factoryParametersRestored") + "\n" +
                                          m_context.Text("Upgrade_firmware", "aktualizacjaOK2") + "\n" +
                                          m_context.Text("Upgrade_firmware", "aktualizacjaOK3"),
                                      false);
}

}  // namespace kerfline
