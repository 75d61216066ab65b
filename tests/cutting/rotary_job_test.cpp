// Rotary cutting and turning jobs on the virtual cutter, from Start to the end of the job: where
// the axes stand at each heating, the surface the wire traces, and the turning jobs end to end.
#include "job_rig.h"

#include "geometry/geometry.h"
#include "machine/controller_commands.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kerfline {
namespace {

using machine::AxisSteps;
using testing::JobRig;

// An axis line of 200 mm and, apart from it, a profile 10 to 30 mm from it.
const char* const kSpindleDesign = "IN;SP1;PU0,0;PD8000,0;PU0,400;PD2000,1200,6000,1200,8000,400;PU;";

// The machine at the end of every program move, and the speed set and heating in force there.
struct ProgramMoveEnd {
    AxisSteps steps{};
    bool working = false;  // speed set 1 selected: the wire cuts
    int heatings = 0;      // "r" 1 commands executed so far
};

// Walks the executed program beside the recorded path: the program's moves are the last moves
// the controller recorded.
std::vector<ProgramMoveEnd> programMoveEnds(const machine::VirtualController& controller, AxisSteps& start)
{
    const auto& executed = controller.executedProgram();
    std::size_t moves = 0;
    for (const std::string& c : executed)
        moves += c[0] == 'a' && static_cast<std::uint8_t>(c[1]) == 0xFE;
    const auto& path = controller.path();
    EXPECT_GT(path.size(), moves);
    if (path.size() <= moves)
        return {};
    std::size_t at = path.size() - moves;
    start = path[at - 1].steps;
    std::vector<ProgramMoveEnd> ends;
    bool working = false;
    int heatings = 0;
    for (const std::string& c : executed) {
        if (c[0] == 'f')
            working = c[1] == 1;
        if (c[0] == 'r' && c[1] == 1)
            ++heatings;
        if (c[0] == 'a' && static_cast<std::uint8_t>(c[1]) == 0xFE)
            ends.push_back({path[at++].steps, working, heatings});
    }
    return ends;
}

struct RotaryJob : JobRig {
    explicit RotaryJob(int mode, int device)
    {
        Configuration& config = context.configuration;
        config.setChoice(Param::Mode, mode);
        config.setChoice(Param::StolikSwitch, device);
        config.setNumber(Param::Ywrzeciona, 300);
        config.setNumber(Param::Xwrzeciona, 12);
        config.setNumber(Param::Srednicamaterialu, 60);
        config.setNumber(Param::Ystolika, 250);
        config.setNumber(Param::Xstolika, 900);
        home();
    }
};

TEST(RotaryJob, FourPassesMeetTheSpindleAtQuarterTurnsAndTraceTheBodyOfRevolution)
{
    RotaryJob rig(ModeRotary, DeviceSpindle);
    Configuration& config = rig.context.configuration;
    config.setNumber(Param::ilosckrokow, 4);
    config.setChoice(Param::CatDir, 0);
    config.setNumber(Param::il_obr_rys, 1);
    TMDIChild& project = rig.open("profile.plt", kSpindleDesign);
    ASSERT_EQ(project.axisIndex, 0);
    rig.moveTo(12, 300);  // the wire at the axis' height, where a spindle job starts

    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(rig.host.messages.empty()) << rig.host.messages.front().text;
    EXPECT_FALSE(rig.cutter.readout().heating);

    const MachineState& m = rig.context.machine;
    AxisSteps start{};
    const std::vector<ProgramMoveEnd> ends = programMoveEnds(rig.controller(), start);
    ASSERT_FALSE(ends.empty());

    // At each heating of a pass the spindle stands a whole number of quarter turns from where
    // the program began.
    const std::int64_t n = m.stepsW;
    std::vector<std::int64_t> quarters;
    int seen = 1;  // the header's own heating
    AxisSteps now = start;
    for (const ProgramMoveEnd& end : ends) {
        while (seen < end.heatings) {
            const std::int64_t turned = ((std::int64_t{now[AxisSpindle]} - start[AxisSpindle]) % n + n) % n;
            quarters.push_back(turned);
            ++seen;
        }
        now = end.steps;
    }
    ASSERT_EQ(quarters.size(), 4u);
    for (std::size_t j = 0; j < 4; ++j)
        EXPECT_NEAR(static_cast<double>(quarters[j]), static_cast<double>(j) * n / 4.0, 1.0) << "pass " << j;

    // Every point the wire reaches while it cuts lies on the surface of revolution of the
    // profile: its distance from the spindle axis is the profile's radius where it stands.
    const tfigura& profile = project.figures.at(1);
    const double stepX = 1.0 / (m.resX * 100.0);
    const double stepY = 1.0 / (m.resY * 100.0);
    const double originX = start[AxisFrontX] * stepX;  // the program's X 0: the profile's first point
    int cutPoints = 0;
    for (std::size_t e = 0; e < ends.size(); ++e) {
        const ProgramMoveEnd& end = ends[e];
        // The last working move of a pass takes the wire out of the material to its start height.
        if (!end.working || e + 1 == ends.size() || !ends[e + 1].working)
            continue;
        ++cutPoints;
        const double along = end.steps[AxisFrontX] * stepX - originX;
        const double radius = std::abs(end.steps[AxisFrontY] * stepY - 300.0);
        double nearest = 1e9;
        for (std::size_t k = 1; k < profile.points.size(); ++k) {
            const Point a = profile.points[k - 1];
            const Point b = profile.points[k];
            const double ax = unitsToMm(a.x), ay = unitsToMm(a.y), bx = unitsToMm(b.x), by = unitsToMm(b.y);
            const double t = std::clamp(((along - ax) * (bx - ax) + (radius - ay) * (by - ay)) /
                                            ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)),
                                        0.0, 1.0);
            nearest = std::min(nearest, std::hypot(along - (ax + t * (bx - ax)), radius - (ay + t * (by - ay))));
        }
        EXPECT_LE(nearest, std::hypot(stepX, stepY)) << "at " << along << " mm, radius " << radius << " mm";
    }
    EXPECT_EQ(cutPoints, 4 * 4);  // the entry and three segments, four times
}

