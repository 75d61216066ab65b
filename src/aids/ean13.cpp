#include "aids/ean13.h"

#include <array>

namespace kerfline {
namespace {

// Left-hand odd (A) digit patterns; even (B) and right-hand (C) patterns follow from them.
constexpr std::array<const char*, 10> kPatternA{"0001101", "0011001", "0010011", "0111101", "0100011",
                                                "0110001", "0101111", "0111011", "0110111", "0001011"};
// Which of the six left digits use the B patterns, chosen by the first digit.
constexpr std::array<const char*, 10> kParity{"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                              "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

constexpr double kQuietLeft = 11;  // room for the first digit, left of the guard
constexpr double kQuietRight = 7;
constexpr double kBarHeight = 60;
constexpr double kGuardExtra = 5;
constexpr double kDigitWidth = 5;
constexpr double kDigitHeight = 8;
constexpr double kStroke = 1;

bool allDigits(std::string_view text)
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The seven segments of a digit: a b c d e f g, as in a display.
constexpr std::array<std::uint8_t, 10> kSegments{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

void addDigit(std::vector<SymbolRect>& out, int digit, double x, double y)
{
    const double w = kDigitWidth, h = kDigitHeight, s = kStroke, half = (h - s) / 2;
    const SymbolRect segments[7] = {
        {x, y, w, s},                    // a: top
        {x + w - s, y, s, half + s},     // b: upper right
        {x + w - s, y + half, s, half + s},  // c: lower right
        {x, y + h - s, w, s},            // d: bottom
        {x, y + half, s, half + s},      // e: lower left
        {x, y, s, half + s},             // f: upper left
        {x, y + half, w, s},             // g: middle
    };
    for (int k = 0; k < 7; ++k)
        if (kSegments[static_cast<std::size_t>(digit)] & (1u << k))
            out.push_back(segments[k]);
}

}  // namespace

std::optional<int> ean13CheckDigit(std::string_view twelveDigits)
{
    if (twelveDigits.size() != 12 || !allDigits(twelveDigits))
        return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < 12; ++i)
        sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    return (10 - sum % 10) % 10;
}

bool isValidEan13(std::string_view code)
{
    if (code.size() != 13)
        return false;
    const auto check = ean13CheckDigit(code.substr(0, 12));
    return check && code[12] - '0' == *check;
}

std::optional<std::string> barcodeNumber(std::int64_t serial)
{
    if (serial < 1 || serial > kLargestBarcodeSerial)
        return std::nullopt;
    std::string digits = std::to_string(serial);
    std::string number = std::string(kBarcodePrefix) + std::string(9 - digits.size(), '0') + digits;
    return number + static_cast<char>('0' + *ean13CheckDigit(number));
}

std::vector<bool> ean13Modules(std::string_view code)
{
    std::vector<bool> modules;
    modules.reserve(95);
    const auto put = [&](std::string_view pattern, bool invert) {
        for (const char c : pattern)
            modules.push_back((c == '1') != invert);
    };
    put("101", false);
    const char* parity = kParity[static_cast<std::size_t>(code[0] - '0')];
    for (std::size_t i = 1; i <= 6; ++i) {
        const std::string_view a = kPatternA[static_cast<std::size_t>(code[i] - '0')];
        if (parity[i - 1] == 'A') {
            put(a, false);
        } else {
            // B is C (A inverted) read backwards.
            const std::string reversed(a.rbegin(), a.rend());
            put(reversed, true);
        }
    }
    put("01010", false);
    for (std::size_t i = 7; i <= 12; ++i)
        put(kPatternA[static_cast<std::size_t>(code[i] - '0')], true);
    put("101", false);
    return modules;
}

std::optional<Ean13Symbol> ean13Symbol(std::string_view code)
{
    if (!isValidEan13(code))
        return std::nullopt;
    Ean13Symbol symbol;
    symbol.width = kQuietLeft + 95 + kQuietRight;
    const std::vector<bool> modules = ean13Modules(code);
    const auto isGuard = [](std::size_t m) { return m < 3 || (m >= 45 && m < 50) || m >= 92; };
    for (std::size_t m = 0; m < modules.size();) {
        if (!modules[m]) {
            ++m;
            continue;
        }
        std::size_t end = m;
        while (end < modules.size() && modules[end])
            ++end;
        const double height = kBarHeight + (isGuard(m) ? kGuardExtra : 0.0);
        symbol.bars.push_back({kQuietLeft + static_cast<double>(m), 0, static_cast<double>(end - m), height});
        m = end;
    }
    // The readable digits: the first left of the start guard, then six under each half.
    const double digitTop = kBarHeight + 1.5;
    addDigit(symbol.digits, code[0] - '0', kQuietLeft - kDigitWidth - 3, digitTop);
    for (std::size_t i = 1; i <= 12; ++i) {
        const double groupStart = i <= 6 ? 3 : 50;
        const double x = kQuietLeft + groupStart + 7.0 * static_cast<double>((i - 1) % 6) + 1;
        addDigit(symbol.digits, code[i] - '0', x, digitTop);
    }
    symbol.height = digitTop + kDigitHeight + 1.5;
    return symbol;
}

}  // namespace kerfline
