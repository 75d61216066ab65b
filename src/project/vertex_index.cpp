#include "project/vertex_index.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace kerfline {

VertexIndex::VertexIndex(const std::vector<tfigura>& figures, std::int32_t tolerance,
                         const std::function<bool(const tfigura&)>& filter)
    : m_tolerance(std::max<std::int64_t>(tolerance, 0)), m_cell(std::max<std::int64_t>(tolerance, 1))
{
    std::uint32_t count = 0;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (filter && !filter(figures[f]))
            continue;
        m_figure.push_back(static_cast<std::int32_t>(f));
        m_firstNumber.push_back(count);
        count += static_cast<std::uint32_t>(figures[f].points.size());
    }
    const std::size_t buckets = std::bit_ceil(std::max<std::size_t>(count / 4, 2));
    m_shift = 64 - std::countr_zero(buckets);

    // A counting sort by bucket, placing from the last vertex backwards so that each bucket
    // keeps figure and vertex order.
    m_bucketStart.assign(buckets + 1, 0);
    for (const std::int32_t f : m_figure)
        for (const Point& p : figures[static_cast<std::size_t>(f)].points)
            ++m_bucketStart[bucketOf(p) + 1];
    for (std::size_t b = 0; b < buckets; ++b)
        m_bucketStart[b + 1] += m_bucketStart[b];
    m_entries = std::make_unique_for_overwrite<Entry[]>(count);
    std::uint32_t number = count;
    for (auto f = m_figure.rbegin(); f != m_figure.rend(); ++f) {
        const std::vector<Point>& points = figures[static_cast<std::size_t>(*f)].points;
        for (auto p = points.rbegin(); p != points.rend(); ++p)
            m_entries[--m_bucketStart[bucketOf(*p) + 1]] = {p->x, p->y, --number};
    }
    // Each bucket's end was counted down to its start, one place on.
    std::rotate(m_bucketStart.begin(), m_bucketStart.begin() + 1, m_bucketStart.end());
    m_bucketStart.back() = count;
}

std::int64_t VertexIndex::cellOf(std::int32_t v) const
{
    // Floor division, so that cells do not double up around zero.
    const std::int64_t value = v;
    return value >= 0 ? value / m_cell : -((-value + m_cell - 1) / m_cell);
}

std::size_t VertexIndex::bucketOf(Point p) const
{
    return bucketOf(cellOf(p.x), cellOf(p.y));
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
                if (cellOf(entry.x) != x || cellOf(entry.y) != y)
                    continue;
                if (std::llabs(std::int64_t{entry.x} - p.x) > m_tolerance || std::llabs(std::int64_t{entry.y} - p.y) > m_tolerance)
                    continue;
                const auto k = static_cast<std::size_t>(
                    std::upper_bound(m_firstNumber.begin(), m_firstNumber.end(), entry.number) - m_firstNumber.begin() - 1);
                found(m_figure[k], static_cast<std::int32_t>(entry.number - m_firstNumber[k]));
            }
        }
    }
}

}  // namespace kerfline
