// The program's searches are faster than full scans of every pair of figures; on generated
// projects both must build the same tree, connector for connector.
#include "project_generator.h"
#include "project_rig.h"
#include "reference_planner.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::SheetGenerator;
using testing::SheetOptions;

std::string firstDifference(const TMDIChild& a, const TMDIChild& b)
{
    std::ostringstream out;
    if (a.figures.size() != b.figures.size())
        out << "figure count " << a.figures.size() << " != " << b.figures.size() << "; ";
    if (a.startFigure != b.startFigure)
        out << "start figure " << a.startFigure << " != " << b.startFigure << "; ";
    if (a.pathReady != b.pathReady || a.frameAdded != b.frameAdded || a.maxNestLevel != b.maxNestLevel)
        out << "project flags differ; ";
    if (a.startFromLeft != b.startFromLeft || a.startFromBottom != b.startFromBottom || a.cutLength != b.cutLength)
        out << "start offsets or cut length differ; ";
    for (std::size_t i = 0; i < std::min(a.figures.size(), b.figures.size()); ++i) {
        const tfigura& f = a.figures[i];
        const tfigura& g = b.figures[i];
        const bool same = f.points == g.points && f.kind == g.kind && f.parent == g.parent &&
                          f.attachVertex == g.attachVertex && f.startVertex == g.startVertex &&
                          f.unconnected == g.unconnected && f.nestLevel == g.nestLevel &&
                          f.container == g.container && f.childCount == g.childCount &&
                          f.vertexInfo == g.vertexInfo && f.neighbours == g.neighbours;
        if (!same) {
            out << "figure " << i << " differs (parent " << f.parent << "/" << g.parent << ", attach "
                << f.attachVertex << "/" << g.attachVertex << ", start " << f.startVertex << "/" << g.startVertex
                << ", level " << f.nestLevel << "/" << g.nestLevel << ")";
            break;
        }
    }
    return out.str();
}

struct Plan {
    std::uint32_t seed;
    SheetOptions options;
    bool addFrame;
};

void compare(const Plan& plan)
{
    const auto contours = SheetGenerator(plan.seed, plan.options).generate();
    if (contours.empty())
        return;
    ProjectRig program;
    ProjectRig reference;
    for (ProjectRig* rig : {&program, &reference}) {
        rig->config().setCheck(Param::AddFrame, plan.addFrame ? CheckState::cbChecked : CheckState::cbUnchecked);
        rig->design(contours);
    }
    program.project.ciecie();
    testing::referenceCiecie(reference.project);
    const std::string difference = firstDifference(program.project, reference.project);
    EXPECT_TRUE(difference.empty()) << "seed " << plan.seed << ", " << contours.size() << " contours: " << difference;
}

TEST(ReferenceEquality, SmallProjectsMatchTheFullScans)
{
    // Up to 20 figures: the exhaustive searches without neighbour lists.
    for (std::uint32_t seed = 1; seed <= 150; ++seed) {
        SheetOptions options;
        options.cells = 1 + static_cast<int>(seed % 6);
        options.maxCrowd = 8;
        options.minLetterPoints = 8;
        options.maxLetterPoints = 30;
        // Without lead-in polylines in two projects of three: entry lines and frames.
        options.weights = {3, 2, 4, 1, seed % 3 == 2 ? 2 : 0, 1, 1, 1, 1};
        compare({seed, options, seed % 2 == 0});
    }
}

TEST(ReferenceEquality, LargerProjectsMatchTheFullScans)
{
    // Neighbour lists, crowded containers with more than 20 children, long contours.
    for (std::uint32_t seed = 1000; seed < 1120; ++seed) {
        SheetOptions options;
        options.cells = 6 + static_cast<int>(seed % 20);
        options.maxCrowd = seed % 4 == 0 ? 30 : 12;
        options.minLetterPoints = 12;
        options.maxLetterPoints = seed % 10 == 0 ? 600 : 40;
        options.weights = {3, 2, 4, seed % 4 == 0 ? 3 : 1, seed % 3 == 2 ? 2 : 0, 1, 1, 1, 1};
        compare({seed, options, seed % 2 == 1});
    }
}

}  // namespace
}  // namespace kerfline
