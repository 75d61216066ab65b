#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <functional>
#include <memory>
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
    // Plain coordinates, not a Point: the entries are written once, never zeroed first.
    struct Entry {
        std::int32_t x;
        std::int32_t y;
        std::uint32_t number;  // of the vertex among all indexed ones, in figure and vertex order
    };
    std::int64_t cellOf(std::int32_t v) const;
    std::size_t bucketOf(Point p) const;
    std::size_t bucketOf(std::int64_t cellX, std::int64_t cellY) const;

    std::int64_t m_tolerance;
    std::int64_t m_cell;
    int m_shift = 63;  // 64 minus the binary logarithm of the bucket count
    // A preparation indexes every vertex of a sheet three times and looks up few: the entries
    // are hashed by cell into buckets in one pass, a few to a bucket, kept small and in figure
    // and vertex order within a bucket.
    std::vector<std::uint32_t> m_bucketStart;  // bucket b holds entries [start[b], start[b + 1])
    std::unique_ptr<Entry[]> m_entries;
    std::vector<std::int32_t> m_figure;         // the indexed figures, ascending
    std::vector<std::uint32_t> m_firstNumber;   // the number of each indexed figure's vertex 0
};

}  // namespace kerfline
