#include "project/vertex_index.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace kerfline {

VertexIndex::VertexIndex(const std::vector<tfigura>& figures, std::int32_t tolerance,
                         const std::function<bool(const tfigura&)>& filter)
    : m_tolerance(std::max<std::int64_t>(tolerance, 0)), m_cell(std::max<std::int64_t>(tolerance, 1))
{
    std::vector<std::int32_t> indexed;
    std::size_t count = 0;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (filter && !filter(figures[f]))
            continue;
        indexed.push_back(static_cast<std::int32_t>(f));
        count += figures[f].points.size();
    }
    // About one entry per bucket keeps the scan of a bucket short.
    const std::size_t buckets = std::bit_ceil(std::max<std::size_t>(count, 2));
    m_shift = 64 - std::countr_zero(buckets);

    // A counting sort by bucket: stable, so entries keep figure and vertex order within a cell.
    std::vector<std::uint32_t> bucket(count);
    m_bucketStart.assign(buckets + 1, 0);
    std::size_t k = 0;
    for (const std::int32_t f : indexed)
        for (const Point& p : figures[static_cast<std::size_t>(f)].points) {
            bucket[k] = static_cast<std::uint32_t>(bucketOf(cellOf(p.x), cellOf(p.y)));
            ++m_bucketStart[bucket[k] + 1];
            ++k;
        }
    for (std::size_t b = 0; b < buckets; ++b)
        m_bucketStart[b + 1] += m_bucketStart[b];
    std::vector<std::uint32_t> next(m_bucketStart.begin(), m_bucketStart.end() - 1);
    m_entries.resize(count);
    k = 0;
    for (const std::int32_t f : indexed) {
        const std::vector<Point>& points = figures[static_cast<std::size_t>(f)].points;
        for (std::size_t v = 0; v < points.size(); ++v, ++k)
            m_entries[next[bucket[k]]++] = {points[v], f, static_cast<std::int32_t>(v)};
    }
}

std::int64_t VertexIndex::cellOf(std::int32_t v) const
{
    // Floor division, so that cells do not double up around zero.
    const std::int64_t value = v;
    return value >= 0 ? value / m_cell : -((-value + m_cell - 1) / m_cell);
}

std::size_t VertexIndex::bucketOf(std::int64_t cellX, std::int64_t cellY) const
{
    // Neighbouring cells land in unrelated buckets: a multiplicative hash of both coordinates,
    // its top bits.
    const std::uint64_t key = (static_cast<std::uint64_t>(cellX) * 0x9E3779B97F4A7C15ull) ^ static_cast<std::uint64_t>(cellY);
    return static_cast<std::size_t>((key * 0xC2B2AE3D27D4EB4Full) >> m_shift);
}

void VertexIndex::forEachNear(Point p, const std::function<void(std::int32_t, std::int32_t)>& found) const
{
    const std::int64_t cx = cellOf(p.x);
    const std::int64_t cy = cellOf(p.y);
    for (std::int64_t x = cx - 1; x <= cx + 1; ++x) {
        for (std::int64_t y = cy - 1; y <= cy + 1; ++y) {
            const std::size_t b = bucketOf(x, y);
            for (std::uint32_t e = m_bucketStart[b]; e < m_bucketStart[b + 1]; ++e) {
                const Entry& entry = m_entries[e];
                // A bucket holds other cells too; each vertex is reported from its own cell only.
                if (cellOf(entry.point.x) != x || cellOf(entry.point.y) != y)
                    continue;
                if (std::llabs(std::int64_t{entry.point.x} - p.x) <= m_tolerance &&
                    std::llabs(std::int64_t{entry.point.y} - p.y) <= m_tolerance)
                    found(entry.figure, entry.vertex);
            }
        }
    }
}

}  // namespace kerfline
