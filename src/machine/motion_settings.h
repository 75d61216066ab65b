#pragma once

namespace kerfline::machine {

// What the protocol and the motion operations read of the cutting configuration, which sits
// above the machine: the configuration hands these figures down instead of being read directly.
struct MotionSettings {
    double cornerPauseMs = 0.0;   // the pause at every corner of a heated move
    double heatingTimeMs = 0.0;   // the wait after the heating is switched on
    bool heavyRotaryDevice = false;  // a heavy table or spindle turns at its own speeds
    bool tableDevice = false;     // the rotary device is a table, not a spindle
    double unitFactor = 1.0;      // millimetres per display unit
    double calibrationXPercent = 0.0;  // the operator's correction of the steps per hundredth
    double calibrationYPercent = 0.0;
};

class MotionSettingsSource {
public:
    virtual ~MotionSettingsSource() = default;
    virtual MotionSettings motionSettings() const = 0;
};

}  // namespace kerfline::machine
