#include "base/atomic_file.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace kerfline {
namespace {

std::atomic<unsigned> g_temporaryCounter{0};

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes a new file beside `path` with `fill`, then renames it over `path`.
template <typename Fill>
bool replaceFile(const std::string& path, Fill fill)
{
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(g_temporaryCounter++);
        // 0666 before the umask, like any file the program creates
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;

    const bool written = fill(fd) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    return replaceFile(path, [bytes](int fd) { return writeAll(fd, bytes); });
}

bool copyFileAtomically(const std::string& from, const std::string& to)
{
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    const bool copied = replaceFile(to, [source](int fd) {
        std::array<char, 65536> buffer;
        for (;;) {
            const ssize_t got = ::read(source, buffer.data(), buffer.size());
            if (got == 0)
                return true;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (!writeAll(fd, std::string_view(buffer.data(), static_cast<std::size_t>(got))))
                return false;
        }
    });
    ::close(source);
    return copied;
}

}  // namespace kerfline
