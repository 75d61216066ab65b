#include "designfiles/figure_end.h"

#include <gtest/gtest.h>

#include <limits>

namespace kerfline {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(FigureEnd, AFigureWithoutPointsIsInvalidAndOtherwiseUntouched)
{
    tfigura figure;
    figure.minX = 7;
    figure.open = 0;
    endFigure(figure);
    EXPECT_EQ(figure.valid, 0);
    EXPECT_EQ(figure.minX, 7);
    EXPECT_EQ(figure.open, 0);
}

TEST(FigureEnd, SetsExtentsSizeAndOpenState)
{
    const struct {
        std::vector<Point> points;
        std::uint8_t open;
    } cases[] = {
        {{{0, 0}, {400, 0}, {400, 300}, {0, 0}}, 0},
        {{{0, 0}, {400, 0}, {400, 300}}, 1},
        {{{5, 5}, {5, 5}}, 1},  // closing needs more than two points
        {{{5, 5}}, 1},
    };
    for (const auto& c : cases) {
        tfigura figure;
        figure.points = c.points;
        figure.nestLevel = 3;
        endFigure(figure);
        EXPECT_EQ(figure.valid, 1);
        EXPECT_EQ(figure.open, c.open) << c.points.size() << " points";
        EXPECT_EQ(figure.nestLevel, 0);
    }
    tfigura figure;
    figure.points = {{-10, 20}, {30, -40}, {5, 5}};
    endFigure(figure);
    EXPECT_EQ(figure.minX, -10);
    EXPECT_EQ(figure.maxX, 30);
    EXPECT_EQ(figure.minY, -40);
    EXPECT_EQ(figure.maxY, 20);
    EXPECT_EQ(figure.width, 40);
    EXPECT_EQ(figure.height, 60);
}

TEST(FigureEnd, ExtentsHoldAtTheEdgesOfTheCoordinateRange)
{
    tfigura lowest;
    lowest.points = {{kMin, kMin}};
    endFigure(lowest);
    EXPECT_EQ(lowest.maxX, kMin);
    EXPECT_EQ(lowest.minY, kMin);
    EXPECT_EQ(lowest.width, 0);

    tfigura widest;
    widest.points = {{kMin, 0}, {kMax, 1}};
    endFigure(widest);
    EXPECT_EQ(widest.width, kMax);  // the true width does not fit; it stops at the largest
    EXPECT_EQ(widest.height, 1);
}

}  // namespace
}  // namespace kerfline
