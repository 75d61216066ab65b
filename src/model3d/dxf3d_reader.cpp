#include "model3d/dxf3d_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>

namespace kerfline::model3d {
namespace {

std::string_view trimmed(std::string_view text)
{
    // Blanks and control characters both go: a CR of a CR LF file is one of them.
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 normalised(Vec3 v)
{
    const double length = std::sqrt(double{v.x} * v.x + double{v.y} * v.y + double{v.z} * v.z);
    if (!(length > 0.0))
        return v;
    return {static_cast<float>(v.x / length), static_cast<float>(v.y / length), static_cast<float>(v.z / length)};
}

}  // namespace

std::optional<double> parseDxfNumber(std::string_view text)
{
    text = trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    // from_chars would take "nan" and "inf"; a coordinate is digits, a point and an exponent.
    if (text.empty() || std::any_of(text.begin(), text.end(), [](char c) {
            return !(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' ||
                     c == 'E');
        }))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// --- pairs -------------------------------------------------------------------------------------

TDxfReader::TDxfReader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        m_state = kStateNotOpened;
        return;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    parse(text);
}

TDxfReader TDxfReader::fromText(std::string_view text)
{
    TDxfReader reader;
    reader.parse(text);
    return reader;
}

void TDxfReader::parse(std::string_view text)
{
    std::size_t position = 0;
    std::size_t line = 0;
    const auto nextLine = [&](std::string_view& out) {
        if (position >= text.size())
            return false;
        std::size_t end = text.find_first_of("\r\n", position);
        if (end == std::string_view::npos)
            end = text.size();
        out = text.substr(position, end - position);
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        position = end + 1;
        ++line;
        return true;
    };
    std::string_view code;
    std::string_view value;
    while (nextLine(code)) {
        const std::size_t codeLine = line;
        if (!nextLine(value))
            value = {};
        m_pairs.push_back({std::string(trimmed(code)), std::string(trimmed(value)), codeLine});
    }
}

const TDXFCommand* TDxfReader::Next()
{
    return Seek(m_cursor + 1);
}

const TDXFCommand* TDxfReader::Seek(std::ptrdiff_t index)
{
    m_cursor = std::max<std::ptrdiff_t>(index, -1);
    if (m_cursor >= static_cast<std::ptrdiff_t>(m_pairs.size())) {
        m_cursor = static_cast<std::ptrdiff_t>(m_pairs.size());
        m_state = kStateEnd;
        return nullptr;
    }
    if (m_state == kStateEnd)
        m_state = kStateNormal;
    return m_cursor < 0 ? nullptr : &m_pairs[static_cast<std::size_t>(m_cursor)];
}

// --- coordinate systems ------------------------------------------------------------------------

void TConvOCS2WCS::SetExtrusion(Vec3 n)
{
    if (n.x == 0.0f && n.y == 0.0f && n.z == 0.0f)
        n = {0.0f, 0.0f, 1.0f};
    constexpr float kLimit = 1.0f / 64.0f;
    const Vec3 ax = normalised(std::fabs(n.x) < kLimit && std::fabs(n.y) < kLimit ? cross({0.0f, 1.0f, 0.0f}, n)
                                                                                    : cross({0.0f, 0.0f, 1.0f}, n));
    const Vec3 ay = normalised(cross(n, ax));
    m_matrix = {{{ax.x, ax.y, ax.z, 0.0}, {ay.x, ay.y, ay.z, 0.0}, {n.x, n.y, n.z, 0.0}, {0.0, 0.0, 0.0, 1.0}}};
}

Vec3 TConvOCS2WCS::ToWorld(Vec3 p) const
{
    const auto& m = m_matrix;
    return {static_cast<float>(p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0]),
            static_cast<float>(p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1]),
            static_cast<float>(p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2])};
}

// --- conversion --------------------------------------------------------------------------------

TDxf2RawConverter::TDxf2RawConverter(const std::string& path) : m_reader(path), m_fileName(path) {}

TDxf2RawConverter::TDxf2RawConverter(TDxfReader reader, std::string fileName)
    : m_reader(std::move(reader)), m_fileName(std::move(fileName))
{
}

bool TDxf2RawConverter::isPair(const TDXFCommand* pair, std::string_view code, std::string_view value) const
{
    return pair != nullptr && pair->code == code && pair->value == value;
}

bool TDxf2RawConverter::stopped() const
{
    return m_error.has_value() || m_truncated || m_stop.stop_requested();
}

std::optional<double> TDxf2RawConverter::number(const TDXFCommand& pair)
{
    std::optional<double> value = parseDxfNumber(pair.value);
    if (!value && !m_error) {
        DesignError error;
        error.kind = DesignError::Kind::NotNumber;
        error.file = m_fileName;
        error.line = pair.line + 1;
        error.token = pair.value.substr(0, 40);
        m_error = error;
    }
    return value;
}

