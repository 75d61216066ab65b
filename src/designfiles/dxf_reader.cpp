#include "designfiles/dxf_reader.h"

#include "designfiles/drawing_output.h"
#include "geometry/smoothing.h"
#include "geometry/spline.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>

namespace kerfline {
namespace {

constexpr double kPi = std::numbers::pi;

// Points a load may deliver besides 64 for every byte of the file: no real drawing comes near,
// while a few bytes describing huge circles cannot fill the memory.
constexpr std::int64_t kBasePointBudget = 16'000'000;
constexpr std::int64_t kPointsPerByte = 64;

// Polyline flags (group 70).
constexpr std::int32_t kClosed = 1;
constexpr std::int32_t kSplineFit = 4;
constexpr std::int32_t kPolyline3D = 8;

enum class Entity : std::uint8_t { none, line, spline, circle, ellipse, arc, polyline, lwpolyline };

// Entity names match whole lines, exactly and case-sensitively.
Entity entityNamed(std::string_view line)
{
    switch (line.size()) {
    case 3:
        return line == "ARC" ? Entity::arc : Entity::none;
    case 4:
        return line == "LINE" ? Entity::line : Entity::none;
    case 6:
        if (line == "SPLINE")
            return Entity::spline;
        return line == "CIRCLE" ? Entity::circle : Entity::none;
    case 7:
        return line == "ELLIPSE" ? Entity::ellipse : Entity::none;
    case 8:
        return line == "POLYLINE" ? Entity::polyline : Entity::none;
    case 10:
        return line == "LWPOLYLINE" ? Entity::lwpolyline : Entity::none;
    default:
        return Entity::none;
    }
}

enum class NumberText : std::uint8_t { ok, blank, notNumber, outOfRange };

// A real as DXF files write it: '.' or ',' as the decimal separator, blanks around it.
// Ten to the power 0 .. 22, all exact in a double.
constexpr std::array<double, 23> kPowersOfTen = [] {
    std::array<double, 23> powers{};
    double p = 1.0;
    for (double& power : powers) {
        power = p;
        p *= 10.0;
    }
    return powers;
}();

// The common form of DXF numbers, an optional minus, digits and a decimal point: at most 15
// digits make a whole number a double holds exactly, and dividing it by an exact power of ten
// rounds once, correctly, as from_chars would. False for anything else.
bool parsePlainDecimal(std::string_view text, double& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    const char* const first = p;
    std::uint64_t digits = 0;
    while (p != end && static_cast<unsigned>(*p - '0') <= 9)
        digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    std::size_t count = static_cast<std::size_t>(p - first);
    std::size_t decimals = 0;
    if (p != end && (*p == '.' || *p == ',')) {
        const char* const point = ++p;
        while (p != end && static_cast<unsigned>(*p - '0') <= 9)
            digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        decimals = static_cast<std::size_t>(p - point);
        count += decimals;
    }
    if (p != end || count == 0 || count > 15)
        return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

NumberText parseReal(std::string_view text, double& value)
{
    text = trimmed(text);
    if (text.empty())
        return NumberText::blank;
    if (parsePlainDecimal(text, value))
        return NumberText::ok;
    std::array<char, TextLines::kMaxLineLength> copy;
    if (text.find(',') != std::string_view::npos) {
        std::copy(text.begin(), text.end(), copy.begin());
        std::replace(copy.begin(), copy.begin() + static_cast<std::ptrdiff_t>(text.size()), ',', '.');
        text = std::string_view(copy.data(), text.size());
    }
    // from_chars takes a minus sign but no plus sign.
    if (text[0] == '+') {
        text.remove_prefix(1);
        if (text.empty() || text[0] == '+' || text[0] == '-')
            return NumberText::notNumber;
    }
    double result = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, result, std::chars_format::general);
    if (error == std::errc::result_out_of_range && end == last)
        return NumberText::outOfRange;
    if (error != std::errc() || end != last)
        return NumberText::notNumber;
    if (!std::isfinite(result))
        return NumberText::outOfRange;
    value = result;
    return NumberText::ok;
}

NumberText parseInteger(std::string_view text, std::int32_t& value)
{
    text = trimmed(text);
    if (text.empty())
        return NumberText::blank;
    if (text[0] == '+') {
        text.remove_prefix(1);
        if (text.empty() || text[0] == '-')
            return NumberText::notNumber;
    }
    std::int32_t result = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, result);
    if (error != std::errc() || end != last)
        return NumberText::notNumber;
    value = result;
    return NumberText::ok;
}

// Trimmed and upper-cased, the line equals `text` (which is upper-case already).
bool equalsTrimmedUpper(std::string_view line, std::string_view text)
{
    if (line.size() != text.size())
        line = trimmed(line);
    if (line.size() != text.size())
        return false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - ('a' - 'A'));
        if (c != text[i])
            return false;
    }
    return true;
}

