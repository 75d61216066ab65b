#pragma once

#include "designfiles/design_error.h"
#include "model3d/triangle_model.h"

#include <array>
#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kerfline::model3d {

// One group-code/value pair of a DXF file, each trimmed; line is the code's line, from 1.
struct TDXFCommand {
    std::string code;
    std::string value;
    std::size_t line = 0;
};

// The whole file as a list of pairs with a cursor.
class TDxfReader {
public:
    static constexpr int kStateNormal = 0;
    static constexpr int kStateNotOpened = 64;
    static constexpr int kStateEnd = -1;

    explicit TDxfReader(const std::string& path);
    static TDxfReader fromText(std::string_view text);

    // Moves the cursor one pair on; nullptr (and state -1) once it has passed the last pair.
    const TDXFCommand* Next();
    const TDXFCommand* Seek(std::ptrdiff_t index);

    int state() const { return m_state; }
    std::ptrdiff_t cursor() const { return m_cursor; }
    std::size_t count() const { return m_pairs.size(); }

private:
    TDxfReader() = default;
    void parse(std::string_view text);

    std::vector<TDXFCommand> m_pairs;
    std::ptrdiff_t m_cursor = -1;
    int m_state = kStateNormal;
};

struct Vec3 {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// Object coordinates to world coordinates by the DXF arbitrary axis algorithm.
class TConvOCS2WCS {
public:
    TConvOCS2WCS() { SetExtrusion({0.0f, 0.0f, 1.0f}); }
    // A zero direction has no normal form; it is taken as the default (0, 0, 1).
    void SetExtrusion(Vec3 n);
    Vec3 ToWorld(Vec3 p) const;
    const std::array<std::array<double, 4>, 4>& matrix() const { return m_matrix; }

private:
    std::array<std::array<double, 4>, 4> m_matrix{};
};

// Converts the 3D faces and polyface meshes of a drawing, with their block inserts, into a flat
// list of triangles in world coordinates.
class TDxf2RawConverter {
public:
    static constexpr std::size_t kMaxDepth = 10;
    // Nested inserts multiply faces geometrically; beyond this the conversion stops.
    static constexpr std::size_t kDefaultTriangleLimit = 20'000'000;
    // Inserts of blocks holding only inserts multiply work without faces: the entity pairs
    // walked are capped as well.
    static constexpr std::size_t kDefaultWorkLimit = 200'000'000;

    explicit TDxf2RawConverter(const std::string& path);
    TDxf2RawConverter(TDxfReader reader, std::string fileName);

    // Runs the conversion. A value that is no finite number ends it with the error; the
    // triangles made so far stay in triangles().
    ReadResult Convert();

    const TriangleList& triangles() const { return m_triangles; }
    TriangleList takeTriangles() { return std::move(m_triangles); }
    bool opened() const { return m_reader.state() != TDxfReader::kStateNotOpened; }
    bool truncated() const { return m_truncated; }
    void setTriangleLimit(std::size_t limit) { m_limit = limit; }
    void setWorkLimit(std::size_t limit) { m_workLimit = limit; }
    // Millimetres per drawing unit, applied to every corner as its face is stored.
    void setUnitFactor(double factor) { m_unitFactor = factor; }
    // A stop requested through the token ends the conversion early, between entities.
    void setStopToken(std::stop_token token) { m_stop = std::move(token); }

private:
    struct Frame {
        Vec3 insertion;
        Vec3 scale{1.0f, 1.0f, 1.0f};
        Vec3 extrusion{0.0f, 0.0f, 1.0f};
        double angle = 0.0;
        TConvOCS2WCS converter;
    };

    bool isPair(const TDXFCommand* pair, std::string_view code, std::string_view value) const;
    std::optional<double> number(const TDXFCommand& pair);
    bool convertEntitiesUntil(std::string_view endMarker);
    bool convertEntity(const TDXFCommand& start);
    bool convert3DFace();
    bool convertPolyline();
    bool convertInsert();
    Vec3 transform(Vec3 p) const;
    void addTriangle(const Vec3& a, const Vec3& b, const Vec3& c);
    void outOfRange();
    bool stopped() const;

    TDxfReader m_reader;
    std::string m_fileName;
    std::unordered_map<std::string, std::ptrdiff_t> m_blocks;  // upper-cased name -> "0"/"BLOCK"
    std::vector<Frame> m_frames;
    TriangleList m_triangles;
    std::optional<DesignError> m_error;
    std::size_t m_limit = kDefaultTriangleLimit;
    std::size_t m_workLimit = kDefaultWorkLimit;
    std::size_t m_pairsWalked = 0;
    double m_unitFactor = 1.0;
    std::size_t m_entityLine = 1;  // where the drawing's entity being converted starts
    bool m_truncated = false;
    std::stop_token m_stop;
};

// Reads a group value as a finite number with "." as decimal separator.
std::optional<double> parseDxfNumber(std::string_view text);

}  // namespace kerfline::model3d
