#include "config/number_text.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

struct FormatCase {
    double value;
    char separator;
    const char* text;
};

class FormatGeneralTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatGeneralTest, WritesUpToFifteenDigitsWithoutExponent)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(formatGeneral(c.value, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatGeneralTest,
    ::testing::Values(FormatCase{1000, '.', "1000"}, FormatCase{0.25, '.', "0.25"}, FormatCase{0.25, ',', "0,25"},
                      FormatCase{-12.5, ',', "-12,5"}, FormatCase{0.1 + 0.2, '.', "0.3"},
                      FormatCase{1.0 / 3.0, '.', "0.333333333333333"}, FormatCase{0, '.', "0"},
                      FormatCase{-0.0, '.', "0"}, FormatCase{123456789012345678.0, '.', "123456789012346000"},
                      // the reader stops at an exponent, so small numbers are written out
                      FormatCase{1.5e-7, '.', "0.00000015"}, FormatCase{-2e-5, ',', "-0,00002"}));

TEST(NumberText, ParseDecimalTakesEitherSeparator)
{
    EXPECT_EQ(parseDecimal("12.5"), 12.5);
    EXPECT_EQ(parseDecimal("12,5"), 12.5);
    EXPECT_EQ(parseDecimal("+3"), 3.0);
    EXPECT_EQ(parseDecimal("-0,0625"), -0.0625);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    EXPECT_EQ(parseDecimal("5."), 5.0);
    for (const char* bad : {"", "-", "+-1", "1-2", "1.2.3", "1,2.3", ".", "1e5", "12 5", "abc"})
        EXPECT_FALSE(parseDecimal(bad).has_value()) << bad;
}

TEST(NumberText, ParseIntegerStaysInThirtyTwoBits)
{
    EXPECT_EQ(parseInteger("-1"), -1);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "2147483648", "99999999999999999999", "1.0", "2x", " 1"})
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
}

TEST(NumberText, GroupedAndFixed)
{
    EXPECT_EQ(formatFixed(4000, 1, ','), "4000,0");
    EXPECT_EQ(formatFixed(-0.001, 2, '.'), "0.00");
    EXPECT_EQ(formatGrouped(1234567.891, 2, '.', ","), "1,234,567.89");
    EXPECT_EQ(formatGrouped(-1000, 2, ',', " "), "-1 000,00");
    EXPECT_EQ(formatGrouped(999.999, 2, '.', ","), "1,000.00");
    EXPECT_EQ(formatGrouped(5, 2, '.', ","), "5.00");
}

}  // namespace
}  // namespace kerfline
