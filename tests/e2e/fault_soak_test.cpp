// Seeded jobs under random faults on the virtual cutter. Whatever strikes, a job either finishes
// with every command of its program executed once and in order, or stops where the operator sees
// it with a prefix of the program done, and Continue then finishes it. The wire stays on the
// planned path and the heating is off at rest. KERFLINE_SOAK_JOBS sets how many jobs run.
#include "cutting/job_rig.h"

#include "cutting/virtual_job.h"
#include "designfiles/cut_program_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::JobRig;

struct SoakDesign {
    std::string name;
    std::string hpgl;
};

std::vector<SoakDesign> soakDesigns()
{
    std::vector<SoakDesign> list = {
        {"square", "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;"},
        {"nested squares",
         "IN;SP1;PU0,0;PD8000,0,8000,8000,0,8000,0,0;PU2000,2000;PD6000,2000,6000,6000,2000,6000,2000,2000;PU;"},
        {"open polyline", "IN;SP1;PU0,0;PD2000,1000,4000,0,6000,1000,6000,3000;PU;"},
    };
    list.push_back({"circle", testing::circleDesign(400)});
    const std::filesystem::path samples = std::filesystem::path(KERFLINE_SOURCE_DIR) / "samples";
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".plt")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        list.push_back({entry.path().filename().string(), content.str()});
    }
    return list;
}

int soakJobs()
{
    if (const char* text = std::getenv("KERFLINE_SOAK_JOBS"))
        return std::max(1, std::atoi(text));
    return 400;
}

std::string fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The box the planned path and the origin span, in motor steps of the linear axes, widened by a
// millimetre.
struct Extent {
    std::array<std::int64_t, kAxisCount> low{}, high{};
    bool contains(const machine::AxisSteps& p, const MachineState& s) const
    {
        for (const int axis : {AxisFrontX, AxisFrontY, AxisBackX, AxisBackY}) {
            const double margin = 100 * ((axis == AxisFrontX || axis == AxisBackX) ? s.resX : s.resY);
            if (p[axis] < low[axis] - margin || p[axis] > high[axis] + margin)
                return false;
        }
        return true;
    }
};

Extent plannedExtent(const DecodedProgram& program, const machine::AxisSteps& origin)
{
    Extent extent;
    machine::AxisSteps at = origin;
    for (int axis = 0; axis < kAxisCount; ++axis)
        extent.low[axis] = extent.high[axis] = at[axis];
    for (const DecodedMove& move : program.moves) {
        for (int axis = 0; axis < kAxisCount; ++axis) {
            at[axis] += move.steps[axis];
            extent.low[axis] = std::min<std::int64_t>(extent.low[axis], at[axis]);
            extent.high[axis] = std::max<std::int64_t>(extent.high[axis], at[axis]);
        }
    }
    return extent;
}

std::string story(const VirtualJobReport& report)
{
    std::string text = std::string(jobOutcomeName(report.outcome)) + ", executed " + std::to_string(report.executed) +
                       " of " + std::to_string(report.programCommands) + ", duplicated " +
                       std::to_string(report.duplicated) + ", unexpected " + std::to_string(report.unexpected) +
                       "; events:";
    for (const auto& fired : report.events)
        text += " " + machine::describeFault(fired.event) + " (t" + std::to_string(fired.timeMs) + " c" +
                std::to_string(fired.commands) + ")";
    return text;
}

void soakOne(int job, const SoakDesign& design)
{
    const std::uint64_t seed = static_cast<std::uint64_t>(job) * 7919u + 17u;
    JobRig rig;
    rig.host.answers.assign(64, AnswerYes);
    TMDIChild& project = rig.open("design.plt", design.hpgl);
    const auto faults = randomFaultsFor(project, 1 + job % 5, seed);

    VirtualJobReport report = runVirtualJob(rig.context, rig.host, rig.clock, rig.cutter, *rig.session, faults,
                                            JobStart::Start, 24LL * 3600 * 1000);
    SCOPED_TRACE("job " + std::to_string(job) + " seed " + std::to_string(seed) + " on " + design.name + ": " +
                 story(report));
    ASSERT_TRUE(report.ended);
    if (report.outcome == JobOutcome::Refused) {
        // A cable pulled or a wire broken while the job was being prepared: the start is
        // refused with a message, or after the operator was asked.
        EXPECT_FALSE(rig.host.messages.empty() && rig.host.questions.empty());
        EXPECT_TRUE(rig.controller().executedProgram().empty());
        EXPECT_FALSE(report.heatingOnAtEnd);
        return;
    }
    // Never a command missing, doubled or out of order: what ran is a prefix of the program.
    EXPECT_EQ(report.duplicated, 0u);
    EXPECT_EQ(report.unexpected, 0u);

    if (report.outcome != JobOutcome::Completed) {
        // Stopped visibly: the operator was told, and Continue after mending finishes the job.
        EXPECT_FALSE(rig.host.messages.empty() && rig.host.statusHistory.empty());
        rig.cutter.replug();
        rig.cutter.mendWire();
        const auto resumed = runVirtualJob(rig.context, rig.host, rig.clock, rig.cutter, *rig.session,
                                           {{machine::FaultKind::Continue, false, 500, 0}}, JobStart::AlreadyStarted, 24LL * 3600 * 1000);
        EXPECT_EQ(resumed.outcome, JobOutcome::Completed) << story(resumed);
        report = resumed;
    }
    EXPECT_EQ(report.outcome, JobOutcome::Completed);
    EXPECT_FALSE(report.heatingOnAtEnd);

    // Everything the controller executed since the first Start, against the program.
    const DecodedProgram program = decodeCutProgram(fileContent(rig.session->transmission.programPath()),
                                                    DecodeSettings::forMachine(rig.context.machine));
    ASSERT_FALSE(program.error);
    EXPECT_EQ(rig.controller().executedProgram(), rig.programCommands());

    const Extent extent = plannedExtent(program, rig.context.job.originSteps);
    for (const machine::PathPoint& point : rig.controller().path())
        ASSERT_TRUE(extent.contains(point.steps, rig.context.machine))
            << "the wire went to " << point.steps[AxisFrontX] << "," << point.steps[AxisFrontY] << " at "
            << point.timeUs / 1000 << " ms";
}

TEST(FaultSoak, EveryJobFinishesWholeOrStopsVisiblyAndContinues)
{
    const auto designs = soakDesigns();
    const int jobs = soakJobs();
    for (int job = 0; job < jobs; ++job) {
        soakOne(job, designs[static_cast<std::size_t>(job) % designs.size()]);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace kerfline
