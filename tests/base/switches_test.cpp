#include "base/switches.h"

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

TEST_P(SwitchValueTest, FindsTheFirstParameterOfTheFormNameQuotedValue)
{
    const ValuedCase& c = GetParam();
    SCOPED_TRACE(c.parameters.front() + " for " + c.name);
    EXPECT_EQ(CommandLine(c.parameters).SwitchValue(c.name), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchValueTest,
    ::testing::Values(
        ValuedCase{{"maxV'4000'"}, "maxV", std::string("4000")},
        ValuedCase{{"MAXV'12'"}, "maxV", std::string("12")},
        // the closing character may be anything: it is simply dropped
        ValuedCase{{"limitX'1200\""}, "limitX", std::string("1200")},
        ValuedCase{{"dataDir'/tmp/a b'"}, "dataDir", std::string("/tmp/a b")},
        ValuedCase{{"limitY'5'"}, "limitX", std::nullopt},
        // a parameter that only contains the name is not the switch: a design's path, text
        // before the name, a name followed by something else
        ValuedCase{{"/home/op/datadir/wing.dxf"}, "dataDir", std::nullopt},
        ValuedCase{{"/home/op/dataDir'x'/wing.dxf"}, "dataDir", std::nullopt},
        ValuedCase{{"xyzmaxV'4000'"}, "maxV", std::nullopt},
        ValuedCase{{"maxVX'4000'"}, "maxV", std::nullopt},
        ValuedCase{{"/designs/OnlyMachine.dxf"}, "OnlyMachine", std::nullopt},
        // without a quoted value there is no switch, and a later parameter may still be it
        ValuedCase{{"maxV", "maxV'5'"}, "maxV", std::string("5")},
        ValuedCase{{"OnlyMachine'"}, "OnlyMachine", std::nullopt},
        ValuedCase{{"OnlyMachine''"}, "OnlyMachine", std::nullopt},
        ValuedCase{{"dataDir'"}, "dataDir", std::nullopt},
        ValuedCase{{"/work/datadir/a.plt", "DATADIR'/srv/k'"}, "dataDir", std::string("/srv/k")}));

TEST(Switches, FirstParameterTestIsExact)
{
    EXPECT_TRUE(CommandLine({"test", "x"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine({"TEST"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine({"x", "test"}).firstParameterIs("test"));
    EXPECT_FALSE(CommandLine().firstParameterIs("test"));
}

}  // namespace
}  // namespace kerfline
