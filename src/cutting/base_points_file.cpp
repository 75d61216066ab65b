#include "cutting/base_points_file.h"

#include "base/atomic_file.h"
#include "base/language.h"
#include "base/utf8.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace kerfline {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineSeparator = 0x2028;
// Base points are a few dozen short lines; anything far larger is not this file.
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

std::u32string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::u32string text;
    auto unit = [&](std::size_t i) -> char32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t{a} << 8 | b) : (char32_t{b} << 8 | a);
    };
    const std::size_t units = bytes.size() / 2;
    for (std::size_t u = 0; u < units; ++u) {
        const char32_t c = unit(2 * u);
        if (c >= 0xD800 && c < 0xDC00 && u + 1 < units) {
            const char32_t low = unit(2 * (u + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                text += 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++u;
                continue;
            }
        }
        text += (c >= 0xD800 && c < 0xE000) ? kReplacement : c;
    }
    if (bytes.size() % 2 != 0)
        text += kReplacement;
    return text;
}

// Strict UTF-8 decoding; nothing when the bytes are not UTF-8.
std::optional<std::u32string> fromUtf8(std::string_view bytes)
{
    std::u32string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t c = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(extra) >= bytes.size() && extra > 0)
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            return std::nullopt;
        text += c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return text;
}

std::u32string fromLatin1(std::string_view bytes)
{
    std::u32string text;
    for (const char b : bytes)
        text += static_cast<char32_t>(static_cast<unsigned char>(b));
    return text;
}

std::u32string decode(std::string_view bytes)
{
    auto startsWith = [&](std::initializer_list<int> mark) {
        if (bytes.size() < mark.size())
            return false;
        std::size_t i = 0;
        for (const int m : mark)
            if (static_cast<unsigned char>(bytes[i++]) != m)
                return false;
        return true;
    };
    if (startsWith({0xFF, 0xFE}))
        return fromUtf16(bytes.substr(2), false);
    if (startsWith({0xFE, 0xFF}))
        return fromUtf16(bytes.substr(2), true);
    if (startsWith({0xEF, 0xBB, 0xBF})) {
        const std::string_view rest = bytes.substr(3);
        auto text = fromUtf8(rest);
        return text ? *text : fromLatin1(rest);
    }
    auto text = fromUtf8(bytes);
    return text ? *text : fromLatin1(bytes);
}

}  // namespace

std::vector<std::string> decodeTextLines(std::string_view bytes)
{
    const std::u32string text = decode(bytes);
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // characters seen since the last break
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' || c == U'\n' || c == kLineSeparator) {
            if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
            open = false;
            continue;
        }
        appendUtf8(line, c);
        open = true;
    }
    if (open)
        lines.push_back(std::move(line));
    return lines;
}

std::string encodeTextLinesUtf16(const std::vector<std::string>& lines)
{
    std::string out = "\xFF\xFE";
    auto put = [&out](char32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>((unit >> 8) & 0xFF);
    };
    for (const std::string& line : lines) {
        auto decoded = fromUtf8(line);
        const std::u32string text = decoded ? *decoded : fromLatin1(line);
        for (const char32_t c : text) {
            if (c >= 0x10000) {
                put(0xD800 + ((c - 0x10000) >> 10));
                put(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                put(c);
            }
        }
        put(U'\r');
        put(U'\n');
    }
    return out;
}

BasePointsFileResult readBasePointsFile(const std::string& path, const std::string& cannotReadText)
{
    BasePointsFileResult result;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        result.ok = true;
        return result;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || size > kMaxFileBytes || !file) {
        result.message = formatText(cannotReadText, {path});
        return result;
    }
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) {
        result.message = formatText(cannotReadText, {path});
        return result;
    }
    result.lines = decodeTextLines(bytes);
    result.ok = true;
    return result;
}

BasePointsFileResult writeBasePointsFile(const std::string& path, const std::vector<std::string>& lines,
                                         const std::string& cannotWriteText)
{
    BasePointsFileResult result;
    result.ok = writeFileAtomically(path, encodeTextLinesUtf16(lines));
    if (!result.ok)
        result.message = formatText(cannotWriteText, {path});
    return result;
}

}  // namespace kerfline
