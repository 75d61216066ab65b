// Job supervision: Stop and Continue, the shaped-wire rule, the end of a job with its follow-ups,
// the machine's buttons and the serial repetition.
#include "job_rig.h"

#include "base/round.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kerfline {
namespace {

using testing::FakeRig;
using testing::flags;
using testing::JobRig;

constexpr const char* kSquare = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";

// Sends a program of long moves and runs it until the wire is under way.
void startLongProgram(JobRig& rig)
{
    std::string program;
    for (int i = 0; i < 20; ++i)
        program += rig.protocol().BuildMove('a', {i % 2 ? -4000 : 4000, 2000, 0, 0, i % 2 ? -4000 : 4000, 2000, 0, 0}).text;
    rig.dir.write("out.cn", program);
    ASSERT_TRUE(rig.session->transmission.start());
    while (rig.session->transmission.active())
        rig.clock.advance(rig.session->transmission.tick());
    rig.clock.advance(1500);
    rig.protocol().ReadStatus();
    ASSERT_TRUE(rig.context.machine.programRunning());
}

std::size_t count(const std::string& text, char letter)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), letter));
}

// A paused program's wire may be jogged by hand, heated; at rest it is cooled again.
TEST(JobSupervisor, AJogDuringAPauseLeavesNoWireHotAtRest)
{
    JobRig rig;
    startLongProgram(rig);
    rig.session->supervisor.Wstrzymaj1Click();
    ASSERT_FALSE(rig.cutter.readout().heating);
    rig.session->motion.JogByKey(machine::KeyRight, true, true);
    rig.clock.sleepMs(300);
    EXPECT_TRUE(rig.cutter.readout().heating);
    rig.session->motion.StopMotion();
    rig.protocol().WaitWhileBusy();
    rig.session->panel.Timer1Timer();
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_FALSE(rig.cutter.readout().heating);
}

TEST(JobSupervisor, StopPausesTheProgramAndContinueBringsTheWireBack)
{
    JobRig rig;
    startLongProgram(rig);
    rig.cutter.clearReports();
    rig.session->supervisor.Wstrzymaj1Click();

    MachineState& s = rig.context.machine;
    rig.protocol().ReadStatus();
    EXPECT_TRUE(s.paused());
    EXPECT_FALSE(rig.context.job.jobActive);
    EXPECT_TRUE(rig.context.job.stoppedByOperator);
    rig.protocol().ReadPositions();
    ASSERT_TRUE(rig.context.job.pausePoint);
    const PausePoint pause = *rig.context.job.pausePoint;
    EXPECT_EQ(pause.frontX, s.frontX);
    EXPECT_EQ(pause.backY, s.backY);
    // Pause, every heating output off, speed set 2.
    const std::string stopLetters = rig.letters();
    EXPECT_EQ(stopLetters.front(), 'Q');
    EXPECT_EQ(stopLetters.back(), 'F');
    EXPECT_EQ(stopLetters.find_first_not_of('R', 1), stopLetters.size() - 1);
    for (const int output : {1, 2, 3})
        EXPECT_FALSE(rig.controller().outputOn(output)) << output;

    // The operator moves the wire away; Continue brings it back, heated, before "K".
    rig.session->motion.gotopoint(true, 0, pause.frontX / 100.0 + 20, pause.backX / 100.0 + 20, pause.frontY / 100.0,
                                  pause.backY / 100.0, s.tableRemainder, s.spindleRemainder);
    rig.cutter.clearReports();
    rig.session->supervisor.Kontynuacja1Click();
    const std::string letters = rig.letters();
    ASSERT_NE(letters.find('K'), std::string::npos);
    EXPECT_LT(letters.find('R'), letters.find('A'));  // heating on before the way back
    rig.protocol().ReadPositions();
    EXPECT_EQ(s.frontX, pause.frontX);
    EXPECT_EQ(s.backX, pause.backX);
    EXPECT_TRUE(rig.controller().outputOn(1));
    rig.protocol().ReadStatus();
    EXPECT_TRUE(s.programRunning());
    EXPECT_TRUE(rig.context.job.jobActive);
    EXPECT_FALSE(rig.context.job.stoppedByOperator);
}

