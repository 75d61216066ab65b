#include "geometry/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kerfline {
namespace {

struct MmCase {
    double mm;
    std::int32_t units;
};

class MmToUnitsTest : public ::testing::TestWithParam<MmCase> {};

TEST_P(MmToUnitsTest, RoundsHalfToEven)
{
    EXPECT_EQ(mmToUnits(GetParam().mm), GetParam().units) << GetParam().mm;
}

// 0.0625 and 0.1875 are exact ties; 0.0125, 0.0375, 0.0875 and 0.1125 are not exact in binary,
// but they are halves as the operator types them, and they round as halves.
INSTANTIATE_TEST_SUITE_P(Geometry, MmToUnitsTest,
                         ::testing::Values(MmCase{0.0625, 2}, MmCase{0.1875, 8}, MmCase{-0.0625, -2},
                                           MmCase{0.0125, 0}, MmCase{-0.0125, 0}, MmCase{0.0375, 2},
                                           MmCase{0.0875, 4}, MmCase{0.1125, 4}, MmCase{0.25, 10},
                                           MmCase{1.0, 40}, MmCase{-12.3, -492},
                                           MmCase{1e12, std::numeric_limits<std::int32_t>::max()}));

TEST(Geometry, UnitsToMmIsAFortiethOfAMillimetre)
{
    EXPECT_DOUBLE_EQ(unitsToMm(1), 0.025);
    EXPECT_DOUBLE_EQ(unitsToMm(-400), -10.0);
}

TEST(Geometry, ScaleRoundsHalfToEven)
{
    EXPECT_EQ(scaleUnits(5, 50), 2);
    EXPECT_EQ(scaleUnits(7, 50), 4);
    EXPECT_EQ(scaleUnits(400, 250), 1000);
}

TEST(Geometry, NearPointIsStrictInBothCoordinates)
{
    EXPECT_TRUE(nearPoint({0, 0}, {9, -9}, 10));
    EXPECT_FALSE(nearPoint({0, 0}, {10, 0}, 10));
    EXPECT_FALSE(nearPoint({0, 0}, {0, -10}, 10));
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    EXPECT_FALSE(nearPoint({kMin, 0}, {kMax, 0}, 10));
}

TEST(Geometry, CoincidentMeansEqualIntegers)
{
    EXPECT_TRUE(coincident({3, -4}, {3, -4}));
    EXPECT_FALSE(coincident({3, -4}, {3, -3}));
}

TEST(Geometry, DistanceSquaredIsExactBeyondDoublePrecision)
{
    EXPECT_EQ(distanceSquared({0, 0}, {3, 4}), 25);
    // 3037000499^2 needs 63 bits; a double would lose the last digits.
    EXPECT_EQ(distanceSquared({-1518500250, 0}, {1518500249, 0}), 9223372030926249001);
    EXPECT_EQ(distanceSquared({-2147483647, -2147483647}, {2147483647, 2147483647}),
              std::numeric_limits<std::int64_t>::max());
}

TEST(Geometry, DistancesDoNotOverflowOnExtremeCoordinates)
{
    EXPECT_DOUBLE_EQ(distance({-2147483647, 0}, {2147483647, 0}), 4294967294.0);
    EXPECT_DOUBLE_EQ(distance3D(Point3{0, 0, 0}, Point3{2, 3, 6}), 7.0);
    EXPECT_DOUBLE_EQ(length3D(2.0, 3.0, 6.0), 7.0);
}

struct CosineCase {
    Point3 a, b, c;
    double cosine;
};

class TurnCosineTest : public ::testing::TestWithParam<CosineCase> {};

TEST_P(TurnCosineTest, MeasuresTheChangeOfDirection)
{
    const CosineCase& c = GetParam();
    EXPECT_NEAR(turnCosine(c.a, c.b, c.c), c.cosine, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, TurnCosineTest,
    ::testing::Values(CosineCase{{0, 0, 0}, {10, 0, 0}, {25, 0, 0}, 1.0},     // straight on
                      CosineCase{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, 0.0},    // square corner
                      CosineCase{{0, 0, 0}, {10, 0, 0}, {0, 0, 0}, -1.0},     // reversal
                      CosineCase{{0, 0, 0}, {0, 0, 0}, {10, 7, 3}, 1.0},      // no first leg
                      CosineCase{{0, 0, 0}, {5, 5, 5}, {5, 5, 5}, 1.0},       // no second leg
                      CosineCase{{0, 0, 0}, {0, 0, 10}, {0, 10, 10}, 0.0}));  // corner in 3-D

TEST(Geometry, FactorialPowerAndBinomial)
{
    EXPECT_EQ(factorial(-3), 1.0);
    EXPECT_EQ(factorial(1), 1.0);
    EXPECT_EQ(factorial(5), 120.0);
    EXPECT_TRUE(std::isinf(factorial(std::numeric_limits<int>::max())));
    EXPECT_EQ(powerOf(0, 7.0), 1.0);
    EXPECT_EQ(powerOf(3, -2.0), -8.0);
    EXPECT_EQ(powerOf(-1, 2.0), 1.0);
    EXPECT_EQ(binomial(3, 0), 1.0);
    EXPECT_EQ(binomial(3, 1), 3.0);
    EXPECT_EQ(binomial(3, 2), 3.0);
    EXPECT_EQ(binomial(3, 3), 1.0);
    EXPECT_EQ(binomial(10, 4), 210.0);
}

TEST(Geometry, IsMultipleOfUsesTruncatingDivision)
{
    EXPECT_TRUE(isMultipleOf(12, 4));
    EXPECT_FALSE(isMultipleOf(13, 4));
    EXPECT_TRUE(isMultipleOf(-8, 4));
    EXPECT_FALSE(isMultipleOf(-9, 4));
    EXPECT_TRUE(isMultipleOf(0, 0));
    EXPECT_FALSE(isMultipleOf(5, 0));
    EXPECT_TRUE(isMultipleOf(std::numeric_limits<std::int32_t>::min(), -1));
}

}  // namespace
}  // namespace kerfline
