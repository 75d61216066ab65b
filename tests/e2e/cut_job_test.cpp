// Whole cutting jobs on the virtual cutter: the wire follows the planned path, long programs
// stream without losing a command, a lost controller leaves a job that can still be stopped and
// continued, and kerfline-cli cut reports all of it.
#include "cutting/job_rig.h"
#include "e2e/json_value.h"

#include "designfiles/cut_program_decoder.h"
#include "geometry/segments.h"
#include "project/wire_trail.h"
#include "geometry/geometry.h"
#include "config/configuration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/wait.h>

namespace kerfline {
namespace {

using testing::JobRig;
using testing::JsonValue;
using testing::TempDir;

struct Design {
    const char* name;
    std::string hpgl;
    bool addFrame = false;
};

// Zigzag rows joined at their ends: one open figure of `points` vertices, no three in line.
std::string serpentine(int points, int perRow)
{
    std::string hpgl = "IN;SP1;PU0,0;PD";
    for (int i = 0; i < points; ++i) {
        const int row = i / perRow;
        const int column = row % 2 ? perRow - 1 - i % perRow : i % perRow;
        hpgl += (i ? "," : "") + std::to_string(column * 80) + "," + std::to_string(row * 80 + (i % 2) * 20);
    }
    return hpgl + ";PU;";
}

std::vector<Design> designs()
{
    std::vector<Design> list = {
        {"square", "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;"},
        {"triangle in a frame", "IN;SP1;PU0,0;PD4000,0,2000,3000,0,0;PU;", true},
        {"nested squares", "IN;SP1;PU0,0;PD8000,0,8000,8000,0,8000,0,0;PU2000,2000;PD6000,2000,6000,6000,2000,6000,2000,2000;PU;"},
        {"open polyline", "IN;SP1;PU0,0;PD2000,1000,4000,0,6000,1000,6000,3000;PU;"},
        {"squares and a line",
         "IN;SP1;PU0,0;PD2000,0,2000,2000,0,2000,0,0;PU3000,0;PD5000,0,5000,2000,3000,2000,3000,0;PU0,3000;PD5000,3500;PU;"},
    };
    // The sample designs that come with the program, when there are any.
    const std::filesystem::path samples = std::filesystem::path(KERFLINE_SOURCE_DIR) / "samples";
    if (std::filesystem::is_directory(samples)) {
        for (const auto& entry : std::filesystem::directory_iterator(samples)) {
            if (entry.path().extension() != ".plt" && entry.path().extension() != ".PLT")
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream content;
            content << in.rdbuf();
            list.push_back({"sample", content.str()});
        }
    }
    return list;
}

std::string fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// Every axis at the end of each move of the program, in motor steps, from the origin.
std::vector<machine::AxisSteps> plannedVertices(const DecodedProgram& program, const machine::AxisSteps& origin)
{
    std::vector<machine::AxisSteps> vertices;
    machine::AxisSteps at = origin;
    for (const DecodedMove& move : program.moves) {
        for (int axis = 0; axis < kAxisCount; ++axis)
            at[axis] += move.steps[axis];
        vertices.push_back(at);
    }
    return vertices;
}

bool within(const machine::AxisSteps& a, const machine::AxisSteps& b, std::int32_t tolerance)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        if (std::abs(std::int64_t{a[axis]} - b[axis]) > tolerance)
            return false;
    return true;
}

// How many planned vertices the path passes through, in order, within one motor step.
std::size_t passedInOrder(const std::vector<machine::AxisSteps>& path, const std::vector<machine::AxisSteps>& planned)
{
    std::size_t next = 0;
    for (const machine::AxisSteps& point : path)
        if (next < planned.size() && within(point, planned[next], 1))
            ++next;
    return next;
}

// The distance (plotter units) from the point to the nearest vertex of the project's figures.
double nearestVertex(const TMDIChild& project, double x, double y)
{
    double best = std::numeric_limits<double>::max();
    for (const tfigura& figure : project.figures)
        for (const Point& p : figure.points)
            best = std::min(best, std::hypot(p.x - x, p.y - y));
    return best;
}

// The distance (plotter units) from the point to the nearest segment of the project's figures.
double nearestSegment(const TMDIChild& project, Point p)
{
    double best = std::numeric_limits<double>::max();
    for (const tfigura& figure : project.figures)
        for (std::size_t i = 1; i < figure.points.size(); ++i)
            best = std::min(best, nearestOnSegment(p, Segment{figure.points[i - 1], figure.points[i]}).distance);
    return best;
}

// Runs Start on the design as kerfline-cli cut does, and checks the job against its program.
void cutAndCheck(const Design& design)
{
    SCOPED_TRACE(design.name);
    JobRig rig;
    if (design.addFrame)
        rig.context.configuration.setCheck(Param::AddFrame, CheckState::cbChecked);
    rig.host.answers = {AnswerYes, AnswerYes, AnswerYes};
    TMDIChild& project = rig.open("design.plt", design.hpgl);

    machine::VirtualController& controller = rig.controller();
    machine::AxisSteps last = controller.positions();
    int movingSamples = 0, coldSamples = 0;
    // The project window's view of the wire, read as the desktop program reads it during a job.
    WireTrail trail;
    rig.protocol().ReadPositions();
    trail.begin(project, rig.context.machine, rig.context.configuration.number(Param::skala));
    rig.beforeTick = [&] {
        rig.protocol().ReadPositions();
        trail.update(rig.context.machine);
        const machine::AxisSteps now = controller.positions();
        if ((controller.statusFlags() & statusBit(StatusFlag::programRunning)) && now != last) {
            ++movingSamples;
            coldSamples += controller.outputOn(1) ? 0 : 1;
        }
        last = now;
    };
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active()) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);
    ASSERT_TRUE(rig.runJob());

    EXPECT_TRUE(rig.host.messages.empty()) << rig.host.messages[0].text;
    EXPECT_FALSE(rig.context.job.jobActive);
    EXPECT_GT(movingSamples, 0);
    EXPECT_EQ(coldSamples, 0);

    const MachineState& s = rig.context.machine;
    const DecodedProgram program =
        decodeCutProgram(fileContent(rig.session->driver.programPath()), DecodeSettings::forMachine(s));
    ASSERT_FALSE(program.error);
    const machine::AxisSteps origin = rig.context.job.originSteps;
    const auto planned = plannedVertices(program, origin);
    std::vector<machine::AxisSteps> path;
    for (const machine::PathPoint& point : controller.path())
        path.push_back(point.steps);
    ASSERT_FALSE(planned.empty());
    EXPECT_EQ(passedInOrder(path, planned), planned.size());

    // Every planned vertex, in plotter units relative to the program origin, is a vertex of the
    // project placed at its start point.
    const tfigura& start = project.figures[static_cast<std::size_t>(project.startFigure)];
    const Point s0 = start.points[static_cast<std::size_t>(start.startVertex)];
    for (const machine::AxisSteps& vertex : planned) {
        const double x = s0.x + (vertex[AxisFrontX] - origin[AxisFrontX]) / s.resX * 0.4;
        const double y = s0.y + (vertex[AxisFrontY] - origin[AxisFrontY]) / s.resY * 0.4;
        ASSERT_LE(nearestVertex(project, x, y), 1.0) << x << "," << y;
    }

    // The trail lies on the design wherever the wire was seen.
    ASSERT_GT(trail.path().size(), 1u);
    for (const Point& p : trail.path())
        ASSERT_LE(nearestSegment(project, p), 2.0) << p.x << "," << p.y;

    // The wire ends at its origin or clearly away from it, never just beside it.
    rig.protocol().ReadPositions();
    for (const std::int32_t off : {s.frontX - rig.context.job.originX, s.frontY - rig.context.job.originY})
        EXPECT_TRUE(off == 0 || std::abs(off) >= JobSupervisor::kOriginReturnHundredths) << off;
}

