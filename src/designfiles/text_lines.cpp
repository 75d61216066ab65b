#include "designfiles/text_lines.h"

#include <bit>
#include <cstring>

namespace kerfline {

void TextLines::reset()
{
    m_line.clear();
    m_endsSeen = 0;
    m_lineNumber = 0;
    m_lastWasCr = false;
    m_exhausted = false;
    m_overlong = false;
}

// A CR followed by an LF is one line end; any other CR or LF is one of its own.
void TextLines::countEnd(int c)
{
    if (c == '\n' && m_lastWasCr) {
        m_lastWasCr = false;
        return;
    }
    ++m_endsSeen;
    m_lastWasCr = c == '\r';
}

std::string_view TextLines::read()
{
    m_overlong = false;
    // Nearly every line lies whole in the reader's buffer: it is handed out from there, without
    // a copy.
    const unsigned char* bytes = m_file.buffered();
    const std::size_t count = m_file.bufferedCount();
    std::size_t start = 0;
    if (count != 0 && (bytes[0] == '\r' || bytes[0] == '\n')) {
        countEnd(bytes[0]);
        start = 1;
    }
    std::size_t end = start;
    for (;;) {
        // Eight bytes at a time to the first byte below 14, which may end the line.
        while (end + 8 <= count) {
            std::uint64_t word;
            std::memcpy(&word, bytes + end, sizeof word);
            const std::uint64_t low = (word - 0x0E0E0E0E0E0E0E0EULL) & ~word & 0x8080808080808080ULL;
            if (low != 0) {
                end += static_cast<std::size_t>(std::countr_zero(low)) / 8;
                break;
            }
            end += 8;
        }
        while (end < count && bytes[end] > '\r')
            ++end;
        if (end == count || bytes[end] == '\r' || bytes[end] == '\n')
            break;
        ++end;
    }
    if (end < count) {
        m_lineNumber = m_endsSeen + 1;
        if (end > start)
            m_lastWasCr = false;
        countEnd(bytes[end]);
        m_file.skip(end + 1);
        std::size_t length = end - start;
        if (length > kMaxLineLength) {
            m_overlong = true;
            length = kMaxLineLength;
        }
        return {reinterpret_cast<const char*>(bytes + start), length};
    }
    m_file.skip(start);
    m_line.clear();
    int c = m_file.get();
    if (start == 0 && (c == '\r' || c == '\n')) {
        countEnd(c);
        c = m_file.get();
    }
    m_lineNumber = m_endsSeen + 1;
    if (c == ByteReader::kEnd) {
        m_exhausted = true;
        return {};
    }
    if (c == '\r' || c == '\n') {
        countEnd(c);
        return {};
    }
    m_lastWasCr = false;
    m_line.push_back(static_cast<char>(c));
    // Lines are scanned in the reader's buffer; a line that crosses the buffer's end goes on
    // with the next byte fetched.
    for (;;) {
        const unsigned char* bytes = m_file.buffered();
        const std::size_t count = m_file.bufferedCount();
        std::size_t i = 0;
        while (i < count && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        const std::size_t room = kMaxLineLength - m_line.size();
        if (i > room)
            m_overlong = true;
        m_line.append(reinterpret_cast<const char*>(bytes), i < room ? i : room);
        m_file.skip(i);
        c = m_file.get();
        if (c == ByteReader::kEnd) {
            m_exhausted = true;
            break;
        }
        if (c == '\r' || c == '\n') {
            countEnd(c);
            break;
        }
        if (m_line.size() < kMaxLineLength)
            m_line.push_back(static_cast<char>(c));
        else
            m_overlong = true;
    }
    return m_line;
}

}  // namespace kerfline
