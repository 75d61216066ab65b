// A job of the independent arms on the virtual cutter: the mixed project, placed on the block,
// is cut with each arm on its own path.
#include "cutting/job_rig.h"
#include "placement/material_placement.h"
#include "placement_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::IndependentWindows;
using testing::JobRig;

TEST(IndependentJob, EachArmFollowsItsOwnPathOnTheVirtualCutter)
{
    JobRig rig;
    rig.context.configuration.setChoice(Param::Mode, ModeIndependent);
    rig.home();
    IndependentWindows windows(rig.context, rig.dir.write("wing.plt", testing::wingSection()));
    ASSERT_TRUE(windows.mixed);
    TMDIChild& mix = rig.windows.add(std::move(windows.mix));

    const PlacementAnswers answers{200.0, 100.0, 500.0};
    int placements = 0;
    rig.session->driver.dialogs.placement = [&](TMDIChild& project) {
        ++placements;
        MaterialPlacement placement(rig.context, rig.context.job.placement, &rig.protocol());
        // Start, and Start again once the arms stand where the test asked them to.
        return placement.Start(project, answers) || (placement.acceptedMove && placement.Start(project, answers));
    };
    rig.host.answers = {AnswerYes};
    rig.session->driver.Start1Click();
    ASSERT_EQ(placements, 1);
    ASSERT_TRUE(rig.runJob());
    EXPECT_FALSE(rig.controller().outputOn(1));
    EXPECT_FALSE(rig.controller().outputOn(2));

    // Where each arm must pass, in steps: from where it stood at the start, the arm path relative
    // to the program's first point (the front shape's first point).
    const MachineState& s = rig.context.machine;
    const auto& origin = rig.context.job.originSteps;
    const Point start = mix.figures[0].points.front();
    const std::vector<Point>& front = mix.figures[0].secondPoints;
    const std::vector<Point>& back = mix.figures[1].secondPoints;
    ASSERT_EQ(front.size(), back.size());
    const auto steps = [&](std::int32_t units, std::int32_t from, double resolution) {
        return (units - from) * 2.5 * resolution;  // a plotter unit is 2.5 hundredths
    };
    const double tolerance = 2.0 * std::max(s.resX, s.resY) + 0.02 * 100 * std::max(s.resX, s.resY);
    const auto& path = rig.controller().path();
    std::size_t at = 0;
    for (std::size_t k = 1; k < front.size(); ++k) {
        const double fx = origin[AxisFrontX] + steps(front[k].x, start.x, s.resX);
        const double fy = origin[AxisFrontY] + steps(front[k].y, start.y, s.resY);
        const double bx = origin[AxisBackX] + steps(back[k].x, start.x, s.resX);
        const double by = origin[AxisBackY] + steps(back[k].y, start.y, s.resY);
        const auto reaches = [&](const machine::PathPoint& p) {
            return std::abs(p.steps[AxisFrontX] - fx) <= tolerance && std::abs(p.steps[AxisFrontY] - fy) <= tolerance &&
                   std::abs(p.steps[AxisBackX] - bx) <= tolerance && std::abs(p.steps[AxisBackY] - by) <= tolerance;
        };
        while (at < path.size() && !reaches(path[at]))
            ++at;
        ASSERT_LT(at, path.size()) << "the arms never stood at pair " << k;
    }
}

}  // namespace
}  // namespace kerfline
