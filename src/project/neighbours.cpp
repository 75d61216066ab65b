#include "project/tmdichild.h"

#include "geometry/geometry.h"
#include "base/round.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace kerfline {
namespace {

// Added to a figure's key when it lies on a lower level than the figure whose list is built,
// and again when it lies directly inside it: such figures come last.
constexpr std::int64_t kPenalty = 500000000;
constexpr std::size_t kListLength = 22;

using Key = std::pair<std::int64_t, std::int32_t>;  // key, then index: ties keep index order

Point centreOf(const tfigura& figure)
{
    return {figure.centreX, figure.centreY};
}

std::int64_t neighbourKey(const tfigura& r, std::int32_t rIndex, const tfigura& s)
{
    std::int64_t key = roundHalfEven<std::int64_t>(distance(centreOf(r), centreOf(s)));
    if (s.nestLevel < r.nestLevel)
        key += kPenalty;
    if (s.container == rIndex)
        key += kPenalty;
    return key;
}

// The centres of all figures in square cells, for finding the nearest ones of a figure ring by
// ring instead of measuring every pair.
class CentreGrid {
public:
    explicit CentreGrid(const std::vector<tfigura>& figures)
    {
        std::int64_t minX = std::numeric_limits<std::int64_t>::max();
        std::int64_t minY = minX;
        std::int64_t maxX = std::numeric_limits<std::int64_t>::min();
        std::int64_t maxY = maxX;
        for (const tfigura& f : figures) {
            minX = std::min<std::int64_t>(minX, f.centreX);
            minY = std::min<std::int64_t>(minY, f.centreY);
            maxX = std::max<std::int64_t>(maxX, f.centreX);
            maxY = std::max<std::int64_t>(maxY, f.centreY);
        }
        m_originX = minX;
        m_originY = minY;
        const double area = static_cast<double>(maxX - minX + 1) * static_cast<double>(maxY - minY + 1);
        // About two centres to a cell when they are spread evenly.
        m_cell = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(std::sqrt(2.0 * area / figures.size()))));
        m_columns = (maxX - minX) / m_cell + 1;
        m_rows = (maxY - minY) / m_cell + 1;
        // Centres along a line would ask for a very long row of cells.
        const auto limit = static_cast<std::int64_t>(4 * figures.size() + 16);
        while (m_columns * m_rows > limit) {
            m_cell *= 2;
            m_columns = (maxX - minX) / m_cell + 1;
            m_rows = (maxY - minY) / m_cell + 1;
        }
        m_start.assign(static_cast<std::size_t>(m_columns * m_rows + 1), 0);
        for (const tfigura& f : figures)
            ++m_start[static_cast<std::size_t>(cellOf(f)) + 1];
        for (std::size_t k = 1; k < m_start.size(); ++k)
            m_start[k] += m_start[k - 1];
        m_members.resize(figures.size());
        std::vector<std::size_t> next(m_start.begin(), m_start.end() - 1);
        for (std::size_t i = 0; i < figures.size(); ++i)
            m_members[next[static_cast<std::size_t>(cellOf(figures[i]))]++] = static_cast<std::int32_t>(i);
    }

    std::int64_t cell() const { return m_cell; }
    std::int64_t columns() const { return m_columns; }
    std::int64_t rows() const { return m_rows; }
    std::int64_t column(const tfigura& f) const { return (f.centreX - m_originX) / m_cell; }
    std::int64_t row(const tfigura& f) const { return (f.centreY - m_originY) / m_cell; }

    template <typename Visit>
    void forEachIn(std::int64_t column, std::int64_t row, const Visit& visit) const
    {
        if (column < 0 || row < 0 || column >= m_columns || row >= m_rows)
            return;
        const auto c = static_cast<std::size_t>(row * m_columns + column);
        for (std::size_t k = m_start[c]; k < m_start[c + 1]; ++k)
            visit(m_members[k]);
    }

private:
    std::int64_t cellOf(const tfigura& f) const { return row(f) * m_columns + column(f); }

    std::int64_t m_originX = 0;
    std::int64_t m_originY = 0;
    std::int64_t m_cell = 1;
    std::int64_t m_columns = 1;
    std::int64_t m_rows = 1;
    std::vector<std::size_t> m_start;
    std::vector<std::int32_t> m_members;
};

}  // namespace

