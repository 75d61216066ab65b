#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kerfline {

// One reading of joystick 0: both axes in 0..65535 (centre 32768, Y grows downward) and the
// buttons, button n in bit n − 1.
struct JoystickReading {
    std::uint16_t x = 32768;
    std::uint16_t y = 32768;
    std::uint32_t buttons = 0;
    bool button(int number) const { return number >= 1 && number <= 32 && ((buttons >> (number - 1)) & 1U) != 0; }
};

// The joystick as the manual control panel reads it on every refresh.
class Joystick {
public:
    virtual ~Joystick() = default;
    // Nothing when no joystick is present or it cannot be read.
    virtual std::optional<JoystickReading> read() = 0;
};

// The panel's joystick code: ±1 for X, ±4 for Y (up is +4), a button replaces the axis code
// (button 4 → 8, button 3 → −8, button 1 → 16, the later winning); 0 in the dead zone.
int joystickCode(const JoystickReading& reading);

// Joystick 0 of Linux (/dev/input/js0), read without blocking; it is opened again after it went
// away.
class LinuxJoystick : public Joystick {
public:
    explicit LinuxJoystick(std::string devicePath = "/dev/input/js0");
    ~LinuxJoystick() override;
    LinuxJoystick(const LinuxJoystick&) = delete;
    LinuxJoystick& operator=(const LinuxJoystick&) = delete;

    std::optional<JoystickReading> read() override;

private:
    void close();

    std::string m_path;
    int m_fd = -1;
    JoystickReading m_state;
};

}  // namespace kerfline
