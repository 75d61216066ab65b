#include "cutting/joystick.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

namespace kerfline {
namespace {

// Around the centre 32768 a deflection of up to 5000 counts as rest.
constexpr int kHigh = 37768;
constexpr int kLow = 27768;

}  // namespace

int joystickCode(const JoystickReading& reading)
{
    int code = 0;
    if (reading.x > kHigh)
        code = 1;
    if (reading.x < kLow)
        code = -1;
    if (reading.y > kHigh)
        code -= 4;
    if (reading.y < kLow)
        code += 4;
    if (reading.button(4))
        code = 8;
    if (reading.button(3))
        code = -8;
    if (reading.button(1))
        code = 16;
    return code;
}

LinuxJoystick::LinuxJoystick(std::string devicePath) : m_path(std::move(devicePath)) {}

LinuxJoystick::~LinuxJoystick()
{
    close();
}

void LinuxJoystick::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_state = JoystickReading{};
}

std::optional<JoystickReading> LinuxJoystick::read()
{
    if (m_fd < 0) {
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_fd < 0)
            return std::nullopt;
    }
    js_event event{};
    for (;;) {
        const ssize_t got = ::read(m_fd, &event, sizeof event);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (got != static_cast<ssize_t>(sizeof event)) {
            // Unplugged or broken: try again at the next refresh.
            close();
            return std::nullopt;
        }
        const auto type = static_cast<std::uint8_t>(event.type & ~JS_EVENT_INIT);
        if (type == JS_EVENT_AXIS && event.number <= 1) {
            // The kernel reports −32767..32767; the panel expects 0..65535.
            const auto value = static_cast<std::uint16_t>(event.value + 32768);
            (event.number == 0 ? m_state.x : m_state.y) = value;
        } else if (type == JS_EVENT_BUTTON && event.number < 32) {
            const std::uint32_t bit = std::uint32_t{1} << event.number;
            m_state.buttons = event.value != 0 ? (m_state.buttons | bit) : (m_state.buttons & ~bit);
        }
    }
    return m_state;
}

}  // namespace kerfline