ReadResult TDxf2RawConverter::Convert()
{
    if (!opened())
        return {};
    m_reader.Seek(-1);
    while (!stopped()) {
        const TDXFCommand* pair = m_reader.Next();
        if (pair == nullptr || isPair(pair, "0", "EOF"))
            break;
        if (!isPair(pair, "0", "SECTION"))
            continue;
        const TDXFCommand* name = m_reader.Next();
        if (isPair(name, "2", "BLOCKS")) {
            std::ptrdiff_t blockIndex = -1;
            for (pair = m_reader.Next(); pair != nullptr && !isPair(pair, "0", "ENDSEC"); pair = m_reader.Next()) {
                if (isPair(pair, "0", "BLOCK"))
                    blockIndex = m_reader.cursor();
                else if (pair->code == "2" && blockIndex >= 0) {
                    m_blocks.emplace(upper(pair->value), blockIndex);
                    blockIndex = -1;
                }
            }
        } else if (isPair(name, "2", "ENTITIES")) {
            convertEntitiesUntil("ENDSEC");
        } else {
            while (pair != nullptr && !isPair(pair, "0", "ENDSEC"))
                pair = m_reader.Next();
        }
    }
    if (m_error)
        return {m_error};
    return {};
}

// Walks entities from the cursor to the "0" pair with the end marker (or the end of the pairs).
// False when the pairs ran out.
bool TDxf2RawConverter::convertEntitiesUntil(std::string_view endMarker)
{
    while (!stopped()) {
        const TDXFCommand* pair = m_reader.Next();
        if (pair == nullptr)
            return false;
        if (++m_pairsWalked > m_workLimit) {
            m_truncated = true;
            return true;
        }
        if (isPair(pair, "0", endMarker))
            return true;
        if (pair->code == "0")
            convertEntity(*pair);
    }
    return true;
}

bool TDxf2RawConverter::convertEntity(const TDXFCommand& start)
{
    // A face inside a block is out of range through the insert that places it: the drawing's
    // own entity is where to look.
    if (m_frames.empty())
        m_entityLine = start.line;
    if (start.value == "3DFACE")
        return convert3DFace();
    if (start.value == "POLYLINE")
        return convertPolyline();
    if (start.value == "INSERT")
        return convertInsert();
    return true;
}

Vec3 TDxf2RawConverter::transform(Vec3 p) const
{
    for (auto frame = m_frames.rbegin(); frame != m_frames.rend(); ++frame) {
        const double a = frame->angle * std::numbers::pi / 180.0;
        const double c = std::cos(a);
        const double s = std::sin(a);
        const double x = p.x * c - p.y * s;
        const double y = p.x * s + p.y * c;
        p = {static_cast<float>(x * frame->scale.x + frame->insertion.x),
             static_cast<float>(y * frame->scale.y + frame->insertion.y),
             static_cast<float>(p.z * frame->scale.z + frame->insertion.z)};
        p = frame->converter.ToWorld(p);
    }
    return p;
}

void TDxf2RawConverter::addTriangle(const Vec3& a, const Vec3& b, const Vec3& c)
{
    if (m_triangles.size() >= m_limit) {
        m_truncated = true;
        return;
    }
    Triangle triangle;
    const std::array<float, 9> corners{a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        // A number the file writes finitely can still leave single precision once placed and
        // scaled (a huge coordinate, an insert's scale): an infinite corner is no model.
        const std::optional<float> value = modelCoordinate(static_cast<double>(corners[i]) * m_unitFactor);
        if (!value) {
            outOfRange();
            return;
        }
        triangle.v[i] = *value;
    }
    m_triangles.push_back(triangle);
}

void TDxf2RawConverter::outOfRange()
{
    if (m_error)
        return;
    DesignError error;
    error.kind = DesignError::Kind::OutOfRange;
    error.file = m_fileName;
    error.line = m_entityLine;
    m_error = error;
}

bool TDxf2RawConverter::convert3DFace()
{
    std::array<Vec3, 4> corners{};
    bool fourth = false;
    for (const TDXFCommand* pair = m_reader.Next(); pair != nullptr; pair = m_reader.Next()) {
        if (pair->code == "0") {
            m_reader.Seek(m_reader.cursor() - 1);
            break;
        }
        int code = 0;
        std::from_chars(pair->code.data(), pair->code.data() + pair->code.size(), code);
        const int corner = code % 10;
        const int axis = code / 10;
        if (axis < 1 || axis > 3 || corner > 3)
            continue;
        const std::optional<double> value = number(*pair);
        if (!value)
            return false;
        Vec3& p = corners[static_cast<std::size_t>(corner)];
        (axis == 1 ? p.x : axis == 2 ? p.y : p.z) = static_cast<float>(*value);
        if (corner == 3)
            fourth = true;
    }
    for (Vec3& corner : corners)
        corner = transform(corner);
    addTriangle(corners[0], corners[1], corners[2]);
    const Vec3& c3 = corners[2];
    const Vec3& c4 = corners[3];
    if (fourth && (c4.x != c3.x || c4.y != c3.y || c4.z != c3.z))
        addTriangle(corners[0], corners[2], corners[3]);
    return true;
}