TEST(CutJob, TheWireFollowsThePlannedPathOfEveryDesign)
{
    for (const Design& design : designs())
        cutAndCheck(design);
}

// Lower-case command letters the controller received after its last "C".
std::size_t programCommandsReceived(const machine::VirtualCutter& cutter)
{
    std::size_t count = 0;
    for (const machine::Report& report : cutter.reports()) {
        if (report[1] == 'C')
            count = 0;
        else if (report[1] >= 'a' && report[1] <= 'z')
            ++count;
    }
    return count;
}

TEST(CutJob, FiveThousandMovesStreamWithoutLosingACommand)
{
    JobRig rig;
    rig.open("serpentine.plt", serpentine(5001, 50));
    rig.moveTo(150, 300);  // the cut starts at the top end
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active()) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);
    ASSERT_TRUE(rig.runJob());

    const DecodedProgram program =
        decodeCutProgram(fileContent(rig.session->driver.programPath()), DecodeSettings::forMachine(rig.context.machine));
    ASSERT_FALSE(program.error);
    EXPECT_GE(program.moves.size(), 5000u);
    const TransmitArm& transmission = rig.session->transmission;
    EXPECT_EQ(transmission.commandsSent(), program.commands.size());
    EXPECT_GT(transmission.bufferFullTicks(), 100u);
    EXPECT_EQ(programCommandsReceived(rig.cutter), program.commands.size());
    EXPECT_EQ(rig.controller().droppedCommands(), 0u);
    EXPECT_EQ(rig.controller().bufferedCommands(), 0u);
    EXPECT_FALSE(rig.context.job.jobActive);
    EXPECT_TRUE(rig.host.messages.empty());
}

