#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kerfline {

// Reads a file front to back through one fixed buffer, so a design of any size costs the same
// small amount of memory and each byte is one inline buffer access.
class ByteReader {
public:
    static constexpr int kEnd = -1;

    // 0, or the system's error code (errno) when the file cannot be opened or its first block
    // cannot be read (a directory opens on Linux but fails here).
    int open(const std::string& path);
    void close();
    bool isOpen() const { return m_file != nullptr; }

    // The next byte (0 to 255), or kEnd at the end of the file and after a read error.
    int get()
    {
        if (m_next < m_filled)
            return m_buffer[m_next++];
        return refill();
    }

    // The bytes buffered and not yet handed out, for scanning runs of bytes without a call per
    // byte; skip() hands out the first n of them.
    const unsigned char* buffered() const { return m_buffer.data() + m_next; }
    std::size_t bufferedCount() const { return m_filled - m_next; }
    void skip(std::size_t n) { m_next += n; }

    // Bytes handed out so far: the offset of the byte the next get() returns.
    std::uint64_t offset() const { return m_base + m_next; }
    // The system's error code of a failed read, 0 when none failed.
    int error() const { return m_error; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    int refill();

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::vector<unsigned char> m_buffer;
    std::size_t m_next = 0;
    std::size_t m_filled = 0;
    std::uint64_t m_base = 0;
    int m_error = 0;
};

}  // namespace kerfline
