#pragma once

#include <cstdint>
#include <optional>
#include <functional>
#include <string>

namespace kerfline {

struct AppContext;
class Joystick;

namespace machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace machine

// Key codes the panel handles beyond the jog keys of motion_operations.h.
enum PanelKey : int {
    KeyCtrl = 17,
    KeyHome = 36,
    KeyInsert = 45,
    KeyE = 69,
    KeyPad0 = 96,
    KeyPad5 = 101,
    KeyPadPlus = 107,
    KeyPadMinus = 109,
    KeyF12 = 123,
};

struct KeyModifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// The panel's buttons that jog while held.
enum class JogButton { ku, kd, kl, kr, kwu, kwd, ksl, ksr };

// What the panel's widgets show and allow, as the logic left it.
struct PanelView {
    // Speed bar (mm/min) and its label.
    int speedMin = 20;
    int speedMax = 5000;
    int speedPosition = 20;
    int speedSmallStep = 1;
    int speedLargeStep = 10;
    std::string speedLabel;
    std::string speedCaption;
    // Power bar; its unit is a tenth of an ampere times powerScale, or percent.
    int powerMax = 40;
    int powerPosition = 0;
    int powerSmallStep = 1;
    int powerLargeStep = 10;
    bool gaugeVisible = true;
    int gaugeMax = 40;
    int gaugePosition = 0;
    bool gaugeRed = false;
    std::string powerUnitSuffix = "  [ A ]";
    std::string powerLabel;
    std::string realPowerLabel;
    // Tension bar and labels (newtons).
    int tensionMax = 100;
    int tensionPosition = 0;
    std::string tensionLabel;
    std::string realTensionLabel;
    // Machine display.
    bool heatingDown = false;
    std::string wireState;
    int instantSpeed = 0;
    // A dash until a read of the positions has succeeded; a failed read leaves the last good one.
    std::string frontX = "-", frontY = "-", backX = "-", backY = "-";
    std::string tableAngle = "-", spindleAngle = "-";
    std::string firmwareLabel;
    std::string usbError;
    bool motionButtonsEnabled = true;
    bool alignEnabled = true;
    bool armSelectionVisible = false;  // KeyFront, KeyBack and the back coordinate row
    bool tableGroupVisible = true;
    bool tensionVisible = false;
    bool alignVisible = false;
    bool upgradePanelVisible = false;
    bool servicePanelVisible = false;
};

// What the panel asks of the rest of the program. The job supervision, homing and the dialogs
// live elsewhere; the panel only calls them, so the two sides stay apart. Unset hooks do nothing
// (canMove allows, isActive says no).
struct PanelHooks {
    std::function<bool()> isActive;          // the panel is the active window
    std::function<bool()> inputWaiting;      // a key or mouse message waits for the panel
    std::function<void()> close;
    std::function<void()> jobLogic;          // end of job and machine buttons, every connected tick
    std::function<void()> serialRepetition;  // after the joystick, in the refresh
    std::function<void()> wstrzymaj;         // pause the running job
    std::function<bool()> MoznaRuszac;       // may the jog buttons move the machine
    std::function<void()> bazujClick;        // homing
    std::function<void()> showBasePoints;
    std::function<void(bool front, bool back)> showMoveDialog;
    std::function<void()> showUpgrade;
    std::function<void()> repaint;
};

// The captions of the panel that follow the machine, the configuration and the command line.
struct PanelCaptions {
    std::string form;          // "caption", then a blank and the product filter when one is set
    std::string coordinates;   // GroupBox1 with the display unit
    std::string frontRow;      // LFront and KeyFront
    std::string backRow;       // LBack and KeyBack; the side wire on the two-wire machine
    std::string spindleGroup;  // GroupWrzeciono; the rotary device's name when the table is on it
    std::string tableGroup;    // GroupStolik
    std::string tension;       // NaciagBox with its unit
};
PanelCaptions panelCaptions(const AppContext& context);

// The manual control panel's logic (the form Tster without its widgets): its heartbeat timer,
// keys, jog buttons, joystick, speed, power and tension bars, arm selection and service actions.
class Tster {
public:
    Tster(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion,
          Joystick* joystick, PanelHooks hooks);

    void FormCreate();
    // The link has chosen a controller it did not have (plugged in after start-up, or found
    // again): the machine is read as at creation, so the power format, the program's command
    // lengths and the heartbeat follow it.
    void machineConnected();
    void FormActivate();
    void FormDeactivate();

    // The heartbeat. The widget runs it every timerIntervalMs() while timerEnabled().
    void Timer1Timer();
    bool timerEnabled() const { return m_timerEnabled; }
    int timerIntervalMs() const { return m_intervalMs; }

    void OnKeyDown(int key, KeyModifiers modifiers = {});
    void OnKeyUp(int key);
    void MMouseDown(JogButton button);
    void MMouseUp();
    void k_zalwylClick();

    // The bars: the widget sets the position and calls the change handler.
    void setSpeedPosition(int mmPerMinute);
    void VScrollChange();
    void setPowerPosition(int position);
    void PScrollChange();
    void setTensionPosition(int position);
    void NaciagEditExit();

    void KeyFrontClick(bool checked);
    void KeyBackClick(bool checked);
    void sbWyrownajBackToFrontClick();
    void kstopClick();
    void BaseClick();
    void keyprzesunClick();
    void btnUpgradeClick();
    void btnRestoreEPROMClick();

    // Power bar range, steps and unit for the machine and the configured power output.
    void applyPowerRanges();

    // The coordinates after a read of the positions by anyone (readOk: it succeeded). Homing,
    // which stops the timer, shows its own polls here.
    void showPositions(bool readOk);
    // Whether the positions were read, by the panel or for it, no longer than `ms` ago: others
    // that follow the wire need not ask the controller again.
    bool positionsReadWithinMs(std::int64_t ms) const;
    // A poll of the homing loop: the coordinates follow the moving axes and the panel repaints.
    void homingPolled(bool readOk);

    const PanelView& view() const { return m_view; }
    bool jogActive() const { return m_jogActive; }

private:
    // Creation's reading of a connected machine: power output, machine information, display
    // unit, what the panel shows for this machine, the heartbeat, the power ranges.
    void readMachine();
    void refresh();
    void readJoystick();
    void stopAfterJog();
    void jog(int key, bool front, bool back);
    void updateSpeedLabel();
    std::string speedCaption() const;
    std::string coordinate(std::int32_t hundredths) const;
    bool connected() const;
    bool isFamily(const char* code) const;

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
    Joystick* m_joystick;
    PanelHooks m_hooks;
    PanelView m_view;
    bool m_timerEnabled = false;
    int m_intervalMs = 100;
    bool m_jogActive = false;
    bool m_ctrlSlow = false;  // the tenth speed is in force while Ctrl is held
    int m_savedSpeed = 0;
    int m_joystickCode = 0;
    int m_previousJoystickCode = 0;
    bool m_positionsKnown = false;  // a read of this controller's positions has succeeded
    std::optional<std::int64_t> m_positionsReadAtMs;
};

}  // namespace kerfline