// Tokens in messages are kept short.
std::string shownToken(std::string_view line, bool overlong)
{
    constexpr std::size_t kShown = 40;
    line = trimmed(line);
    std::string token(line.substr(0, kShown));
    if (overlong || line.size() > kShown)
        token += "...";
    return token;
}

}  // namespace

std::int32_t colourToPen(std::int32_t colour)
{
    switch (colour) {
    case 1:
        return 3;
    case 2:
        return 6;
    case 3:
        return 4;
    default:
        return 0;
    }
}

int DxfReader::open(const std::string& path)
{
    const int code = m_file.open(path);
    if (code != 0)
        return code;
    m_lines.reset();
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    const std::int64_t bytes = ec ? 0 : static_cast<std::int64_t>(std::min<std::uintmax_t>(size, std::uintmax_t{1} << 40));
    m_pointBudget = kBasePointBudget + kPointsPerByte * bytes;
    m_endOfFile = m_file.bytes.bufferedCount() == 0;
    return 0;
}

std::string_view DxfReader::ReadDxfLine()
{
    m_parity = !m_parity;
    m_line = m_lines.read();
    m_trimmedLine = trimmed(m_line);
    return m_line;
}

bool DxfReader::IsGroupCode(std::string_view code, std::string_view line) const
{
    return !m_parity && equalsTrimmedUpper(line, code);
}

bool DxfReader::IsGroupValue(std::string_view text, std::string_view line) const
{
    return m_parity && equalsTrimmedUpper(line, text);
}

DxfReader::Step DxfReader::valueError(DesignError::Kind kind)
{
    m_file.fail(kind, shownToken(m_line, m_lines.overlong()), m_lines.lineNumber());
    return Step::failed;
}

DxfReader::Step DxfReader::ReadDxfReal(double& target, bool coordinate)
{
    ReadDxfLine();
    if (m_lines.overlong())
        return valueError(DesignError::Kind::NotNumber);
    double value = 0.0;
    switch (parseReal(m_line, value)) {
    case NumberText::blank:
        return m_lines.exhausted() ? Step::ended : Step::ok;
    case NumberText::notNumber:
        return valueError(DesignError::Kind::NotNumber);
    case NumberText::outOfRange:
        return valueError(DesignError::Kind::OutOfRange);
    case NumberText::ok:
        break;
    }
    if (coordinate && !DrawingOutput::fits(value, m_curveSettings.mmPerDrawingUnit))
        return valueError(DesignError::Kind::OutOfRange);
    target = value;
    return Step::ok;
}

DxfReader::Step DxfReader::ReadDxfInteger(std::int32_t& target, bool* changed)
{
    ReadDxfLine();
    if (changed != nullptr)
        *changed = false;
    if (m_lines.overlong())
        return valueError(DesignError::Kind::NotInteger);
    switch (parseInteger(m_line, target)) {
    case NumberText::blank:
        return m_lines.exhausted() ? Step::ended : Step::ok;
    case NumberText::ok:
        if (changed != nullptr)
            *changed = true;
        return Step::ok;
    default:
        return valueError(DesignError::Kind::NotInteger);
    }
}

