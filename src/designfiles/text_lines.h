#pragma once

#include "designfiles/byte_reader.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kerfline {

// The lines of a DXF or EPS design. A line ends at a CR or an LF, which is not kept. When the
// very first byte of a read is a CR or an LF it is taken as the rest of the previous line end
// and skipped, one byte only: CR LF files read line by line, and in an LF-only file an empty
// line disappears.
class TextLines {
public:
    // Longest line kept. Longer lines keep their start and are marked overlong: they match
    // nothing and read as no number.
    static constexpr std::size_t kMaxLineLength = 4096;

    explicit TextLines(ByteReader& file) : m_file(file) { m_line.reserve(kMaxLineLength); }

    // Starts over at the reader's current position, counting lines from 1.
    void reset();

    // The next line, valid until the following read of this object or of the byte reader.
    // Empty at the end of the file.
    std::string_view read();

    // The last read reached the end of the file.
    bool exhausted() const { return m_exhausted; }
    bool overlong() const { return m_overlong; }
    // The number of the last line read as an editor counts it: CR LF, a lone CR and a lone LF
    // each end one line.
    std::uint64_t lineNumber() const { return m_lineNumber; }

private:
    void countEnd(int c);

    ByteReader& m_file;
    std::string m_line;
    std::uint64_t m_endsSeen = 0;  // line ends consumed so far
    std::uint64_t m_lineNumber = 0;
    bool m_lastWasCr = false;
    bool m_exhausted = false;
    bool m_overlong = false;
};

// Blanks as the readers trim them: space and every control character.
inline bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

inline std::string_view trimmed(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && isBlank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

}  // namespace kerfline
