#include "config/configuration.h"

#include "config/cutting_mode.h"
#include "config/power_rules.h"
#include "base/round.h"
#include "machine/machine_state.h"

#include <cmath>

namespace kerfline {

Configuration::Configuration(const MachineState& machine, const CommandLine& commandLine)
    : m_machine(machine), m_commandLine(commandLine)
{
    for (const ParameterInfo& info : parameterTable()) {
        const std::size_t i = index(info.id);
        m_values[i] = info.defaultValue;
        m_minimum[i] = info.minimum;
        m_maximum[i] = info.maximum;
        m_choiceCounts[i] = info.choiceCount;
    }
    m_enabled.fill(true);
    // The dialog is created with the machine's speed limits in force.
    applySpeedMaxima();
    applyAccuracyRange();
    updateDisplayUnit();
    updateJoinToleranceAndCurveStep();
}

double Configuration::minimum(Param p) const
{
    return parameterInfo(p).kind == ParameterKind::Choice ? -1.0 : m_minimum[index(p)];
}

double Configuration::maximum(Param p) const
{
    return parameterInfo(p).kind == ParameterKind::Choice ? m_choiceCounts[index(p)] - 1.0 : m_maximum[index(p)];
}

double Configuration::clamped(Param p, double value) const
{
    const std::size_t i = index(p);
    if (std::isnan(value))
        return m_values[i];
    switch (parameterInfo(p).kind) {
    case ParameterKind::Float:
    case ParameterKind::Length:
    case ParameterKind::Position:
        // the controls' order of tests: below the minimum first, then above the maximum
        if (m_minimum[i] != m_maximum[i]) {
            if (value < m_minimum[i])
                value = m_minimum[i];
            else if (value > m_maximum[i])
                value = m_maximum[i];
        }
        return parameterInfo(p).kind == ParameterKind::Position ? std::trunc(value) : value;
    case ParameterKind::Choice:
        value = std::trunc(value);
        if (value > m_choiceCounts[i] - 1.0)
            value = m_choiceCounts[i] - 1.0;
        if (value < -1.0)
            value = -1.0;
        return value;
    case ParameterKind::Check:
        return (value == 1.0 || value == 2.0) ? value : 0.0;
    case ParameterKind::Radio:
        return value != 0.0 ? 1.0 : 0.0;
    }
    return value;
}

void Configuration::setNumber(Param p, double value)
{
    setRaw(p, value);
}

void Configuration::setChoice(Param p, int choiceIndex)
{
    setRaw(p, choiceIndex);
}

void Configuration::setPosition(Param p, int value)
{
    setRaw(p, value);
}

void Configuration::setCheck(Param p, CheckState state)
{
    setRaw(p, static_cast<int>(state));
}

void Configuration::setRadio(Param p, bool checked)
{
    setRaw(p, checked ? 1.0 : 0.0);
}

void Configuration::setRaw(Param p, double value)
{
    assign(p, clamped(p, value));
}

void Configuration::setRange(Param p, double minimumValue, double maximumValue)
{
    const std::size_t i = index(p);
    const bool rangeChanged = m_minimum[i] != minimumValue || m_maximum[i] != maximumValue;
    m_minimum[i] = minimumValue;
    m_maximum[i] = maximumValue;
    const double before = m_values[i];
    // A value outside the new range would reach the machine unchecked: clamp it now.
    assign(p, clamped(p, m_values[i]));
    // The fields hold the range too and clamp what the operator types to it: they must learn
    // of a new range also when the value could stay.
    if (rangeChanged && m_values[i] == before && changed)
        changed(p);
}

void Configuration::assign(Param p, double value)
{
    const std::size_t i = index(p);
    if (m_values[i] == value)
        return;
    m_values[i] = value;
    if (value != 0.0 && (p == Param::rbZmiennaPredkosc || p == Param::rbStalaPredkosc))
        assign(p == Param::rbZmiennaPredkosc ? Param::rbStalaPredkosc : Param::rbZmiennaPredkosc, 0.0);
    react(p);
    if (changed)
        changed(p);
}

void Configuration::react(Param p)
{
    switch (p) {
    case Param::Mode:
        modeChanged = true;
        UpdateEnabled();
        break;
    case Param::CatDir:
        UpdateEnabled();
        break;
    case Param::radiounit:
        updateDisplayUnit();
        UpdateEnabled();
        break;
    case Param::KierunekObrotow:
    case Param::StolikSwitch:
        applyRotarySettingRule();
        break;
    case Param::PowerOutput:
        powerOutputPending = true;
        applyPowerMaximum();
        break;
    case Param::feKalibracjaX:
    case Param::feKalibracjaY:
        calibrationChanged = true;
        break;
    case Param::work_power:
        assign(p, clamped(p, raisedToPowerMinimum(number(p), m_machine, m_commandLine)));
        break;
    default:
        break;
    }
}

void Configuration::updateDisplayUnit()
{
    displayUnit = choice(Param::radiounit);
}

void Configuration::updateJoinToleranceAndCurveStep()
{
    joinTolerance = roundHalfEven(number(Param::fuPlt_accuracy) * 40.0);
    dxfCurveStep = (8 - position(Param::sbRozdzKrzywychDXF) + 1) * 0.25;
}

void Configuration::updateConstantLatheSpeed()
{
    constantLatheSpeed = !radio(Param::rbZmiennaPredkosc);
}

void Configuration::applySpeedMaxima()
{
    setRange(Param::szybkoscObrobki, m_minimum[index(Param::szybkoscObrobki)], m_machine.maxWorkSpeed);
    setRange(Param::PrzeSpeed, m_minimum[index(Param::PrzeSpeed)], m_machine.maxTravelSpeed);
}

void Configuration::applyAccuracyRange()
{
    setRange(Param::fuPlt_accuracy, 0.05, 0.25);
}

void Configuration::applyPowerMaximum()
{
    const auto power = powerMaximum(choice(Param::PowerOutput), m_machine, m_commandLine);
    if (!power)
        return;
    m_powerUnitLabel = power->unitLabel;
    setRange(Param::work_power, m_minimum[index(Param::work_power)], power->maximum);
}

void Configuration::shortenModeList()
{
    const std::size_t i = index(Param::Mode);
    m_choiceCounts[i] = shortenedModeCount(m_choiceCounts[i], m_machine, m_commandLine);
    assign(Param::Mode, clamped(Param::Mode, m_values[i]));
}

void Configuration::applyRotarySettingRule()
{
    rotarySettingsChanged = true;
    const EnableChanges changes = rotarySettingRule(choice(Param::Mode), choice(Param::StolikSwitch));
    for (std::size_t c = 0; c < changes.size(); ++c)
        if (changes[c])
            m_enabled[c] = *changes[c];
}

void Configuration::UpdateEnabled()
{
    // A value the rules force reacts like a click, and some of those clicks run the rules again:
    // the outer run already covers them.
    if (m_inUpdateEnabled)
        return;
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(m_inUpdateEnabled);
    rotarySettingsChanged = true;
    const EnableRules rules =
        kerfline::UpdateEnabled(choice(Param::Mode), choice(Param::CatDir), choice(Param::StolikSwitch));
    for (std::size_t c = 0; c < rules.enabled.size(); ++c)
        if (rules.enabled[c])
            m_enabled[c] = *rules.enabled[c];
    m_modeHintPowerOutput = rules.modeHintPowerOutput;
    if (rules.catDir)
        setChoice(Param::CatDir, *rules.catDir);
    if (rules.stolikSwitch)
        setChoice(Param::StolikSwitch, *rules.stolikSwitch);
    if (rules.powerOutput)
        setChoice(Param::PowerOutput, *rules.powerOutput);
    if (rules.uncheckMoveAfter)
        setCheck(Param::MoveAfter, CheckState::cbUnchecked);
}

void Configuration::activate()
{
    applySpeedMaxima();
    applyAccuracyRange();
    applyPowerMaximum();
    shortenModeList();
    UpdateEnabled();
}

machine::MotionSettings Configuration::motionSettings() const
{
    machine::MotionSettings m;
    m.cornerPauseMs = number(Param::Pauza_w_kacie);
    m.heatingTimeMs = number(Param::CzasRozgrzewania);
    m.heavyRotaryDevice = isChecked(Param::Heavy);
    m.tableDevice = choice(Param::StolikSwitch) == DeviceTable;
    m.unitFactor = unitFactor(displayUnit);
    m.calibrationXPercent = number(Param::feKalibracjaX);
    m.calibrationYPercent = number(Param::feKalibracjaY);
    return m;
}

}  // namespace kerfline
