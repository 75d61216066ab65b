#include "config/configuration.h"
#include "config/cutting_mode.h"
#include "config/power_rules.h"
#include "machine/machine_state.h"
#include "base/switches.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

struct Model {
    explicit Model(std::vector<std::string> switches = {}) : commandLine(std::move(switches)) {}
    MachineState machine;
    CommandLine commandLine;
    Configuration config{machine, commandLine};
};

TEST(Configuration, StartsWithTheDefaultsOfTheTable)
{
    Model m;
    const Configuration& c = m.config;
    EXPECT_EQ(c.choice(Param::Mode), 0);
    EXPECT_EQ(c.choice(Param::CatDir), 2);
    EXPECT_EQ(c.number(Param::work_power), 1.0);
    EXPECT_EQ(c.check(Param::dopasujKierunek), CheckState::cbChecked);
    EXPECT_EQ(c.check(Param::AutoSave), CheckState::cbUnchecked);
    EXPECT_EQ(c.number(Param::Ywrzeciona), 730);
    EXPECT_EQ(c.number(Param::fuPlt_accuracy), 0.25);
    EXPECT_EQ(c.position(Param::sbRozdzKrzywychDXF), 1);
    EXPECT_EQ(c.choice(Param::rgPredkoscTokarki), -1);
    EXPECT_FALSE(c.radio(Param::rbZmiennaPredkosc));
    EXPECT_FALSE(c.radio(Param::rbStalaPredkosc));
    EXPECT_EQ(c.maximum(Param::szybkoscObrobki), 5000);
    EXPECT_EQ(c.maximum(Param::work_power), 100);
    EXPECT_EQ(c.choiceCount(Param::Mode), 6);
    EXPECT_EQ(c.displayUnit, 0);
    EXPECT_EQ(c.joinTolerance, 10.0);
    EXPECT_EQ(c.dxfCurveStep, 2.0);
    EXPECT_FALSE(c.modeChanged || c.powerOutputPending || c.calibrationChanged || c.loadingConfig);
}

struct ClampCase {
    Param param;
    double set;
    double expected;
};

class ClampTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampTest, ValuesAreClampedToTheirRange)
{
    Model m;
    m.config.setRaw(GetParam().param, GetParam().set);
    EXPECT_EQ(m.config.raw(GetParam().param), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, ClampTest,
    ::testing::Values(ClampCase{Param::szybkoscObrobki, 9000, 5000}, ClampCase{Param::PrzeSpeed, 19.9, 20},
                      ClampCase{Param::Srednicamaterialu, 5000, 4000}, ClampCase{Param::Xwrzeciona, -1000.5, -1000},
                      ClampCase{Param::work_power, 150, 100}, ClampCase{Param::skala, 0, 1},
                      ClampCase{Param::feKalibracjaY, 7, 5}, ClampCase{Param::fuPlt_accuracy, 0.01, 0.05},
                      ClampCase{Param::StolikSwitch, 7, 2}, ClampCase{Param::StolikSwitch, -5, -1},
                      ClampCase{Param::Mode, 9, 5}, ClampCase{Param::rgPredkoscTokarki, 3, -1},
                      ClampCase{Param::sbRozdzKrzywychDXF, 0, 1}, ClampCase{Param::sbWspSymulacji, 61, 60},
                      ClampCase{Param::Heavy, 2, 2}, ClampCase{Param::Heavy, 5, 0},
                      ClampCase{Param::rbStalaPredkosc, -1, 1}));

TEST(Configuration, SpeedMaximaFollowTheMachineAndLowerTheValue)
{
    Model m;
    m.config.setNumber(Param::szybkoscObrobki, 4000);
    m.machine.maxWorkSpeed = 1500;
    m.machine.maxTravelSpeed = 3000;
    m.config.applySpeedMaxima();
    EXPECT_EQ(m.config.maximum(Param::szybkoscObrobki), 1500);
    EXPECT_EQ(m.config.number(Param::szybkoscObrobki), 1500);
    EXPECT_EQ(m.config.maximum(Param::PrzeSpeed), 3000);
    EXPECT_EQ(m.config.number(Param::PrzeSpeed), 1000);
}

TEST(Configuration, ChangesReactLikeTheOperatorsEdits)
{
    Model m;
    Configuration& c = m.config;
    std::vector<Param> told;
    c.changed = [&](Param p) { told.push_back(p); };

    c.setChoice(Param::Mode, 0);  // unchanged: no reaction
    c.setNumber(Param::feKalibracjaX, 0);
    EXPECT_FALSE(c.modeChanged || c.calibrationChanged);
    EXPECT_TRUE(told.empty());

    c.setNumber(Param::feKalibracjaY, -2);
    EXPECT_TRUE(c.calibrationChanged);
    c.setChoice(Param::radiounit, 2);
    EXPECT_EQ(c.displayUnit, 2);
    c.rotarySettingsChanged = false;
    c.setChoice(Param::KierunekObrotow, 1);
    EXPECT_TRUE(c.rotarySettingsChanged);
    c.setChoice(Param::PowerOutput, 1);
    EXPECT_TRUE(c.powerOutputPending);
    EXPECT_EQ(c.maximum(Param::work_power), 12.0);

    c.setChoice(Param::Mode, 2);  // serial cutting forces its settings
    EXPECT_TRUE(c.modeChanged);
    EXPECT_EQ(c.choice(Param::CatDir), 2);
    EXPECT_EQ(c.choice(Param::StolikSwitch), 1);
    EXPECT_EQ(c.choice(Param::PowerOutput), 0);
    EXPECT_EQ(c.maximum(Param::work_power), 4.0);
    EXPECT_NE(std::find(told.begin(), told.end(), Param::StolikSwitch), told.end());
}

// The power field clamps what the operator types to the range it knows: a new maximum must
// reach it also when the power itself stays.
TEST(Configuration, ARangeChangeIsToldEvenWhenTheValueStays)
{
    Model m;
    Configuration& c = m.config;
    m.machine.setProduct("Qd 1200");
    c.activate();
    c.setNumber(Param::work_power, 2);
    std::vector<Param> told;
    c.changed = [&](Param p) { told.push_back(p); };

    c.setChoice(Param::PowerOutput, 1);
    EXPECT_EQ(c.maximum(Param::work_power), 12.0);
    EXPECT_EQ(c.number(Param::work_power), 2);
    EXPECT_NE(std::find(told.begin(), told.end(), Param::work_power), told.end());

    told.clear();
    c.setChoice(Param::PowerOutput, 0);
    EXPECT_EQ(c.maximum(Param::work_power), 4.0);
    EXPECT_NE(std::find(told.begin(), told.end(), Param::work_power), told.end());

    // the same range again is no news
    told.clear();
    c.applyPowerMaximum();
    c.applySpeedMaxima();
    EXPECT_TRUE(told.empty());
}

TEST(Configuration, TheTwoLatheSpeedButtonsExcludeEachOther)
{
    Model m;
    m.config.setRadio(Param::rbZmiennaPredkosc, true);
    m.config.setRadio(Param::rbStalaPredkosc, true);
    EXPECT_FALSE(m.config.radio(Param::rbZmiennaPredkosc));
    m.config.setRadio(Param::rbStalaPredkosc, false);  // unchecking leaves the other alone
    EXPECT_FALSE(m.config.radio(Param::rbZmiennaPredkosc));
    m.config.updateConstantLatheSpeed();
    EXPECT_TRUE(m.config.constantLatheSpeed);
}

TEST(Configuration, DerivedValues)
{
    Model m;
    Configuration& c = m.config;
    for (const auto& [accuracy, tolerance] : {std::pair{0.1, 4.0}, {0.0625, 2.0}, {0.05, 2.0}, {0.25, 10.0}}) {
        c.setNumber(Param::fuPlt_accuracy, accuracy);
        c.updateJoinToleranceAndCurveStep();
        EXPECT_EQ(c.joinTolerance, tolerance) << accuracy;  // Round(2.5) = 2
    }
    for (const auto& [position, step] : {std::pair{1, 2.0}, {8, 0.25}, {4, 1.25}}) {
        c.setPosition(Param::sbRozdzKrzywychDXF, position);
        c.updateJoinToleranceAndCurveStep();
        EXPECT_EQ(c.dxfCurveStep, step) << position;
    }
}

struct ModeListCase {
    const char* product;
    bool showAll;
    int count;
    int modeAfter;  // Mode was 5
};

class ModeListTest : public ::testing::TestWithParam<ModeListCase> {};

TEST_P(ModeListTest, ActivationShortensTheListForTheMachine)
{
    const ModeListCase& c = GetParam();
    Model m(c.showAll ? std::vector<std::string>{"SHOWALL"} : std::vector<std::string>{});
    m.machine.setProduct(c.product);
    m.config.setChoice(Param::Mode, 5);
    m.config.activate();
    EXPECT_EQ(m.config.choiceCount(Param::Mode), c.count);
    EXPECT_EQ(m.config.choice(Param::Mode), c.modeAfter);
}

INSTANTIATE_TEST_SUITE_P(Machines, ModeListTest,
                         ::testing::Values(ModeListCase{"Z740    ", false, 4, 3}, ModeListCase{"Z740    ", true, 5, 4},
                                           ModeListCase{"Qd 1200", false, 5, 4}, ModeListCase{"Qm 800", false, 5, 4},
                                           ModeListCase{"Pr 2000", false, 6, 5}));

TEST(Configuration, RemovedModesStayRemoved)
{
    Model m;
    m.config.activate();
    EXPECT_EQ(m.config.choiceCount(Param::Mode), 4);
    m.machine.setProduct("Pr 2000");
    m.config.activate();
    EXPECT_EQ(m.config.choiceCount(Param::Mode), 4);
}

struct PowerCase {
    const char* product;
    double fcWidth;
    bool percent;
    bool fullPower;
    int powerOutput;
    double maximum;
    const char* label;
};

class PowerMaximumTest : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerMaximumTest, FollowsOutputAndMachine)
{
    const PowerCase& c = GetParam();
    Model m(c.fullPower ? std::vector<std::string>{"fullPower"} : std::vector<std::string>{});
    m.machine.setProduct(c.product);
    m.machine.fcWidth = c.fcWidth;
    m.machine.reportsPowerInPercent = c.percent;
    m.config.setNumber(Param::work_power, 50);
    m.config.setChoice(Param::PowerOutput, c.powerOutput);
    m.config.applyPowerMaximum();
    EXPECT_EQ(m.config.maximum(Param::work_power), c.maximum);
    EXPECT_STREQ(m.config.powerUnitLabel(), c.label);
    EXPECT_EQ(m.config.number(Param::work_power), std::min(50.0, c.maximum));
}

