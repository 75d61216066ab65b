#include "geometry/curve_output.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

TEST(FigureCurveOutput, TestedOutputDropsARepeatInPlotterUnits)
{
    tfigura figure;
    FigureCurveOutput out(figure);
    EXPECT_EQ(out.lastTested(), FigureCurveOutput::kNoPoint);
    out.addTested({1.0, 2.0});
    out.addTested({1.01, 2.01});  // 40.4, 80.4 units: the same point
    out.addTested({1.1, 2.0});
    out.addTested({1.0, 2.0});    // not the last one taken, so it stays
    const std::vector<Point> expected{{40, 80}, {44, 80}, {40, 80}};
    EXPECT_EQ(figure.points, expected);
}

TEST(FigureCurveOutput, PlainOutputAlwaysAppendsAndLeavesTheLastTestedPoint)
{
    tfigura figure;
    FigureCurveOutput out(figure);
    out.addTested({1.0, 1.0});
    out.addPlain({1.0, 1.0});
    out.addPlain({1.0, 1.0});
    out.addPlain({3.0, 3.0});
    EXPECT_EQ(out.lastTested(), (Point{40, 40}));
    out.addTested({1.0, 1.0});  // equal to the last tested point, whatever came in between
    const std::vector<Point> expected{{40, 40}, {40, 40}, {40, 40}, {120, 120}};
    EXPECT_EQ(figure.points, expected);
}

TEST(FigureCurveOutput, ConvertsDrawingUnitsToMillimetresFirst)
{
    tfigura figure;
    FigureCurveOutput inches(figure, 25.4);
    inches.addTested({1.0, -0.5});
    FigureCurveOutput feet(figure, 304.8);
    feet.addPlain({0.25, 0.0});
    const std::vector<Point> expected{{1016, -508}, {3048, 0}};
    EXPECT_EQ(figure.points, expected);
}

}  // namespace
}  // namespace kerfline