TEST(JobSupervisor, StopDuringAJogStopsTheMotionAndRecordsTheRotaryPositions)
{
    JobRig rig;
    rig.session->motion.JogByKey(machine::KeyPageUp, false, false);  // turns the spindle
    rig.clock.advance(200);
    rig.cutter.clearReports();
    EXPECT_TRUE(rig.session->supervisor.wstrzymaj());
    EXPECT_EQ(rig.letters(), "YRF");
    EXPECT_TRUE(rig.context.job.stoppedByOperator);
    EXPECT_EQ(rig.session->motion.savedSpindleRemainder, rig.context.machine.spindleRemainder);
    EXPECT_NE(rig.session->motion.savedSpindleRemainder, 567);  // it had turned
}

TEST(JobSupervisor, AControllerThatNeverReportsThePauseIsGivenUpAfterFiveSeconds)
{
    FakeRig rig;
    rig.status(flags({StatusFlag::programRunning}));
    rig.context.job.jobActive = true;
    const std::int64_t start = rig.clock.nowMs();
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(rig.session->supervisor.wstrzymaj());
        EXPECT_TRUE(rig.context.job.jobActive);  // still supervised: Stop can be given again
    }
    const std::int64_t waited = rig.clock.nowMs() - start;
    EXPECT_GE(waited, 2 * JobSupervisor::kPauseTimeoutMs);
    EXPECT_LT(waited, 2 * JobSupervisor::kPauseTimeoutMs + 100);
    ASSERT_EQ(rig.host.messages.size(), 2u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
}

TEST(JobSupervisor, ContinueOfAProgramWaitingForGoSendsOnlyGo)
{
    for (const bool percent : {false, true}) {
        SCOPED_TRACE(percent ? "power in percent" : "power in amperes");
        FakeRig rig;
        rig.status(flags({StatusFlag::programRunning, StatusFlag::waitingForGo}));
        rig.context.machine.reportsPowerInPercent = percent;
        rig.platform.reports.clear();
        rig.session->supervisor.kontynuuj();
        const std::string letters = rig.letters();
        EXPECT_EQ(letters.back(), 'G');
        EXPECT_EQ(count(letters, 'G'), 1u);
        EXPECT_EQ(letters.size() > 1, percent);  // the power ramp first
        EXPECT_FALSE(rig.context.job.jobActive);
    }
}

TEST(JobSupervisor, NothingWithoutAController)
{
    FakeRig rig;
    rig.platform.devices.clear();
    rig.session->link.DeviceChanged();
    rig.context.job.jobActive = true;
    EXPECT_FALSE(rig.session->supervisor.wstrzymaj());
    rig.session->supervisor.kontynuuj();
    EXPECT_TRUE(rig.context.job.jobActive);
    EXPECT_TRUE(rig.platform.reports.empty() || rig.letters() == "X");
}

struct MoveCase {
    const char* product;
    int powerOutput;
    std::int32_t backX;
    bool front, back;
    bool allowed;
    const char* warning;  // first key of the warning
};

TEST(JobSupervisor, AShapedWireMovesOnlyWithAlignedArmsTogether)
{
    const MoveCase cases[] = {
        {"Qd 1200", 0, 500, true, false, true, nullptr},
        {"KK 1200", 1, 500, true, false, true, nullptr},
        {"Qd 1200", 1, 100, true, true, true, nullptr},
        {"Pr 1200", 1, 100, true, false, false, "ruch1goRamieniaZabroniony"},
        {"Qd 1200", 1, 500, true, true, false, "ruchRamionZabronionyRozneXY"},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " output " + std::to_string(c.powerOutput));
        FakeRig rig(c.product);
        rig.context.configuration.setChoice(Param::PowerOutput, c.powerOutput);
        MachineState& s = rig.context.machine;
        s.frontX = 100;
        s.backX = c.backX;
        s.frontY = s.backY = 200;
        s.KeyFront = c.front;
        s.KeyBack = c.back;
        EXPECT_EQ(rig.session->supervisor.MoznaRuszac(), c.allowed);
        if (c.warning) {
            ASSERT_EQ(rig.host.messages.size(), 1u);
            EXPECT_EQ(rig.host.messages[0].text.rfind(rig.context.Text("Control", c.warning), 0), 0u);
            EXPECT_EQ(rig.host.messages[0].caption, rig.context.Text("Universal", "uwaga"));
        } else {
            EXPECT_TRUE(rig.host.messages.empty());
        }
    }
}

struct OriginCase {
    std::int32_t dx, dy;  // hundredths of a millimetre from the origin
    bool returns;
};

