#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kerfline {

// UTF-8, the text of the core, one character at a time.

// Appends the character's UTF-8 bytes.
void appendUtf8(std::string& out, char32_t codePoint);

// Reads one character at `i` and moves `i` past it. For bytes that are no valid UTF-8
// (overlong forms, surrogates, values beyond Unicode, a cut sequence) it returns false and moves
// `i` past one byte.
bool nextCodePoint(std::string_view text, std::size_t& i, char32_t& codePoint);

}  // namespace kerfline
