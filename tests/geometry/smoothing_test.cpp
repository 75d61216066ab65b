#include "geometry/smoothing.h"

#include "geometry/recording_output.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace kerfline {
namespace {

using testing::RecordingOutput;

const CurveSettings kDefault{};

struct CubicCase {
    const char* name;
    RealPoint w[4];
};

class InterpolatingCubicTest : public ::testing::TestWithParam<CubicCase> {};

TEST_P(InterpolatingCubicTest, PassesThroughItsPointsAtTheirChordParameters)
{
    const CubicCase& c = GetParam();
    const InterpolatingCubic cubic(c.w[0], c.w[1], c.w[2], c.w[3]);
    EXPECT_EQ(cubic.tau(0), 0.0);
    EXPECT_EQ(cubic.tau(3), 1.0);
    for (int i = 0; i < 4; ++i) {
        const RealPoint p = cubic.at(cubic.tau(i));
        EXPECT_NEAR(p.x, c.w[i].x, 1e-9) << c.name << " point " << i;
        EXPECT_NEAR(p.y, c.w[i].y, 1e-9) << c.name << " point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Smoothing, InterpolatingCubicTest,
    ::testing::Values(CubicCase{"curved", {{0, 0}, {10, 5}, {20, -3}, {35, 10}}},
                      CubicCase{"straight", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}},
                      CubicCase{"turning back", {{0, 0}, {10, 10}, {0, 20}, {-10, 10}}}));

TEST(InterpolatingCubic, CoincidingPointsGiveTheConstantCurve)
{
    // W2 = W3 makes tau2 = 1 and the system singular: the curve stays at W0.
    const InterpolatingCubic cubic({1, 2}, {10, 5}, {20, -3}, {20, -3});
    EXPECT_EQ(cubic.tau(2), 1.0);
    EXPECT_EQ(cubic.at(0.5), (RealPoint{1, 2}));
    const InterpolatingCubic still({4, 4}, {4, 4}, {4, 4}, {4, 4});
    EXPECT_EQ(still.at(0.7), (RealPoint{4, 4}));
}

std::vector<RealPoint> polygon(std::size_t n)
{
    std::vector<RealPoint> v;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = 2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n);
        v.push_back({50.0 * std::cos(a), 50.0 * std::sin(a)});
    }
    return v;
}

// The order of the outputs as text: the index of each vertex on the tested output, '~' for a
// run of plain points.
std::string shape(const RecordingOutput& out, const std::vector<RealPoint>& v)
{
    std::string result;
    for (const RecordingOutput::Entry& e : out.entries) {
        if (!e.tested) {
            if (result.empty() || result.back() != '~')
                result += '~';
            continue;
        }
        std::size_t i = 0;
        while (i < v.size() && !(v[i] == e.point))
            ++i;
        result += i < v.size() ? static_cast<char>('0' + i) : '?';
    }
    return result;
}

struct ShapeCase {
    std::size_t n;
    bool closed;
    const char* shape;
};

class SmoothVerticesTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(SmoothVerticesTest, EmitsVerticesAndPiecesInOrder)
{
    const ShapeCase& c = GetParam();
    const std::vector<RealPoint> v = polygon(c.n);
    RecordingOutput out;
    ASSERT_EQ(smoothVertices(v, c.closed, kDefault, out), CurveStatus::ok);
    EXPECT_EQ(shape(out, v), c.shape);
    // Each piece continues where the last one ended: no gap near a polygon side (38 mm and
    // more), except the straight closing side of a closed list of four.
    const std::vector<RealPoint> points = out.points();
    const std::size_t gaps = c.n == 4 && c.closed ? points.size() - 2 : points.size() - 1;
    for (std::size_t i = 0; i < gaps; ++i)
        EXPECT_LT(std::hypot(points[i + 1].x - points[i].x, points[i + 1].y - points[i].y), 15.0) << i;
}

INSTANTIATE_TEST_SUITE_P(Smoothing, SmoothVerticesTest,
                         ::testing::Values(ShapeCase{4, false, "0~3"}, ShapeCase{4, true, "0~0"},
                                           ShapeCase{5, false, "0~4"}, ShapeCase{5, true, "0~3~0"},
                                           ShapeCase{6, false, "0~3~5"}, ShapeCase{6, true, "0~3~4~0"},
                                           ShapeCase{8, false, "0~3~4~5~7"}));

struct SpacingCase {
    double mmPerUnit;
    double spacing;  // in drawing units
};

class SmoothingStepTest : public ::testing::TestWithParam<SpacingCase> {};

// Evenly spaced points on a line give x(t) = 30 t, so the plain points show the step.
TEST_P(SmoothingStepTest, StepsFollowTheLengthInMillimetres)
{
    const SpacingCase& c = GetParam();
    const std::vector<RealPoint> v{{0, 0}, {10, 0}, {20, 0}, {30, 0}};
    RecordingOutput out;
    ASSERT_EQ(smoothVertices(v, false, {2.0, c.mmPerUnit}, out), CurveStatus::ok);
    const std::vector<RealPoint> plain = out.plain();
    const auto expected = static_cast<std::size_t>(30.0 / c.spacing);
    ASSERT_GE(plain.size(), expected - 1);
    ASSERT_LE(plain.size(), expected);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(plain[i].x, c.spacing * static_cast<double>(i + 1), 1e-9);
        EXPECT_NEAR(plain[i].y, 0.0, 1e-9);
    }
}

// 30 mm: max(2, min(5, 30 / 48)) = 2 mm. 30 inches = 762 mm: 762 / 48 is above 5, so 5 mm.
INSTANTIATE_TEST_SUITE_P(Smoothing, SmoothingStepTest,
                         ::testing::Values(SpacingCase{1.0, 2.0}, SpacingCase{25.4, 5.0 / 25.4}));

TEST(SmoothVertices, ShortPieceStaysStraight)
{
    // Chords of 1.66 mm in total, not more than the 2 mm step.
    const std::vector<RealPoint> v{{0, 0}, {0.5, 0}, {1, 0.3}, {1.5, 0}};
    RecordingOutput out;
    ASSERT_EQ(smoothVertices(v, false, kDefault, out), CurveStatus::ok);
    EXPECT_EQ(shape(out, v), "03");
}

TEST(SmoothVertices, CoincidentPointsGiveNoPointsBetween)
{
    const std::vector<RealPoint> v(4, RealPoint{7, 7});
    RecordingOutput out;
    ASSERT_EQ(smoothVertices(v, false, kDefault, out), CurveStatus::ok);
    EXPECT_TRUE(out.plain().empty());
}

TEST(SmoothVertices, RefusesWhatItCannotSmooth)
{
    RecordingOutput out;
    EXPECT_EQ(smoothVertices(polygon(3), false, kDefault, out), CurveStatus::invalidInput);
    std::vector<RealPoint> broken = polygon(5);
    broken[2].y = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(smoothVertices(broken, true, kDefault, out), CurveStatus::invalidInput);
    const std::vector<RealPoint> huge{{0, 0}, {1e9, 0}, {1e9, 1e9}, {0, 1e9}};
    EXPECT_EQ(smoothVertices(huge, false, kDefault, out), CurveStatus::tooLarge);
    EXPECT_TRUE(out.entries.empty());
}

}  // namespace
}  // namespace kerfline
