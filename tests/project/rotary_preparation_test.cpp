// The rotary and turning preparations: the axis line, the shift into its frame, the orientation
// and order of the profiles, and the projects they refuse.
#include "rotary_rig.h"

#include "project/tmdichild.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kerfline {
namespace {

struct Prepared : testing::RotaryRig {
    using RotaryRig::RotaryRig;

    std::string lastMessage() const { return host.messages.empty() ? std::string() : host.messages.back().text; }
};

TEST(RotaryPreparation, TheLowerOfTwoHorizontalLinesIsTheAxis)
{
    // The profile touches the axis at both ends; the upper line is cut as a second profile.
    Prepared rig(ModeRotary, DeviceSpindle,
                 {{{1000, 3000}, {9000, 3000}}, {{0, 1000}, {4000, 2000}, {8000, 1000}}, {{0, 1000}, {8000, 1000}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.axisIndex, 2);
    EXPECT_EQ(rig.project.horizontalAxisFound, 1);
    EXPECT_EQ(rig.figure(2).cutEnabled, 0);
    EXPECT_EQ(rig.figure(0).cutEnabled, 1);
    for (const tfigura& f : rig.project.figures) {
        EXPECT_EQ(f.axisWidth, 8000);
        EXPECT_EQ(f.axisHeight, 0);
    }
    // Moved into the axis' frame: the axis starts at the origin, the profile touches it.
    EXPECT_EQ(rig.figure(2).points.front(), (Point{0, 0}));
    EXPECT_EQ(rig.figure(1).points.front(), (Point{0, 0}));
    EXPECT_EQ(rig.figure(1).points[1], (Point{4000, 1000}));
    EXPECT_EQ(rig.figure(0).points.front(), (Point{1000, 2000}));
    EXPECT_EQ(rig.project.minY, 0);
    EXPECT_EQ(rig.project.maxY, 2000);
    EXPECT_EQ(rig.project.profileBelowAxis, 0);
    EXPECT_EQ(rig.figure(0).originY, 0);
    EXPECT_DOUBLE_EQ(rig.project.cutLength, 8000.0 + 2.0 * std::sqrt(4000.0 * 4000.0 + 1000.0 * 1000.0));
}

TEST(RotaryPreparation, AProfileBelowTheAxisIsMarkedAndProfilesRunAlongTheAxis)
{
    Prepared rig(ModeRotary, DeviceSpindle, {{{8000, 0}, {4000, -2000}, {0, 0}}, {{0, 0}, {8000, 0}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.profileBelowAxis, 1);
    // Drawn from right to left, the profile is turned round.
    EXPECT_EQ(rig.figure(0).points.front(), (Point{0, 0}));
    EXPECT_EQ(rig.figure(0).points.back(), (Point{8000, 0}));
}

TEST(RotaryPreparation, OnTheTableTheRightmostVerticalLineIsTheAxis)
{
    Prepared rig(ModeRotary, DeviceTable,
                 {{{0, 0}, {0, 8000}}, {{-3000, 0}, {-1000, 4000}, {-3000, 8000}}, {{1000, 0}, {1000, 8000}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.axisIndex, 2);
    EXPECT_EQ(rig.project.horizontalAxisFound, 0);
    EXPECT_EQ(rig.figure(1).points[1], (Point{-2000, 4000}));
    EXPECT_EQ(rig.project.minX, -4000);
    EXPECT_EQ(rig.figure(0).axisHeight, 8000);
}

TEST(RotaryPreparation, ProjectsWithoutAnAxisOrAProfileClose)
{
    const std::vector<std::vector<Point>> noAxis{{{0, 0}, {4000, 4000}}, {{0, 0}, {4000, 0}, {4000, 4000}}};
    // Two coincident points are horizontal and vertical at once; they are no axis.
    const std::vector<std::vector<Point>> dot{{{2000, 2000}, {2000, 2000}}, {{0, 0}, {4000, 0}, {4000, 4000}}};
    struct Case {
        int mode;
        int device;
        std::vector<std::vector<Point>> design;
        const char* key;
    };
    const Case cases[] = {
        {ModeRotary, DeviceSpindle, noAxis, "projektBrakOsiObrotuPozProsta"},
        {ModeRotary, DeviceTable, noAxis, "projektBrakOsiObrotuPionProsta"},
        {ModeRotary, DeviceNone, {{{0, 0}, {4000, 0}}, noAxis[1]}, "BrakSposobuMocowaniaMaterialu"},
        {ModeTurning, DeviceTable, noAxis, "projektBrakOsiObrotu"},
        {ModeTurning, DeviceSpindle, noAxis, "projektBrakOsiObrotuPozProsta"},
        {ModeRotary, DeviceSpindle, dot, "projektBrakOsiObrotuPozProsta"},
        {ModeTurning, DeviceTable, dot, "projektBrakOsiObrotu"},
        {ModeRotary, DeviceSpindle, {{{0, 0}, {4000, 0}}}, "projektBrakProfilu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Prepared rig(c.mode, c.device, c.design);
        EXPECT_EQ(rig.prepare(), LoadOutcome::Closed);
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.lastMessage(), rig.app.Text("Project_window", c.key));
        EXPECT_TRUE(rig.host.messages.back().isError);
        EXPECT_EQ(rig.host.busyDepth, 0);
    }
}

// The shift into the axis' frame is reckoned in 64 bits: coordinates that leave the 32-bit
// range there refuse the project as too large instead of wrapping round.
TEST(RotaryPreparation, AShiftBeyondThirtyTwoBitsIsRefused)
{
    constexpr std::int32_t kFar = 2'000'000'000;
    Prepared rig(ModeRotary, DeviceSpindle, {{{-kFar, -kFar}, {0, -kFar}}, {{0, 0}, {kFar, kFar}, {kFar, 0}}});
    EXPECT_EQ(rig.prepare(), LoadOutcome::Closed);
    EXPECT_EQ(rig.lastMessage(), rig.app.Text("Main_window", "projektZaDuzy"));
}

TEST(TurningPreparation, OnTheSpindleAProfileBelowTheAxisWarnsButIsPrepared)
{
    Prepared rig(ModeTurning, DeviceSpindle,
                 {{{2000, 3000}, {6000, 3000}}, {{2000, 3000}, {2000, 4000}, {4000, 2000}, {6000, 4000}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_EQ(rig.lastMessage(), rig.app.Text("Project_window", "osMaBycPonizejProfilu"));
    EXPECT_EQ(rig.project.minX, 0);
    EXPECT_EQ(rig.figure(1).points[2], (Point{2000, -1000}));
    EXPECT_EQ(rig.figure(1).turnOrder, 2);
}

TEST(TurningPreparation, OnTheSpindleAProfileThatEndsWhereItStartsRunsDownward)
{
    Prepared rig(ModeTurning, DeviceSpindle, {{{0, 0}, {8000, 0}}, {{4000, 1000}, {6000, 2000}, {4000, 3000}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_EQ(rig.figure(1).points.front(), (Point{4000, 3000}));
    EXPECT_EQ(rig.figure(1).points.back(), (Point{4000, 1000}));
}

TEST(TurningPreparation, OnTheTableXIsMeasuredFromTheAxisAndTheLowestVerticalLineIsIt)
{
    Prepared rig(ModeTurning, DeviceTable,
                 {{{4000, 2000}, {4000, 9000}}, {{1000, 1000}, {3000, 5000}}, {{6000, 1000}, {6000, 8000}}});
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.axisIndex, 2);
    EXPECT_EQ(rig.figure(1).points.front(), (Point{-5000, 0}));
    EXPECT_EQ(rig.project.minY, 0);
}

TEST(TurningPreparation, FiguresDerivedFromAFigureComeBeforeIt)
{
    Prepared rig(ModeTurning, DeviceSpindle,
                 {{{0, 1000}, {4000, 1000}}, {{0, 0}, {8000, 0}}, {{0, 2000}, {4000, 2000}}, {{0, 3000}, {4000, 3000}}});
    rig.figure(2).sourceFigure = 0;
    rig.figure(3).sourceFigure = 2;
    rig.project.sortuj_toczenie();
    // 3 is derived from 2, 2 from 0: they are numbered 3, 2, 0, then the axis 1.
    std::vector<std::int32_t> order;
    for (const tfigura& f : rig.project.figures)
        order.push_back(f.points.front().y);
    EXPECT_EQ(order, (std::vector<std::int32_t>{3000, 2000, 1000, 0}));
    EXPECT_EQ(rig.figure(3).turnOrder, 4);
}

TEST(TurningPreparation, SortingFollowsTheAxisToItsNewPlace)
{
    Prepared rig(ModeTurning, DeviceSpindle, {{{0, 2000}, {4000, 2000}}, {{0, 0}, {8000, 0}}, {{0, 3000}, {4000, 3000}}});
    rig.figure(2).sourceFigure = 0;
    ASSERT_EQ(rig.prepare(), LoadOutcome::Opened);
    ASSERT_EQ(rig.project.axisIndex, 2);
    EXPECT_EQ(rig.figure(2).cutEnabled, 0);
}

TEST(RotaryPreparation, FirstEntryIsTheFirstProfilesFirstPoint)
{
    struct Case {
        int device;
        double entry;
    };
    const Case cases[] = {{DeviceSpindle, 25.0}, {DeviceTable, 50.0}, {DeviceNone, 0.0}};
    for (const Case& c : cases) {
        Prepared rig(ModeTurning, c.device, {{{0, 0}, {8000, 0}}, {{1000, 2000}, {3000, 3000}}});
        rig.project.axisIndex = 0;
        EXPECT_DOUBLE_EQ(rig.project.DajPoz1szegoWjazduWmat(), c.entry) << c.device;
    }
}

}  // namespace
}  // namespace kerfline
