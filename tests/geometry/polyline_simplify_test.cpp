#include "geometry/polyline_simplify.h"

#include <gtest/gtest.h>

#include <vector>

namespace kerfline {
namespace {

struct SimplifyCase {
    const char* name;
    std::vector<Point> points;
    double tolerance;
    std::vector<Point> kept;
};

class SimplifyTest : public ::testing::TestWithParam<SimplifyCase> {};

TEST_P(SimplifyTest, KeepsOnlyPointsThatLeaveTheLine)
{
    const SimplifyCase& c = GetParam();
    tfigura figure;
    figure.points = c.points;
    simplifyPolyline(figure, c.tolerance);
    EXPECT_EQ(figure.points, c.kept) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Simplify, SimplifyTest,
    ::testing::Values(
        SimplifyCase{"shallow bump", {{0, 0}, {10, 1}, {20, 0}, {30, 0}}, 4, {{0, 0}, {30, 0}}},
        SimplifyCase{"steps", {{0, 0}, {10, 0}, {10, 10}, {20, 10}}, 4, {{0, 0}, {10, 0}, {10, 10}, {20, 10}}},
        // Exactly the tolerance away counts as leaving the line.
        SimplifyCase{"at the tolerance", {{0, 0}, {10, 4}, {20, 0}}, 4, {{0, 0}, {10, 4}, {20, 0}}},
        SimplifyCase{"below the tolerance", {{0, 0}, {10, 4}, {20, 0}}, 4.01, {{0, 0}, {20, 0}}},
        SimplifyCase{"vertical line", {{0, 0}, {1, 10}, {-1, 20}, {0, 30}}, 4, {{0, 0}, {0, 30}}},
        // The distance is to the whole line, so a point beyond the candidate still counts as on it.
        SimplifyCase{"overshoot on the line", {{0, 0}, {40, 0}, {20, 0}}, 4, {{0, 0}, {20, 0}}},
        SimplifyCase{"two points", {{0, 0}, {5, 5}}, 4, {{0, 0}, {5, 5}}},
        SimplifyCase{"closed square",
                     {{0, 0}, {50, 1}, {100, 0}, {100, 100}, {0, 100}, {0, 0}},
                     4,
                     {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}}));

}  // namespace
}  // namespace kerfline
