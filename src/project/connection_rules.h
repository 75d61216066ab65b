#pragma once

#include "geometry/figure.h"
#include "project/wide_int.h"

#include <cstdint>
#include <limits>

namespace kerfline {

// The cost of joining two vertices: a squared distance, scaled by corner weights. Held wider
// than 64 bits so that no project that fits 32-bit coordinates can overflow it.
using ConnectionCost = WideInt;
inline constexpr ConnectionCost kNoConnection = ~(ConnectionCost{1} << 127);

inline ConnectionCost squaredDistance(Point a, Point b)
{
    const std::int64_t dx = std::int64_t{a.x} - b.x;
    const std::int64_t dy = std::int64_t{a.y} - b.y;
    return ConnectionCost{dx} * dx + ConnectionCost{dy} * dy;
}

inline const VertexRecord* vertexRecord(const tfigura& figure, std::int32_t vertex)
{
    const auto v = static_cast<std::size_t>(vertex);
    return v < figure.vertexInfo.size() ? &figure.vertexInfo[v] : nullptr;
}

// At a corner vertex the cost is multiplied by its weight and divided by 10 (integer division).
inline ConnectionCost withCornerWeight(ConnectionCost cost, const tfigura& figure, std::int32_t vertex)
{
    const VertexRecord* record = vertexRecord(figure, vertex);
    return record != nullptr && record->isCorner != 0 ? cost * record->weight / 10 : cost;
}

inline bool isCorner(const tfigura& figure, std::int32_t vertex)
{
    const VertexRecord* record = vertexRecord(figure, vertex);
    return record != nullptr && record->isCorner != 0;
}

inline std::int32_t cornerWeight(const tfigura& figure, std::int32_t vertex)
{
    const VertexRecord* record = vertexRecord(figure, vertex);
    return record != nullptr ? record->weight : 0;
}

// Every how many vertices the inside and exhaustive searches look at: long contours are
// sampled down to about 250 vertices.
std::int32_t sampleStride(const tfigura& figure);

// The inside search's diagonal shift of a vertex: a figure of odd level moves by -step, of
// even level by +step.
inline Point shiftedVertex(const tfigura& figure, std::int32_t vertex, std::int32_t step)
{
    const Point p = figure.points[static_cast<std::size_t>(vertex)];
    const std::int32_t d = figure.nestLevel % 2 != 0 ? -step : step;
    return {static_cast<std::int32_t>(p.x + std::int64_t{d}), static_cast<std::int32_t>(p.y + std::int64_t{d})};
}

// The previous vertex of a figure; from vertex 0 the one before the duplicate closing point.
std::int32_t stepBack(std::int32_t vertex, std::size_t count);

// Whether the segment from `from` to vertex `vertex` of `figure` crosses one of the figure's
// edges that do not end at that vertex (the closing edge included for closed figures).
bool connectorCrossesFigure(Point from, const tfigura& figure, std::int32_t vertex);

// Moves the two chosen vertices back until the connector between them crosses neither figure.
// When every choice crosses or the steps come round to a state seen before, the first choice
// stays.
void repairCrossing(const tfigura& u, std::int32_t& du, const tfigura& c, std::int32_t& dc);

// The entry connection moves only the unconnected figure's vertex.
void repairEntryCrossing(const tfigura& u, std::int32_t& du, Point from);

}  // namespace kerfline
