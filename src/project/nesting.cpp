#include "project/nesting.h"

#include "project/tmdichild.h"
#include "project/wide_int.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace kerfline {

std::optional<int> edgeSideAbove(Point p, Point a, Point b)
{
    if (a.x > b.x)
        std::swap(a, b);
    if (a.x == b.x || p.x < a.x || p.x >= b.x)
        return std::nullopt;
    // The sign of (edge's y at p.x) - p.y, scaled by the edge's positive x extent.
    const WideInt height = WideInt{std::int64_t{a.y} - p.y} * (std::int64_t{b.x} - a.x) +
                           WideInt{std::int64_t{b.y} - a.y} * (std::int64_t{p.x} - a.x);
    return height > 0 ? 1 : height < 0 ? -1 : 0;
}

bool liesInside(const tfigura& inner, const tfigura& outer, bool& sawAmbiguity)
{
    if (&inner == &outer || outer.closed == 0 || inner.points.empty())
        return false;
    if (!(outer.minX < inner.minX && inner.maxX < outer.maxX && outer.minY < inner.minY &&
          inner.maxY < outer.maxY))
        return false;
    if (inner.points == outer.points)
        return false;

    const std::vector<Point>& edges = outer.points;
    const std::size_t n = edges.size();
    int below = 0;
    for (const Point& p : inner.points) {
        int above = 0;
        below = 0;
        const auto count = [&](Point a, Point b) {
            if (const std::optional<int> side = edgeSideAbove(p, a, b)) {
                above += *side > 0 ? 1 : 0;
                below += *side < 0 ? 1 : 0;
            }
        };
        for (std::size_t k = 0; k + 1 < n; ++k)
            count(edges[k], edges[k + 1]);
        if (n > 0)
            count(edges[0], edges[n - 1]);
        if (above % 2 != below % 2) {
            sawAmbiguity = true;
            continue;
        }
        return below % 2 == 1;
    }
    return below % 2 == 1;
}

namespace {

// Every ordered pair (i, j) with i inside j, ascending by i and then j. Whether i lies inside j
// depends on the two figures alone, so it is found once for all passes; figures are matched by
// an x sweep so that only pairs whose extents can nest are tested.
std::vector<std::pair<std::int32_t, std::int32_t>> nestedPairs(const std::vector<tfigura>& figures,
                                                              bool& sawAmbiguity)
{
    std::vector<std::int32_t> byMinX(figures.size());
    std::iota(byMinX.begin(), byMinX.end(), 0);
    std::sort(byMinX.begin(), byMinX.end(), [&](std::int32_t a, std::int32_t b) {
        return figures[static_cast<std::size_t>(a)].minX < figures[static_cast<std::size_t>(b)].minX;
    });

    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    for (std::size_t jj = 0; jj < figures.size(); ++jj) {
        const tfigura& j = figures[jj];
        if (j.closed == 0 || j.points.empty())
            continue;
        // Candidates have j.minX < i.minX < j.maxX.
        auto first = std::upper_bound(byMinX.begin(), byMinX.end(), j.minX, [&](std::int32_t x, std::int32_t k) {
            return x < figures[static_cast<std::size_t>(k)].minX;
        });
        for (auto it = first; it != byMinX.end(); ++it) {
            const tfigura& i = figures[static_cast<std::size_t>(*it)];
            if (i.minX >= j.maxX)
                break;
            if (liesInside(i, j, sawAmbiguity))
                pairs.emplace_back(*it, static_cast<std::int32_t>(jj));
        }
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

}  // namespace

void TMDIChild::co_w_czym()
{
    const std::size_t n = figures.size();
    for (tfigura& figure : figures) {
        figure.nestLevel = 0;
        figure.container = -1;
        figure.childCount = 0;
    }
    bool sawAmbiguity = false;
    const auto pairs = nestedPairs(figures, sawAmbiguity);
    if (sawAmbiguity)
        requestRepaint();

    std::vector<std::vector<std::int32_t>> children(n);
    const auto at = [&](std::int32_t index) -> tfigura& { return figures[static_cast<std::size_t>(index)]; };
    bool changed = true;
    while (changed) {
        changed = false;
        for (const auto& [i, j] : pairs) {
            const std::int32_t current = at(i).container;
            if (current != -1 && at(current).nestLevel >= at(j).nestLevel)
                continue;
            if (current != -1) {
                auto& siblings = children[static_cast<std::size_t>(current)];
                siblings.erase(std::find(siblings.begin(), siblings.end(), i));
            }
            children[static_cast<std::size_t>(j)].push_back(i);
            at(i).container = j;
            at(i).nestLevel = at(j).nestLevel + 1;
            maxNestLevel = std::max(maxNestLevel, at(i).nestLevel);
            // Levels flow down to everything inside i; containment is strict, so no cycles.
            std::vector<std::int32_t> pending{i};
            while (!pending.empty()) {
                const std::int32_t node = pending.back();
                pending.pop_back();
                for (const std::int32_t child : children[static_cast<std::size_t>(node)]) {
                    at(child).nestLevel = at(node).nestLevel + 1;
                    maxNestLevel = std::max(maxNestLevel, at(child).nestLevel);
                    pending.push_back(child);
                }
            }
            ++at(j).childCount;
            changed = true;
        }
    }
}

}  // namespace kerfline
