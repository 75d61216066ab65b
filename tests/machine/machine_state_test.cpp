#include "machine/machine_state.h"

#include "base/switches.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

TEST(MachineState, BeforeAnyControllerEveryPredicateIsFalse)
{
    const MachineState m;
    EXPECT_EQ(m.product, "Z740    ");
    EXPECT_EQ(m.familyCode, "Z7");
    EXPECT_EQ(m.limitX, 4800);
    EXPECT_EQ(m.maxTravelSpeed, 5000);
    EXPECT_EQ(m.maxWorkSpeed, 5000);
    EXPECT_TRUE(m.KeyFront && m.KeyBack);
    EXPECT_EQ(m.powerScale, 1);
    EXPECT_FALSE(m.reportsPowerInPercent);
    EXPECT_FALSE(m.newPowerFormat());
    EXPECT_FALSE(m.tableOnSpindleAxis());
    EXPECT_FALSE(m.isPowerLimitedModel(CommandLine()));
    EXPECT_FALSE(m.isWideHeavyMachine());
    EXPECT_FALSE(m.homesRotaryAxis());
    EXPECT_FALSE(m.beginsWithProductLineLetter());
    EXPECT_FALSE(m.isTwoWireMachine());
}

TEST(MachineState, StatusFlagsAreBoundToTheirBits)
{
    MachineState m;
    m.statusFlags = (1u << 0) | (1u << 6) | (1u << 18) | (1u << 20);
    EXPECT_TRUE(m.busy());
    EXPECT_TRUE(m.paused());
    EXPECT_TRUE(m.homed());
    EXPECT_TRUE(m.waitingForGo());
    EXPECT_FALSE(m.programRunning());
    EXPECT_FALSE(m.wireBreak());

    const std::pair<StatusFlag, int> bits[] = {
        {StatusFlag::busy, 0},          {StatusFlag::programRunning, 1}, {StatusFlag::heatingOn, 2},
        {StatusFlag::paused, 6},        {StatusFlag::bufferFull, 9},     {StatusFlag::startRequest, 11},
        {StatusFlag::stopRequest, 12},  {StatusFlag::continueRequest, 13}, {StatusFlag::homed, 18},
        {StatusFlag::wireBreak, 19},    {StatusFlag::waitingForGo, 20}};
    for (const auto& [flag, bit] : bits) {
        m.statusFlags = 1u << bit;
        EXPECT_TRUE(m.has(flag)) << bit;
        m.statusFlags = ~(1u << bit);
        EXPECT_FALSE(m.has(flag)) << bit;
    }
}

struct ProductCase {
    const char* product;
    bool tableOnSpindleAxis;
    bool powerLimited;
    bool homesRotaryAxis;
    bool productLine;
};

class ProductPredicates : public ::testing::TestWithParam<ProductCase> {};

TEST_P(ProductPredicates, FollowTheProductString)
{
    const ProductCase& c = GetParam();
    MachineState m;
    m.setProduct(c.product);
    EXPECT_EQ(m.tableOnSpindleAxis(), c.tableOnSpindleAxis);
    EXPECT_EQ(m.isPowerLimitedModel(CommandLine()), c.powerLimited);
    EXPECT_EQ(m.homesRotaryAxis(), c.homesRotaryAxis);
    EXPECT_EQ(m.beginsWithProductLineLetter(), c.productLine);
    // lifting the limit is a switch, whatever the model
    EXPECT_FALSE(m.isPowerLimitedModel(CommandLine({"FULLPOWER"})));
}

INSTANTIATE_TEST_SUITE_P(
    Products, ProductPredicates,
    ::testing::Values(ProductCase{"N45 100", true, true, true, false},
                      ProductCase{"n 45", true, true, true, false},     // upper-cased; lower-case first letter
                      ProductCase{"KK45", true, true, false, false},
                      ProductCase{"kk 45 x", true, true, true, false},
                      ProductCase{"KK46", false, true, false, false},   // limited, but no table on the spindle
                      ProductCase{"KK 46", false, true, false, false},
                      ProductCase{"KK4", false, false, false, false},
                      ProductCase{"N4 5", false, false, true, false},   // N homes the rotary axis
                      ProductCase{"bv 2000m", false, false, true, false},
                      ProductCase{"BV 2000m", false, false, false, false},
                      ProductCase{"Qd 1200", false, false, true, true},
                      ProductCase{"Qm 800", false, false, true, true},
                      ProductCase{"Pr 2000", false, false, true, true},
                      ProductCase{"QD 1200", false, false, false, false},  // the families are case-sensitive
                      ProductCase{"", false, false, false, false}));

TEST(MachineState, SetProductKeepsTheFamilyCode)
{
    MachineState m;
    m.setProduct("Pr 2000");
    EXPECT_EQ(m.familyCode, "Pr");
    EXPECT_TRUE(m.isTwoWireMachine());
    m.setProduct("Q");
    EXPECT_EQ(m.familyCode, "Q");
}

TEST(MachineState, WideHeavyMachineNeedsTheFamilyAndTwoMetres)
{
    MachineState m;
    m.setProduct("gv 3000");
    m.fcWidth = 1999.9;
    EXPECT_FALSE(m.isWideHeavyMachine());
    m.fcWidth = 2000.0;  // not strict
    EXPECT_TRUE(m.isWideHeavyMachine());
    m.setProduct("QM 3000");
    EXPECT_TRUE(m.isWideHeavyMachine());
    m.setProduct("Qd 3000");
    EXPECT_FALSE(m.isWideHeavyMachine());
}

TEST(MachineState, NewPowerFormatIsFirmwareFourToNineWithoutPercent)
{
    MachineState m;
    for (const auto& [major, expected] : {std::pair{3, false}, {4, true}, {9, true}, {10, false}}) {
        m.versionMajor = static_cast<std::uint16_t>(major);
        EXPECT_EQ(m.newPowerFormat(), expected) << major;
    }
    m.versionMajor = 5;
    m.reportsPowerInPercent = true;
    EXPECT_FALSE(m.newPowerFormat());
    m.versionMajor = 3;
    m.versionMinor = 4;
    EXPECT_EQ(m.firmwareVersion(), 34);
}

}  // namespace
}  // namespace kerfline