TEST(JobSupervisor, AJobEndingCloseToItsOriginReturnsToIt)
{
    const OriginCase cases[] = {{30, 0, true}, {0, -30, true}, {60, 30, true}, {60, 0, false}, {-50, 0, false}, {0, 0, false}};
    for (const OriginCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + "," + std::to_string(c.dy));
        JobRig rig;
        int menuRefreshes = 0;
        rig.session->supervisor.updateMenuItems = [&menuRefreshes] { ++menuRefreshes; };
        MachineState& s = rig.context.machine;
        rig.protocol().ReadPositions();
        const std::int32_t endX = s.frontX, endY = s.frontY;
        rig.context.job.originX = endX + c.dx;
        rig.context.job.originY = endY + c.dy;
        rig.context.job.jobActive = true;
        rig.session->supervisor.tick();

        EXPECT_FALSE(rig.context.job.jobActive);
        EXPECT_EQ(menuRefreshes, 1);
        rig.protocol().ReadPositions();
        EXPECT_EQ(s.frontX, c.returns ? endX + c.dx : endX);
        EXPECT_EQ(s.frontY, c.returns ? endY + c.dy : endY);
        EXPECT_EQ(s.backX, s.frontX);  // both arms stood together and stay together
    }
}

TEST(JobSupervisor, TheMachineButtons)
{
    JobRig rig;
    rig.open("square.plt", kSquare);

    // Start while idle starts the active project as Start does.
    rig.controller().pressStart();
    rig.protocol().ReadStatus();
    rig.cutter.clearReports();
    rig.session->supervisor.tick();
    EXPECT_EQ(rig.letters().front(), 'Y');
    EXPECT_TRUE(rig.session->transmission.active());
    EXPECT_EQ(rig.context.job.jobCounter, 1);

    rig.done = [&rig] { return rig.context.job.jobActive && rig.context.machine.programRunning(); };
    ASSERT_TRUE(rig.runJob());
    rig.clock.advance(2000);

    // Stop pauses the running program.
    rig.controller().pressStop();
    rig.protocol().ReadStatus();
    rig.session->supervisor.tick();
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_TRUE(rig.context.job.stoppedByOperator);

    // Continue resumes it.
    rig.controller().pressContinue();
    rig.protocol().ReadStatus();
    rig.session->supervisor.tick();
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
    EXPECT_FALSE(rig.context.job.stoppedByOperator);
    EXPECT_TRUE(rig.context.job.jobActive);

    rig.done = {};
    ASSERT_TRUE(rig.runJob());
    EXPECT_FALSE(rig.context.job.jobActive);
}

TEST(JobSupervisor, TheRepeatSwitchStartsTheJobAgain)
{
    JobRig rig(machine::kDefaultVirtualProduct, {"REPEAT"});
    rig.open("square.plt", kSquare);
    rig.session->driver.Start1Click();
    rig.done = [&rig] { return rig.context.job.jobCounter == 2; };
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(rig.session->transmission.active());
}

TEST(JobSupervisor, TheSerialRepetitionGoesDownByTheShiftUntilItIsUsedUp)
{
    JobRig rig;
    rig.home();
    rig.openSeries(DeviceTable, 2, "IN;SP1;PU0,0;PD2000,0,2000,2000,0,2000,0,0;PU;");
    rig.context.configuration.setChoice(Param::rgKatObrotu, 1);
    JobState& job = rig.context.job;
    rig.session->driver.dialogs.serial = [&] {
        job.serialRepetition.remaining = 1;
        job.serialRepetition.shiftMm = 5.0;
        return true;
    };
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active());
    const double startY = job.programStartY;

    // The series has not begun yet: the controller runs no program, but nothing is repeated.
    rig.cutter.clearReports();
    rig.session->supervisor.serialRepetition();
    EXPECT_EQ(job.serialRepetition.remaining, 1);
    EXPECT_EQ(rig.letters(), "");

    const std::size_t commands = rig.programCommands().size();
    rig.controller().clearExecuted();
    ASSERT_TRUE(rig.runJob());
    // The series has ended: it is sent again, 5 mm lower.
    rig.session->supervisor.serialRepetition();
    EXPECT_EQ(job.serialRepetition.remaining, 0);
    EXPECT_DOUBLE_EQ(job.programStartY, startY - 5.0);
    rig.protocol().ReadPositions();
    EXPECT_EQ(rig.context.machine.frontY, roundHalfEven(job.programStartY * 100.0));
    ASSERT_TRUE(rig.session->transmission.active());
    ASSERT_TRUE(rig.runJob());
    EXPECT_EQ(rig.controller().executedProgram().size(), 2 * commands);

    rig.clock.advance(100);
    rig.session->supervisor.serialRepetition();
    EXPECT_FALSE(job.serialRepetition.armed);
}

