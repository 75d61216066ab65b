#pragma once

#include <cstdint>
#include <functional>

namespace kerfline {
struct AppContext;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace kerfline::machine

namespace kerfline {

// Homing: drives the axes to their reference switches so that positions become valid. The
// sequence depends on the machine family, on whether it is homed already, on the homing order
// and on the cutting mode and rotary device. A key press or a left click during a step stops
// that step's motion; the remaining steps still run.
class Homing {
public:
    Homing(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion);
    Homing(const Homing&) = delete;
    Homing& operator=(const Homing&) = delete;

    // The Bazuj button and the Home key of the manual control panel.
    void bazujClick();

    // The panel's timer is off from the first homing step to the end.
    std::function<void(bool enabled)> setPanelTimer;
    // Each poll of a homing step read the status and the positions (readOk: the read
    // succeeded), so the panel can show the axes running to their switches.
    std::function<void(bool readOk)> polled;

    // Axis masks of "B".
    static constexpr std::uint8_t kMaskX = 1, kMaskY = 2, kMaskTable = 4, kMaskBackX = 16, kMaskBackY = 32,
                                  kMaskSpindle = 64;

private:
    // "B" with the mask, then wait until the axes stand or the operator interrupts.
    void homingStep(std::uint8_t mask);
    // "B" with the mask, and "Y" after 100 ms.
    void startAndStopStep(std::uint8_t mask);
    void homeRotaryAxes();
    void timer(bool enabled);
    bool poll();

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
};

}  // namespace kerfline