TEST(CutJob, AControllerUnpluggedMidJobStopsTheTransmissionAndTheJobCanGoOnAfterwards)
{
    JobRig rig;
    rig.open("serpentine.plt", serpentine(1200, 40));
    TransmitArm& transmission = rig.session->transmission;
    bool unplugged = false;
    rig.beforeTick = [&] {
        if (!unplugged && transmission.commandsSent() >= 700) {
            rig.cutter.unplug();
            unplugged = true;
        }
    };
    rig.done = [&] { return unplugged && !transmission.active(); };
    rig.controller().clearExecuted();
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.runJob());

    const std::uint64_t sent = transmission.commandsSent();
    EXPECT_LT(sent, 3000u);
    // The transmission keeps its place: what was not written is still to be sent.
    EXPECT_TRUE(transmission.interrupted());
    EXPECT_EQ(rig.host.statusHistory.back().rfind(rig.context.Text("Transmission", "przerwano"), 0), 0u);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
    EXPECT_TRUE(rig.context.job.jobActive);  // the controller still runs what it holds

    // The cable goes back in while the controller still works through its buffer.
    rig.clock.advance(500);
    rig.cutter.replug();
    rig.host.runPosted();
    ASSERT_TRUE(rig.session->link.connected());
    rig.protocol().ReadStatus();
    ASSERT_TRUE(rig.context.machine.programRunning());
    EXPECT_EQ(programCommandsReceived(rig.cutter), sent);

    rig.session->supervisor.Wstrzymaj1Click();
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_FALSE(rig.context.job.jobActive);
    EXPECT_TRUE(rig.context.job.stoppedByOperator);

    rig.session->supervisor.Kontynuacja1Click();
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
    EXPECT_TRUE(rig.context.job.jobActive);
    // Continue goes on with the transmission from the first command not written.
    EXPECT_FALSE(transmission.interrupted());
    EXPECT_TRUE(transmission.active());

    rig.beforeTick = {};
    rig.done = {};
    ASSERT_TRUE(rig.runJob());
    EXPECT_FALSE(rig.context.job.jobActive);
    const DecodedProgram program =
        decodeCutProgram(fileContent(rig.session->driver.programPath()), DecodeSettings::forMachine(rig.context.machine));
    ASSERT_FALSE(program.error);
    EXPECT_EQ(transmission.commandsSent(), program.commands.size());
    EXPECT_EQ(programCommandsReceived(rig.cutter), program.commands.size());
    EXPECT_EQ(rig.controller().executedProgram().size(), program.commands.size());
    EXPECT_EQ(rig.controller().bufferedCommands(), 0u);
    EXPECT_EQ(rig.controller().droppedCommands(), 0u);
}