TEST(JobSupervisor, TheFrontWiresJobIsFollowedByTheSideWiresJob)
{
    JobRig rig("Pr 1200", {"MachineName'Pr 1200'"});
    rig.home();
    rig.context.configuration.setChoice(Param::Mode, ModePerpendicular);
    TMDIChild& front = rig.open("front.plt", kSquare, 0);
    TMDIChild& side = rig.open("side.plt", kSquare, 1);
    rig.windows.activate(front);
    rig.context.job.sideWireStart = {300, 20};
    ASSERT_TRUE(rig.context.machine.KeyFront);
    ASSERT_FALSE(rig.context.machine.KeyBack);

    // The front wire's job has just ended with the wire low.
    rig.moveTo(100, 50);
    rig.context.job.jobActive = true;
    rig.session->supervisor.tick();

    MachineState& s = rig.context.machine;
    EXPECT_TRUE(s.KeyBack);
    EXPECT_FALSE(s.KeyFront);
    EXPECT_EQ(rig.windows.active(), &side);
    rig.protocol().ReadPositions();
    // The front wire rose above the side project (100 mm) and the side wire's start (20 mm).
    EXPECT_EQ(s.frontX, 0);
    EXPECT_EQ(s.frontY, 13000);
    EXPECT_EQ(s.backX, 30000);
    EXPECT_EQ(s.backY, 2000);
    EXPECT_TRUE(rig.session->transmission.active()) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);

    // When the side wire's job ends, the front wire is selected again.
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(s.KeyFront);
    EXPECT_FALSE(s.KeyBack);
}

// Channel 10 of the fake controller: these flags, the front arm at (x, y) steps.
void fakeStatus(FakeRig& rig, std::uint32_t statusFlags, std::int32_t x, std::int32_t y)
{
    std::vector<std::uint8_t> reply(64, 0);
    auto put = [&reply](std::size_t at, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            reply[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    put(2, statusFlags);
    put(6, static_cast<std::uint32_t>(x));
    put(10, static_cast<std::uint32_t>(y));
    rig.platform.channels[10] = reply;
}

// One failed read (the link's ten tries) after `answered` reads that succeed.
void failReadAfter(FakeRig& rig, int answered)
{
    rig.platform.readResults.assign(static_cast<std::size_t>(answered), 0);
    rig.platform.readResults.insert(rig.platform.readResults.end(), 10, machine::hid_error::GenFailure);
}

TEST(JobSupervisorFaults, AStopWhosePositionReadFailsLeavesNoPausePointToDriveTo)
{
    FakeRig rig;
    fakeStatus(rig, flags({StatusFlag::programRunning, StatusFlag::paused}), 30000, 20000);
    rig.context.job.jobActive = true;
    failReadAfter(rig, 3);  // the status before "Q", the wait, the pause seen; then the positions
    EXPECT_TRUE(rig.session->supervisor.wstrzymaj());
    EXPECT_FALSE(rig.context.job.pausePoint);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));

    // Continue resumes where the wire stands: no move through the work toward (0, 0).
    fakeStatus(rig, flags({StatusFlag::paused}), 30000, 20000);
    rig.platform.reports.clear();
    rig.session->supervisor.Kontynuacja1Click();
    const std::string letters = rig.letters();
    EXPECT_EQ(letters.find('A'), std::string::npos) << letters;
    EXPECT_NE(letters.find('K'), std::string::npos);
    EXPECT_TRUE(rig.context.job.jobActive);
}

TEST(JobSupervisorFaults, AJobEndsOnlyOnAnAnswerThatShowsItsProgramEnded)
{
    const char* cases[] = {"failed read", "wire break"};
    for (const std::string c : cases) {
        SCOPED_TRACE(c);
        JobRig rig(machine::kDefaultVirtualProduct, {"REPEAT"});
        rig.open("square.plt", kSquare);
        int menuRefreshes = 0;
        rig.session->supervisor.updateMenuItems = [&menuRefreshes] { ++menuRefreshes; };
        startLongProgram(rig);
        ASSERT_TRUE(rig.context.job.jobActive);
        if (c == "failed read")
            rig.cutter.failReads(10);
        else
            rig.cutter.breakWire();
        rig.session->supervisor.tick();
        rig.session->supervisor.tick();
        EXPECT_TRUE(rig.context.job.jobActive);
        EXPECT_EQ(menuRefreshes, 0);
        EXPECT_EQ(rig.context.job.jobCounter, 0);  // "REPEAT" started nothing
    }
}

