// Generated projects, prepared and written: the decoded program, traced through the registers,
// is one path along the edges of the cut tree that reaches every vertex of every connected
// design figure, enters figures only along connectors, entry lines and touching vertices, and
// ends where it began.
#include "project_generator.h"
#include "walk_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::SheetGenerator;
using testing::SheetOptions;
using testing::WalkRig;

struct Family {
    const char* name;
    std::vector<int> weights;  // by CellKind
};

TEST(GeneratedCutPrograms, FollowTheCutTreeWithoutJumps)
{
    const Family families[] = {
        {"rectangles", {1, 0, 0, 0, 0, 0, 1, 0, 0}},
        {"rings", {0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"letters in frames", {0, 0, 3, 1, 0, 0, 0, 0, 0}},
        {"polylines touching closed figures", {1, 0, 1, 0, 2, 0, 0, 0, 0}},
        {"free polylines", {1, 0, 0, 0, 0, 2, 0, 0, 0}},
        {"everything", {3, 2, 4, 1, 1, 1, 1, 1, 1}},
    };
    for (const Family& family : families) {
        for (std::uint32_t seed = 1; seed <= 10; ++seed) {
            SheetOptions options;
            options.cells = 1 + static_cast<int>(seed * 5 % 12);
            options.weights = family.weights;
            options.maxCrowd = 8;
            const auto contours = SheetGenerator(seed * 7919, options).generate();
            if (contours.empty())
                continue;
            WalkRig rig;
            rig.config().setCheck(Param::AddFrame, seed % 2 == 0 ? CheckState::cbChecked : CheckState::cbUnchecked);
            rig.design(contours);
            rig.project.ciecie();
            rig.project.cutOutline = 1;
            ASSERT_TRUE(rig.save()) << family.name << ", seed " << seed;

            const DecodedProgram program = rig.decoded();
            ASSERT_FALSE(program.error) << family.name << ", seed " << seed;
            const std::vector<testing::Spot> path = rig.frontPath();
            EXPECT_EQ(rig.backPath(), path) << family.name << ", seed " << seed;
            const std::string violations = testing::pathViolations(rig, path);
            EXPECT_TRUE(violations.empty()) << family.name << ", seed " << seed << ": " << violations;
            if (rig.project.singleOpenFigure == 0) {
                EXPECT_EQ(path.back(), rig.startSpot) << family.name << ", seed " << seed;
            }
        }
    }
}

}  // namespace
}  // namespace kerfline
