#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace kerfline {

// A point in plotter units (40 per millimetre).
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Turn data of one vertex, index-parallel to a figure's points when filled.
struct VertexRecord {
    double turnAngle = 0.0;  // radians
    std::int32_t weight = 0;
    std::uint8_t isCorner = 0;
    friend bool operator==(const VertexRecord&, const VertexRecord&) = default;
};

// Working record of the figure-derivation code of the connector search.
struct AuxRecord {
    std::array<std::int32_t, 4> values{};
};
static_assert(sizeof(AuxRecord) == 16);

// One contour of a design or one added element (connector, entry line, frame), with the working
// fields of cut planning. Widths follow the controller-era layout the planners rely on.
struct tfigura {
    std::uint8_t isDesign = 0;
    std::uint8_t pen = 0;
    double penWidth = 0.0;
    std::int32_t number = 0;
    std::uint8_t cutEnabled = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t axisWidth = 0;
    std::int32_t axisHeight = 0;
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    std::vector<Point> points;
    // The outline as drawn while `points` holds its path offset by half the kerf; empty when the
    // two are the same.
    std::vector<Point> designPoints;
    std::vector<Point> secondPoints;
    std::vector<AuxRecord> auxRecords;
    std::vector<VertexRecord> vertexInfo;
    std::uint8_t valid = 0;
    std::int32_t nestLevel = 0;
    std::uint8_t open = 0;
    std::uint8_t turnVisited = 0;
    std::int32_t turnOrder = 0;
    std::int32_t sourceFigure = 0;
    std::uint8_t kind = 0;  // 0 design figure, 1 frame rectangle, 3 connector or entry line
    std::uint8_t closed = 0;
    std::int32_t container = 0;
    std::int32_t parent = 0;
    std::int32_t attachVertex = 0;
    std::int32_t startVertex = 0;
    std::uint8_t unconnected = 0;
    std::int32_t childCount = 0;
    std::int32_t length = 0;
    std::int32_t linkActive = 0;
    std::int32_t centreX = 0;
    std::int32_t centreY = 0;
    std::int32_t minXVertex = 0;
    std::int32_t maxXVertex = 0;
    std::int32_t minYVertex = 0;
    std::int32_t maxYVertex = 0;
    std::array<std::int32_t, 22> neighbours{};
    std::uint8_t generatedClosed = 0;
    std::int32_t generatedLink = 0;
};

// Figure kinds.
inline constexpr std::uint8_t kFigureDesign = 0;
inline constexpr std::uint8_t kFigureFrame = 1;
inline constexpr std::uint8_t kFigureConnector = 3;

inline void addPoint(tfigura& figure, Point p) { figure.points.push_back(p); }
inline Point copyPoint(const Point& p) { return p; }
inline VertexRecord copyVertex(const VertexRecord& r) { return r; }

}  // namespace kerfline
