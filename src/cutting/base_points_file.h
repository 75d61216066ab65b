#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

// The lines of a text file the operator may have edited with any editor: UTF-16 of either byte
// order or UTF-8 when a byte-order mark says so, otherwise 8-bit text (UTF-8 when it is valid,
// else Latin-1). Lines end at CR LF, CR, LF or U+2028; a break at the very end opens no further
// line. Lines come back as UTF-8.
std::vector<std::string> decodeTextLines(std::string_view bytes);

// UTF-16 little-endian with its byte-order mark, every line followed by CR LF.
std::string encodeTextLinesUtf16(const std::vector<std::string>& lines);

struct BasePointsFileResult {
    bool ok = false;
    std::vector<std::string> lines;
    std::string message;  // for the operator, when not ok
};

// "base.txt": read when it exists (a missing file is an empty list), written as a whole through
// a temporary file. Messages come from the language passed in as texts.
BasePointsFileResult readBasePointsFile(const std::string& path, const std::string& cannotReadText);
BasePointsFileResult writeBasePointsFile(const std::string& path, const std::vector<std::string>& lines,
                                         const std::string& cannotWriteText);

}  // namespace kerfline