TEST(JobSupervisorFaults, ContinueOnAnIdleMachineStartsNoWork)
{
    JobRig rig(machine::kDefaultVirtualProduct, {"REPEAT"});
    rig.open("square.plt", kSquare);
    rig.cutter.clearReports();
    rig.session->supervisor.Kontynuacja1Click();
    EXPECT_FALSE(rig.context.job.jobActive);
    rig.session->supervisor.tick();
    EXPECT_EQ(rig.context.job.jobCounter, 0);
    EXPECT_FALSE(rig.session->transmission.active());
    EXPECT_EQ(rig.letters().find_first_of("AGK"), std::string::npos);
}

TEST(JobSupervisorFaults, TheWireIsColdWhenTheJobHasEnded)
{
    JobRig rig;
    rig.open("square.plt", kSquare);
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.runJob());
    for (const int output : {1, 2, 3})
        EXPECT_FALSE(rig.controller().outputOn(output)) << output;
}

TEST(JobSupervisorFaults, ContinueAfterAWireBreakResumesWhereTheControllerPaused)
{
    JobRig rig;
    startLongProgram(rig);
    rig.session->supervisor.Wstrzymaj1Click();
    rig.session->supervisor.Kontynuacja1Click();
    rig.clock.advance(1500);  // the wire cuts on, away from the first pause point
    rig.session->supervisor.tick();

    rig.cutter.breakWire();
    rig.cutter.failReads(10);
    rig.session->supervisor.tick();  // no answer: no pause point from it
    EXPECT_FALSE(rig.context.job.pausePoint);
    rig.session->supervisor.tick();
    MachineState& s = rig.context.machine;
    ASSERT_TRUE(rig.protocol().ReadPositions());
    const std::int32_t x = s.frontX, y = s.frontY;
    ASSERT_TRUE(rig.context.job.pausePoint);
    EXPECT_EQ(rig.context.job.pausePoint->frontX, x);
    EXPECT_EQ(rig.context.job.pausePoint->frontY, y);

    rig.cutter.mendWire();
    rig.cutter.clearReports();
    rig.controller().clearPath();
    rig.session->supervisor.Kontynuacja1Click();
    const std::string letters = rig.letters();
    EXPECT_EQ(letters.find('A'), std::string::npos) << "the wire was driven somewhere: " << letters;
    EXPECT_NE(letters.find('K'), std::string::npos);
    EXPECT_TRUE(rig.context.job.jobActive);
    EXPECT_FALSE(rig.context.job.pausePoint);
}

TEST(JobSupervisorFaults, AWireBreakDuringAJobIsReportedOnce)
{
    JobRig rig;
    startLongProgram(rig);
    rig.cutter.breakWire();
    for (int tick = 0; tick < 3; ++tick)
        rig.session->supervisor.tick();
    const std::string text = rig.context.Text("Control", "zerwanyDrutPodczasPracy");
    EXPECT_NE(text, "error");
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, text);
    EXPECT_TRUE(rig.host.messages[0].isError);
    ASSERT_FALSE(rig.host.statusHistory.empty());
    EXPECT_EQ(rig.host.statusHistory.back(), rig.context.Text("Control", "zerwanyDrutStatus"));
}

// The transmission's progress does not cover the alarm while the rest of the program waits.
TEST(JobSupervisorFaults, TheWireBreakStaysInTheStatusBarWhileTheTransmissionWaits)
{
    JobRig rig;
    rig.host.answers.assign(4, AnswerYes);
    rig.open("circle.plt", testing::circleDesign(300));
    rig.session->driver.Start1Click();
    rig.done = [&rig] { return rig.session->transmission.commandsSent() >= 600; };
    ASSERT_TRUE(rig.runJob());
    rig.cutter.breakWire();
    const std::int64_t until = rig.clock.nowMs() + 2000;
    rig.done = [&rig, until] { return rig.clock.nowMs() >= until; };
    rig.runJob(3000);
    ASSERT_TRUE(rig.session->transmission.active());
    EXPECT_EQ(rig.host.statusPanels[0], rig.context.Text("Control", "zerwanyDrutStatus"));
}

