#include "designfiles/atomic_output.h"

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace kerfline {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

std::atomic<unsigned> g_temporaryCounter{0};

}  // namespace

AtomicOutput::~AtomicOutput()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.empty())
        std::remove(m_temporary.c_str());
}

int AtomicOutput::open(const std::string& path)
{
    m_path = path;
    m_error = 0;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const std::string candidate =
            path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(g_temporaryCounter++);
        // 0666 before the umask, like any file the program creates
        m_fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            m_temporary = candidate;
        else if (errno != EEXIST)
            return errno;
    }
    if (m_fd < 0)
        return EEXIST;
    m_buffer.reserve(kBufferSize);
    return 0;
}

void AtomicOutput::write(std::string_view bytes)
{
    m_buffer.append(bytes);
    if (m_buffer.size() >= kBufferSize)
        flush();
}

void AtomicOutput::flush()
{
    std::string_view rest = m_buffer;
    while (!rest.empty() && m_error == 0 && m_fd >= 0) {
        const ssize_t written = ::write(m_fd, rest.data(), rest.size());
        if (written < 0) {
            if (errno != EINTR)
                m_error = errno;
            continue;
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    m_buffer.clear();
}

int AtomicOutput::commit()
{
    if (m_fd < 0)
        return m_error != 0 ? m_error : EBADF;
    flush();
    if (m_error == 0 && ::fsync(m_fd) != 0)
        m_error = errno;
    if (::close(m_fd) != 0 && m_error == 0)
        m_error = errno;
    m_fd = -1;
    if (m_error == 0 && std::rename(m_temporary.c_str(), m_path.c_str()) != 0)
        m_error = errno;
    if (m_error == 0)
        m_temporary.clear();
    return m_error;
}

}  // namespace kerfline
