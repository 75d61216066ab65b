#include "aids/windows_1250.h"

#include "base/utf8.h"

#include <array>

namespace kerfline {
namespace {

// The upper half of the code page, 0x80 to 0xFF; 0 marks a byte the code page leaves undefined.
constexpr std::array<char16_t, 128> kUpperHalf{
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164,
    0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122, 0x0161, 0x203A,
    0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9,
    0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139,
    0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1,
    0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD,
    0x0163, 0x02D9,
};

}  // namespace

std::string toWindows1250(std::string_view utf8, char replacement)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        if (!nextCodePoint(utf8, i, c)) {
            out += replacement;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char mapped = replacement;
        for (std::size_t k = 0; k < kUpperHalf.size(); ++k) {
            if (kUpperHalf[k] != 0 && kUpperHalf[k] == c) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

std::string fromWindows1250(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte < 0x80) {
            out += b;
            continue;
        }
        const char16_t c = kUpperHalf[byte - 0x80];
        appendUtf8(out, c != 0 ? c : 0xFFFD);
    }
    return out;
}

std::string withoutPolishLetters(std::string_view utf8)
{
    struct Fold {
        char32_t letter;
        char base;
    };
    static constexpr Fold kFolds[] = {
        {U'Ą', 'A'}, {U'Ć', 'C'}, {U'Ę', 'E'}, {U'Ł', 'L'}, {U'Ń', 'N'}, {U'Ó', 'O'}, {U'Ś', 'S'}, {U'Ź', 'Z'}, {U'Ż', 'Z'},
        {U'ą', 'a'}, {U'ć', 'c'}, {U'ę', 'e'}, {U'ł', 'l'}, {U'ń', 'n'}, {U'ó', 'o'}, {U'ś', 's'}, {U'ź', 'z'}, {U'ż', 'z'},
    };
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t c = 0;
        if (!nextCodePoint(utf8, i, c)) {
            out.append(utf8.substr(start, i - start));
            continue;
        }
        char base = 0;
        for (const Fold& fold : kFolds)
            if (fold.letter == c)
                base = fold.base;
        if (base != 0)
            out += base;
        else
            out.append(utf8.substr(start, i - start));
    }
    return out;
}

}  // namespace kerfline
