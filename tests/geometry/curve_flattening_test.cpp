#include "geometry/curve_flattening.h"

#include "geometry/recording_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace kerfline {
namespace {

using testing::RecordingOutput;

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

double degrees(double d)
{
    return d * 2.0 * kPi / 360.0;
}

bool contains(const std::vector<RealPoint>& points, RealPoint p, double tolerance = 1e-9)
{
    for (const RealPoint& q : points) {
        if (std::fabs(q.x - p.x) <= tolerance && std::fabs(q.y - p.y) <= tolerance)
            return true;
    }
    return false;
}

TEST(CurveStep, StaysBetweenTheSettingAndFiveMillimetres)
{
    EXPECT_DOUBLE_EQ(curveStep(10.0, 2.0), 2.0);
    EXPECT_DOUBLE_EQ(curveStep(192.0 * 3.0, 2.0), 3.0);
    EXPECT_DOUBLE_EQ(curveStep(1e6, 2.0), 5.0);
    EXPECT_DOUBLE_EQ(curveStep(192.0 * 3.0, 0.25), 3.0);
}

struct CircleCase {
    double radius;
    double mmPerUnit;
    double step;
    std::size_t points;
};

class CircleCountTest : public ::testing::TestWithParam<CircleCase> {};

TEST_P(CircleCountTest, GivesWholeQuartersOfSegmentsIntoTheFigure)
{
    const CircleCase& c = GetParam();
    tfigura figure;
    FigureCurveOutput out(figure, c.mmPerUnit);
    const CurveSettings settings{c.step, c.mmPerUnit};
    ASSERT_EQ(flattenCircle({10.0, -20.0}, c.radius, settings, out), CurveStatus::ok);
    EXPECT_EQ(figure.points.size(), c.points);
    EXPECT_EQ(figure.points.front(), figure.points.back());
}

INSTANTIATE_TEST_SUITE_P(Flattening, CircleCountTest,
                         ::testing::Values(CircleCase{10, 1, 2.0, 33}, CircleCase{1, 1, 2.0, 17},
                                           CircleCase{100, 1, 2.0, 193}, CircleCase{100, 1, 0.25, 193},
                                           CircleCase{10, 1, 0.25, 193}, CircleCase{1000, 1, 2.0, 1257},
                                           CircleCase{1, 25.4, 2.0, 81}));

TEST(Flattening, CirclePointsStartAtAngleZeroAndRunCounterClockwise)
{
    RecordingOutput out;
    ASSERT_EQ(flattenCircle({5.0, -3.0}, 10.0, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 33u);
    EXPECT_TRUE(out.plain().empty());
    EXPECT_NEAR(points[0].x, 15.0, 1e-12);
    EXPECT_NEAR(points[8].x, 5.0, 1e-12);
    EXPECT_NEAR(points[8].y, 7.0, 1e-12);
    for (const RealPoint& p : points)
        EXPECT_NEAR(std::hypot(p.x - 5.0, p.y + 3.0), 10.0, 1e-12);
}

struct ArcCase {
    double radius;
    double sweep;
    std::size_t points;
};

class ArcCountTest : public ::testing::TestWithParam<ArcCase> {};

TEST_P(ArcCountTest, CountsTheShareOfTheFullCircle)
{
    const ArcCase& c = GetParam();
    RecordingOutput out;
    const double start = 0.3;
    ASSERT_EQ(flattenArc({0, 0}, c.radius, start, c.sweep, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.plain();
    EXPECT_TRUE(out.tested().empty());
    ASSERT_EQ(points.size(), c.points);
    EXPECT_NEAR(points.front().x, c.radius * std::cos(start), 1e-12);
    EXPECT_NEAR(points.back().x, c.radius * std::cos(start + c.sweep), 1e-12);
    EXPECT_NEAR(points.back().y, c.radius * std::sin(start + c.sweep), 1e-12);
}

// A quarter of radius 50: Round(0.25 * 314.16 / 2 + 0.5) = 40 segments. Clockwise the + 0.5
// works against the sweep: Round(-39.27 + 0.5) = -39.
INSTANTIATE_TEST_SUITE_P(Flattening, ArcCountTest,
                         ::testing::Values(ArcCase{50, kPi / 2, 41}, ArcCase{50, -kPi / 2, 40},
                                           ArcCase{1, kPi / 2, 17}, ArcCase{1000, kPi, 630}));

TEST(Flattening, ArcFrom350To10DegreesRunsCounterClockwiseThroughZero)
{
    RecordingOutput out;
    const double sweep = degrees(10) - degrees(350) + 2 * kPi;
    ASSERT_EQ(flattenArc({0, 0}, 50, degrees(350), sweep, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.plain();
    ASSERT_EQ(points.size(), 17u);
    EXPECT_TRUE(contains(points, {50.0, 0.0}));
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double cross = points[i - 1].x * points[i].y - points[i - 1].y * points[i].x;
        EXPECT_GT(cross, 0.0) << i;
    }
}

TEST(Flattening, BulgeSignChoosesTheSide)
{
    RecordingOutput clockwise;
    ASSERT_EQ(bulgeArc({0, 0}, {10, 0}, -1.0, {}, clockwise), CurveStatus::ok);
    EXPECT_TRUE(contains(clockwise.plain(), {5, 5}));

    RecordingOutput counterClockwise;
    ASSERT_EQ(bulgeArc({0, 0}, {10, 0}, 1.0, {}, counterClockwise), CurveStatus::ok);
    EXPECT_TRUE(contains(counterClockwise.plain(), {5, -5}));
}

class BulgeTest : public ::testing::TestWithParam<double> {};

TEST_P(BulgeTest, ArcJoinsItsVerticesAndReachesTheSagitta)
{
    const double bulge = GetParam();
    RecordingOutput out;
    ASSERT_EQ(bulgeArc({0, 0}, {10, 0}, bulge, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.plain();
    ASSERT_EQ(points.size(), 17u);
    EXPECT_NEAR(points.front().x, 0.0, 1e-12);
    EXPECT_NEAR(points.front().y, 0.0, 1e-12);
    EXPECT_NEAR(points.back().x, 10.0, 1e-12);
    EXPECT_NEAR(points.back().y, 0.0, 1e-12);
    EXPECT_NEAR(points[8].x, 5.0, 1e-12);
    EXPECT_NEAR(points[8].y, -bulge * 5.0, 1e-12);  // bulge * half chord, on the right going ccw
}

INSTANTIATE_TEST_SUITE_P(Flattening, BulgeTest, ::testing::Values(0.5, -0.5));

TEST(Flattening, ZeroBulgeLeavesEveryPointOnTheStart)
{
    RecordingOutput out;
    ASSERT_EQ(bulgeArc({3, 4}, {10, 0}, 0.0, {}, out), CurveStatus::ok);
    ASSERT_EQ(out.plain().size(), 17u);
    for (const RealPoint& p : out.plain()) {
        EXPECT_NEAR(p.x, 3.0, 1e-5);
        EXPECT_NEAR(p.y, 4.0, 1e-5);
    }
}

TEST(Flattening, EllipticalArcWrapsOnceThroughParameterZero)
{
    RecordingOutput out;
    ASSERT_EQ(flattenEllipse({0, 0}, {100, 0}, 0.5, 5.5, 1.0, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    // L = 100 * (1.0 - 5.5 + 2pi) = 178.32; Round(89.16 + 0.5) = 90 segments.
    ASSERT_EQ(points.size(), 91u);
    EXPECT_NEAR(points.front().x, 100 * std::cos(5.5), 1e-9);
    EXPECT_NEAR(points.front().y, 50 * std::sin(5.5), 1e-9);
    EXPECT_NEAR(points.back().x, 100 * std::cos(1.0), 1e-9);
    EXPECT_NEAR(points.back().y, 50 * std::sin(1.0), 1e-9);
    double largestX = 0;
    for (const RealPoint& p : points) {
        largestX = std::max(largestX, p.x);
        EXPECT_NEAR(p.x * p.x / 1e4 + p.y * p.y / 2500, 1.0, 1e-12);
    }
    EXPECT_GT(largestX, 99.9);
}

TEST(Flattening, EllipseFollowsItsMajorAxis)
{
    RecordingOutput out;
    ASSERT_EQ(flattenEllipse({1, 2}, {0, 10}, 0.5, 0.0, 2 * kPi, {}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 33u);  // a full ellipse is not rounded to quarters, 31.9 gives 32
    EXPECT_NEAR(points[0].x, 1.0, 1e-12);
    EXPECT_NEAR(points[0].y, 12.0, 1e-12);
    EXPECT_NEAR(points[8].x, -4.0, 1e-12);  // parameter pi/2: the minor axis, turned with it
    EXPECT_NEAR(points[8].y, 2.0, 1e-12);
}

TEST(Flattening, CubicGivesNinetyNineInnerPointsAndTheEnd)
{
    RecordingOutput out;
    ASSERT_EQ(flattenCubic({0, 0}, {0, 10}, {10, 10}, {10, 0}, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 100u);
    EXPECT_NEAR(points[0].x, 3 * 0.01 * 0.01 * 0.99 * 10 + 0.01 * 0.01 * 0.01 * 10, 1e-12);
    EXPECT_NEAR(points[49].x, 5.0, 1e-9);
    EXPECT_NEAR(points[49].y, 7.5, 1e-9);
    EXPECT_EQ(points.back(), (RealPoint{10, 0}));
}

struct RefusalCase {
    const char* name;
    std::function<CurveStatus(CurveOutput&)> run;
    CurveStatus status;
};

class RefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, RefusesWithoutEmitting)
{
    RecordingOutput out;
    EXPECT_EQ(GetParam().run(out), GetParam().status) << GetParam().name;
    EXPECT_TRUE(out.entries.empty()) << GetParam().name;
}

const CurveSettings kDefault{};

INSTANTIATE_TEST_SUITE_P(
    Flattening, RefusalTest,
    ::testing::Values(
        RefusalCase{"huge circle", [](CurveOutput& o) { return flattenCircle({0, 0}, 1e7, kDefault, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"circle beyond any count",
                    [](CurveOutput& o) { return flattenCircle({0, 0}, 1e300, kDefault, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"NaN radius", [](CurveOutput& o) { return flattenCircle({0, 0}, kNaN, kDefault, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"infinite centre", [](CurveOutput& o) { return flattenCircle({kInf, 0}, 1, kDefault, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"circle limit", [](CurveOutput& o) { return flattenCircle({0, 0}, 10, {2.0, 1.0, 32}, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"zero curve step",
                    [](CurveOutput& o) { return flattenCircle({0, 0}, 10, {0.0, 1.0}, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"NaN unit", [](CurveOutput& o) { return flattenCircle({0, 0}, 10, {2.0, kNaN}, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"infinite sweep", [](CurveOutput& o) { return flattenArc({0, 0}, 5, 0, kInf, kDefault, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"huge arc", [](CurveOutput& o) { return flattenArc({0, 0}, 1e7, 0, 1.0, kDefault, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"NaN bulge", [](CurveOutput& o) { return bulgeArc({0, 0}, {1, 0}, kNaN, kDefault, o); },
                    CurveStatus::invalidInput},
        // Nearly a full circle on a 10-unit chord has a radius near 10^15.
        RefusalCase{"near-circle bulge",
                    [](CurveOutput& o) { return bulgeArc({0, 0}, {10, 0}, 1e15, kDefault, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"NaN ratio",
                    [](CurveOutput& o) { return flattenEllipse({0, 0}, {1, 0}, kNaN, 0, 1, kDefault, o); },
                    CurveStatus::invalidInput},
        RefusalCase{"long elliptical parameter range",
                    [](CurveOutput& o) { return flattenEllipse({0, 0}, {100, 0}, 0.5, 0, 1e9, kDefault, o); },
                    CurveStatus::tooLarge},
        RefusalCase{"NaN cubic",
                    [](CurveOutput& o) { return flattenCubic({0, 0}, {kNaN, 0}, {1, 1}, {2, 0}, o); },
                    CurveStatus::invalidInput}));

TEST(Flattening, LimitAllowsExactlyTheMaximum)
{
    RecordingOutput out;
    EXPECT_EQ(flattenCircle({0, 0}, 10, {2.0, 1.0, 33}, out), CurveStatus::ok);
    EXPECT_EQ(out.entries.size(), 33u);
}

}  // namespace
}  // namespace kerfline
