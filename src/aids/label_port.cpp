#include "aids/label_port.h"

#include "base/switches.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace kerfline {

std::string labelPort(const CommandLine& commandLine)
{
    const std::string prefix = std::string(kLabelPortOption) + "=";
    for (const std::string& parameter : commandLine.parameters())
        if (parameter.size() > prefix.size() && parameter.compare(0, prefix.size(), prefix) == 0)
            return parameter.substr(prefix.size());
    return kDefaultLabelPort;
}

int writeToLabelPort(const std::string& port, std::string_view bytes, int stallMs)
{
    const int fd = ::open(port.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::isatty(fd) == 1) {
        termios settings{};
        if (::tcgetattr(fd, &settings) != 0) {
            error = errno;
        } else {
            ::cfmakeraw(&settings);
            settings.c_cflag |= CLOCAL | CREAD;
            settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
            settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF);
            if (::tcsetattr(fd, TCSANOW, &settings) != 0)
                error = errno;
        }
    }
    while (error == 0 && !bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            error = errno;
            break;
        }
        // The port's buffer is full: wait for room, but not for ever.
        pollfd ready{fd, POLLOUT, 0};
        const int polled = ::poll(&ready, 1, stallMs);
        if (polled == 0)
            error = ETIMEDOUT;
        else if (polled < 0 && errno != EINTR)
            error = errno;
        else if (polled > 0 && (ready.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            error = EIO;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

}  // namespace kerfline