// The trail shows only what the wire cut. The wire runs on while the cable is out, and the
// operator moves it by hand during a pause: neither may join the route with a line of its own.
TEST(CutJob, TheWireTrailLeavesAGapWhereTheWireWasNotFollowed)
{
    JobRig rig;
    rig.moveTo(300, 300);
    TMDIChild& project = rig.open("square.plt", "IN;SP1;PU0,0;PD8000,0,8000,8000,0,8000,0,0;PU;");
    rig.host.answers = {AnswerYes, AnswerYes, AnswerYes};
    const Configuration& config = rig.context.configuration;
    WireTrail trail;
    rig.protocol().ReadPositions();
    trail.begin(project, rig.context.machine, config.number(Param::skala));

    enum class Stage { Cutting, Unplugged, Replugged, Jogging, Resumed };
    Stage stage = Stage::Cutting;
    std::int64_t since = -1;
    double awayFromDesign = 0.0;  // where the hand took the wire during the pause
    rig.beforeTick = [&] {
        trail.follow(rig.context.machine, rig.protocol().ReadStatusAndPositions());
        const std::int64_t now = rig.clock.nowMs();
        if (since < 0 && rig.context.machine.programRunning())
            since = now;
        if (since < 0)
            return;
        switch (stage) {
        case Stage::Cutting:
            if (now - since >= 4000) {
                rig.cutter.unplug();
                stage = Stage::Unplugged;
                since = now;
            }
            break;
        case Stage::Unplugged:
            if (now - since >= 3000) {
                rig.cutter.replug();
                stage = Stage::Replugged;
                since = now;
            }
            break;
        case Stage::Replugged:
            if (now - since >= 3000) {
                rig.session->supervisor.Wstrzymaj1Click();
                rig.session->motion.JogByKey(machine::KeyLeft, true, true);
                stage = Stage::Jogging;
                since = now;
            }
            break;
        case Stage::Jogging:
            if (now - since >= 1500) {
                const MachineState& m = rig.context.machine;
                awayFromDesign = nearestSegment(project, trail.toProject(m.frontX, m.frontY));
                rig.session->motion.StopMotion();
                rig.protocol().WaitWhileBusy();
                rig.session->supervisor.Kontynuacja1Click();
                stage = Stage::Resumed;
            }
            break;
        case Stage::Resumed:
            break;
        }
    };
    // A paused job is idle: it ends only once it has been continued.
    rig.done = [&] { return stage == Stage::Resumed && jobIdle(rig.context, rig.session->transmission); };
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active());
    ASSERT_TRUE(rig.runJob(600000));
    ASSERT_EQ(stage, Stage::Resumed);

    // Between two reads the wire cuts no farther than its fastest speed takes it.
    const double fastest = std::max(config.number(Param::szybkoscObrobki), config.number(Param::PrzeSpeed));
    const double step = fastest / 60000.0 * 40.0 * 100.0 * 1.5 + 2.0;
    const std::vector<Point>& path = trail.path();
    std::vector<std::size_t> starts = trail.segmentStarts();
    EXPECT_GT(awayFromDesign, 200.0);
    // The cable; the pause leaves none when Continue brings the wire back to where it stopped.
    EXPECT_GE(starts.size(), 2u);
    starts.push_back(path.size());
    for (std::size_t segment = 0; segment + 1 < starts.size(); ++segment) {
        for (std::size_t i = starts[segment]; i < starts[segment + 1]; ++i) {
            ASSERT_LE(nearestSegment(project, path[i]), 2.0) << path[i].x << "," << path[i].y;
            if (i > starts[segment]) {
                ASSERT_LE(distance(path[i - 1], path[i]), step) << path[i].x << "," << path[i].y;
            }
        }
    }
}

