#include "designfiles/hpgl_reader.h"

#include "base/round.h"

#include <algorithm>
#include <charconv>
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
    // Plain whole numbers, nearly every coordinate, never come here: readToken takes their value.
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

int HpglReader::open(const std::string& path)
{
    const int code = m_file.open(path);
    if (code != 0)
        return code;
    m_current = m_file.bytes.get();
    m_endOfFile = m_current == ByteReader::kEnd;
    return 0;
}

// A mnemonic is one or two letters, a number every following character of "+-.0123456789";
// anything else only separates tokens. Separators and numbers, nearly all of a plot, are scanned
// straight in the reader's buffer.
void HpglReader::readToken()
{
    int c = m_current;
    while (c != ByteReader::kEnd && classOf(c) == kOther) {
        const unsigned char* bytes = m_file.bytes.buffered();
        const std::size_t count = m_file.bytes.bufferedCount();
        std::size_t i = 0;
        while (i < count && kClasses[bytes[i]] == kOther)
            ++i;
        m_file.bytes.skip(i);
        c = m_file.bytes.get();
    }
    m_tokenLength = 0;
    if (c == ByteReader::kEnd) {
        m_tokenKind = TokenKind::None;
        m_current = c;
        return;
    }
    m_tokenOffset = m_file.bytes.offset() - 1;
    if (classOf(c) == kLetter) {
        m_tokenKind = TokenKind::Mnemonic;
        m_tokenText[0] = upper(c);
        m_tokenLength = 1;
        c = m_file.bytes.get();
        if (c != ByteReader::kEnd && classOf(c) == kLetter) {
            m_tokenText[1] = upper(c);
            m_tokenLength = 2;
            c = m_file.bytes.get();
        }
    } else {
        // The value of a plain whole number (a sign and up to nine digits, as nearly every
        // coordinate is) is taken on the way; any other token is converted from its text.
        m_tokenKind = TokenKind::Number;
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
                m_tokenText[length] = static_cast<char>(b);
            ++length;
        };
        take(static_cast<unsigned char>(c));
        for (;;) {
            const unsigned char* bytes = m_file.bytes.buffered();
            const std::size_t count = m_file.bytes.bufferedCount();
            std::size_t i = 0;
            while (i < count && kClasses[bytes[i]] == kNumberChar)
                take(bytes[i++]);
            m_file.bytes.skip(i);
            c = m_file.bytes.get();  // the byte after the run, or the first of the next buffer
            if (c == ByteReader::kEnd || classOf(c) != kNumberChar)
                break;
            take(static_cast<unsigned char>(c));
        }
        m_tokenLength = length;
        m_tokenPlain = plain && digits >= 1 && digits <= 9;
        if (m_tokenPlain) {
            const auto value = static_cast<std::int32_t>(magnitude);  // below 10^9
            m_tokenValue = negative ? -value : value;
        }
    }
    m_current = c;
}

bool HpglReader::tokenError(DesignError::Kind kind)
{
    std::string token(m_tokenText.data(), std::min(m_tokenLength, kMaxTokenLength));
    if (m_tokenLength > kMaxTokenLength)
        token += "...";
    m_file.fail(kind, std::move(token));
    m_file.fault->offset = m_tokenOffset;
    return false;
}

bool HpglReader::parseInstruction()
{
    if (m_tokenKind == TokenKind::None) {
        if (m_current == ByteReader::kEnd)
            return true;
        readToken();
        if (m_tokenKind == TokenKind::None)
            return true;
    }
    const auto tokenFits = [&] { return m_tokenLength <= kMaxTokenLength; };
    const auto tokenText = [&] { return std::string_view(m_tokenText.data(), m_tokenLength); };
    // Further pairs need whole numbers; there a lone full stop stands for 0.
    const auto pairValue = [&](std::int32_t& value) {
        if (m_tokenPlain) {
            value = m_tokenValue;
            return true;
        }
        if (m_tokenLength == 1 && m_tokenText[0] == '.') {
            value = 0;
            return true;
        }
        return tokenFits() && toInteger(tokenText(), value);
    };

    if (m_tokenKind == TokenKind::Mnemonic) {
        m_mnemonic = mnemonic(m_tokenText[0], m_tokenLength > 1 ? m_tokenText[1] : '\0');
        m_parameterCount = 0;
        readToken();
        if (m_tokenKind == TokenKind::Number) {
            double first = 0.0;
            if (m_tokenPlain)
                first = m_tokenValue;
            else if (!tokenFits() || !toDecimal(tokenText(), first))
                return tokenError(DesignError::Kind::NotNumber);
            m_parameters[0] = first;
            m_parameterCount = 1;
            readToken();
            if (m_tokenKind == TokenKind::Number) {
                std::int32_t second = 0;
                if (m_tokenPlain)
                    second = m_tokenValue;
                else if (!tokenFits() || !toInteger(tokenText(), second))
                    return tokenError(DesignError::Kind::NotInteger);
                m_parameters[1] = second;
                m_parameterCount = 2;
                m_position = {roundHalfEven(first), second};
                readToken();
            }
        } else {
            if (m_relativeMode)
                m_position = {0, 0};
            if (m_mnemonic == kPR)
                m_position = m_lastPenPosition;
        }
    } else {
        std::int32_t first = 0;
        if (!pairValue(first))
            return tokenError(DesignError::Kind::NotInteger);
        m_parameters[0] = first;
        m_parameterCount = 1;
        readToken();
        if (m_tokenKind == TokenKind::Number) {
            std::int32_t second = 0;
            if (!pairValue(second))
                return tokenError(DesignError::Kind::NotInteger);
            m_parameters[1] = second;
            m_parameterCount = 2;
            m_position = {first, second};
            readToken();
        }
    }
    m_pending = true;
    return true;
}

