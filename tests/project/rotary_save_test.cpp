// The rotary and turning saves: passes and their phases, the feed directions, the holds between
// passes, and figures left as they were.
#include "rotary_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::RotaryRig;

const std::vector<std::vector<Point>> kSpindleProfile{{{0, 0}, {8000, 0}}, {{0, 0}, {2000, 1200}, {6000, 1200}, {8000, 0}}};

std::int64_t flooredPhaseSteps(std::int32_t reg, std::int32_t n)
{
    return ((std::int64_t{reg} % n) + n) % n;
}

TEST(RotarySave, FourPassesStartAtQuarterTurns)
{
    RotaryRig rig(ModeRotary, DeviceSpindle, kSpindleProfile);
    rig.config().setNumber(Param::ilosckrokow, 4);
    rig.config().setChoice(Param::CatDir, 0);
    rig.config().setNumber(Param::il_obr_rys, 1);  // the cut turns the spindle too
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    const CutProgramJob job = rig.job();
    ASSERT_TRUE(rig.save(job));
    const std::vector<AxisRegisters> heating = rig.registersAtHeating(job);
    ASSERT_EQ(heating.size(), 4u);
    for (std::size_t j = 0; j < heating.size(); ++j) {
        EXPECT_EQ(flooredPhaseSteps(heating[j][AxisSpindle], 8000), static_cast<std::int64_t>(j) * 2000) << "pass " << j;
        EXPECT_EQ(heating[j][AxisFrontX], 0) << "every pass starts at the profile's first point";
    }
}

TEST(RotarySave, BothWaysAlternatesForwardAndReversedPasses)
{
    RotaryRig rig(ModeRotary, DeviceSpindle, kSpindleProfile);
    rig.config().setNumber(Param::ilosckrokow, 4);
    rig.config().setChoice(Param::CatDir, 2);
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    const std::vector<Point> before = rig.figure(1).points;
    const CutProgramJob job = rig.job();
    ASSERT_TRUE(rig.save(job));
    EXPECT_EQ(rig.figure(1).points, before) << "the reversals are undone";
    const std::vector<AxisRegisters> heating = rig.registersAtHeating(job);
    ASSERT_EQ(heating.size(), 4u);
    // Forward from X 0 at phase (j - 1) / 4, reversed from X 200 mm a quarter turn further on.
    const std::int32_t startX[] = {0, 20000, 0, 20000};
    const std::int64_t phase[] = {0, 2000, 4000, 6000};
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(heating[j][AxisFrontX], startX[j]) << "pass " << j;
        EXPECT_EQ(flooredPhaseSteps(heating[j][AxisSpindle], 8000), phase[j]) << "pass " << j;
    }
}

TEST(RotarySave, TheHoldComesBetweenPassesNotAfterTheLast)
{
    RotaryRig rig(ModeRotary, DeviceSpindle, kSpindleProfile);
    rig.config().setNumber(Param::ilosckrokow, 3);
    rig.config().setCheck(Param::Wstrzymaj, CheckState::cbChecked);
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    const CutProgramJob job = rig.job();
    ASSERT_TRUE(rig.save(job));
    int holds = 0;
    int heatUps = 0;
    for (const DecodedCommand& c : rig.decodedFrom(job).commands) {
        holds += c.letter == 's' && c.args.at(0) == 3;
        heatUps += c.letter == 'p' && c.args.at(0) == 250;
    }
    EXPECT_EQ(holds, 2);
    EXPECT_EQ(heatUps, 3 * 4) << "each pass after a hold heats up again (1000 units each)";
}

TEST(RotarySave, OnePassBothWaysStartsEachFigureAtItsNearerEnd)
{
    // Two profiles on the table; the second lies nearer to where the first one ends.
    RotaryRig rig(ModeRotary, DeviceTable,
                  {{{0, 0}, {0, 8000}}, {{-2000, 0}, {-1000, 4000}, {-2000, 8000}}, {{-3000, 8000}, {-4000, 0}}});
    rig.config().setNumber(Param::ilosckrokow, 1);
    rig.config().setChoice(Param::CatDir, 2);
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    const std::vector<Point> before = rig.figure(2).points;
    const CutProgramJob job = rig.job(500.0, 250.0);
    ASSERT_TRUE(rig.save(job));
    EXPECT_EQ(rig.figure(2).points, before);
    const std::vector<AxisRegisters> heating = rig.registersAtHeating(job);
    ASSERT_EQ(heating.size(), 2u);
    // Table codes place the profile at Xstolika, Ystolika (1000 and 250 mm by default).
    const auto placedY = [](std::int32_t y) { return roundHalfEven(unitsToMm(y) * 100.0) + 25000; };
    EXPECT_EQ(heating[0][AxisFrontY], placedY(0));     // from (0, 0): its first point is nearer
    EXPECT_EQ(heating[1][AxisFrontY], placedY(8000));  // from where the first ended: the top
}

TEST(TurningSave, TheTurningSavesWriteEveryProfileAndLeaveThemAsTheyWere)
{
    struct Case {
        int device;
        std::vector<std::vector<Point>> design;
    };
    const Case cases[] = {
        {DeviceSpindle, {{{0, 0}, {8000, 0}}, {{0, 2000}, {4000, 3000}, {8000, 2000}}}},
        {DeviceTable, {{{0, 0}, {0, 8000}}, {{-2000, 0}, {-3000, 4000}, {-2000, 8000}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        RotaryRig rig(ModeTurning, c.device, c.design);
        rig.config().setNumber(Param::ilosckrokow, 2);
        rig.config().setChoice(Param::CatDir, 1);
        rig.config().setNumber(Param::il_obr_rys, 4);
        ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
        const std::vector<Point> before = rig.figure(1).points;
        const CutProgramJob job = rig.job();
        ASSERT_TRUE(rig.save(job));
        EXPECT_EQ(rig.figure(1).points, before);
        const DecodedProgram program = rig.decodedFrom(job);
        EXPECT_FALSE(program.error);
        EXPECT_EQ(rig.registersAtHeating(job).size(), 2u);
        std::int64_t turned = 0;
        for (const DecodedMove& move : program.moves)
            turned += std::abs(move.steps[AxisSpindle]) + std::abs(move.steps[AxisTable]);
        EXPECT_GT(turned, 8000) << "four turns over the drawing, twice";
    }
}

}  // namespace
}  // namespace kerfline
