#pragma once

#include <string>
#include <string_view>

namespace kerfline {

// Text in the Windows-1250 code page, which the barcode project files and the label printer's
// 8-bit character set use: the code page of the Polish texts they carry.

// UTF-8 to Windows-1250. A character the code page lacks becomes `replacement`; bytes that are
// not valid UTF-8 count as one such character each.
std::string toWindows1250(std::string_view utf8, char replacement = '?');

// Windows-1250 to UTF-8. The five bytes the code page leaves undefined become U+FFFD.
std::string fromWindows1250(std::string_view bytes);

// Polish letters replaced by their base letters (Ą A, Ł L, ź z, ...); other text unchanged.
std::string withoutPolishLetters(std::string_view utf8);

}  // namespace kerfline
