#include "designfiles/eps_reader.h"

#include "designfiles/bounded_simplify.h"
#include "designfiles/drawing_output.h"

#include <charconv>
#include <cmath>

namespace kerfline {
namespace {

// PostScript points to millimetres.
constexpr double kMmPerPoint = 127.0 / 360.0;

// The path is simplified with 0.1 mm (mmToUnits(0.2 * 0.5)) after every curve.
constexpr double kSimplifyTolerance = 4.0;

// Distances the simplification of one load may compute: real designs need a small part of it,
// a path built to make every simplification scan all of it is refused after a few seconds.
constexpr std::int64_t kSimplifyWork = 4'000'000'000;

bool isSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// Operators are single characters, compared case-sensitively.
bool isOneOf(std::string_view mnemonic, std::string_view operators)
{
    return mnemonic.size() == 1 && operators.find(mnemonic[0]) != std::string_view::npos;
}

// The operators whose lines carry numbers.
bool takesParameters(std::string_view mnemonic)
{
    return isOneOf(mnemonic, "mLlcCvVyYbBKfFnN");
}

bool isPointOperator(std::string_view mnemonic)
{
    return isOneOf(mnemonic, "mLl");
}

bool isCurveOperator(std::string_view mnemonic)
{
    return isOneOf(mnemonic, "cCvVyY");
}

bool isPaintOperator(std::string_view mnemonic)
{
    return isOneOf(mnemonic, "bBsSfFnN");
}

enum class Token : std::uint8_t { ok, notNumber, unusable };

// A PostScript number with '.' as the decimal separator.
Token parseNumber(std::string_view text, double& value)
{
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (text.empty() || text[0] == '+' || text[0] == '-')
            return Token::notNumber;
    }
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, std::chars_format::general);
    if (end != last || (error != std::errc() && error != std::errc::result_out_of_range))
        return Token::notNumber;
    if (error == std::errc::result_out_of_range || !std::isfinite(value))
        return Token::unusable;
    return Token::ok;
}

}  // namespace

std::int32_t cmykToPen(std::string_view line)
{
    line = trimmed(line);
    if (line == "0 1 1 0 K")
        return 3;
    if (line == "1 0 1 0 K")
        return 4;
    if (line == "0 0 1 0 K")
        return 6;
    return 0;
}

int EpsReader::open(const std::string& path)
{
    const int code = m_file.open(path);
    if (code != 0)
        return code;
    m_lines.reset();
    if (m_lines.read().substr(0, 4) != "%!PS") {
        m_file.bytes.close();
        return kOpenWrongKind;
    }
    m_simplifyWork = kSimplifyWork;
    m_endOfFile = m_lines.exhausted();
    return 0;
}

void EpsReader::ParseEpsLine(std::string_view line)
{
    m_mnemonic.clear();
    m_parameterCount = 0;
    m_unreadable = false;
    m_unusable = false;
    m_unusableToken.clear();
    if (line.size() <= 2) {
        m_mnemonic = line;
        return;
    }
    std::size_t blank = line.size();
    while (blank > 0 && !isSpaceOrTab(line[blank - 1]))
        --blank;
    if (blank == 0) {
        m_mnemonic = line.substr(0, 2);
        return;
    }
    m_mnemonic = line.substr(blank, 2);
    if (!takesParameters(m_mnemonic))
        return;
    // Coordinates are in points; colour values are not.
    const double scale = isPointOperator(m_mnemonic) || isCurveOperator(m_mnemonic) ? kMmPerPoint : 1.0;
    // The numbers go to the slots only when all of them read: a line that is not understood
    // changes nothing. Runs of blanks separate like one blank; numbers beyond 16 are ignored.
    std::array<double, 16> values{};
    int count = 0;
    std::size_t i = 0;
    const std::size_t end = blank - 1;
    while (i < end && count < static_cast<int>(values.size())) {
        while (i < end && isSpaceOrTab(line[i]))
            ++i;
        std::size_t j = i;
        while (j < end && !isSpaceOrTab(line[j]))
            ++j;
        if (j == i)
            break;
        const std::string_view token = line.substr(i, j - i);
        double value = 0.0;
        switch (parseNumber(token, value)) {
        case Token::ok:
            values[static_cast<std::size_t>(count++)] = value * scale;
            break;
        case Token::notNumber:
            m_unreadable = true;
            return;
        case Token::unusable:
            if (!m_unusable)
                m_unusableToken = token.substr(0, 40);
            m_unusable = true;
            values[static_cast<std::size_t>(count++)] = 0.0;
            break;
        }
        i = j;
    }
    for (int k = 0; k < count; ++k)
        m_parameters[static_cast<std::size_t>(k)] = values[static_cast<std::size_t>(k)];
    m_parameterCount = count;
}

