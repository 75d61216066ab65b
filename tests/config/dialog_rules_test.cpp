#include "config/dialog_rules.h"

#include "config_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kerfline {
namespace {

using testing::ConfigContext;

std::optional<bool> at(const EnableChanges& e, Control c)
{
    return e[static_cast<std::size_t>(c)];
}

// One row per mode: the controls whose state differs between the modes, and the forced values.
struct ModeRow {
    int mode;
    std::optional<bool> catDir, diameter, toolY, travel, wstrzymaj, kierunek, steps, heavy, stolik, powerOutput,
        moveAfter, serialTab;
    std::optional<int> forcedCatDir, forcedStolik, forcedPowerOutput;
    bool uncheckMoveAfter;
    int hint;
};

class UpdateEnabledTest : public ::testing::TestWithParam<ModeRow> {};

TEST_P(UpdateEnabledTest, EnablesAndForcesByMode)
{
    const ModeRow& r = GetParam();
    const EnableRules rules = UpdateEnabled(r.mode, /*catDir*/ 1, /*stolikSwitch*/ 0);
    const EnableChanges& e = rules.enabled;
    EXPECT_EQ(at(e, Control::CatDir), r.catDir);
    EXPECT_EQ(at(e, Control::Srednicamaterialu), r.diameter);
    EXPECT_EQ(at(e, Control::Labelsrednicaunit), r.diameter);
    EXPECT_EQ(at(e, Control::Ynarzedzia), r.toolY);
    EXPECT_EQ(at(e, Control::LabelXnarzedzia), r.toolY);
    EXPECT_EQ(at(e, Control::PrzeSpeed), r.travel);
    EXPECT_EQ(at(e, Control::Labelprzespeed), r.travel);
    EXPECT_EQ(at(e, Control::Wstrzymaj), r.wstrzymaj);
    EXPECT_EQ(at(e, Control::KierunekObrotow), r.kierunek);
    EXPECT_EQ(at(e, Control::ilosckrokow), r.steps);
    EXPECT_EQ(at(e, Control::Labelilobr), r.steps);
    EXPECT_EQ(at(e, Control::Heavy), r.heavy);
    EXPECT_EQ(at(e, Control::StolikSwitch), r.stolik);
    EXPECT_EQ(at(e, Control::PowerOutput), r.powerOutput);
    EXPECT_EQ(at(e, Control::MoveAfter), r.moveAfter);
    EXPECT_EQ(at(e, Control::tabSeryjne), r.serialTab);
    EXPECT_EQ(at(e, Control::rgKatObrotu), r.serialTab);
    EXPECT_EQ(rules.catDir, r.forcedCatDir);
    EXPECT_EQ(rules.stolikSwitch, r.forcedStolik);
    EXPECT_EQ(rules.powerOutput, r.forcedPowerOutput);
    EXPECT_EQ(rules.uncheckMoveAfter, r.uncheckMoveAfter);
    EXPECT_EQ(rules.modeHintPowerOutput, r.hint);
    for (const Control always : {Control::szybkoscObrobki, Control::work_power, Control::Labelstarttime,
                                 Control::Xwrzeciona, Control::LabelYwrzeciona, Control::Pauza_w_kacie})
        EXPECT_EQ(at(e, always), true);
}

constexpr std::nullopt_t same = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Modes, UpdateEnabledTest,
    ::testing::Values(
        //      mode cat   diam   toolY  travel wstrz  kier   steps  heavy  stolik power  move   serial
        ModeRow{0, true, false, false, false, false, false, false, true, false, true, false, false, same, 2, same, true, -1},
        ModeRow{4, true, false, false, false, false, false, false, true, false, false, false, false, same, 2, 0, true, -1},
        ModeRow{1, true, true, true, true, true, true, true, true, true, true, false, false, same, same, same, true, 0},
        ModeRow{3, true, true, true, true, true, true, true, true, true, true, false, false, same, same, same, true, 1},
        ModeRow{2, false, true, same, true, true, false, false, same, true, false, false, true, 2, 1, 0, true, -1},
        ModeRow{5, false, false, false, true, false, false, false, true, false, false, true, false, same, 2, 0, false, -1}));