bool TDxf2RawConverter::convertPolyline()
{
    std::vector<Vec3> vertices;
    // The POLYLINE's own pairs come first; its flags do not matter, only the VERTEX records do.
    const TDXFCommand* pair = m_reader.Next();
    while (pair != nullptr && !isPair(pair, "0", "SEQEND") && !isPair(pair, "0", "VERTEX") && pair->code != "0")
        pair = m_reader.Next();
    while (isPair(pair, "0", "VERTEX")) {
        Vec3 position;
        std::array<long, 4> faceIndex{};
        bool has74 = false;
        std::string flags;
        for (pair = m_reader.Next(); pair != nullptr && pair->code != "0"; pair = m_reader.Next()) {
            const std::string& code = pair->code;
            if (code == "70") {
                flags = pair->value;
            } else if (code == "10" || code == "20" || code == "30") {
                const std::optional<double> value = number(*pair);
                if (!value)
                    return false;
                (code == "10" ? position.x : code == "20" ? position.y : position.z) = static_cast<float>(*value);
            } else if (code == "71" || code == "72" || code == "73" || code == "74") {
                const std::optional<double> value = number(*pair);
                if (!value)
                    return false;
                // The sign marks an invisible edge; the vertex is the same.
                faceIndex[static_cast<std::size_t>(code[1] - '1')] =
                    static_cast<long>(std::min(std::fabs(*value), 2e9));
                if (code == "74")
                    has74 = true;
            }
        }
        if (flags == "192") {
            vertices.push_back(transform(position));
        } else if (flags == "128") {
            const auto vertex = [&](long number) -> const Vec3* {
                if (number < 1 || number > static_cast<long>(vertices.size()))
                    return nullptr;
                return &vertices[static_cast<std::size_t>(number - 1)];
            };
            const Vec3* a = vertex(faceIndex[0]);
            const Vec3* b = vertex(faceIndex[1]);
            const Vec3* c = vertex(faceIndex[2]);
            const Vec3* d = vertex(faceIndex[3]);
            if (a != nullptr && b != nullptr && c != nullptr) {
                addTriangle(*a, *b, *c);
                if (has74 && d != nullptr && (d->x != c->x || d->y != c->y || d->z != c->z))
                    addTriangle(*a, *c, *d);
            }
        }
        if (stopped())
            return false;
    }
    if (pair != nullptr && pair->code == "0" && !isPair(pair, "0", "SEQEND"))
        m_reader.Seek(m_reader.cursor() - 1);
    return true;
}

bool TDxf2RawConverter::convertInsert()
{
    Frame frame;
    std::string blockName;
    for (const TDXFCommand* pair = m_reader.Next(); pair != nullptr; pair = m_reader.Next()) {
        if (pair->code == "0") {
            m_reader.Seek(m_reader.cursor() - 1);
            break;
        }
        const std::string& code = pair->code;
        if (code == "2") {
            blockName = pair->value;
            continue;
        }
        float* target = code == "10"    ? &frame.insertion.x
                        : code == "20"  ? &frame.insertion.y
                        : code == "30"  ? &frame.insertion.z
                        : code == "41"  ? &frame.scale.x
                        : code == "42"  ? &frame.scale.y
                        : code == "43"  ? &frame.scale.z
                        : code == "210" ? &frame.extrusion.x
                        : code == "220" ? &frame.extrusion.y
                        : code == "230" ? &frame.extrusion.z
                                        : nullptr;
        if (target == nullptr && code != "50")
            continue;
        const std::optional<double> value = number(*pair);
        if (!value)
            return false;
        if (target != nullptr)
            *target = static_cast<float>(*value);
        else
            frame.angle = *value;
    }
    const std::ptrdiff_t returnIndex = m_reader.cursor();
    const auto block = m_blocks.find(upper(blockName));
    // A block that inserts itself, directly or through others, would never end: inserts deeper
    // than the frames the converter keeps are passed over.
    if (block == m_blocks.end() || m_frames.size() >= kMaxDepth)
        return true;
    frame.converter.SetExtrusion(frame.extrusion);
    m_frames.push_back(frame);
    m_reader.Seek(block->second);
    convertEntitiesUntil("ENDBLK");
    m_frames.pop_back();
    m_reader.Seek(returnIndex);
    return !stopped();
}

}  // namespace kerfline::model3d
