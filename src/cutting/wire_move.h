#pragma once

#include <functional>
#include <string>
#include <utility>

namespace kerfline {

struct AppContext;

namespace machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace machine

// The choice of the move dialog.
enum MoveChoice : int { MoveToMachinePoint = 0, MoveByValue = 1 };

// The texts of the move dialog that depend on the arms and the rotary device.
struct WireMoveTexts {
    std::string caption;   // the dialog's caption with the moving arm or arms
    std::string unitLabel; // Label4 and Label5
    std::string zLabel;    // Label3
    std::string zHint;     // Label3 and delta_z; empty when the device has none
};

// The caption of the front and back arm boxes (the side wire on the two-wire machine).
std::string frontArmCaption(const AppContext& context);
std::string backArmCaption(const AppContext& context);

// The wire move dialog's logic (Tprzesun without its widgets): moving the selected arms to a point
// or by an offset, and the two service loops, which run until a key press or a left click (also
// one that came while the machine moved).
class Tprzesun {
public:
    Tprzesun(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion);

    // The arms the manual control panel handed over.
    void setArms(bool front, bool back)
    {
        m_front = front;
        m_back = back;
    }
    WireMoveTexts FormActivate() const;

    // X and Y in the display unit, Z in degrees.
    void WykonajClick(int choice, double x, double y, double z);
    // Returns the link's counters "readFailures/writeRetries" for the OK button's caption (empty
    // when the machine was not connected and nothing moved).
    std::string testClick(double dx, double dy, double dz);
    // Shown after every pass of the motion test: the counters as testClick returns them.
    void setTestPassShown(std::function<void(const std::string& counters)> shown) { m_passShown = std::move(shown); }
    void TestGrzalkiClick();

private:
    // Takes one pending input; true once a key press or a left click has been seen in this loop.
    bool takeStopInput();
    void waitWhileBusy();

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
    bool m_front = true;
    bool m_back = true;
    bool m_stopRequested = false;
    std::function<void(const std::string&)> m_passShown;
};

}  // namespace kerfline