TEST(UpdateEnabled, RotaryDeviceAndDirectionRules)
{
    // turning without a rotary device has no steps per rotation nor rotations per drawing
    EXPECT_EQ(at(UpdateEnabled(3, 2, 2).enabled, Control::ilosckrokow), false);
    EXPECT_EQ(at(UpdateEnabled(3, 2, 2).enabled, Control::il_obr_rys), false);
    // rotary cutting enables them all the same: its table row wins over the rotary-setting rule
    EXPECT_EQ(at(UpdateEnabled(1, 2, 2).enabled, Control::ilosckrokow), true);
    EXPECT_EQ(at(rotarySettingRule(1, 2), Control::ilosckrokow), false);
    EXPECT_EQ(at(rotarySettingRule(0, 2), Control::ilosckrokow), std::nullopt);
    EXPECT_EQ(at(UpdateEnabled(1, 1, 0).enabled, Control::dopasujKierunek), false);
    EXPECT_EQ(at(UpdateEnabled(1, 2, 0).enabled, Control::dopasujKierunek), true);
}

TEST(UpdateEnabled, ModelKeepsUnchangedStatesAndAppliesForcedValues)
{
    ConfigContext t;
    Configuration& c = t.config();
    c.setChoice(Param::Mode, 4);  // independent: tool offsets disabled
    EXPECT_FALSE(c.enabled(Control::Xnarzedzia));
    c.setCheck(Param::MoveAfter, CheckState::cbChecked);
    c.setChoice(Param::Mode, 5);
    EXPECT_EQ(c.check(Param::MoveAfter), CheckState::cbChecked);
    c.setChoice(Param::Mode, 2);  // serial leaves them as they were
    EXPECT_FALSE(c.enabled(Control::Xnarzedzia));
    EXPECT_TRUE(c.enabled(Control::Srednicamaterialu));
    EXPECT_EQ(c.check(Param::MoveAfter), CheckState::cbUnchecked);
    EXPECT_EQ(c.choice(Param::StolikSwitch), 1);
    EXPECT_FALSE(c.enabled(Control::CatDir));
    EXPECT_TRUE(c.enabled(Control::StolikSwitch));

    c.setChoice(Param::Mode, 1);
    c.setChoice(Param::StolikSwitch, 2);  // a click runs only the rotary-setting rule
    EXPECT_FALSE(c.enabled(Control::ilosckrokow));
    EXPECT_EQ(modeHintText(c.modeHintPowerOutput(), t.app.language), "Recommended : Straight wire");
}

TEST(DialogRules, UnitTexts)
{
    ConfigContext t;
    const UnitTexts inch = unitTexts(1, t.app.language);
    EXPECT_EQ(inch.length, "[in]");
    EXPECT_EQ(inch.speed, "[in/min]");
    EXPECT_EQ(inch.lengthDecimals, 2);
    EXPECT_EQ(inch.accuracyDecimals, 3);
    EXPECT_EQ(unitTexts(0, t.app.language).speed, "[mm/min]");
    EXPECT_EQ(unitTexts(2, t.app.language).lengthDecimals, 3);
    EXPECT_EQ(xFeedSign(0), 1);
    EXPECT_EQ(xFeedSign(1), -1);
    EXPECT_EQ(xFeedSign(2), 1);
}

TEST(DialogRules, RotarySchemePicture)
{
    ConfigContext t;
    std::filesystem::create_directories(t.program.path() / "Images");
    std::ofstream(t.program.path() / "Images" / "RotaryCut1.bmp") << "BM";

    const auto first = rotarySchemePicture(0, t.app.programDirectory, t.app.language);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->found);
    EXPECT_EQ(first->path, t.program.str() + "Images/RotaryCut1.bmp");
    EXPECT_TRUE(first->hint.empty());

    const auto second = rotarySchemePicture(1, t.app.programDirectory, t.app.language);
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->found);
    EXPECT_EQ(second->hint, "File not found :\n\r" + t.program.str() + "Images/RotaryCut2.bmp");
    EXPECT_FALSE(rotarySchemePicture(-1, t.app.programDirectory, t.app.language));
}

}  // namespace
}  // namespace kerfline