double HpglReader::penWidth(std::int32_t pen) const
{
    return pen >= 0 && pen < kPenCount ? m_penWidths[static_cast<std::size_t>(pen)] : 0.0;
}

// PD, or PA with the pen down: the first stroke of a figure starts where the pen stood.
void HpglReader::drawTo(tfigura& figure)
{
    if (!m_penDown) {
        figure.pen = static_cast<std::uint8_t>(m_currentPen);
        figure.penWidth = penWidth(m_currentPen);
        addPoint(figure, m_previousPosition);
    }
    m_penDown = true;
    if (m_relativeMode) {
        m_relativeSum = m_relativeSum + m_position;
        m_position = m_relativeSum;
    }
    if (figure.points.empty() || !(figure.points.back() == m_position))
        addPoint(figure, m_position);
    m_lastPenPosition = m_position;
}

void HpglReader::actOnInstruction(tfigura& figure)
{
    switch (m_mnemonic) {
    case kPW:
        // A width without a pen number names no pen; applying it to a remembered number could
        // set the project's rotation angle by accident, so it is ignored.
        if (m_parameterCount == 2) {
            const std::int32_t pen = roundHalfEven(m_parameters[1]);
            if (pen >= 0 && pen < kPenCount)
                m_penWidths[static_cast<std::size_t>(pen)] = m_parameters[0];
        }
        break;
    case kSP:
        m_currentPen = m_parameterCount >= 1 ? roundHalfEven(m_parameters[0]) : 0;
        if (m_penDown)
            m_figureEnded = true;
        break;
    case kPR:
        m_relativeMode = true;
        m_relativeSum = m_relativeSum + m_position;
        m_position = m_relativeSum;
        break;
    case kPD:
        drawTo(figure);
        break;
    case kPA:
        if (m_penDown) {
            drawTo(figure);
        } else {
            m_lastPenPosition = m_position;
            m_relativeSum = {0, 0};
        }
        break;
    case kPU:
        if (m_penDown) {
            m_penDown = false;
            m_figureEnded = true;
            if (m_relativeMode) {
                m_relativeSum = m_relativeSum + m_position;
                m_position = m_relativeSum;
            }
            m_lastPenPosition = m_position;
            m_relativeMode = false;
        }
        break;
    case kC:
        if (!m_penDown)
            addPoint(figure, m_lastPenPosition);
        m_penDown = true;
        addPoint(figure, m_position);
        m_lastPenPosition = m_position;
        break;
    case kM:
        if (m_penDown) {
            m_penDown = false;
            m_figureEnded = true;
        }
        m_lastPenPosition = m_position;
        break;
    default:
        break;  // IN, IP, LT, LB, ...: read with their parameters and ignored
    }
}

// Every parsed instruction is acted on exactly once, the file's last one included, before the
// figure ends. The instruction after the one that ends a figure is parsed already and is acted on
// by the next call, which is why a new figure starts from the pen's position before its first PD.
ReadResult HpglReader::nextFigure(tfigura& figure)
{
    figure.pen = static_cast<std::uint8_t>(m_currentPen);
    m_figureEnded = false;
    m_penDown = false;
    for (;;) {
        if (m_pending) {
            actOnInstruction(figure);
            m_pending = false;
        }
        m_previousPosition = m_position;
        if (!parseInstruction())
            return {m_file.fault};
        if (m_file.bytes.error() != 0)
            return m_file.readFailure();
        if (m_figureEnded || !m_pending)
            break;
    }
    // Nothing left to act on means the file is done.
    m_endOfFile = !m_pending;
    return {};
}

}  // namespace kerfline