// A colour group: the figure being built takes the new pen at once.
DxfReader::Step DxfReader::applyColour()
{
    std::int32_t colour = 0;
    bool changed = false;
    const Step step = ReadDxfInteger(colour, &changed);
    if (changed) {
        m_currentPen = colourToPen(colour);
        m_figure->pen = static_cast<std::uint8_t>(m_currentPen);
    }
    return step;
}

template <typename Match>
DxfReader::Step DxfReader::searchLines(Match match, bool colour, bool fromCurrent)
{
    if (!fromCurrent)
        ReadDxfLine();
    for (;;) {
        if (match())
            return Step::ok;
        if (colour && currentIsCode("62")) {
            if (const Step step = applyColour(); step == Step::failed)
                return step;
        }
        // Every search stops at the end of the file, whatever it was looking for.
        if (m_lines.exhausted())
            return Step::ended;
        ReadDxfLine();
    }
}

DxfReader::Step DxfReader::searchCode(std::string_view code, bool colour)
{
    return searchLines([&] { return currentIsCode(code); }, colour, false);
}

DxfReader::Step DxfReader::ReadCoordinates(std::string_view firstCode, std::string_view secondCode)
{
    Step step = searchLines([&] { return currentIsCode(firstCode); }, true, true);
    if (step == Step::ok)
        step = ReadDxfReal(m_coordinates.x, true);
    if (step == Step::ok)
        step = searchCode(secondCode, true);
    if (step == Step::ok)
        step = ReadDxfReal(m_coordinates.y, true);
    return step;
}

CurveSettings DxfReader::settingsForCurve() const
{
    CurveSettings settings = m_curveSettings;
    const std::int64_t used = m_pointsDelivered + static_cast<std::int64_t>(m_figure->points.size());
    settings.maxPoints = std::clamp<std::int64_t>(m_pointBudget - used, 0, settings.maxPoints);
    return settings;
}

DxfReader::Step DxfReader::curveDone(CurveStatus status)
{
    DesignError::Kind kind = DesignError::Kind::BadCurve;
    switch (status) {
    case CurveStatus::ok:
        return Step::ok;
    case CurveStatus::tooLarge:
        kind = DesignError::Kind::TooManyPoints;
        break;
    case CurveStatus::tooFewKnots:
        kind = DesignError::Kind::TooFewKnots;
        break;
    case CurveStatus::invalidInput:
        break;
    }
    m_file.fail(kind, {}, m_entityLine);
    return Step::failed;
}

DxfReader::Step DxfReader::readLineEntity()
{
    RealPoint start;
    RealPoint end;
    for (int counted = 0; counted < 4;) {
        ReadDxfLine();
        double* target = nullptr;
        if (currentIsCode("10"))
            target = &start.x;
        else if (currentIsCode("20"))
            target = &start.y;
        else if (currentIsCode("11"))
            target = &end.x;
        else if (currentIsCode("21"))
            target = &end.y;
        Step step = Step::ok;
        if (target != nullptr) {
            step = ReadDxfReal(*target, true);
            ++counted;
        } else if (currentIsCode("62")) {
            step = applyColour();
        }
        if (step != Step::ok)
            return step;
        if (m_lines.exhausted())
            return Step::ended;
    }
    if (const Step step = searchCode("0"); step != Step::ok)
        return step;
    m_out->addTested(start);
    m_out->addTested(end);
    return Step::ok;
}

DxfReader::Step DxfReader::readCircle()
{
    Step step = ReadCoordinates("10", "20");
    const RealPoint centre = m_coordinates;
    double radius = 0.0;
    if (step == Step::ok)
        step = searchCode("40");
    if (step == Step::ok)
        step = ReadDxfReal(radius, true);
    if (step != Step::ok)
        return step;
    return curveDone(flattenCircle(centre, radius, settingsForCurve(), *m_out));
}