struct CliRun {
    int status = -1;
    std::string output;
};

CliRun runCli(const std::string& arguments)
{
    CliRun run;
    const std::string command = std::string("\"") + KERFLINE_CLI + "\" " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(CutCommand, ReportsTheJobAsJson)
{
    TempDir dir;
    const std::string design = dir.write("nested.plt", designs()[2].hpgl);
    const CliRun run = runCli("cut \"" + design + "\" --virtual-machine \"dataDir'" + dir.str() + "data'\"");
    ASSERT_EQ(run.status, 0);
    const auto json = JsonValue::parse(run.output);
    ASSERT_TRUE(json) << run.output.substr(0, 200);
    const JsonValue& root = *json;

    EXPECT_EQ(root["machine"]["product"].text, "Qd 1200");
    EXPECT_EQ(root["machine"]["resX"].number, 2.5);
    EXPECT_EQ(root["machine"]["stepsS"].integer(), 8000);
    ASSERT_EQ(root["origin"].items.size(), 8u);
    EXPECT_GE(root["batches"].integer(), 1);
    EXPECT_GT(root["jobTimeMs"].integer(), 0);
    EXPECT_TRUE(root["messages"].items.empty());

    MachineState machine;
    machine.versionMajor = 4;  // the default virtual model takes the long power command
    machine.resX = machine.resY = 2.5;
    const DecodedProgram program =
        decodeCutProgram(fileContent(dir.str() + "data/out.cn"), DecodeSettings::forMachine(machine));
    ASSERT_FALSE(program.error);
    EXPECT_EQ(root["sent"].integer(), static_cast<long long>(program.commands.size()));

    machine::AxisSteps origin{};
    for (std::size_t axis = 0; axis < 8; ++axis)
        origin[axis] = static_cast<std::int32_t>(root["origin"][axis].integer());
    std::vector<machine::AxisSteps> path;
    long long previousTime = -1;
    for (const JsonValue& point : root["path"].items) {
        EXPECT_GE(point["t"].integer(), previousTime);
        previousTime = point["t"].integer();
        machine::AxisSteps steps{};
        for (std::size_t axis = 0; axis < 8; ++axis)
            steps[axis] = static_cast<std::int32_t>(point["steps"][axis].integer());
        path.push_back(steps);
    }
    const auto planned = plannedVertices(program, origin);
    EXPECT_EQ(passedInOrder(path, planned), planned.size());
}

// With --home the rotary axes are homed as well, and a spindle job finds the wire at the axis.
TEST(CutCommand, RunsRotaryAndTurningJobsAfterHoming)
{
    TempDir dir;
    const std::string onSpindle =
        dir.write("spindle.plt", "IN;SP1;PU0,0;PD8000,0;PU0,400;PD2000,1200,6000,1200,8000,400;PU;");
    const std::string onTable = dir.write("table.plt", "IN;SP1;PU0,0;PD0,8000;PU-400,0;PD-1200,2000,-1200,6000,-400,8000;PU;");
    const struct {
        std::string design;
        const char* settings;
    } cases[] = {
        {onSpindle, "--set Mode=1"},
        {onTable, "--set Mode=1 --set StolikSwitch=1"},
        {onSpindle, "--set Mode=3"},
        {onTable, "--set Mode=3 --set StolikSwitch=1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        const CliRun run = runCli("cut \"" + c.design + "\" --virtual-machine --home --set Ywrzeciona=300 --set ilosckrokow=2 " +
                                  c.settings + " \"dataDir'" + dir.str() + "data'\"");
        ASSERT_EQ(run.status, 0) << run.output.substr(0, 300);
        const auto json = JsonValue::parse(run.output);
        ASSERT_TRUE(json);
        const JsonValue& root = *json;
        EXPECT_EQ(root["status"].text, "completed");
        EXPECT_TRUE(root["messages"].items.empty());
        EXPECT_GT(root["commands"].integer(), 40);
        EXPECT_EQ(root["executed"].integer(), root["commands"].integer());
        EXPECT_FALSE(root["heatingOnAtEnd"].boolean);
    }
}

TEST(CutCommand, RefusesWhatItCannotRun)
{
    TempDir dir;
    const std::string design = dir.write("square.plt", designs()[0].hpgl);
    const std::string data = " \"dataDir'" + dir.str() + "data'\"";
    EXPECT_EQ(runCli("cut \"" + design + "\"" + data).status, 2);  // no virtual cutter
    EXPECT_EQ(runCli("cut \"" + design + "\" --virtual-machine \"limitX'50'\"" + data).status, 1);  // too large
    EXPECT_EQ(runCli("cut \"" + dir.str() + "missing.plt\" --virtual-machine" + data).status, 1);
}


// The whole stop, break, mend and continue story of one job from one command line, and faults of
// the cable that the link and the transmission ride out: every command runs once, in order.
TEST(CutCommand, RunsAFaultScheduleAndReportsWhatTheControllerExecuted)
{
    struct Case {
        const char* faults;
        const char* status;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"write-fail@c20,write-fail-delivered@c40:121,busy@c60:3,read-fail@t500:4", "completed",
         // In the order they struck: the start takes longer than half a second.
         {"write-fail@c20:31", "read-fail@t500:4", "write-fail-delivered@c40:121", "busy@c60:3"}},
        {"stop@t2000,continue@t4000,wire-break@t6000,wire-mend@t8000,continue@t9000", "completed",
         {"stop@t2000", "continue@t4000", "wire-break@t6000", "wire-mend@t8000", "continue@t9000"}},
        {"unplug@t1500,replug@t3000,continue@t4000", "completed", {"unplug@t1500", "replug@t3000", "continue@t4000"}},
        {"machine-stop@t2000", "stopped", {"machine-stop@t2000"}},
    };
    TempDir dir;
    const std::string design = dir.write("nested.plt", designs()[2].hpgl);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.faults);
        const CliRun run = runCli("cut \"" + design + "\" --virtual-machine --home --faults " + c.faults +
                                  " \"dataDir'" + dir.str() + "data'\"");
        ASSERT_EQ(run.status, 0);
        const auto json = JsonValue::parse(run.output);
        ASSERT_TRUE(json) << run.output.substr(0, 200);
        const JsonValue& root = *json;
        EXPECT_EQ(root["status"].text, c.status);
        EXPECT_EQ(root["duplicated"].integer(), 0);
        EXPECT_EQ(root["unexpected"].integer(), 0);
        if (std::string(c.status) == "completed")
            EXPECT_EQ(root["executed"].integer(), root["commands"].integer());
        else
            EXPECT_LT(root["executed"].integer(), root["commands"].integer());
        EXPECT_FALSE(root["heatingOnAtEnd"].boolean);
        std::vector<std::string> events;
        for (const JsonValue& event : root["events"].items)
            events.push_back(event["event"].text);
        EXPECT_EQ(events, c.events);
    }
}

TEST(CutCommand, RefusesAFaultScheduleItCannotRead)
{
    TempDir dir;
    const std::string design = dir.write("square.plt", designs()[0].hpgl);
    for (const char* faults : {"--faults melt@t1", "--faults stop", "--faults", "--random-faults x"}) {
        const CliRun run = runCli("cut \"" + design + "\" --virtual-machine " + faults);
        EXPECT_EQ(run.status, 2) << faults;
    }
}

TEST(CutCommand, RandomFaultsAreRepeatableFromTheirSeed)
{
    TempDir dir;
    const std::string design = dir.write("nested.plt", designs()[2].hpgl);
    const std::string command =
        "cut \"" + design + "\" --virtual-machine --random-faults 4 --seed 11 \"dataDir'" + dir.str() + "data'\"";
    const CliRun first = runCli(command);
    const CliRun second = runCli(command);
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(first.output, second.output);
    const auto json = JsonValue::parse(first.output);
    ASSERT_TRUE(json);
    EXPECT_GE((*json)["events"].items.size(), 4u);
}

}  // namespace
}  // namespace kerfline
