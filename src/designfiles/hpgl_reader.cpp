// The HPGL branch of Thpgl: tokens, instructions and figures of HPGL plot files.
#include "designfiles/thpgl.h"

#include "geometry/round.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

namespace kerfline {
namespace {

enum CharClass : std::uint8_t { kOther, kLetter, kNumberChar };

constexpr std::array<std::uint8_t, 256> makeClasses()
{
    std::array<std::uint8_t, 256> classes{};
    for (int c = 'A'; c <= 'Z'; ++c) {
        classes[static_cast<std::size_t>(c)] = kLetter;
        classes[static_cast<std::size_t>(c + ('a' - 'A'))] = kLetter;
    }
    for (int c = '0'; c <= '9'; ++c)
        classes[static_cast<std::size_t>(c)] = kNumberChar;
    classes['+'] = kNumberChar;
    classes['-'] = kNumberChar;
    classes['.'] = kNumberChar;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

CharClass classOf(int c)
{
    return static_cast<CharClass>(kClasses[static_cast<std::size_t>(c)]);
}

char upper(int c)
{
    return static_cast<char>(c >= 'a' ? c - ('a' - 'A') : c);
}

constexpr std::uint16_t mnemonic(char first, char second = '\0')
{
    return static_cast<std::uint16_t>((static_cast<unsigned>(first) << 8) | static_cast<unsigned char>(second));
}

constexpr std::uint16_t kPW = mnemonic('P', 'W');
constexpr std::uint16_t kSP = mnemonic('S', 'P');
constexpr std::uint16_t kPR = mnemonic('P', 'R');
constexpr std::uint16_t kPD = mnemonic('P', 'D');
constexpr std::uint16_t kPA = mnemonic('P', 'A');
constexpr std::uint16_t kPU = mnemonic('P', 'U');
constexpr std::uint16_t kC = mnemonic('C');
constexpr std::uint16_t kM = mnemonic('M');

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A whole number as the file must give it where an integer is required: an optional sign and
// digits, within 32 bits.
bool toInteger(std::string_view text, std::int32_t& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return false;
    // Nine digits cannot overflow; that is nearly every coordinate, so it goes without checks.
    if (text.size() - i <= 9) {
        std::int32_t magnitude = 0;
        for (; i < text.size(); ++i) {
            const unsigned digit = static_cast<unsigned char>(text[i]) - unsigned{'0'};
            if (digit > 9)
                return false;
            magnitude = magnitude * 10 + static_cast<std::int32_t>(digit);
        }
        value = negative ? -magnitude : magnitude;
        return true;
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

// A decimal number: an optional sign, digits with at most one full stop, at least one digit.
bool toDecimal(std::string_view text, double& value)
{
    std::size_t i = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-'))
        i = 1;
    bool digit = false;
    bool stop = false;
    for (std::size_t j = i; j < text.size(); ++j) {
        if (isDigit(text[j]))
            digit = true;
        else if (text[j] == '.' && !stop)
            stop = true;
        else
            return false;
    }
    if (!digit)
        return false;
    // from_chars takes a minus sign but no plus sign.
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    return error == std::errc() && end == last;
}

// Relative moves accumulate without bound; they stop at the edge of the coordinate range.
std::int32_t saturatedSum(std::int32_t a, std::int32_t b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

Point operator+(Point a, Point b)
{
    return {saturatedSum(a.x, b.x), saturatedSum(a.y, b.y)};
}

}  // namespace

int Thpgl::openHpgl()
{
    const int code = m_file.open(m_path);
    if (code != 0)
        return code;
    m_hpgl = Hpgl{};
    m_hpgl.current = m_file.get();
    m_hpgl.inputEnded = m_hpgl.current == ByteReader::kEnd;
    m_currentPen = 0;
    m_penWidths.fill(0.0);
    m_endOfFile = m_hpgl.inputEnded;
    return 0;
}

// A mnemonic is one or two letters, a number every following character of "+-.0123456789";
// anything else only separates tokens. Separators and numbers, nearly all of a plot, are scanned
// straight in the reader's buffer.
void Thpgl::readToken()
{
    Hpgl& h = m_hpgl;
    int c = h.current;
    while (c != ByteReader::kEnd && classOf(c) == kOther) {
        const unsigned char* bytes = m_file.buffered();
        const std::size_t count = m_file.bufferedCount();
        std::size_t i = 0;
        while (i < count && kClasses[bytes[i]] == kOther)
            ++i;
        m_file.skip(i);
        c = m_file.get();
    }
    h.tokenLength = 0;
    if (c == ByteReader::kEnd) {
        h.tokenKind = TokenKind::None;
        h.current = c;
        h.inputEnded = true;
        return;
    }
    h.tokenOffset = m_file.offset() - 1;
    if (classOf(c) == kLetter) {
        h.tokenKind = TokenKind::Mnemonic;
        h.tokenText[0] = upper(c);
        h.tokenLength = 1;
        c = m_file.get();
        if (c != ByteReader::kEnd && classOf(c) == kLetter) {
            h.tokenText[1] = upper(c);
            h.tokenLength = 2;
            c = m_file.get();
        }
    } else {
        // The value of a plain whole number (a sign and up to nine digits, as nearly every
        // coordinate is) is taken on the way; any other token is converted from its text.
        h.tokenKind = TokenKind::Number;
        const bool negative = c == '-';
        bool plain = true;
        std::uint64_t magnitude = 0;
        std::size_t digits = 0;
        std::size_t length = 0;
        const auto take = [&](unsigned char b) {
            const unsigned digit = b - unsigned{'0'};
            if (digit <= 9) {
                magnitude = magnitude * 10 + digit;
                ++digits;
            } else if (length != 0 || b == '.') {
                plain = false;
            }
            if (length < kMaxTokenLength)
                h.tokenText[length] = static_cast<char>(b);
            ++length;
        };
        take(static_cast<unsigned char>(c));
        for (;;) {
            const unsigned char* bytes = m_file.buffered();
            const std::size_t count = m_file.bufferedCount();
            std::size_t i = 0;
            while (i < count && kClasses[bytes[i]] == kNumberChar)
                take(bytes[i++]);
            m_file.skip(i);
            c = m_file.get();  // the byte after the run, or the first of the next buffer
            if (c == ByteReader::kEnd || classOf(c) != kNumberChar)
                break;
            take(static_cast<unsigned char>(c));
        }
        h.tokenLength = length;
        h.tokenPlain = plain && digits >= 1 && digits <= 9;
        if (h.tokenPlain) {
            const auto value = static_cast<std::int32_t>(magnitude);  // below 10^9
            h.tokenValue = negative ? -value : value;
        }
    }
    h.current = c;
    if (c == ByteReader::kEnd)
        h.inputEnded = true;
}

bool Thpgl::tokenError(DesignError::Kind kind)
{
    const Hpgl& h = m_hpgl;
    DesignError error;
    error.kind = kind;
    error.file = m_path;
    error.offset = h.tokenOffset;
    error.token.assign(h.tokenText.data(), std::min(h.tokenLength, kMaxTokenLength));
    if (h.tokenLength > kMaxTokenLength)
        error.token += "...";
    m_failure = std::move(error);
    return false;
}

bool Thpgl::parseInstruction()
{
    Hpgl& h = m_hpgl;
    if (h.tokenKind == TokenKind::None) {
        if (h.inputEnded)
            return true;
        readToken();
        if (h.tokenKind == TokenKind::None)
            return true;
    }
    const auto tokenFits = [&] { return h.tokenLength <= kMaxTokenLength; };
    const auto tokenText = [&] { return std::string_view(h.tokenText.data(), h.tokenLength); };
    // Further pairs need whole numbers; there a lone full stop stands for 0.
    const auto pairValue = [&](std::int32_t& value) {
        if (h.tokenPlain) {
            value = h.tokenValue;
            return true;
        }
        if (h.tokenLength == 1 && h.tokenText[0] == '.') {
            value = 0;
            return true;
        }
        return tokenFits() && toInteger(tokenText(), value);
    };

    if (h.tokenKind == TokenKind::Mnemonic) {
        h.mnemonic = mnemonic(h.tokenText[0], h.tokenLength > 1 ? h.tokenText[1] : '\0');
        h.parameterCount = 0;
        readToken();
        if (h.tokenKind == TokenKind::Number) {
            double first = 0.0;
            if (h.tokenPlain)
                first = h.tokenValue;
            else if (!tokenFits() || !toDecimal(tokenText(), first))
                return tokenError(DesignError::Kind::NotNumber);
            h.parameters[0] = first;
            h.parameterCount = 1;
            readToken();
            if (h.tokenKind == TokenKind::Number) {
                std::int32_t second = 0;
                if (h.tokenPlain)
                    second = h.tokenValue;
                else if (!tokenFits() || !toInteger(tokenText(), second))
                    return tokenError(DesignError::Kind::NotInteger);
                h.parameters[1] = second;
                h.parameterCount = 2;
                h.position = {roundHalfEven(first), second};
                readToken();
            }
        } else {
            if (h.relativeMode)
                h.position = {0, 0};
            if (h.mnemonic == kPR)
                h.position = h.lastPenPosition;
        }
    } else {
        std::int32_t first = 0;
        if (!pairValue(first))
            return tokenError(DesignError::Kind::NotInteger);
        h.parameters[0] = first;
        h.parameterCount = 1;
        readToken();
        if (h.tokenKind == TokenKind::Number) {
            std::int32_t second = 0;
            if (!pairValue(second))
                return tokenError(DesignError::Kind::NotInteger);
            h.parameters[1] = second;
            h.parameterCount = 2;
            h.position = {first, second};
            readToken();
        }
    }
    h.pending = true;
    return true;
}

double Thpgl::penWidth(std::int32_t pen) const
{
    return pen >= 0 && pen < kPenCount ? m_penWidths[static_cast<std::size_t>(pen)] : 0.0;
}

// PD, or PA with the pen down: the first stroke of a figure starts where the pen stood.
void Thpgl::drawTo(tfigura& figure)
{
    Hpgl& h = m_hpgl;
    if (!h.penDown) {
        figure.pen = static_cast<std::uint8_t>(m_currentPen);
        figure.penWidth = penWidth(m_currentPen);
        addPoint(figure, h.previousPosition);
    }
    h.penDown = true;
    if (h.relativeMode) {
        h.relativeSum = h.relativeSum + h.position;
        h.position = h.relativeSum;
    }
    if (figure.points.empty() || !(figure.points.back() == h.position))
        addPoint(figure, h.position);
    h.lastPenPosition = h.position;
}

void Thpgl::actOnInstruction(tfigura& figure)
{
    Hpgl& h = m_hpgl;
    switch (h.mnemonic) {
    case kPW:
        // A width without a pen number names no pen; applying it to a remembered number could
        // set the project's rotation angle by accident, so it is ignored.
        if (h.parameterCount == 2) {
            const std::int32_t pen = roundHalfEven(h.parameters[1]);
            if (pen >= 0 && pen < kPenCount)
                m_penWidths[static_cast<std::size_t>(pen)] = h.parameters[0];
        }
        break;
    case kSP:
        m_currentPen = h.parameterCount >= 1 ? roundHalfEven(h.parameters[0]) : 0;
        if (h.penDown)
            m_figureEnded = true;
        break;
    case kPR:
        h.relativeMode = true;
        h.relativeSum = h.relativeSum + h.position;
        h.position = h.relativeSum;
        break;
    case kPD:
        drawTo(figure);
        break;
    case kPA:
        if (h.penDown) {
            drawTo(figure);
        } else {
            h.lastPenPosition = h.position;
            h.relativeSum = {0, 0};
        }
        break;
    case kPU:
        if (h.penDown) {
            h.penDown = false;
            m_figureEnded = true;
            if (h.relativeMode) {
                h.relativeSum = h.relativeSum + h.position;
                h.position = h.relativeSum;
            }
            h.lastPenPosition = h.position;
            h.relativeMode = false;
        }
        break;
    case kC:
        if (!h.penDown)
            addPoint(figure, h.lastPenPosition);
        h.penDown = true;
        addPoint(figure, h.position);
        h.lastPenPosition = h.position;
        break;
    case kM:
        if (h.penDown) {
            h.penDown = false;
            m_figureEnded = true;
        }
        h.lastPenPosition = h.position;
        break;
    default:
        break;  // IN, IP, LT, LB, ...: read with their parameters and ignored
    }
}

// Every parsed instruction is acted on exactly once, the file's last one included, before the
// figure ends. The instruction after the one that ends a figure is parsed already and is acted on
// by the next call, which is why a new figure starts from the pen's position before its first PD.
ReadResult Thpgl::readHpglFigure(tfigura& figure)
{
    Hpgl& h = m_hpgl;
    figure.pen = static_cast<std::uint8_t>(m_currentPen);
    m_figureEnded = false;
    h.penDown = false;
    for (;;) {
        if (h.pending) {
            actOnInstruction(figure);
            h.pending = false;
        }
        h.previousPosition = h.position;
        if (!parseInstruction())
            return {m_failure};
        if (m_file.error() != 0) {
            DesignError error;
            error.kind = DesignError::Kind::ReadFailed;
            error.file = m_path;
            error.offset = m_file.offset();
            error.systemCode = m_file.error();
            return {error};
        }
        if (m_figureEnded || !h.pending)
            break;
    }
    // Nothing left to act on means the file is done.
    m_endOfFile = !h.pending;
    return {};
}

}  // namespace kerfline
