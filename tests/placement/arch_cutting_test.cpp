// The arch cutting: the curve thinned, unrolled into a strip with a notch at every vertex.
#include "placement/arch_cutting.h"

#include "geometry/segments.h"
#include "project/project_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::ProjectRig;

// No two segments of the strip that are not neighbours meet.
bool simple(const std::vector<Point>& strip)
{
    for (std::size_t i = 0; i + 1 < strip.size(); ++i)
        for (std::size_t j = i + 2; j + 1 < strip.size(); ++j)
            if (segmentsCross({strip[i], strip[i + 1]}, {strip[j], strip[j + 1]}))
                return false;
    return true;
}

TEST(ArchCutting, EveryNotchIsAsWideAsItsTurnNeedsAndStandsAtItsVertex)
{
    struct Case {
        const char* name;
        std::vector<Point> curve;
        std::int32_t depth;
        std::vector<Point> strip;
        bool overlap;
    };
    const Case cases[] = {
        // tan(15°) × 1000 = 267.9 on each side of vertices 2071 and 2070 units apart.
        {"an arc of three segments",
         {{4000, 0}, {3464, 2000}, {2000, 3464}, {0, 4000}},
         1000,
         {{0, 1000}, {1803, 1000}, {2071, 0}, {2339, 1000}, {3873, 1000}, {4141, 0}, {4409, 1000}, {6212, 1000}},
         false},
        {"a right angle", {{0, 0}, {1000, 0}, {1000, 1000}}, 400,
         {{0, 400}, {600, 400}, {1000, 0}, {1400, 400}, {2000, 400}}, false},
        // tan(22.5°) × 1000 = 414.2, the turns one each way.
        {"an S-curve",
         {{0, 0}, {1000, 0}, {2000, 1000}, {3000, 1000}},
         1000,
         {{0, 1000}, {586, 1000}, {1000, 0}, {1414, 1000}, {2000, 1000}, {2414, 0}, {2828, 1000}, {3414, 1000}},
         false},
        {"a right angle too deep for its legs", {{0, 0}, {1000, 0}, {1000, 300}, {0, 300}}, 400,
         {{0, 400}, {600, 400}, {1000, 0}, {1400, 400}, {900, 400}, {1300, 0}, {1700, 400}, {2300, 400}}, true},
        {"the first notch opening before the strip's start", {{0, 0}, {100, 0}, {100, 1000}}, 400,
         {{0, 400}, {-300, 400}, {100, 0}, {500, 400}, {1100, 400}}, true},
        {"the last notch opening past the strip's end", {{0, 0}, {1000, 0}, {1000, 100}}, 400,
         {{0, 400}, {600, 400}, {1000, 0}, {1400, 400}, {1100, 400}}, true},
        {"two points: a plain strip", {{0, 0}, {3000, 4000}}, 400, {{0, 400}, {5000, 400}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Strip strip = unrollCurve(c.curve, c.depth);
        EXPECT_EQ(strip.points, c.strip);
        EXPECT_EQ(strip.overlap, c.overlap);
        if (!c.overlap) {
            EXPECT_TRUE(simple(strip.points));
        }
    }
}

// A turn of a half turn asks for an endless notch: its width stops at what plotter units hold,
// and the strip counts as overlapping.
TEST(ArchCutting, ANotchOfAHalfTurnIsCutShortAndReportedAsAnOverlap)
{
    const Strip strip = unrollCurve({{0, 0}, {1000, 0}, {0, 0}}, 400);
    ASSERT_EQ(strip.notches.size(), 1u);
    EXPECT_TRUE(strip.overlap);
    EXPECT_EQ(strip.notches[0].halfWidth, 1 << 29);
    EXPECT_EQ(strip.points[1], (Point{1000 - (1 << 29), 400}));
}

TEST(ArchCutting, ThinningRemovesVerticesCloserToTheirChordThanTheRatioAllows)
{
    const std::vector<Point> straight{{0, 0}, {100, 0}, {200, 0}, {300, 0}};
    EXPECT_EQ(measureCurve(straight).smallestDeviation, 2147483647.0);
    EXPECT_EQ(thinCurve(straight, 1), (std::vector<Point>{{0, 0}, {300, 0}}));

    // Peaks 10, 100 and 20 units above their chords: a ratio of 3 removes what lies within 30
    // units of the chord its neighbours span at the time it is looked at.
    const std::vector<Point> curve{{0, 0}, {100, 10}, {200, 0}, {300, 100}, {400, 0}, {500, 20}, {600, 0}};
    const CurveMeasures m = measureCurve(curve);
    EXPECT_DOUBLE_EQ(m.smallestDeviation, 10.0);
    EXPECT_DOUBLE_EQ(m.largestDeviation, 100.0);
    EXPECT_EQ(m.shortest, 100);
    EXPECT_EQ(m.longest, 141);
    EXPECT_EQ(thinCurve(curve, 1), curve);
    EXPECT_EQ(thinCurve(curve, 3), (std::vector<Point>{{0, 0}, {200, 0}, {300, 100}, {400, 0}, {600, 0}}));
}

struct ArchRig : ProjectRig {
    explicit ArchRig(std::vector<std::vector<Point>> design)
    {
        this->design(design);
        project.ciecie();
    }
};

TEST(ArchCutting, ProjectsThatAreNoSingleOneWayCurveAreRefused)
{
    struct Case {
        const char* name;
        std::vector<std::vector<Point>> design;
        double depth;
        ArchRefusal refusal;
        const char* key;
    };
    const std::vector<Point> bow{{0, 0}, {1000, 500}, {2000, 600}, {3000, 500}, {4000, 0}};
    const Case cases[] = {
        {"no depth", {bow}, 0.0, ArchRefusal::Depth, nullptr},
        {"two points", {{{0, 0}, {1000, 0}}}, 5.0, ArchRefusal::Depth, nullptr},
        {"two figures", {bow, {{0, 2000}, {1000, 2500}, {2000, 2000}}}, 5.0, ArchRefusal::NotASingleCurve,
         "projWieloelementNiedozwolony"},
        {"an S-curve", {{{0, 0}, {1000, 0}, {2000, 1000}, {3000, 1000}}}, 5.0, ArchRefusal::BendsBothWays,
         "niedozwolonaWypuklosc"},
        {"a bow", {bow}, 5.0, ArchRefusal::None, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArchRig rig(c.design);
        ArchCutting arch(rig.project);
        TMDIChild result(rig.app);
        const auto generated = arch.Generate(c.depth, 1, result);
        EXPECT_EQ(arch.refusal, c.refusal);
        EXPECT_EQ(generated.has_value(), c.refusal == ArchRefusal::None);
        if (c.key) {
            ASSERT_FALSE(rig.host.messages.empty());
            EXPECT_EQ(rig.host.messages.back().text.rfind(rig.app.Text("Arch_cutting", c.key), 0), 0u);
        }
    }
}

// Generate after an overlap thins the curve as the dialog found it, not the curve already thinned;
// the source keeps the thinned curve with vertex records and a start that fit it.
TEST(ArchCutting, EachGenerateThinsTheCurveAsItWasWhenTheDialogOpened)
{
    const std::vector<Point> curve{{0, 0}, {1000, 100}, {2000, 150}, {3000, 160}, {4000, 150}, {5000, 100}, {6000, 0}};
    ArchRig rig({curve});
    ArchCutting arch(rig.project);
    TMDIChild result(rig.app);
    const std::vector<Point> once = thinCurve(curve, 2);
    ASSERT_NE(thinCurve(once, 2), once);  // thinning again would take more vertices

    for (int generate = 0; generate < 2; ++generate) {
        SCOPED_TRACE(generate);
        ASSERT_EQ(arch.Generate(2000.0, 2, result), std::optional<bool>(true));  // notches this deep overlap
        const tfigura& source = rig.project.figures[0];
        EXPECT_EQ(source.points, once);
        EXPECT_EQ(source.vertexInfo.size(), source.points.size());
        EXPECT_GE(source.startVertex, 0);
        EXPECT_LT(static_cast<std::size_t>(source.startVertex), source.points.size());
        ASSERT_FALSE(result.figures.empty());
        EXPECT_EQ(result.figures[0].points, unrollCurve(once, mmToUnits(2000.0)).points);
    }
    EXPECT_EQ(rig.host.messages.back().caption,
              rig.app.Text("Arch_cutting", "caption") + " : " + rig.app.Text("Arch_cutting", "blednyPrzebieg"));
}

}  // namespace
}  // namespace kerfline