DxfReader::Step DxfReader::readEllipse()
{
    Step step = ReadCoordinates("10", "20");
    const RealPoint centre = m_coordinates;
    RealPoint majorEnd;
    double ratio = 0.0;
    double start = 0.0;
    double end = 0.0;
    const struct {
        std::string_view code;
        double* target;
        bool coordinate;
    } groups[] = {
        {"11", &majorEnd.x, true}, {"21", &majorEnd.y, true}, {"40", &ratio, false},
        {"41", &start, false},     {"42", &end, false},
    };
    for (const auto& group : groups) {
        if (step == Step::ok)
            step = searchCode(group.code);
        if (step == Step::ok)
            step = ReadDxfReal(*group.target, group.coordinate);
    }
    if (step != Step::ok)
        return step;
    return curveDone(flattenEllipse(centre, majorEnd, ratio, start, end, settingsForCurve(), *m_out));
}

DxfReader::Step DxfReader::readArc()
{
    Step step = ReadCoordinates("10", "20");
    const RealPoint centre = m_coordinates;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
    if (step == Step::ok)
        step = searchCode("40");
    if (step == Step::ok)
        step = ReadDxfReal(radius, true);
    if (step == Step::ok)
        step = searchCode("50");
    if (step == Step::ok)
        step = ReadDxfReal(start);
    if (step == Step::ok) {
        // Group 51 follows group 50 in conforming files; its code is not looked at.
        ReadDxfLine();
        step = ReadDxfReal(end);
    }
    if (step != Step::ok)
        return step;
    start = start * 2.0 * kPi / 360.0;
    end = end * 2.0 * kPi / 360.0;
    double sweep = end - start;
    if (sweep < 0.0)
        sweep += 2.0 * kPi;
    if (curveDone(flattenArc(centre, radius, start, sweep, settingsForCurve(), *m_out)) != Step::ok)
        return Step::failed;
    // The arc is complete; the end of the file may come before the next entity.
    step = searchLines([&] { return currentIsValue("SEQEND") || currentIsCode("0"); }, false, false);
    return step == Step::failed ? step : Step::ok;
}

DxfReader::Step DxfReader::readSpline()
{
    std::int32_t degree = 0;
    std::int32_t knotCount = 0;
    std::int32_t controlCount = 0;
    Step step = searchCode("71", true);
    if (step == Step::ok)
        step = ReadDxfInteger(degree);
    if (step == Step::ok)
        step = searchCode("72");
    if (step == Step::ok)
        step = ReadDxfInteger(knotCount);
    if (step == Step::ok)
        step = searchCode("73");
    if (step == Step::ok)
        step = ReadDxfInteger(controlCount);
    if (step != Step::ok)
        return step;

    std::vector<double>& knots = m_knots;
    std::vector<RealPoint>& controls = m_controls;
    std::vector<RealPoint>& fitPoints = m_fitPoints;
    knots.clear();
    controls.clear();
    fitPoints.clear();
    double value = 0.0;
    for (;;) {
        ReadDxfLine();
        if (currentIsValue("SEQEND") || currentIsCode("0"))
            break;
        if (currentIsCode("40")) {
            step = ReadDxfReal(value);
            knots.push_back(value);
        } else if (currentIsCode("41")) {
            // Weights do not enter the curve.
            step = ReadDxfReal(value);
        } else if (currentIsCode("10")) {
            step = ReadCoordinates("10", "20");
            controls.push_back(m_coordinates);
        } else if (currentIsCode("11")) {
            step = ReadCoordinates("11", "21");
            fitPoints.push_back(m_coordinates);
        }
        if (step != Step::ok)
            return step;
        if (m_lines.exhausted())
            return Step::ended;
    }

    // Drawing programs often describe a spline by its fit points alone; it is drawn through them
    // as a spline-fit polyline is.
    if (controls.empty() && !fitPoints.empty()) {
        if (fitPoints.size() > 3)
            return curveDone(smoothVertices(fitPoints, false, settingsForCurve(), *m_out));
        for (const RealPoint& p : fitPoints)
            m_out->addTested(p);
        return Step::ok;
    }
    return curveDone(flattenSpline(degree, knotCount, controlCount, knots, controls, settingsForCurve(),
                                   *m_out));
}

