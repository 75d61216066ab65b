// The vertex index answers exactly what a scan of every vertex answers, in its documented order.
#include "project/vertex_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace kerfline {
namespace {

struct Hit {
    std::int32_t figure;
    std::int32_t vertex;
    friend bool operator==(const Hit&, const Hit&) = default;
};

std::int64_t floorDiv(std::int64_t v, std::int64_t d)
{
    return v >= 0 ? v / d : -((-v + d - 1) / d);
}

// Every accepted vertex in the square of the tolerance around p, ordered by cell (x, then y)
// and by figure and vertex within a cell.
std::vector<Hit> scanAll(const std::vector<tfigura>& figures, std::int32_t tolerance, Point p, bool evenOnly)
{
    const std::int64_t cell = std::max(tolerance, 1);
    std::vector<std::tuple<std::int64_t, std::int64_t, std::int32_t, std::int32_t>> found;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (evenOnly && f % 2 != 0)
            continue;
        for (std::size_t v = 0; v < figures[f].points.size(); ++v) {
            const Point q = figures[f].points[v];
            if (std::abs(std::int64_t{q.x} - p.x) <= tolerance && std::abs(std::int64_t{q.y} - p.y) <= tolerance)
                found.emplace_back(floorDiv(q.x, cell), floorDiv(q.y, cell), static_cast<std::int32_t>(f),
                                   static_cast<std::int32_t>(v));
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<Hit> hits;
    for (const auto& [cx, cy, f, v] : found)
        hits.push_back({f, v});
    return hits;
}

TEST(VertexIndex, FindsWhatAFullScanFindsInCellOrder)
{
    // Crowded vertices on both sides of zero: many share cells, many buckets hold several cells,
    // and the same point appears in several figures.
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> coordinate(-60, 60);
    std::vector<tfigura> figures(40);
    for (tfigura& figure : figures)
        for (int v = 0; v < 25; ++v)
            figure.points.push_back({coordinate(random), coordinate(random)});
    figures[3].points = figures[2].points;
    figures[5].points.clear();

    struct Case {
        std::int32_t tolerance;
        bool evenOnly;
    };
    for (const Case c : {Case{0, false}, Case{1, false}, Case{4, true}, Case{7, false}, Case{40, false}}) {
        SCOPED_TRACE(testing::Message() << "tolerance " << c.tolerance << (c.evenOnly ? ", even figures" : ""));
        std::function<bool(const tfigura&)> filter;
        if (c.evenOnly)
            filter = [&](const tfigura& f) { return (&f - figures.data()) % 2 == 0; };
        const VertexIndex index(figures, c.tolerance, filter);
        for (int k = 0; k < 200; ++k) {
            const Point p{coordinate(random), coordinate(random)};
            std::vector<Hit> hits;
            index.forEachNear(p, [&](std::int32_t f, std::int32_t v) { hits.push_back({f, v}); });
            ASSERT_EQ(hits, scanAll(figures, c.tolerance, p, c.evenOnly)) << "near " << p.x << ", " << p.y;
        }
    }
}

TEST(VertexIndex, HoldsFarCoordinatesAndNoFigures)
{
    std::vector<tfigura> figures(2);
    figures[1].points = {{2147483647, -2147483647 - 1}, {2147483640, -2147483640}, {-2147483647 - 1, 2147483647}};
    const VertexIndex index(figures, 10);
    std::vector<Hit> hits;
    index.forEachNear({2147483645, -2147483645}, [&](std::int32_t f, std::int32_t v) { hits.push_back({f, v}); });
    EXPECT_EQ(hits, (std::vector<Hit>{{1, 0}, {1, 1}}));

    const VertexIndex empty(std::vector<tfigura>{}, 5);
    empty.forEachNear({0, 0}, [](std::int32_t, std::int32_t) { ADD_FAILURE() << "an empty index found a vertex"; });
}

}  // namespace
}  // namespace kerfline