TEST(RotaryJob, TurningOnTheSpindleAndOnTheTableRunsToTheEndWithTheHeatingOff)
{
    struct Case {
        int device;
        const char* design;
    };
    const Case cases[] = {
        {DeviceSpindle, "IN;SP1;PU0,0;PD8000,0;PU0,800;PD3000,800,3000,1200,8000,400;PU;"},
        {DeviceTable, "IN;SP1;PU0,0;PD0,8000;PU-800,0;PD-800,3000,-1200,3000,-400,8000;PU;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        RotaryJob rig(ModeTurning, c.device);
        rig.context.configuration.setNumber(Param::il_obr_rys, 4);
        rig.context.configuration.setNumber(Param::ilosckrokow, 2);
        rig.open("turning.plt", c.design);
        ASSERT_GE(rig.windows.active()->axisIndex, 0);
        rig.session->driver.Start1Click();
        ASSERT_TRUE(rig.runJob());
        EXPECT_TRUE(rig.host.messages.empty()) << rig.host.messages.front().text;
        const std::vector<std::string> program = rig.programCommands();
        EXPECT_EQ(rig.controller().executedProgram(), program);
        EXPECT_FALSE(rig.cutter.readout().heating);
        std::int64_t turned = 0;
        AxisSteps start{};
        for (const ProgramMoveEnd& end : programMoveEnds(rig.controller(), start))
            turned = std::max<std::int64_t>(turned, std::abs(end.steps[AxisSpindle] - start[AxisSpindle]) +
                                                        std::abs(end.steps[AxisTable] - start[AxisTable]));
        EXPECT_GT(turned, rig.context.machine.stepsW);
    }
}

// The table turning save chooses each figure's nearer end from the wire's start, which the job
// computes from its start X rather than taking an earlier job's value.
TEST(RotaryJob, TableTurningStartsItsReferenceFromItsOwnStartX)
{
    RotaryJob rig(ModeTurning, DeviceTable);
    Configuration& config = rig.context.configuration;
    config.setNumber(Param::Xnarzedzia, 5);
    config.setNumber(Param::skala, 50);
    rig.context.job.programStartY = 777.0;  // left over from an earlier job
    rig.open("turning.plt", "IN;SP1;PU0,0;PD0,8000;PU-800,0;PD-800,3000,-1200,3000,-400,8000;PU;");
    rig.session->driver.Start1Click();
    const JobState& job = rig.context.job;
    EXPECT_DOUBLE_EQ(job.programStartY, (job.programStartX - 900.0 + 5.0) * 100.0 / 50.0);
    EXPECT_DOUBLE_EQ(job.programStartX, 900.0 - 30.0 - 5.0);
}

// A rotary or turning job ends where its own start is, or stays: never at the origin an earlier
// plain job recorded, even when that lies within the return distance of the end.
TEST(RotaryJob, TheEndReturnsToTheJobsOwnOriginNotToAnEarlierPlainJobs)
{
    struct Case {
        int mode;
        int device;
        const char* design;
    };
    const Case cases[] = {
        {ModeRotary, DeviceSpindle, kSpindleDesign},
        {ModeTurning, DeviceSpindle, "IN;SP1;PU0,0;PD8000,0;PU0,800;PD3000,800,3000,1200,8000,400;PU;"},
        {ModeTurning, DeviceTable, "IN;SP1;PU0,0;PD0,8000;PU-800,0;PD-800,3000,-1200,3000,-400,8000;PU;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.device));
        // Where the job ends when nothing draws it elsewhere.
        std::int32_t endX = 0, endY = 0;
        {
            RotaryJob rig(c.mode, c.device);
            rig.open("job.plt", c.design);
            rig.moveTo(12, 300);
            rig.session->driver.Start1Click();
            ASSERT_TRUE(rig.runJob());
            rig.protocol().ReadPositions();
            endX = rig.context.machine.frontX;
            endY = rig.context.machine.frontY;
        }
        RotaryJob rig(c.mode, c.device);
        rig.open("job.plt", c.design);
        rig.moveTo(12, 300);
        // The origin of the plain job before: 0.3 mm from where this job ends.
        JobState& job = rig.context.job;
        job.originX = endX + 30;
        job.originY = endY;
        rig.session->driver.Start1Click();
        const std::int32_t startX = job.originX, startY = job.originY;
        ASSERT_TRUE(rig.runJob());
        rig.protocol().ReadPositions();
        const MachineState& m = rig.context.machine;
        EXPECT_NE(m.frontX, endX + 30);
        const bool stayed = m.frontX == endX && m.frontY == endY;
        const bool atOwnStart = m.frontX == startX && m.frontY == startY;
        EXPECT_TRUE(stayed || atOwnStart) << m.frontX << "," << m.frontY;
    }
}

}  // namespace
}  // namespace kerfline
