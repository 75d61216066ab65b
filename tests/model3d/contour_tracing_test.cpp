#include "model3d/contour_tracing.h"

#include <gtest/gtest.h>

#include <functional>

namespace kerfline::model3d {
namespace {

// A raster whose covered cells are those the predicate takes, marked as the rasteriser marks.
Raster shape(int W, int H, const std::function<bool(int, int)>& covered)
{
    Raster raster(W, H);
    for (int r = 0; r <= H; ++r)
        for (int c = 0; c <= W; ++c)
            if (covered(c, r))
                raster.at(c, r) = kCellBoundary;
    markInterior(raster);
    clearBottomRun(raster);
    return raster;
}

TEST(ContourTracing, SimplificationKeepsTheAnchorsBeyondTheTolerance)
{
    std::vector<Point> corner;
    for (int x = 0; x <= 80; x += 8)
        corner.push_back({x, 0});
    for (int y = 8; y <= 80; y += 8)
        corner.push_back({80, y});
    simplifyFigure(corner, 12);
    EXPECT_EQ(corner, (std::vector<Point>{{0, 0}, {80, 8}, {80, 80}}));

    std::vector<Point> empty;
    simplifyFigure(empty, 12);
    EXPECT_TRUE(empty.empty());
}

TEST(ContourTracing, ABlockOnTheTableIsOneOpenProfileFromOneBottomEndToTheOther)
{
    Raster raster = shape(40, 30, [](int c, int r) { return c >= 5 && c <= 35 && r <= 20; });
    const std::vector<TracedFigure> figures = passFigures(traceContours(raster, 0.2), false);
    ASSERT_EQ(figures.size(), 1u);
    const std::vector<Point>& p = figures[0].points;
    EXPECT_FALSE(figures[0].closed);
    EXPECT_EQ(p.front().y, 0);
    EXPECT_EQ(p.back().y, 0);
    EXPECT_EQ(std::min(p.front().x, p.back().x), 5 * 8);
    EXPECT_EQ(std::max(p.front().x, p.back().x), 35 * 8);
    // Simplified to its corners: up, across, down.
    EXPECT_EQ(p.size(), 4u);
}

TEST(ContourTracing, ASilhouetteTouchingTheTableInOneCellIsOpenedAtItsLowestCell)
{
    // A disc resting on the table: traced as a closed outline, which a pass used to drop,
    // leaving a pass without a figure.
    Raster raster = shape(60, 50, [](int c, int r) { return (c - 30) * (c - 30) + (r - 20) * (r - 20) <= 400; });
    const std::vector<TracedFigure> traced = traceContours(raster, 0.2);
    ASSERT_EQ(traced.size(), 1u);
    EXPECT_TRUE(traced[0].closed);

    const std::vector<TracedFigure> figures = passFigures(traced, false);
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_FALSE(figures[0].closed);
    EXPECT_EQ(figures[0].points.front(), (Point{30 * 8, 0}));
    EXPECT_NE(figures[0].points.back(), figures[0].points.front());
    EXPECT_EQ(figures[0].points.size() + 1, traced[0].points.size());
}

TEST(ContourTracing, AHoleSeenThroughIsKeptOnlyWhenClosedFiguresAreKept)
{
    Raster raster = shape(60, 50, [](int c, int r) {
        const bool block = c >= 5 && c <= 55 && r <= 40;
        const bool hole = c >= 20 && c <= 40 && r >= 15 && r <= 30;
        return block && !hole;
    });
    const std::vector<TracedFigure> traced = traceContours(raster, 0.2);
    ASSERT_EQ(passFigures(traced, false).size(), 1u);
    const std::vector<TracedFigure> all = passFigures(traced, true);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_FALSE(all[0].closed);
    EXPECT_TRUE(all[1].closed);
}

TEST(ContourTracing, AnEmptyRasterHasNoFigure)
{
    Raster raster(10, 10);
    EXPECT_TRUE(passFigures(traceContours(raster, 0.2), false).empty());
}

}  // namespace
}  // namespace kerfline::model3d
