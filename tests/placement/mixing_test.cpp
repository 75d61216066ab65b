// The mixing of the front and back shapes of the independent arms into one pair of paths.
#include "placement/mixing.h"

#include "placement/material_placement.h"
#include "placement_rig.h"
#include "project/project_rig.h"

#include <gtest/gtest.h>

#include <optional>

namespace kerfline {
namespace {

using testing::IndependentWindows;
using testing::ProjectRig;
using testing::TempDir;

struct Recorded {
    std::int32_t tag;
    Point p;
};

std::vector<MixSource> recording(const std::vector<Recorded>& records)
{
    std::vector<MixSource> sources;
    for (const Recorded& r : records)
        sources.push_back({r.tag, 0, r.p.x, r.p.y});
    return sources;
}

TEST(Mixing, PairsTheRecordingsRunByRun)
{
    struct Case {
        const char* name;
        std::vector<Recorded> front, back;
        std::optional<PairedPaths> paired;
    };
    const std::vector<Case> cases = {
        {"runs of equal point counts are copied as they are",
         {{0, {0, 0}}, {0, {100, 0}}, {0, {100, 100}}},
         {{0, {0, 0}}, {0, {50, 50}}, {0, {100, 100}}},
         PairedPaths{{{0, 0}, {100, 0}, {100, 100}}, {{0, 0}, {50, 50}, {100, 100}}}},
        {"an interior point gets a partner at its fraction of the other run's length",
         {{0, {0, 0}}, {0, {0, 300}}, {0, {400, 0}}},
         {{0, {0, 0}}, {0, {400, 0}}},
         PairedPaths{{{0, 0}, {0, 300}, {400, 0}}, {{0, 0}, {150, 0}, {400, 0}}}},
        {"interior points of both runs interleave by their fractions",
         {{0, {0, 0}}, {0, {300, 0}}, {0, {400, 0}}},
         {{0, {0, 0}}, {0, {0, 100}}, {0, {400, 100}}, {0, {400, 0}}},
         PairedPaths{{{0, 0}, {67, 0}, {300, 0}, {333, 0}, {400, 0}},
                     {{0, 0}, {0, 100}, {350, 100}, {400, 100}, {400, 0}}}},
        {"a run of no length puts the other run's points at its start",
         {{0, {10, 0}}, {1, {10, 0}}, {1, {10, 0}}},
         {{0, {10, 0}}, {1, {10, 40}}, {1, {10, 80}}, {1, {10, 0}}},
         PairedPaths{{{10, 0}, {10, 0}, {10, 0}, {10, 0}, {10, 0}}, {{10, 0}, {10, 0}, {10, 40}, {10, 80}, {10, 0}}}},
        {"both start and end at one point, the larger coordinate winning",
         {{0, {0, 30}}, {0, {100, 0}}, {0, {0, 0}}},
         {{0, {10, 0}}, {0, {50, 0}}, {0, {5, 7}}},
         PairedPaths{{{10, 30}, {100, 0}, {5, 7}}, {{10, 30}, {50, 0}, {5, 7}}}},
        {"a run each of two figures pair in turn",
         {{0, {0, 0}}, {0, {100, 0}}, {1, {100, 100}}, {1, {0, 100}}},
         {{0, {0, 0}}, {0, {40, 0}}, {1, {40, 40}}, {1, {0, 100}}},
         PairedPaths{{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{0, 0}, {40, 0}, {40, 40}, {0, 100}}}},
        {"the back recording ending first does not pair",
         {{0, {0, 0}}, {0, {100, 0}}, {1, {100, 100}}, {1, {0, 100}}},
         {{0, {0, 0}}, {0, {40, 0}}, {0, {40, 40}}},
         std::nullopt},
        {"the front recording ending first does not pair",
         {{0, {0, 0}}, {0, {40, 0}}, {0, {40, 40}}},
         {{0, {0, 0}}, {0, {100, 0}}, {1, {100, 100}}, {1, {0, 100}}},
         std::nullopt},
        {"an empty recording does not pair", {}, {{0, {0, 0}}, {0, {40, 0}}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<PairedPaths> paired = pairRecordings(recording(c.front), recording(c.back));
        ASSERT_EQ(paired.has_value(), c.paired.has_value());
        if (paired) {
            EXPECT_EQ(paired->front, c.paired->front);
            EXPECT_EQ(paired->back, c.paired->back);
        }
    }
}

TEST(Mixing, NeighboursCloserThanHalfAMillimetreOnBothPathsAreOnePoint)
{
    PairedPaths paths{{{0, 0}, {19, 0}, {25, 0}, {30, 0}, {60, 0}}, {{0, 0}, {0, 19}, {0, 19}, {0, 30}, {0, 50}}};
    dropClosePairs(paths);
    // Each pair is compared with the last pair kept, not with a dropped neighbour.
    EXPECT_EQ(paths.front, (std::vector<Point>{{0, 0}, {25, 0}, {60, 0}}));
    EXPECT_EQ(paths.back, (std::vector<Point>{{0, 0}, {0, 19}, {0, 50}}));
}

TEST(Mixing, DesignsWhoseColoursDoNotPairMakeNoMix)
{
    ProjectRig rig;
    TempDir dir;
    struct Case {
        const char* name;
        const char* hpgl;
    };
    const Case cases[] = {
        {"two front figures and one back figure",
         "IN;SP4;PU0,0;PD800,0,800,800,0,800,0,0;PU2000,0;PD2800,0,2800,800,2000,800,2000,0;PU;"
         "SP3;PU100,100;PD500,100,500,500,100,500,100,100;PU;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rig.host.messages.clear();
        IndependentWindows windows(rig.app, dir.write("design.plt", c.hpgl));
        EXPECT_FALSE(windows.mixed);
        EXPECT_TRUE(windows.mix->figures.empty());
        ASSERT_FALSE(rig.host.messages.empty());
        EXPECT_EQ(rig.host.messages.back().text, rig.app.Text("Main_window", "QdiloscFigurJednakowa"));
    }
}

// Whatever the shapes, the wire between the two arm points passes through the front shape point
// at the block's front face and through the back shape point at its back face.
TEST(Mixing, TheWireBetweenTheArmsPassesThroughBothShapes)
{
    ProjectRig rig;
    TempDir dir;
    struct Case {
        const char* name;
        std::string hpgl;
        PlacementAnswers answers;
    };
    const Case cases[] = {
        {"two squares", testing::kTwoSquares, {100.0, 50.0, 600.0}},
        {"a wing section", testing::wingSection(), {200.0, 100.0, 500.0}},
        {"a wing section touching the front arm", testing::wingSection(), {333.0, 0.0, 333.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IndependentWindows windows(rig.app, dir.write("design.plt", c.hpgl));
        ASSERT_TRUE(windows.mixed);
        TMDIChild& mix = *windows.mix;
        ASSERT_EQ(mix.figures.size(), 2u);
        EXPECT_EQ(mix.figures[0].pen, 4);
        EXPECT_EQ(mix.figures[1].pen, 3);
        EXPECT_EQ(mix.synchronousPair, 1);
        EXPECT_EQ(mix.minX, 0);
        EXPECT_EQ(mix.minY, 0);
        const std::size_t count = mix.figures[0].points.size();
        ASSERT_EQ(mix.figures[1].points.size(), count);
        ASSERT_GT(count, 4u);

        projectOntoArmPlanes(mix, c.answers.width, c.answers.distance, c.answers.armSpacing);
        ASSERT_EQ(mix.figures[0].secondPoints.size(), count);
        ASSERT_EQ(mix.figures[1].secondPoints.size(), count);
        const double mm = 1.0 / 40.0;
        for (std::size_t k = 0; k < count; ++k) {
            const Point a = mix.figures[0].secondPoints[k];
            const Point b = mix.figures[1].secondPoints[k];
            const auto onWire = [&](double z) {
                const double t = z / c.answers.armSpacing;
                return std::pair{(a.x + (b.x - a.x) * t) * mm, (a.y + (b.y - a.y) * t) * mm};
            };
            const auto [fx, fy] = onWire(c.answers.distance);
            const auto [bx, by] = onWire(c.answers.distance + c.answers.width);
            EXPECT_NEAR(fx, mix.figures[0].points[k].x * mm, 0.02) << "pair " << k;
            EXPECT_NEAR(fy, mix.figures[0].points[k].y * mm, 0.02) << "pair " << k;
            EXPECT_NEAR(bx, mix.figures[1].points[k].x * mm, 0.02) << "pair " << k;
            EXPECT_NEAR(by, mix.figures[1].points[k].y * mm, 0.02) << "pair " << k;
        }
    }
}

}  // namespace
}  // namespace kerfline
