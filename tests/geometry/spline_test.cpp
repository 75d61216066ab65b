#include "geometry/spline.h"

#include "geometry/recording_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace kerfline {
namespace {

using testing::RecordingOutput;

const CurveSettings kDefault{};

RealPoint bernstein(const std::vector<RealPoint>& c, double t)
{
    const double u = 1.0 - t;
    const double w[4] = {u * u * u, 3 * t * u * u, 3 * t * t * u, t * t * t};
    RealPoint p;
    for (int i = 0; i < 4; ++i) {
        p.x += w[i] * c[static_cast<std::size_t>(i)].x;
        p.y += w[i] * c[static_cast<std::size_t>(i)].y;
    }
    return p;
}

// Cox-de Boor written out recursively, as the independent reference for the evaluator.
double basis(const std::vector<double>& knot, std::size_t i, std::size_t k, double t)
{
    if (k == 1)
        return knot[i] <= t && t < knot[i + 1] ? 1.0 : 0.0;
    double result = 0.0;
    const double lower = basis(knot, i, k - 1, t);
    if (t - knot[i] != 0.0 && lower != 0.0)
        result += (t - knot[i]) / (knot[i + k - 1] - knot[i]) * lower;
    const double upper = basis(knot, i + 1, k - 1, t);
    if (knot[i + k] - t != 0.0 && upper != 0.0)
        result += (knot[i + k] - t) / (knot[i + k] - knot[i + 1]) * upper;
    return result;
}

// Steps over the whole spline at the default curve step of 2 mm.
double stepsFor(const std::vector<RealPoint>& c)
{
    double length = 0.0;
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        length += std::hypot(c[i + 1].x - c[i].x, c[i + 1].y - c[i].y);
    const double f = std::max(2.0, std::min(5.0, length / (static_cast<double>(c.size()) * 192.0)));
    return std::nearbyint(std::max(4.0, length / f));
}

TEST(Spline, FourControlPointsWithDoubledEndsAreAStraightLine)
{
    RecordingOutput out;
    const std::vector<RealPoint> c{{0, 0}, {0, 0}, {30, 40}, {30, 40}};
    ASSERT_EQ(flattenSpline(3, 8, 4, {}, c, kDefault, out), CurveStatus::ok);
    const std::vector<RealPoint> expected{{0, 0}, {30, 40}};
    EXPECT_EQ(out.tested(), expected);
}

TEST(Spline, BezierPiecesForFourControlPointsAndEightKnots)
{
    RecordingOutput out;
    const std::vector<RealPoint> c{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    const std::vector<double> knots{0, 0, 0, 0, 1, 1, 1, 1};
    ASSERT_EQ(flattenSpline(3, 8, 4, knots, c, kDefault, out), CurveStatus::ok);
    // Polygon 30 mm at 2 mm: 15 steps; b = 4 / 15 gives t = 4/15, 8/15, 12/15 in the piece.
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(points.front(), c.front());
    EXPECT_EQ(points.back(), c.back());
    for (int i = 1; i <= 3; ++i) {
        const RealPoint expected = bernstein(c, i * 4.0 / 15.0);
        EXPECT_NEAR(points[static_cast<std::size_t>(i)].x, expected.x, 1e-12);
        EXPECT_NEAR(points[static_cast<std::size_t>(i)].y, expected.y, 1e-12);
    }
}

TEST(Spline, BezierPiecesDoNotShareControlPoints)
{
    RecordingOutput out;
    // Three pieces joined by 6 mm gaps: a polygon of 48 mm, 24 steps, b = 12 / 24 = 0.5.
    const std::vector<RealPoint> c{{0, 0},  {0, 4},  {4, 4},  {4, 0},  {10, 0}, {10, 4},
                                   {14, 4}, {14, 0}, {20, 0}, {20, 4}, {24, 4}, {24, 0}};
    const std::vector<double> knots(16, 0.0);
    ASSERT_EQ(flattenSpline(3, 16, 12, knots, c, kDefault, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 8u);
    EXPECT_EQ(points[0], c[0]);
    for (std::size_t j = 0; j < 3; ++j) {
        const std::vector<RealPoint> piece(c.begin() + static_cast<long>(4 * j), c.begin() + static_cast<long>(4 * j + 4));
        const RealPoint middle = bernstein(piece, 0.5);
        EXPECT_NEAR(points[1 + 2 * j].x, middle.x, 1e-12) << j;
        EXPECT_NEAR(points[1 + 2 * j].y, middle.y, 1e-12) << j;
        EXPECT_EQ(points[2 + 2 * j], piece[3]) << j;
    }
    EXPECT_EQ(points[7], c[11]);
}

TEST(Spline, EightControlPointsWithTwelveKnotsAreABSpline)
{
    RecordingOutput out;
    // Polygon of 80 mm: 40 steps over the knot domain 0..5, so t moves by exactly 0.125.
    const std::vector<RealPoint> c{{0, 0}, {10, 0}, {20, 0}, {30, 0}, {40, 0}, {50, 0}, {60, 0}, {80, 0}};
    const std::vector<double> knots{0, 0, 0, 0, 1, 2, 3, 4, 5, 5, 5, 5};
    ASSERT_EQ(flattenSpline(3, 12, 8, knots, c, kDefault, out), CurveStatus::ok);
    const std::vector<RealPoint> points = out.tested();
    ASSERT_EQ(points.size(), 42u);  // Bezier pieces would give 12
    EXPECT_EQ(points.front(), c.front());
    EXPECT_EQ(points.back(), c.back());
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_EQ(points[i].y, 0.0);
        EXPECT_GE(points[i].x, points[i - 1].x);
    }
}

struct BSplineCase {
    const char* name;
    int degree;
    std::vector<double> knots;
    std::vector<RealPoint> controls;
};

class BSplineTest : public ::testing::TestWithParam<BSplineCase> {};

TEST_P(BSplineTest, MatchesTheRecursiveBasis)
{
    const BSplineCase& c = GetParam();
    RecordingOutput out;
    // Declared counts that never choose Bezier pieces.
    ASSERT_EQ(flattenSpline(c.degree, static_cast<int>(c.knots.size()), 1, c.knots, c.controls, kDefault, out),
              CurveStatus::ok)
        << c.name;
    const std::vector<RealPoint> points = out.tested();
    ASSERT_GE(points.size(), 6u) << c.name;
    const std::size_t k = static_cast<std::size_t>(c.degree) + 1;
    const std::size_t n = c.controls.size() - 1;
    const double steps = stepsFor(c.controls);
    const double evaluations = static_cast<double>(points.size() - 2);
    EXPECT_TRUE(evaluations == steps || evaluations == steps + 1) << c.name;
    const double start = c.knots[k - 1];
    const double step = (c.knots[n + 1] - start) / steps;
    double t = start;
    for (std::size_t j = 1; j + 1 < points.size(); ++j) {
        RealPoint expected;
        for (std::size_t i = 0; i <= n; ++i) {
            const double b = basis(c.knots, i, k, t);
            expected.x += b * c.controls[i].x;
            expected.y += b * c.controls[i].y;
        }
        EXPECT_NEAR(points[j].x, expected.x, 1e-9) << c.name << " t=" << t;
        EXPECT_NEAR(points[j].y, expected.y, 1e-9) << c.name << " t=" << t;
        t += step;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Spline, BSplineTest,
    ::testing::Values(
        BSplineCase{"clamped cubic", 3, {0, 0, 0, 0, 1, 1, 1, 1}, {{0, 0}, {0, 10}, {10, 10}, {10, 0}}},
        BSplineCase{"quadratic, repeated inner knot",
                    2,
                    {0, 0, 0, 1, 1, 3, 4, 4, 4},
                    {{0, 0}, {5, 20}, {10, 0}, {15, 20}, {20, 0}, {25, 20}}},
        BSplineCase{"uniform cubic, unclamped",
                    3,
                    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                    {{0, 0}, {10, 30}, {20, -10}, {30, 40}, {40, 0}, {50, 10}}},
        BSplineCase{"linear", 1, {0, 0, 2, 5, 5}, {{0, 0}, {40, 40}, {80, 0}}},
        BSplineCase{"degree zero", 0, {0, 1, 2, 3}, {{0, 0}, {40, 0}, {40, 40}}},
        BSplineCase{"more knots than needed", 2, {0, 0, 0, 1, 1, 1, 7, 9, 11}, {{0, 0}, {30, 30}, {60, 0}}},
        // Unsorted knots are a broken file; the sum is still taken term by term without
        // dividing by an empty span.
        BSplineCase{"unsorted knots", 2, {0, 2, 1, 3, 2, 4}, {{0, 0}, {30, 30}, {60, 0}}}));

TEST(Spline, UnsortedKnotsWithEmptySpansStayFinite)
{
    RecordingOutput out;
    // N(0, 2) is non-zero on [0, 1) while knot[2] - knot[0] is 0.
    const std::vector<double> knots{0, 1, 0, 0, 1, 0, 1, 1};
    const std::vector<RealPoint> c{{0, 0}, {10, 10}, {20, 0}, {30, 10}};
    ASSERT_EQ(flattenSpline(3, 7, 4, knots, c, kDefault, out), CurveStatus::ok);
    ASSERT_GT(out.entries.size(), 2u);
    for (const RealPoint& p : out.tested()) {
        EXPECT_TRUE(std::isfinite(p.x));
        EXPECT_TRUE(std::isfinite(p.y));
    }
}

TEST(Spline, StepBelowTheKnotsPrecisionEnds)
{
    RecordingOutput out;
    // The step of 64 / 15 is below half the spacing of doubles near 10^17: t would never move.
    const std::vector<double> knots{1e17, 1e17, 1e17, 1e17, 1e17 + 64, 1e17 + 64, 1e17 + 64, 1e17 + 64};
    const std::vector<RealPoint> c{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    ASSERT_EQ(flattenSpline(3, 7, 4, knots, c, kDefault, out), CurveStatus::ok);
    EXPECT_LE(out.entries.size(), 18u);
}

struct SplineRefusal {
    const char* name;
    int degree;
    int knotCount;
    int controlCount;
    std::vector<double> knots;
    std::vector<RealPoint> controls;
    CurveStatus status;
};

class SplineRefusalTest : public ::testing::TestWithParam<SplineRefusal> {};

TEST_P(SplineRefusalTest, EmitsNothing)
{
    const SplineRefusal& c = GetParam();
    RecordingOutput out;
    EXPECT_EQ(flattenSpline(c.degree, c.knotCount, c.controlCount, c.knots, c.controls, kDefault, out), c.status)
        << c.name;
    EXPECT_TRUE(out.entries.empty()) << c.name;
}

const std::vector<RealPoint> kFour{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Spline, SplineRefusalTest,
    ::testing::Values(
        SplineRefusal{"one knot short", 3, 7, 4, {0, 0, 0, 0, 1, 1, 1}, kFour, CurveStatus::tooFewKnots},
        SplineRefusal{"declared enough, read too few", 3, 9, 4, {0, 0, 1}, kFour, CurveStatus::tooFewKnots},
        SplineRefusal{"no knots", 2, 0, 0, {}, {{1, 1}}, CurveStatus::tooFewKnots},
        SplineRefusal{"negative degree", -1, 4, 4, {0, 1, 2, 3}, kFour, CurveStatus::invalidInput},
        SplineRefusal{"NaN knot", 3, 9, 4, {0, 0, 0, 0, kNaN, 1, 1, 1}, kFour, CurveStatus::invalidInput},
        SplineRefusal{"NaN control point", 3, 8, 4, {0, 0, 0, 0, 1, 1, 1, 1},
                      {{0, 0}, {kNaN, 1}, {2, 2}, {3, 0}}, CurveStatus::invalidInput},
        SplineRefusal{"no control points", 3, 9, 0, {0, 0, 0, 0}, {}, CurveStatus::ok},
        SplineRefusal{"Bezier with three points", 3, 8, 4, {}, {{0, 0}, {1, 1}, {2, 0}}, CurveStatus::ok},
        SplineRefusal{"straight case with fewer points read", 3, 9, 4, {0, 0, 0}, {{0, 0}, {0, 0}},
                      CurveStatus::tooFewKnots},
        SplineRefusal{"huge polygon", 3, 9, 4, {0, 0, 0, 0, 1, 1, 1, 1},
                      {{0, 0}, {1e8, 0}, {1e8, 1e8}, {0, 1e8}}, CurveStatus::tooLarge}));

TEST(Spline, DegreeBeyondTheWorkLimitIsRefused)
{
    RecordingOutput out;
    const int degree = 20'000;
    std::vector<double> knots(static_cast<std::size_t>(degree) + 5);
    for (std::size_t i = 0; i < knots.size(); ++i)
        knots[i] = static_cast<double>(i);
    EXPECT_EQ(flattenSpline(degree, 9, 4, knots, kFour, kDefault, out), CurveStatus::tooLarge);
    EXPECT_TRUE(out.entries.empty());
}

}  // namespace
}  // namespace kerfline
