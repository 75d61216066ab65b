// A long serial series on the spindle, run whole on the virtual cutter: the wire goes from one
// program to the next without a jump, and ends where the programs' own steps take it.
#include "cutting/job_rig.h"

#include "base/round.h"
#include "designfiles/cut_program_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::JobRig;

std::string fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

bool within(const machine::AxisSteps& a, const machine::AxisSteps& b, std::int32_t tolerance)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (std::abs(std::int64_t{a[axis]} - b[axis]) > tolerance)
            return false;
    return true;
}

TEST(SerialJob, FiftySpindleProgramsEndWhereTheirStepsSayWithoutAJumpBetweenThem)
{
    constexpr int kPrograms = 50;
    JobRig rig;
    Configuration& config = rig.context.configuration;
    config.setChoice(Param::CatDir, 2);  // both ways: the feed turns from one design to the next
    config.setChoice(Param::rgAlgorytmObrotowego, 0);
    // A start height of 350.01 mm, off the 0.025 mm grid of the designs: a carry rounded to that
    // grid would move every program 0.01 mm further from where the wire stands.
    config.setNumber(Param::Xwrzeciona, 12.01);
    config.setNumber(Param::Ywrzeciona, 300.01);
    config.setNumber(Param::Srednicamaterialu, 100);
    // An axis line and a profile above it, 200 mm along the axis.
    rig.openSeries(DeviceSpindle, kPrograms, "IN;SP1;PU0,0;PD8000,0;PU0,200;PD2000,1200,6000,1200,8000,200;PU;");

    // Each program as it is written, and where the wire stands before the first.
    RotaryWriters& writers = rig.session->driver.rotaryWriters;
    const auto save = writers.save_ciecie_seryjne_wrzeciono;
    std::vector<std::string> programs;
    machine::AxisSteps seriesStart{};
    writers.save_ciecie_seryjne_wrzeciono = [&](TMDIChild& project, const std::string& path, const CutProgramJob& job,
                                                int direction, double angleStep) {
        if (programs.empty())
            seriesStart = rig.controller().positions();
        const ProgramWriteResult result = save(project, path, job, direction, angleStep);
        programs.push_back(fileContent(path));
        return result;
    };

    const VirtualJobReport report = runVirtualJob(rig.context, rig.host, rig.clock, rig.cutter, *rig.session, {},
                                                  JobStart::HomeAndStart, 7LL * 24 * 3600 * 1000);
    ASSERT_TRUE(report.ended);
    ASSERT_EQ(report.outcome, JobOutcome::Completed) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);
    ASSERT_EQ(programs.size(), static_cast<std::size_t>(kPrograms));
    EXPECT_EQ(report.executed, report.programCommands);
    EXPECT_EQ(report.unexpected, 0u);

    const MachineState& m = rig.context.machine;
    const std::int64_t startHeight = roundHalfEven<std::int64_t>(35001 * m.resY);
    ASSERT_EQ(seriesStart[AxisFrontY], startHeight);
    // Every program ends back at the start height, at one end of the profile (0 or 200 mm on the
    // axis), a fiftieth of a turn further on: in absolute steps, summed from the series' start.
    machine::AxisSteps at = seriesStart;
    std::vector<machine::AxisSteps> planned;
    for (std::size_t k = 0; k < programs.size(); ++k) {
        SCOPED_TRACE("program " + std::to_string(k));
        const DecodedProgram program = decodeCutProgram(programs[k], DecodeSettings::forMachine(m));
        ASSERT_FALSE(program.error);
        for (const DecodedMove& move : program.moves) {
            for (int axis = 0; axis < kAxisCount; ++axis)
                at[axis] += move.steps[axis];
            planned.push_back(at);
        }
        EXPECT_EQ(at[AxisFrontY], startHeight);
        EXPECT_EQ(at[AxisBackY], startHeight);
        EXPECT_TRUE(at[AxisFrontX] == 0 || at[AxisFrontX] == roundHalfEven<std::int64_t>(20000 * m.resX)) << at[AxisFrontX];
        EXPECT_EQ(at[AxisSpindle] - seriesStart[AxisSpindle], static_cast<std::int64_t>(k + 1) * m.stepsW / kPrograms);
    }
    // The wire passed through every planned position in order and stopped at the last.
    std::size_t next = 0;
    for (const machine::PathPoint& point : rig.controller().path())
        if (next < planned.size() && within(point.steps, planned[next], 0))
            ++next;
    EXPECT_EQ(next, planned.size());
    EXPECT_EQ(rig.controller().positions(), at);
    EXPECT_FALSE(report.heatingOnAtEnd);
}

}  // namespace
}  // namespace kerfline