bool EpsReader::epsPoint(DrawingOutput& out)
{
    out.addTested({m_parameters[0], m_parameters[1]});
    return !out.outOfRange() || m_file.fail(DesignError::Kind::OutOfRange, {}, m_lines.lineNumber());
}

bool EpsReader::epsCurve(tfigura& figure, DrawingOutput& out)
{
    const std::array<double, 16>& p = m_parameters;
    const char op = static_cast<char>(m_mnemonic[0] & ~0x20);
    RealPoint p0;
    if (out.lastTested() == DrawingOutput::kNoPoint) {
        // A curve with no point before it starts at its own first control point.
        p0 = {p[0], p[1]};
        out.addTested(p0);
    } else {
        p0 = {unitsToMm(out.lastTested().x), unitsToMm(out.lastTested().y)};
    }
    RealPoint p1{p[0], p[1]};
    RealPoint p2{p[2], p[3]};
    RealPoint p3{p[4], p[5]};
    if (op == 'V') {
        p1 = p0;
        p2 = {p[0], p[1]};
        p3 = {p[2], p[3]};
    } else if (op == 'Y') {
        p3 = p2;
    }
    flattenCubic(p0, p1, p2, p3, out);
    if (out.outOfRange())
        return m_file.fail(DesignError::Kind::OutOfRange, {}, m_lines.lineNumber());
    if (!simplifyPolylineWithin(figure, kSimplifyTolerance, m_simplifyWork))
        return m_file.fail(DesignError::Kind::TooComplex, {}, m_lines.lineNumber());
    return true;
}

ReadResult EpsReader::nextFigure(tfigura& figure)
{
    figure.pen = static_cast<std::uint8_t>(m_currentPen);
    DrawingOutput out(figure, 1.0);
    bool figureEnded = false;
    while (!figureEnded && !m_endOfFile) {
        const std::string_view line = trimmed(m_lines.read());
        m_endOfFile = m_lines.exhausted();
        if (line == "%%EOF") {
            m_endOfFile = true;
            break;
        }
        if (line == "%%EndSetup") {
            m_started = true;
            continue;
        }
        // Nothing before "%%EndSetup" is read; blank lines and comments are skipped. "%%EOF" ends
        // the design wherever it stands: a trailer comment before it must not let later lines in.
        if (!m_started || line.empty() || line[0] == '%')
            continue;

        ParseEpsLine(line);
        const std::string_view mnemonic = m_mnemonic;
        if (mnemonic == "K") {
            m_currentPen = cmykToPen(line);
            figure.pen = static_cast<std::uint8_t>(m_currentPen);
        } else if (isPointOperator(mnemonic) || isCurveOperator(mnemonic)) {
            if (m_unusable) {
                m_file.fail(DesignError::Kind::OutOfRange, m_unusableToken, m_lines.lineNumber());
                return {m_file.fault};
            }
            // A line whose numbers do not read is not understood and is skipped.
            if (m_unreadable)
                continue;
            const bool read = isPointOperator(mnemonic) ? epsPoint(out) : epsCurve(figure, out);
            if (!read)
                return {m_file.fault};
        } else if (isPaintOperator(mnemonic)) {
            figureEnded = true;  // the path is painted or discarded
        }
    }
    if (m_file.bytes.error() != 0)
        return m_file.readFailure();
    return {};
}

}  // namespace kerfline