// Each figure's list holds the indices of the 22 figures with the smallest keys, ordered by key
// and, among equal keys, by index (what sorting by adjacent exchanges of strictly smaller keys
// gives). Where the unpenalised figures alone fill a list and every distance stays below the
// penalty, the list is found by searching the centre grid ring by ring; elsewhere every key is
// measured.
void TMDIChild::buildNeighbourLists()
{
    const std::size_t n = figures.size();
    if (n == 0)
        return;
    const CentreGrid grid(figures);
    const double span = std::hypot(static_cast<double>(grid.columns() * grid.cell()),
                                   static_cast<double>(grid.rows() * grid.cell()));
    const bool distancesBelowPenalty = span < static_cast<double>(kPenalty) - 1.0;

    // Figures on each level or deeper, and each figure's direct children, to know how many a
    // list may take without a penalty.
    std::int32_t deepest = 0;
    for (const tfigura& f : figures)
        deepest = std::max(deepest, f.nestLevel);
    std::vector<std::size_t> atLevel(static_cast<std::size_t>(std::max(deepest, 0)) + 2, 0);
    std::vector<std::size_t> children(n, 0);
    for (const tfigura& f : figures) {
        ++atLevel[static_cast<std::size_t>(std::clamp(f.nestLevel, 0, deepest))];
        if (f.container >= 0 && static_cast<std::size_t>(f.container) < n)
            ++children[static_cast<std::size_t>(f.container)];
    }
    for (std::size_t level = atLevel.size() - 1; level-- > 0;)
        atLevel[level] += atLevel[level + 1];

    std::vector<Key> all;
    std::priority_queue<Key> kept;  // the largest of the smallest keys on top
    for (std::size_t r = 0; r < n; ++r) {
        const tfigura& figure = figures[r];
        const auto rIndex = static_cast<std::int32_t>(r);
        std::vector<Key> list;
        const std::size_t unpenalised =
            figure.nestLevel >= 0 ? atLevel[static_cast<std::size_t>(std::clamp(figure.nestLevel, 0, deepest))] - children[r]
                                  : 0;
        if (distancesBelowPenalty && figure.nestLevel >= 0 && unpenalised >= kListLength) {
            kept = {};
            const std::int64_t column = grid.column(figure);
            const std::int64_t row = grid.row(figure);
            const std::int64_t rings = std::max(grid.columns(), grid.rows());
            for (std::int64_t ring = 0; ring <= rings; ++ring) {
                const auto visit = [&](std::int32_t s) {
                    const tfigura& other = figures[static_cast<std::size_t>(s)];
                    if (other.nestLevel < figure.nestLevel || other.container == rIndex)
                        return;
                    const Key key{neighbourKey(figure, rIndex, other), s};
                    if (kept.size() < kListLength) {
                        kept.push(key);
                    } else if (key < kept.top()) {
                        kept.pop();
                        kept.push(key);
                    }
                };
                for (std::int64_t x = column - ring; x <= column + ring; ++x) {
                    grid.forEachIn(x, row - ring, visit);
                    if (ring > 0)
                        grid.forEachIn(x, row + ring, visit);
                }
                for (std::int64_t y = row - ring + 1; y <= row + ring - 1; ++y) {
                    grid.forEachIn(column - ring, y, visit);
                    grid.forEachIn(column + ring, y, visit);
                }
                // Every centre beyond this ring is at least ring cells away.
                if (kept.size() == kListLength && kept.top().first < ring * grid.cell())
                    break;
            }
            while (!kept.empty()) {
                list.push_back(kept.top());
                kept.pop();
            }
            std::reverse(list.begin(), list.end());
        } else {
            all.clear();
            for (std::size_t s = 0; s < n; ++s)
                all.push_back({neighbourKey(figure, rIndex, figures[s]), static_cast<std::int32_t>(s)});
            const std::size_t count = std::min(kListLength, n);
            std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(count), all.end());
            list.assign(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(count));
        }
        auto& neighbours = figures[r].neighbours;
        std::fill(neighbours.begin(), neighbours.end(), -1);
        for (std::size_t k = 0; k < list.size() && k < neighbours.size(); ++k)
            neighbours[k] = list[k].second;
    }
}

}  // namespace kerfline
