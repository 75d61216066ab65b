#pragma once

#include "config/dialog_rules.h"
#include "config/global_settings.h"
#include "config/parameters.h"
#include "machine/motion_settings.h"

#include <array>
#include <functional>
#include <set>
#include <string>

namespace kerfline {

class CommandLine;
struct MachineState;

// The configuration model: the values of the stored parameters with their ranges, the values
// derived from them, the flags the main window reads after the dialog closes and the enabled
// state of the dialog's controls. The configuration dialog binds its widgets to this model;
// all other code reads parameters here, never from a widget.
//
// Setting a value clamps it to its range. A value that differs from the current one behaves
// like the operator's edit: the dialog's reaction to that control runs (enable rules, power
// maximum and minimum, display unit) and its flags are set, whether the operator, a file or
// the command line set it.
class Configuration : public machine::MotionSettingsSource {
public:
    Configuration(const MachineState& machine, const CommandLine& commandLine);
    Configuration(const Configuration&) = delete;
    Configuration& operator=(const Configuration&) = delete;

    // Values. number(): Float in its own unit, Length in millimetres.
    double number(Param p) const { return raw(p); }
    int choice(Param p) const { return static_cast<int>(raw(p)); }
    int position(Param p) const { return static_cast<int>(raw(p)); }
    CheckState check(Param p) const { return static_cast<CheckState>(static_cast<int>(raw(p))); }
    bool isChecked(Param p) const { return check(p) == CheckState::cbChecked; }
    bool radio(Param p) const { return raw(p) != 0.0; }
    // Every kind as a double (a CheckState as 0/1/2, a radio button as 0/1).
    double raw(Param p) const { return m_values[index(p)]; }

    void setNumber(Param p, double value);
    void setChoice(Param p, int index);
    void setPosition(Param p, int value);
    void setCheck(Param p, CheckState state);
    // Checking one of the two lathe-speed buttons unchecks the other: they share their frame.
    void setRadio(Param p, bool checked);
    // Sets any kind from its double form, clamped.
    void setRaw(Param p, double value);

    // Ranges. A Choice ranges over -1 .. choiceCount - 1.
    double minimum(Param p) const;
    double maximum(Param p) const;
    int choiceCount(Param p) const { return m_choiceCounts[index(p)]; }
    // Changes the range of a Float, Length or Position parameter; the value is clamped to it.
    void setRange(Param p, double minimum, double maximum);

    // The figures the machine's motion reads.
    machine::MotionSettings motionSettings() const override;

    // Derived values for other parts.
    int displayUnit = UnitMillimetre;     // radiounit
    double joinTolerance = 10.0;          // Round(fuPlt_accuracy × 40), plotter units
    double dxfCurveStep = 2.0;            // (8 − sbRozdzKrzywychDXF + 1) × 0.25 mm
    bool constantLatheSpeed = false;      // rbZmiennaPredkosc not checked
    void updateDisplayUnit();             // at creation, on a change of radiounit, on deactivation
    void updateJoinToleranceAndCurveStep();  // at creation and on OK
    void updateConstantLatheSpeed();      // after every load and on OK

    // Flags.
    bool loadingConfig = false;
    bool modeChanged = false;
    bool powerOutputPending = false;
    bool rotarySettingsChanged = false;
    bool calibrationChanged = false;

    // The dialog's state as the rules left it.
    bool enabled(Control control) const { return m_enabled[static_cast<std::size_t>(control)]; }
    int modeHintPowerOutput() const { return m_modeHintPowerOutput; }
    const char* powerUnitLabel() const { return m_powerUnitLabel; }

    // The dialog's rules. Each runs where the dialog runs it; the setters call them as reactions.
    void applySpeedMaxima();      // from the machine's speed limits
    void applyAccuracyRange();    // fuPlt_accuracy 0.05 .. 0.25 mm
    void applyPowerMaximum();     // from PowerOutput and the machine
    void shortenModeList();       // for the machine; removed entries stay removed
    void applyRotarySettingRule();
    void UpdateEnabled();
    // What the dialog does with the model when it is shown: speed maxima, accuracy range,
    // power maximum, mode list, enable rules. (Writing the snapshot and clearing the flags are
    // the caller's; see configuration_lifecycle.h.)
    void activate();

    // The global settings the dialog keeps with the configuration.
    GlobalSettings settings;

    // Configuration files that did not load cleanly, by absolute path: before the program first
    // writes over one of them it keeps a copy (configuration_lifecycle.h).
    std::set<std::string> filesToKeep;

    // Told after every change of a value or of a range, for the widgets to redisplay them.
    std::function<void(Param)> changed;

    const MachineState& machine() const { return m_machine; }
    const CommandLine& commandLine() const { return m_commandLine; }

private:
    static std::size_t index(Param p) { return static_cast<std::size_t>(p); }
    double clamped(Param p, double value) const;
    void assign(Param p, double value);
    void react(Param p);

    const MachineState& m_machine;
    const CommandLine& m_commandLine;
    std::array<double, kParameterCount> m_values{};
    std::array<double, kParameterCount> m_minimum{};
    std::array<double, kParameterCount> m_maximum{};
    std::array<int, kParameterCount> m_choiceCounts{};
    std::array<bool, kControlCount> m_enabled{};
    int m_modeHintPowerOutput = -1;
    const char* m_powerUnitLabel = "[A]";
    bool m_inUpdateEnabled = false;
};

}  // namespace kerfline