TEST(JobSupervisorFaults, TheSerialRepetitionDoesNotMoveOnAFailedReadNorDuringAPause)
{
    const char* cases[] = {"failed read", "paused"};
    for (const std::string c : cases) {
        SCOPED_TRACE(c);
        JobRig rig;
        if (c == "paused") {
            startLongProgram(rig);
            rig.cutter.breakWire();
        } else {
            rig.cutter.failReads(10);
        }
        JobState& job = rig.context.job;
        job.serialRepetition = {true, 1, 5.0};
        job.programStartX = 300;
        job.programStartY = 120;
        rig.cutter.clearReports();
        rig.session->supervisor.serialRepetition();
        EXPECT_EQ(job.serialRepetition.remaining, 1);
        EXPECT_TRUE(rig.cutter.reports().empty()) << rig.letters();
    }
}

TEST(JobSupervisorFaults, NoReturnToTheOriginFromAPositionThatWasNotRead)
{
    FakeRig rig;
    fakeStatus(rig, 0, 30000, 20000);
    rig.context.job.originX = 20;  // 0.2 mm from where a zeroed reply would put the wire
    rig.context.job.originY = 0;
    rig.context.job.jobActive = true;
    failReadAfter(rig, 1);  // the end of the job is seen; the positions read after it fails
    rig.session->supervisor.tick();
    EXPECT_FALSE(rig.context.job.jobActive);
    EXPECT_EQ(rig.letters().find('A'), std::string::npos) << rig.letters();
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

// The cable goes while the controller has only part of the program; it runs out and stands.
struct CutOffJob : ::testing::Test {
    CutOffJob() : rig(machine::kDefaultVirtualProduct, {"REPEAT"}) {}

    void SetUp() override
    {
        rig.host.answers.assign(8, AnswerYes);
        rig.open("circle.plt", testing::circleDesign(300));
        rig.session->driver.Start1Click();
        // Unplugged once the first batches are in the controller's buffer.
        rig.done = [this] { return rig.session->transmission.commandsSent() >= 300; };
        ASSERT_TRUE(rig.runJob());
        rig.cutter.unplug();
        rig.host.runPosted();
        rig.done = [this] {
            return rig.session->transmission.interrupted() &&
                   !(rig.controller().statusFlags() & statusBit(StatusFlag::programRunning));
        };
        ASSERT_TRUE(rig.runJob());
        ASSERT_TRUE(rig.controller().outputOn(1));  // the program left its wire hot
        sentBefore = rig.session->transmission.commandsSent();
        rig.cutter.replug();
        rig.host.runPosted();
    }

    JobRig rig;
    std::uint64_t sentBefore = 0;
};

TEST_F(CutOffJob, TheFirstContactSwitchesTheStandingWireColdAndTheJobHasNotEnded)
{
    for (const int output : {1, 2, 3})
        EXPECT_FALSE(rig.controller().outputOn(output)) << output;
    EXPECT_FALSE(rig.context.job.jobActive);
    // No follow-up fired: no new job (REPEAT), no way back to the origin.
    rig.clock.advance(5000);
    rig.session->panel.Timer1Timer();
    EXPECT_TRUE(rig.session->transmission.interrupted());
    EXPECT_EQ(rig.session->transmission.commandsSent(), sentBefore);
    EXPECT_EQ(rig.controller().executedProgram().size(), sentBefore);
}

TEST_F(CutOffJob, ContinueSendsTheRestFromWhereTheWireStandsAndEveryCommandRunsOnce)
{
    const machine::AxisSteps stood = rig.controller().positions();
    const std::size_t pathBefore = rig.controller().path().size();
    rig.session->supervisor.Kontynuacja1Click();
    EXPECT_FALSE(rig.session->transmission.interrupted());
    rig.done = [this] {
        return !rig.session->transmission.active() && !rig.context.job.jobActive &&
               !(rig.controller().statusFlags() & statusBit(StatusFlag::programRunning));
    };
    rig.context.commandLine = CommandLine(std::vector<std::string>{});  // no new job after this one
    ASSERT_TRUE(rig.runJob());
    // The first move after Continue starts where the wire stood.
    ASSERT_GT(rig.controller().path().size(), pathBefore);
    EXPECT_EQ(rig.controller().path()[pathBefore - 1].steps, stood);
    EXPECT_EQ(rig.controller().executedProgram(), rig.programCommands());
    for (const int output : {1, 2, 3})
        EXPECT_FALSE(rig.controller().outputOn(output)) << output;
}

}  // namespace
}  // namespace kerfline