DxfReader::Step DxfReader::readPolyline(bool lightweight)
{
    std::int32_t flags = 0;
    // A POLYLINE's own line cannot match; for LWPOLYLINE the current line is the one read after
    // the name, still unlooked at. A lightweight polyline without flags ends its header at its
    // first vertex.
    Step step = searchLines(
        [&] { return currentIsCode("70") || currentIsCode("0") || (lightweight && currentIsCode("10")); },
        true, true);
    if (step != Step::ok)
        return step;
    if (currentIsCode("70")) {
        step = ReadDxfInteger(flags);
        if (step != Step::ok)
            return step;
    } else if (lightweight && currentIsCode("0")) {
        return Step::ok;  // no vertices
    }
    // Lightweight polylines keep their vertices in the entity, never in VERTEX entities.
    if (!lightweight && (flags & (kSplineFit | kPolyline3D)) != 0)
        return readVertexList((flags & kClosed) != 0);
    return readPlainPolyline(lightweight, flags);
}

// A spline-fit or 3-D polyline: only the vertices the fitting made (flag 8) or the 3-D vertices
// (flag 32) are drawn, smoothed when there are more than three.
DxfReader::Step DxfReader::readVertexList(bool closed)
{
    std::vector<RealPoint>& vertices = m_vertices;
    vertices.clear();
    do {
        Step step = ReadCoordinates("10", "20");
        const RealPoint vertex = m_coordinates;
        if (step == Step::ok)
            step = searchLines([&] { return currentIsCode("70") || currentIsCode("0"); }, true, false);
        if (step != Step::ok)
            return step;
        if (currentIsCode("70")) {
            ReadDxfLine();
            if (currentIsValue("8") || currentIsValue("32"))
                vertices.push_back(vertex);
            if (m_lines.exhausted())
                return Step::ended;
        }
        step = searchLines([&] { return currentIsValue("SEQEND") || currentIsValue("VERTEX"); }, false, false);
        if (step != Step::ok)
            return step;
    } while (!currentIsValue("SEQEND"));

    if (vertices.size() > 3)
        return curveDone(smoothVertices(vertices, closed, settingsForCurve(), *m_out));
    for (const RealPoint& v : vertices)
        m_out->addTested(v);
    return Step::ok;
}

DxfReader::Step DxfReader::readPlainPolyline(bool lightweight, std::int32_t flags)
{
    tfigura& figure = *m_figure;
    DrawingOutput& out = *m_out;
    const auto vertexOrEnd = [&] { return currentIsValue("VERTEX") || currentIsValue("SEQEND"); };
    if (!lightweight) {
        // An empty POLYLINE ends at its SEQEND instead of taking the next entity's vertices.
        if (const Step step = searchLines(vertexOrEnd, false, false); step != Step::ok)
            return step;
    }
    bool bulgePending = false;
    double bulge = 0.0;
    RealPoint arcStart;
    RealPoint first;
    bool haveFirst = false;
    while (lightweight || !currentIsValue("SEQEND")) {
        Step step = Step::ok;
        if (lightweight) {
            // The entity's own groups may follow its last vertex; its end is the next code 0.
            step = searchLines([&] { return currentIsCode("10") || currentIsCode("0"); }, true, true);
            if (step != Step::ok)
                return step;
            if (currentIsCode("0"))
                break;
        }
        step = ReadCoordinates("10", "20");
        if (step != Step::ok)
            return step;
        const RealPoint vertex = m_coordinates;
        if (!haveFirst) {
            first = vertex;
            haveFirst = true;
        }
        if (bulgePending) {
            if (curveDone(bulgeArc(arcStart, vertex, bulge, settingsForCurve(), out)) != Step::ok)
                return Step::failed;
            bulgePending = false;
        }
        step = searchLines([&] { return currentIsCode("0") || currentIsCode("10") || currentIsCode("42"); },
                           false, false);
        if (step != Step::ok)
            return step;
        if (currentIsCode("42")) {
            step = ReadDxfReal(bulge);
            if (step != Step::ok)
                return step;
            bulgePending = true;
            arcStart = vertex;  // the arc's first point stands for the vertex
            ReadDxfLine();
        } else {
            out.addTested(vertex);
        }
        if (!lightweight) {
            if (currentIsValue("SEQEND"))
                break;
            if (step = searchLines(vertexOrEnd, false, false); step != Step::ok)
                return step;
            continue;
        }
        if (currentIsValue("SEQEND") || currentIsCode("0"))
            break;
        if (m_lines.exhausted())
            return Step::ended;
    }

    const bool closed = (flags & kClosed) != 0;
    if (bulgePending) {
        // A bulge on the last vertex bends the closing segment of a closed polyline; an open
        // polyline has no segment after it and keeps the vertex as a point.
        if (!closed) {
            out.addTested(arcStart);
        } else {
            if (curveDone(bulgeArc(arcStart, first, bulge, settingsForCurve(), out)) != Step::ok)
                return Step::failed;
            if (!figure.points.empty() && figure.points.back() == figure.points.front())
                return Step::ok;
        }
    }
    if (closed && !figure.points.empty())
        addPoint(figure, figure.points.front());
    return Step::ok;
}

