#include "geometry/segments.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kerfline {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(LineThrough, RecordsVerticalAndDegenerateLines)
{
    const LineRecord up = lineThrough({3, 0}, {3, 8});
    EXPECT_TRUE(up.vertical);
    EXPECT_EQ(up.slope, 2147483647.0);
    EXPECT_EQ(up.intercept, 3.0);
    EXPECT_EQ(lineThrough({3, 8}, {3, 0}).slope, -2147483647.0);
    EXPECT_TRUE(lineThrough({1, 1}, {1, 1}).degenerate);
    const LineRecord sloped = lineThrough({2, 1}, {6, 9});
    EXPECT_DOUBLE_EQ(sloped.slope, 2.0);
    EXPECT_DOUBLE_EQ(sloped.intercept, -3.0);
}

struct DirectionCase {
    Point a, b;
    double direction;      // of direction()
    double realDirection;  // of directionReal() on the same points
};

class DirectionTest : public ::testing::TestWithParam<DirectionCase> {};

TEST_P(DirectionTest, GivesTheQuadrantRightInBothVariants)
{
    const DirectionCase& c = GetParam();
    EXPECT_NEAR(direction(c.a, c.b), c.direction, 1e-12);
    const RealPoint a{static_cast<double>(c.a.x), static_cast<double>(c.a.y)};
    const RealPoint b{static_cast<double>(c.b.x), static_cast<double>(c.b.y)};
    EXPECT_NEAR(directionReal(a, b), c.realDirection, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, DirectionTest,
    ::testing::Values(DirectionCase{{0, 0}, {0, -5}, 3 * kPi / 2, 3 * kPi / 2},
                      DirectionCase{{0, 0}, {-5, 0}, kPi, kPi},
                      DirectionCase{{0, 0}, {0, 0}, 0.0, 3 * kPi / 2},  // a point to itself
                      DirectionCase{{0, 0}, {0, 5}, kPi / 2, kPi / 2},
                      DirectionCase{{0, 0}, {5, 0}, 0.0, 0.0},
                      DirectionCase{{0, 0}, {5, 5}, kPi / 4, kPi / 4},
                      DirectionCase{{0, 0}, {-5, 5}, 3 * kPi / 4, 3 * kPi / 4},
                      DirectionCase{{0, 0}, {-5, -5}, 5 * kPi / 4, 5 * kPi / 4},
                      DirectionCase{{0, 0}, {5, -5}, 7 * kPi / 4, 7 * kPi / 4}));

struct TurnCase {
    Point a, b, c;
    double turn;
};

class TurnBetweenTest : public ::testing::TestWithParam<TurnCase> {};

TEST_P(TurnBetweenTest, FoldsTheDifferenceOnce)
{
    const TurnCase& c = GetParam();
    EXPECT_NEAR(turnBetween(c.a, c.b, c.c), c.turn, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, TurnBetweenTest,
    ::testing::Values(TurnCase{{0, 0}, {10, 0}, {10, 10}, -kPi / 2},   // left turn, y up
                      TurnCase{{0, 0}, {10, 0}, {10, -10}, kPi / 2},   // right turn
                      TurnCase{{0, 0}, {10, 0}, {20, 0}, 0.0},
                      // Across the zero direction: 2pi - 0.2 is folded to -0.2.
                      TurnCase{{0, 0}, {10, -1}, {20, 0}, -2 * std::atan(0.1)},
                      // A reversal keeps its sign: -pi is not below -pi.
                      TurnCase{{0, 0}, {10, 0}, {0, 0}, -kPi},
                      TurnCase{{10, 0}, {0, 0}, {10, 0}, kPi}));

struct CrossCase {
    const char* name;
    Segment s, t;
    bool cross;
};

class SegmentsCrossTest : public ::testing::TestWithParam<CrossCase> {};

TEST_P(SegmentsCrossTest, CountsOnlyPointsOtherThanCommonEnds)
{
    const CrossCase& c = GetParam();
    EXPECT_EQ(segmentsCross(c.s, c.t), c.cross) << c.name;
    EXPECT_EQ(segmentsCross(c.t, c.s), c.cross) << c.name << " (swapped)";
    // The direction of either segment does not matter.
    EXPECT_EQ(segmentsCross({c.s.second, c.s.first}, {c.t.second, c.t.first}), c.cross) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Segments, SegmentsCrossTest,
    ::testing::Values(
        CrossCase{"x shape", {{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, true},
        CrossCase{"collinear overlapping horizontal", {{0, 0}, {10, 0}}, {{5, 0}, {15, 0}}, true},
        CrossCase{"collinear apart", {{0, 0}, {10, 0}}, {{20, 0}, {30, 0}}, false},
        CrossCase{"collinear touching", {{0, 0}, {10, 0}}, {{10, 0}, {30, 0}}, false},
        CrossCase{"shared end only", {{0, 0}, {10, 10}}, {{10, 10}, {20, 0}}, false},
        CrossCase{"parallel", {{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}, false},
        CrossCase{"vertical through horizontal", {{5, -5}, {5, 5}}, {{0, 0}, {10, 0}}, true},
        CrossCase{"horizontal at vertical's end", {{5, 0}, {5, 10}}, {{0, 0}, {10, 0}}, false},
        CrossCase{"vertical through sloped", {{5, -5}, {5, 50}}, {{0, 0}, {10, 10}}, true},
        CrossCase{"vertical beside sloped", {{5, 6}, {5, 50}}, {{0, 0}, {10, 10}}, false},
        CrossCase{"vertical overlapping", {{3, 0}, {3, 10}}, {{3, 5}, {3, 20}}, true},
        CrossCase{"vertical end to end", {{3, 0}, {3, 10}}, {{3, 10}, {3, 20}}, false},
        CrossCase{"vertical on other x", {{3, 0}, {3, 10}}, {{4, 0}, {4, 10}}, false},
        CrossCase{"point on a segment", {{5, 0}, {5, 0}}, {{0, 0}, {10, 0}}, false},
        CrossCase{"lines meet outside", {{0, 0}, {4, 4}}, {{10, 0}, {6, 4}}, false}));

TEST(LinesMeet, RoundsTheMeetingPointHalfToEven)
{
    const Segment base{{0, 0}, {5, 0}};
    const Segment low{{2, -1}, {3, 1}};   // meets y = 0 at x = 2.5
    const Segment high{{3, -1}, {4, 1}};  // meets y = 0 at x = 3.5
    EXPECT_EQ(linesMeet(lineThrough(base.first, base.second), lineThrough(low.first, low.second), base, low),
              (Point{2, 0}));
    EXPECT_EQ(linesMeet(lineThrough(base.first, base.second), lineThrough(high.first, high.second), base, high),
              (Point{4, 0}));
}

struct MeetCase {
    const char* name;
    Segment s1, s2;
    std::optional<Point> point;
};

class LinesMeetTest : public ::testing::TestWithParam<MeetCase> {};

TEST_P(LinesMeetTest, HandlesSpecialLines)
{
    const MeetCase& c = GetParam();
    EXPECT_EQ(linesMeet(lineThrough(c.s1.first, c.s1.second), lineThrough(c.s2.first, c.s2.second), c.s1, c.s2),
              c.point)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Segments, LinesMeetTest,
    ::testing::Values(
        MeetCase{"crossing", {{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, Point{5, 5}},
        MeetCase{"degenerate", {{1, 1}, {1, 1}}, {{0, 10}, {10, 0}}, std::nullopt},
        MeetCase{"parallel", {{0, 0}, {10, 0}}, {{0, 5}, {10, 5}}, Point{0, 0}},
        MeetCase{"vertical and sloped", {{4, 0}, {4, 1}}, {{0, 1}, {2, 2}}, Point{4, 3}},
        MeetCase{"sloped and vertical", {{0, 1}, {2, 2}}, {{4, 0}, {4, 1}}, Point{4, 3}},
        MeetCase{"both vertical apart", {{4, 0}, {4, 1}}, {{5, 0}, {5, 1}}, Point{0, 0}},
        MeetCase{"both vertical overlapping", {{5, 10}, {5, 0}}, {{5, 3}, {5, 20}}, Point{5, 6}},
        // (-3 + 0) div 2 truncates toward zero.
        MeetCase{"both vertical below zero", {{5, -10}, {5, 0}}, {{5, -3}, {5, 5}}, Point{5, -1}},
        MeetCase{"same line", {{0, 0}, {10, 0}}, {{5, 0}, {20, 0}}, Point{8, 0}}));

TEST(NearestOnSegment, FootInsideTheSegment)
{
    const NearestOnSegment r = nearestOnSegment({0, 5}, {{-10, 0}, {10, 0}});
    ASSERT_TRUE(r.foot);
    EXPECT_EQ(r.foot->point, (Point{0, 0}));
    EXPECT_EQ(r.foot->part, 0);
    EXPECT_DOUBLE_EQ(r.distance, 5.0);
    EXPECT_DOUBLE_EQ(r.foot->direction, 3 * kPi / 2);
}

struct NearCase {
    Point p;
    Segment s;
    Point nearest;
    int part;
};

class NearestEndTest : public ::testing::TestWithParam<NearCase> {};

TEST_P(NearestEndTest, TakesTheNearerEndOutsideTheSegment)
{
    const NearCase& c = GetParam();
    const NearestOnSegment r = nearestOnSegment(c.p, c.s);
    ASSERT_TRUE(r.foot);
    EXPECT_EQ(r.foot->point, c.nearest);
    EXPECT_EQ(r.foot->part, c.part);
    EXPECT_DOUBLE_EQ(r.distance, distance(c.p, c.nearest));
}

INSTANTIATE_TEST_SUITE_P(Segments, NearestEndTest,
                         ::testing::Values(NearCase{{15, 3}, {{0, 0}, {10, 0}}, {10, 0}, 2},
                                           NearCase{{-4, 3}, {{0, 0}, {10, 0}}, {0, 0}, 1},
                                           NearCase{{3, 14}, {{0, 0}, {0, 10}}, {0, 10}, 2},
                                           NearCase{{20, 21}, {{0, 0}, {10, 10}}, {10, 10}, 2},
                                           NearCase{{-1, -3}, {{10, 10}, {0, 0}}, {0, 0}, 2},
                                           NearCase{{6, 4}, {{0, 0}, {10, 10}}, {5, 5}, 0}));

TEST(NearestOnSegment, PointSizedSegmentGivesOnlyTheDistance)
{
    const NearestOnSegment r = nearestOnSegment({3, 4}, {{0, 0}, {0, 0}});
    EXPECT_DOUBLE_EQ(r.distance, 5.0);
    EXPECT_FALSE(r.foot);
}

TEST(HeightAbove, UsesAHalfOpenXRange)
{
    const Segment s{{10, 10}, {0, 0}};
    ASSERT_TRUE(heightAbove({4, 1}, s));
    EXPECT_DOUBLE_EQ(*heightAbove({4, 1}, s), 3.0);
    EXPECT_DOUBLE_EQ(*heightAbove({4, 9}, s), -5.0);
    EXPECT_TRUE(heightAbove({0, -2}, s));      // under the first end
    EXPECT_FALSE(heightAbove({10, -2}, s));    // under the second end
    EXPECT_FALSE(heightAbove({11, 0}, s));
    EXPECT_FALSE(heightAbove({5, 0}, {{5, 3}, {5, 9}}));  // vertical
    EXPECT_FALSE(heightAbove({5, 0}, {{5, 3}, {5, 3}}));  // a point
}

TEST(LineCoefficients, DistanceToTheWholeLine)
{
    EXPECT_DOUBLE_EQ(pointLineDistance({50, -3}, lineCoefficients({0, 0}, {10, 0})), 3.0);
    EXPECT_DOUBLE_EQ(pointLineDistance({7, 100}, lineCoefficients({2, 0}, {2, 10})), 5.0);
    EXPECT_NEAR(pointLineDistance({10, 0}, lineCoefficients({0, 0}, {10, 10})), std::sqrt(50.0), 1e-12);
    EXPECT_NEAR(pointLineDistance({0, 0}, lineCoefficients({10, 0}, {0, 10})), std::sqrt(50.0), 1e-12);
}

}  // namespace
}  // namespace kerfline
