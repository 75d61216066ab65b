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
    // are both at most the tolerance (a square around p, which holds the tolerance circle):
    // cell by cell from the lowest x and y, in figure and vertex order within a cell.
    void forEachNear(Point p, const std::function<void(std::int32_t, std::int32_t)>& found) const;

private:
    struct Entry {
        Point point;
        std::int32_t figure;
        std::int32_t vertex;
    };
    std::int64_t cellOf(std::int32_t v) const;
    std::size_t bucketOf(std::int64_t cellX, std::int64_t cellY) const;

    std::int64_t m_tolerance;
    std::int64_t m_cell;
    int m_shift = 63;  // 64 minus the binary logarithm of the bucket count
    // The cells hashed into buckets; entries grouped by bucket, in figure and vertex order within
    // one, so that a preparation indexing a sheet three times does not sort it three times.
    std::vector<std::uint32_t> m_bucketStart;  // bucket b holds entries [start[b], start[b + 1])
    std::vector<Entry> m_entries;
};

}  // namespace kerfline