ReadResult DxfReader::nextFigure(tfigura& figure)
{
    figure.pen = static_cast<std::uint8_t>(m_currentPen);
    DrawingOutput out(figure, m_curveSettings.mmPerDrawingUnit);
    m_figure = &figure;
    m_out = &out;
    m_coordinates = {};
    // The unit of a drawing is the operator's display unit. The header variable $LTSCALE is a
    // linetype scale, not a unit, and is not read: scaling some points by it would distort the
    // figures.
    bool figureEnded = false;
    while (!figureEnded && !m_endOfFile) {
        const std::string_view line = ReadDxfLine();
        m_endOfFile = m_lines.exhausted();
        if (line == "ENTITIES") {
            m_inEntities = true;
            m_parity = true;  // the line after it is a group code
        }
        if (line == "OBJECTS")
            m_endOfFile = true;  // nothing after the entities section is read
        if (!m_inEntities || m_endOfFile)
            continue;
        const Entity entity = entityNamed(line);
        if (entity == Entity::none)
            continue;
        m_entityLine = m_lines.lineNumber();
        if (entity == Entity::lwpolyline) {
            // "LWPOLYLINE" followed by "  2" names the class, not an entity.
            ReadDxfLine();
            if (m_line == "  2") {
                m_endOfFile = m_lines.exhausted();
                continue;
            }
        }
        Step step = Step::ok;
        switch (entity) {
        case Entity::line:
            step = readLineEntity();
            break;
        case Entity::spline:
            step = readSpline();
            break;
        case Entity::circle:
            step = readCircle();
            break;
        case Entity::ellipse:
            step = readEllipse();
            break;
        case Entity::arc:
            step = readArc();
            break;
        case Entity::polyline:
        case Entity::lwpolyline:
            step = readPolyline(entity == Entity::lwpolyline);
            break;
        case Entity::none:
            break;
        }
        figureEnded = true;
        if (step == Step::failed)
            return {m_file.fault};
        // A file that ends inside an entity: the entity is incomplete and is dropped, the
        // figures before it stay.
        if (step == Step::ended)
            figure.points.clear();
        else if (out.outOfRange() && !m_file.fail(DesignError::Kind::OutOfRange, {}, m_entityLine))
            return {m_file.fault};
        m_endOfFile = m_endOfFile || m_lines.exhausted();
    }
    if (m_file.bytes.error() != 0)
        return m_file.readFailure();
    m_pointsDelivered += static_cast<std::int64_t>(figure.points.size());
    return {};
}

}  // namespace kerfline
