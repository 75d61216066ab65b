#include "project/vertex_index.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace kerfline {

VertexIndex::VertexIndex(const std::vector<tfigura>& figures, std::int32_t tolerance,
                         const std::function<bool(const tfigura&)>& filter)
    : m_tolerance(std::max<std::int64_t>(tolerance, 0)), m_cell(std::max<std::int64_t>(tolerance, 1))
{
    std::size_t count = 0;
    for (const tfigura& figure : figures)
        count += figure.points.size();
    m_entries.reserve(count);
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (filter && !filter(figures[f]))
            continue;
        const std::vector<Point>& points = figures[f].points;
        for (std::size_t v = 0; v < points.size(); ++v)
            m_entries.push_back({cellOf(points[v].x), cellOf(points[v].y), points[v], static_cast<std::int32_t>(f),
                                 static_cast<std::int32_t>(v)});
    }
    // Entries come in figure and vertex order already: a stable sort by cell keeps it within a cell.
    std::stable_sort(m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.cellX, a.cellY) < std::tie(b.cellX, b.cellY);
    });
}

std::int64_t VertexIndex::cellOf(std::int32_t v) const
{
    // Floor division, so that cells do not double up around zero.
    const std::int64_t value = v;
    return value >= 0 ? value / m_cell : -((-value + m_cell - 1) / m_cell);
}

void VertexIndex::forEachNear(Point p, const std::function<void(std::int32_t, std::int32_t)>& found) const
{
    const std::int64_t cx = cellOf(p.x);
    const std::int64_t cy = cellOf(p.y);
    for (std::int64_t x = cx - 1; x <= cx + 1; ++x) {
        for (std::int64_t y = cy - 1; y <= cy + 1; ++y) {
            auto it = std::lower_bound(m_entries.begin(), m_entries.end(), std::pair{x, y},
                                       [](const Entry& e, const std::pair<std::int64_t, std::int64_t>& cell) {
                                           return std::tie(e.cellX, e.cellY) < std::tie(cell.first, cell.second);
                                       });
            for (; it != m_entries.end() && it->cellX == x && it->cellY == y; ++it) {
                if (std::llabs(std::int64_t{it->point.x} - p.x) <= m_tolerance &&
                    std::llabs(std::int64_t{it->point.y} - p.y) <= m_tolerance)
                    found(it->figure, it->vertex);
            }
        }
    }
}

}  // namespace kerfline
