#pragma once

#include "machine/command_encoding.h"
#include "machine/motion_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {
struct AppContext;
struct MachineState;
}  // namespace kerfline

namespace kerfline::machine {

class TfUsb;

// The controller protocol on top of the link: sends commands, reads the reply channels into the
// program's MachineState and derives the machine's limits, resolutions and speed limits.
class ControllerProtocol {
public:
    ControllerProtocol(AppContext& context, TfUsb& link);

    // Sends a command; moves go in 6-byte pieces. The first failed write shows
    // "ploterBrakLacznosci" and the status number under the caption "brakLacznosci" and returns
    // false.
    bool SendCommand(std::string_view text);

    // Channel 10. Both return whether the controller answered; a failed read is no answer and
    // leaves MachineState as it was (a lost reply must never read as "stopped" or as position 0).
    bool ReadStatus();
    bool ReadPositions();
    // Both from one read of the channel: a loop that polls the status shows where the axes are.
    bool ReadStatusAndPositions();
    void ReadSpeeds();
    void ReadPower();
    // Limits and device strings, the command-line overrides, then resolution, speed limits and
    // version.
    void ReadMachineInfo();
    void ReadResolution();
    void ApplySpeedLimits();
    // "major.minor"
    std::string ReadVersion();
    void ReadTension();
    // Polls the status until the axes stand still; operator input meanwhile is dropped. False as
    // soon as a read fails: whether the machine still moves is then unknown.
    bool WaitWhileBusy();
    // As WaitWhileBusy, but a key pressed or a click made while the axes move ends the wait at
    // once, for the caller to stop them: a long go-to must not swallow the operator's Stop.
    enum class WaitEnd { Still, Lost, Interrupted };
    WaitEnd WaitWhileBusyOrInterrupted();

    // The move builder and the speed conversions with this machine's numbers.
    MoveCommand BuildMove(char letter, const AxisSteps& steps) const;
    std::uint16_t SpeedToPeriod(std::uint16_t speed) const;
    std::uint16_t PeriodToSpeed(std::int32_t period) const;

    // Program command lengths: the manual control panel switches "t" to the new power format.
    CommandLengthTable lengths;

    AppContext& context() { return m_context; }
    // The configuration's figures for motion, as they stand now.
    MotionSettings settings() const;
    MachineState& state();
    TfUsb& link() { return m_link; }

private:
    WaitEnd waitUntilStill(bool interruptible);

    AppContext& m_context;
    TfUsb& m_link;
};

}  // namespace kerfline::machine