INSTANTIATE_TEST_SUITE_P(
    Machines, PowerMaximumTest,
    ::testing::Values(PowerCase{"KK46", 600, false, false, 0, 1.0, "[A]"},
                      PowerCase{"KK46", 600, false, true, 0, 4.0, "[A]"},
                      PowerCase{"GV 3000", 2000, false, false, 0, 8.0, "[A]"},
                      PowerCase{"GV 3000", 1999, false, false, 0, 4.0, "[A]"},
                      PowerCase{"BV 2000m", 600, true, false, 0, 100.0, "[%]"},
                      PowerCase{"Qd 1200", 600, false, false, 0, 4.0, "[A]"},
                      PowerCase{"BV 2000m", 600, true, false, 1, 100.0, "[%]"},
                      PowerCase{"KK46", 600, false, false, 1, 12.0, "[A]"}));

TEST(Configuration, PowerMinimumOfOldPowerLimitedFirmware)
{
    struct Case {
        const char* product;
        int major, minor;
        double set, expected;
    };
    for (const Case& c : {Case{"N45", 3, 4, 0.5, 0.8}, Case{"N45", 3, 4, 0.0, 0.0}, Case{"N45", 3, 4, 0.8, 0.8},
                          Case{"N45", 3, 4, 0.9, 0.9}, Case{"N45", 3, 5, 0.5, 0.5}, Case{"Qd 1200", 3, 4, 0.5, 0.5}}) {
        Model m;
        m.machine.setProduct(c.product);
        m.machine.versionMajor = static_cast<std::uint16_t>(c.major);
        m.machine.versionMinor = static_cast<std::uint16_t>(c.minor);
        m.config.setNumber(Param::work_power, 0.7);  // a change, so that 0.5 below is one too
        m.config.setNumber(Param::work_power, c.set);
        EXPECT_EQ(m.config.number(Param::work_power), c.expected) << c.product << " " << c.set;
    }
}

TEST(CuttingMode, OutputKindFromModeAndRotaryDevice)
{
    struct Case {
        int mode, stolik;
        bool axisFound;
        int kind;
    };
    for (const Case& c : {Case{0, 0, false, 32}, Case{1, 0, true, 31}, Case{1, 0, false, 311}, Case{1, 1, false, 311},
                          Case{2, 1, false, 33}, Case{2, 0, false, 31}, Case{2, 2, false, 31}, Case{3, 0, false, 30},
                          Case{3, 1, false, 301}, Case{3, 2, false, 32}, Case{4, 1, false, 32}, Case{5, 0, false, 32},
                          Case{-1, 0, false, 0}, Case{3, -1, false, 0}})
        EXPECT_EQ(static_cast<int>(cutOutputKind(c.mode, c.stolik, c.axisFound)), c.kind) << c.mode << "/" << c.stolik;
}

}  // namespace
}  // namespace kerfline
