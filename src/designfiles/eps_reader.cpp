// The EPS branch of Thpgl: the line-oriented path syntax of EPS and Illustrator files, one figure
// per painted path.
#include "designfiles/thpgl.h"

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

// The operators whose lines carry numbers.
bool takesParameters(std::string_view mnemonic)
{
    if (mnemonic.size() != 1)
        return false;
    switch (mnemonic[0]) {
    case 'm': case 'L': case 'l': case 'c': case 'C': case 'v': case 'V': case 'y': case 'Y':
    case 'b': case 'B': case 'K': case 'f': case 'F': case 'n': case 'N':
        return true;
    default:
        return false;
    }
}

bool isPointOperator(std::string_view mnemonic)
{
    return mnemonic == "m" || mnemonic == "L" || mnemonic == "l";
}

bool isCurveOperator(std::string_view mnemonic)
{
    return mnemonic == "C" || mnemonic == "c" || mnemonic == "V" || mnemonic == "v" || mnemonic == "Y" ||
           mnemonic == "y";
}

bool isPaintOperator(std::string_view mnemonic)
{
    if (mnemonic.size() != 1)
        return false;
    switch (mnemonic[0]) {
    case 'B': case 'b': case 'S': case 's': case 'F': case 'f': case 'N': case 'n':
        return true;
    default:
        return false;
    }
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

int Thpgl::openEps()
{
    const int code = m_file.open(m_path);
    if (code != 0)
        return code;
    m_lines.reset();
    if (m_lines.read().substr(0, 4) != "%!PS") {
        m_file.close();
        return kOpenWrongKind;
    }
    m_eps = Eps{};
    m_eps.simplifyWork = kSimplifyWork;
    m_currentPen = 1;
    m_penWidths.fill(0.0);
    m_endOfFile = m_lines.exhausted();
    return 0;
}

void Thpgl::ParseEpsLine(std::string_view line)
{
    Eps& e = m_eps;
    e.mnemonic.clear();
    e.parameterCount = 0;
    e.unreadable = false;
    e.unusable = false;
    e.unusableToken.clear();
    if (line.size() <= 2) {
        e.mnemonic = line;
        return;
    }
    std::size_t blank = line.size();
    while (blank > 0 && !isSpaceOrTab(line[blank - 1]))
        --blank;
    if (blank == 0) {
        e.mnemonic = line.substr(0, 2);
        return;
    }
    e.mnemonic = line.substr(blank, 2);
    if (!takesParameters(e.mnemonic))
        return;
    const double scale = std::string_view("MLCVY").find(static_cast<char>(e.mnemonic[0] & ~0x20)) !=
                                 std::string_view::npos
                             ? kMmPerPoint
                             : 1.0;
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
            e.unreadable = true;
            return;
        case Token::unusable:
            if (!e.unusable)
                e.unusableToken = token.substr(0, 40);
            e.unusable = true;
            values[static_cast<std::size_t>(count++)] = 0.0;
            break;
        }
        i = j;
    }
    for (int k = 0; k < count; ++k)
        e.parameters[static_cast<std::size_t>(k)] = values[static_cast<std::size_t>(k)];
    e.parameterCount = count;
}

bool Thpgl::epsPoint(DrawingOutput& out)
{
    out.addTested({m_eps.parameters[0], m_eps.parameters[1]});
    return !out.outOfRange() || lineError(DesignError::Kind::OutOfRange, {}, m_lines.lineNumber());
}

bool Thpgl::epsCurve(tfigura& figure, DrawingOutput& out)
{
    const std::array<double, 16>& p = m_eps.parameters;
    const char op = static_cast<char>(m_eps.mnemonic[0] & ~0x20);
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
        return lineError(DesignError::Kind::OutOfRange, {}, m_lines.lineNumber());
    if (!simplifyPolylineWithin(figure, kSimplifyTolerance, m_eps.simplifyWork))
        return lineError(DesignError::Kind::TooComplex, {}, m_lines.lineNumber());
    return true;
}

ReadResult Thpgl::readEpsFigure(tfigura& figure)
{
    Eps& e = m_eps;
    figure.pen = static_cast<std::uint8_t>(m_currentPen);
    m_figureEnded = false;
    DrawingOutput out(figure, 1.0);
    while (!m_figureEnded && !m_endOfFile) {
        std::string_view line = trimmed(m_lines.read());
        bool last = m_lines.exhausted();
        if (line == "%%EOF") {
            m_endOfFile = true;
            break;
        }
        if (line == "%%EndSetup")
            e.started = true;
        if (!e.started || line == "%%EndSetup") {
            m_endOfFile = last;
            continue;
        }
        // Blank lines and comments. "%%EOF" ends the design wherever it stands: a trailer
        // comment before it must not let the lines after it be read.
        while (!last && (line.empty() || line[0] == '%')) {
            line = trimmed(m_lines.read());
            last = m_lines.exhausted();
            if (line == "%%EOF") {
                m_endOfFile = true;
                break;
            }
        }
        if (m_endOfFile)
            break;
        m_endOfFile = last;
        if (line.empty() || line[0] == '%')
            continue;

        ParseEpsLine(line);
        const std::string_view mnemonic = e.mnemonic;
        if (mnemonic == "K") {
            m_currentPen = cmykToPen(line);
            figure.pen = static_cast<std::uint8_t>(m_currentPen);
        } else if (isPointOperator(mnemonic) || isCurveOperator(mnemonic)) {
            if (e.unusable) {
                lineError(DesignError::Kind::OutOfRange, e.unusableToken, m_lines.lineNumber());
                return {m_failure};
            }
            // A line whose numbers do not read is not understood and is skipped.
            if (e.unreadable)
                continue;
            const bool read = isPointOperator(mnemonic) ? epsPoint(out) : epsCurve(figure, out);
            if (!read)
                return {m_failure};
        } else if (isPaintOperator(mnemonic)) {
            m_figureEnded = true;  // the path is painted or discarded
        }
    }
    if (m_file.error() != 0)
        return readFailure();
    return {};
}

}  // namespace kerfline
