#include "shell/switches.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

TEST(Switches, PlainSwitchMatchesWholeParameterIgnoringCase)
{
    const CommandLine line({"FULLPOWER", "fullPowerX", "REPEAT"});
    EXPECT_TRUE(line.HasSwitch("fullPower"));
    EXPECT_TRUE(line.HasSwitch("repeat"));
    EXPECT_FALSE(CommandLine({"fullPowerX"}).HasSwitch("fullPower"));
}

struct ValuedCase {
    std::vector<std::string> parameters;
    const char* name;
    std::optional<std::string> value;
};

class SwitchValueTest : public ::testing::TestWithParam<ValuedCase> {};

TEST_P(SwitchValueTest, FindsTheFirstParameterContainingTheName)
{
    const ValuedCase& c = GetParam();
    EXPECT_EQ(CommandLine(c.parameters).SwitchValue(c.name), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchValueTest,
    ::testing::Values(
        ValuedCase{{"xyzmaxV'4000'"}, "maxV", std::string("4000")},
        ValuedCase{{"MAXV'12'"}, "maxV", std::string("12")},
        // the closing character may be anything: it is simply dropped
        ValuedCase{{"limitX'1200\""}, "limitX", std::string("1200")},
        ValuedCase{{"dataDir'/tmp/a b'"}, "dataDir", std::string("/tmp/a b")},
        // the first parameter that contains the name wins, even without a value
        ValuedCase{{"maxV", "maxV'5'"}, "maxV", std::string()},
        ValuedCase{{"limitY'5'"}, "limitX", std::nullopt},
        ValuedCase{{"OnlyMachine'"}, "OnlyMachine", std::string()}));

TEST(Switches, FirstParameterTestIsExact)
{
    EXPECT_TRUE(CommandLine({"test", "x"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine({"TEST"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine({"x", "test"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine().firstParameterIs("test"));
}

}  // namespace
}  // namespace kerfline
