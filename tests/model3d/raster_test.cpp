#include "base/round.h"
#include "model3d/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

namespace kerfline::model3d {
namespace {

TModel box(double x, double y, double z)
{
    TModel model;
    model.maxX = x;
    model.maxY = y;
    model.maxZ = z;
    return model;
}

TEST(Raster, WidthComesFromTheHorizontalDiagonalAndTheCellsAreCapped)
{
    struct Case {
        const char* name;
        TModel model;
        std::size_t maxCells;
        double step;
        int width;
        int height;
    };
    const Case cases[] = {
        // 100 wide, 50 high, 40 deep: the diagonal 107.7 mm, not the larger size 100 mm.
        {"worked model", box(100, 50, 40), kMaxRasterCells, 0.2, 539, 250},
        // A deep model would have made a raster only as wide as its depth allowed.
        {"deep model", box(10, 20, 2000), kMaxRasterCells, 0.2, 10000, 100},
        {"capped", box(100, 50, 0), 20'000, 0.6, 167, 83},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RasterGeometry geometry = rasterGeometry(c.model, c.maxCells);
        EXPECT_NEAR(geometry.step, c.step, 1e-12);
        EXPECT_EQ(geometry.width, c.width);
        EXPECT_EQ(geometry.height, c.height);
        EXPECT_EQ(geometry.coarsened, c.step > kRasterStep);
        EXPECT_LE((geometry.width + 1.0) * (geometry.height + 1.0), static_cast<double>(c.maxCells));
    }
}

// The dense sampling the fill stands in for: lines between the edges AC and AB at half the step,
// each sampled at the step, every sample rounded half to even and clamped.
std::set<std::pair<int, int>> sampledCells(const Triangle& t, int W, int H, double s)
{
    struct P {
        double x, y, z;
    };
    std::array<P, 3> c{P{t.v[0], t.v[1], t.v[2]}, P{t.v[3], t.v[4], t.v[5]}, P{t.v[6], t.v[7], t.v[8]}};
    const auto swapIf = [&](int i, int j) {
        if (c[i].z > c[j].z)
            std::swap(c[i], c[j]);
    };
    swapIf(0, 1);
    swapIf(1, 2);
    swapIf(0, 1);
    const auto dist = [](P a, P b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); };
    const P A = c[0], B = c[1], C = c[2];
    const int d = 2 * roundHalfEven(std::max(dist(A, C) / s + 1, dist(A, B) / s + 1));
    std::set<std::pair<int, int>> cells;
    for (int k = 0; k <= d; ++k) {
        const double f = static_cast<double>(k) / d;
        const P p{A.x + f * (C.x - A.x), A.y + f * (C.y - A.y), A.z + f * (C.z - A.z)};
        const P q{A.x + f * (B.x - A.x), A.y + f * (B.y - A.y), A.z + f * (B.z - A.z)};
        const int n = roundHalfEven(dist(p, q) / s) + 1;
        for (int m = 0; m <= n; ++m) {
            const double g = static_cast<double>(m) / n;
            const double x = p.x + g * (q.x - p.x);
            const double y = p.y + g * (q.y - p.y);
            cells.emplace(std::clamp(roundHalfEven(x / s + W / 2.0), 0, W), std::clamp(roundHalfEven(y / s + H / 2.0), 0, H));
        }
    }
    return cells;
}

TEST(Raster, FillMarksEveryCellTheSamplingMarksAndKeepsCloseToIt)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<float> coordinate(-6.0f, 6.0f);
    const int W = 50;
    const int H = 40;
    for (int round = 0; round < 300; ++round) {
        Triangle t;
        for (float& v : t.v)
            v = coordinate(random);
        if (round % 10 == 0)
            t.v[4] = t.v[1] - 9.0f;  // a corner far below the raster: clamped into row 0
        Raster raster(W, H);
        fillTriangle(raster, t, 0.2);
        const auto sampled = sampledCells(t, W, H, 0.2);
        for (const auto& [column, row] : sampled)
            ASSERT_EQ(raster.at(column, row), kCellBoundary) << "round " << round << " cell " << column << "," << row;
        for (int r = 0; r <= H; ++r)
            for (int c = 0; c <= W; ++c) {
                if (raster.at(c, r) != kCellBoundary)
                    continue;
                bool near = false;
                for (int dc = -1; dc <= 1 && !near; ++dc)
                    for (int dr = -1; dr <= 1 && !near; ++dr)
                        near = sampled.count({c + dc, r + dr}) != 0;
                ASSERT_TRUE(near) << "round " << round << " extra cell " << c << "," << r;
            }
    }
}

TEST(Raster, AnEdgeOnTriangleFillsOneColumn)
{
    Raster raster(20, 20);
    fillTriangle(raster, {{1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 2.0f}}, 0.2);
    for (int r = 0; r <= 20; ++r)
        for (int c = 0; c <= 20; ++c)
            EXPECT_EQ(raster.at(c, r), c == 15 && r >= 5 && r <= 15 ? kCellBoundary : kCellEmpty) << c << "," << r;
}

TEST(Raster, InteriorAndTheBottomRunOnTheTable)
{
    // A 5 x 3 block of covered cells standing on row 0.
    Raster raster(8, 5);
    for (int c = 2; c <= 6; ++c)
        for (int r = 0; r <= 2; ++r)
            raster.at(c, r) = kCellBoundary;
    markInterior(raster);
    clearBottomRun(raster);
    const char* expected[] = {
        // rows from 2 down to 0, columns 0..8
        "..22222..",
        "..24442..",
        "..24442..",
    };
    for (int r = 2; r >= 0; --r)
        for (int c = 0; c <= 8; ++c) {
            const char e = expected[2 - r][c];
            EXPECT_EQ(raster.at(c, r), e == '.' ? kCellEmpty : e - '0') << c << "," << r;
        }
}

TEST(Raster, AStoppedPassLeavesItsRasterUnfinished)
{
    const TriangleList triangles{{{0, 0, 0, 10, 0, 0, 0, 10, 0}}};
    const TModel model = boundsOf(triangles, "");
    const RasterGeometry geometry = rasterGeometry(model);
    std::stop_source stop;
    stop.request_stop();
    const Raster stopped = rasterisePass(triangles, model, 0.0, geometry, stop.get_token());
    const Raster done = rasterisePass(triangles, model, 0.0, geometry);
    EXPECT_EQ(stopped.at(0, 0), kCellEmpty);
    EXPECT_EQ(done.at(0, 0), kCellBoundary);
}

}  // namespace
}  // namespace kerfline::model3d
