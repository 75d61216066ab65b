#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kerfline {

// The vertices of a project's figures in square cells, for finding vertices that lie within a
// join tolerance of a point without comparing every pair of figures.
class VertexIndex {
public:
    // Indexes the vertices of every figure the filter accepts (all when it is empty).
    VertexIndex(const std::vector<tfigura>& figures, std::int32_t tolerance,
                const std::function<bool(const tfigura&)>& filter = {});

    // Calls found(figure, vertex) for every indexed vertex whose coordinate differences from p
    // are both at most the tolerance (a square around p, which holds the tolerance circle).
    void forEachNear(Point p, const std::function<void(std::int32_t, std::int32_t)>& found) const;

private:
    struct Entry {
        std::int64_t cellX;
        std::int64_t cellY;
        Point point;
        std::int32_t figure;
        std::int32_t vertex;
    };
    std::int64_t cellOf(std::int32_t v) const;

    std::int64_t m_tolerance;
    std::int64_t m_cell;
    std::vector<Entry> m_entries;  // sorted by cell
};

}  // namespace kerfline
