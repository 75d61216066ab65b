#include "designfiles/byte_reader.h"

#include <cerrno>

namespace kerfline {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

int ByteReader::open(const std::string& path)
{
    close();
    errno = 0;
    m_file.reset(std::fopen(path.c_str(), "rb"));
    if (!m_file)
        return errno != 0 ? errno : EIO;
    // Our buffer is the only one; stdio's own would copy every byte once more.
    std::setvbuf(m_file.get(), nullptr, _IONBF, 0);
    m_buffer.resize(kBufferSize);
    refill();
    if (m_error != 0) {
        const int code = m_error;
        close();
        return code;
    }
    m_next = 0;
    m_base = 0;
    return 0;
}

void ByteReader::close()
{
    m_file.reset();
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_next = 0;
    m_filled = 0;
    m_base = 0;
    m_error = 0;
}

int ByteReader::refill()
{
    if (!m_file || m_error != 0)
        return kEnd;
    m_base += m_filled;
    m_next = 0;
    errno = 0;
    m_filled = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    if (m_filled == 0) {
        if (std::ferror(m_file.get()))
            m_error = errno != 0 ? errno : EIO;
        return kEnd;
    }
    return m_buffer[m_next++];
}

}  // namespace kerfline
