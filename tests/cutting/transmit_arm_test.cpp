// The transmission: batches, the start of the program after 17 commands, flow control by the
// buffer-full flag, progress, damaged programs, write faults and the loss of the controller.
#include "job_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

using machine::VirtualCutter;
using testing::FakeRig;
using testing::JobRig;

// A closed polygon of many short sides around (2000, 2000): a job of a few thousand commands.
std::string circle(int points)
{
    std::string hpgl = "IN;SP1;PU4000,2000;PD";
    for (int i = 1; i <= points; ++i) {
        const double angle = 2 * 3.14159265358979 * i / points;
        hpgl += std::to_string(std::lround(2000 + 2000 * std::cos(angle))) + "," +
                std::to_string(std::lround(2000 + 2000 * std::sin(angle))) + (i < points ? "," : ";PU;");
    }
    return hpgl;
}

// A homed machine with the wire at (150, 80) mm and a job of many commands started on it.
void startCircleJob(JobRig& rig)
{
    rig.home();
    rig.moveTo(150, 80);
    rig.open("circle.plt", circle(400));
    rig.controller().clearExecuted();
    rig.session->driver.Start1Click();
}

// n pauses of no length: two bytes each.
std::string pauses(int n)
{
    std::string program;
    for (int i = 0; i < n; ++i)
        program += std::string{'p', '\0'};
    return program;
}

// Ticks the transmission as its timer would until it stops; the status text after each tick.
std::vector<std::string> transmit(JobRig& rig)
{
    std::vector<std::string> statuses;
    TransmitArm& transmission = rig.session->transmission;
    for (int guard = 0; transmission.active() && guard < 100000; ++guard) {
        const int interval = transmission.tick();
        statuses.push_back(transmission.statusText());
        rig.clock.advance(interval);
    }
    return statuses;
}

std::size_t lowerCase(const std::string& letters)
{
    return static_cast<std::size_t>(
        std::count_if(letters.begin(), letters.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
}

struct GoCase {
    int commands;
    std::size_t sentBeforeGo;
    std::vector<std::string> statuses;
};

TEST(TransmitArm, SendsInBatchesAndStartsTheProgramOnce)
{
    const GoCase cases[] = {
        // Shorter than the threshold: started when the file ends.
        {5, 5, {"Sent 100% \\", "End of transmission"}},
        {17, 17, {"Sent 100% \\", "End of transmission"}},
        // Ends inside the second batch: 200 of 300 bytes after the first.
        {150, 17, {"Sent 67% \\", "Sent 100% |", "End of transmission"}},
    };
    for (const GoCase& c : cases) {
        SCOPED_TRACE(c.commands);
        JobRig rig;
        rig.dir.write("out.cn", pauses(c.commands));
        rig.cutter.clearReports();
        ASSERT_TRUE(rig.session->transmission.start());
        EXPECT_EQ(transmit(rig), c.statuses);

        const std::string letters = rig.letters();
        // Pauses of no length run out faster than the next batch comes: a controller found
        // idle with more to come is started again, so every command runs.
        ASSERT_GE(std::count(letters.begin(), letters.end(), 'G'), 1);
        rig.clock.advance(10);
        EXPECT_EQ(rig.controller().executedProgram().size(), static_cast<std::size_t>(c.commands));
        EXPECT_EQ(lowerCase(letters.substr(0, letters.find('G'))), c.sentBeforeGo);
        EXPECT_EQ(lowerCase(letters), static_cast<std::size_t>(c.commands));
        EXPECT_EQ(rig.session->transmission.commandsSent(), static_cast<std::uint64_t>(c.commands));
        EXPECT_TRUE(rig.context.job.jobActive);
        EXPECT_EQ(rig.host.statusPanels[0], "End of transmission");
    }
}

TEST(TransmitArm, ProgressRoundsHalfToEven)
{
    // 100 one-byte commands of 800 bytes: 12.5 %.
    JobRig rig;
    rig.dir.write("out.cn", std::string(800, 'o'));
    ASSERT_TRUE(rig.session->transmission.start());
    rig.session->transmission.tick();
    EXPECT_EQ(rig.session->transmission.statusText(), "Sent 12% \\");
}

TEST(TransmitArm, WaitsWithoutSendingWhileTheBufferIsFull)
{
    JobRig rig;
    // Long moves keep the controller busy, so its buffer fills.
    std::string program;
    for (int i = 0; i < 400; ++i)
        program += rig.protocol().BuildMove('a', {i % 2 ? 2000 : -2000, 0, 0, 0, 0, 0, 0, 0}).text;
    rig.dir.write("out.cn", program);
    TransmitArm& transmission = rig.session->transmission;
    ASSERT_TRUE(transmission.start());
    bool sawFull = false;
    for (int guard = 0; transmission.active() && guard < 100000; ++guard) {
        const std::size_t reportsBefore = rig.cutter.reports().size();
        const std::uint64_t fullBefore = transmission.bufferFullTicks();
        const int interval = transmission.tick();
        if (transmission.bufferFullTicks() > fullBefore) {
            sawFull = true;
            EXPECT_EQ(interval, 50);
            EXPECT_EQ(rig.cutter.reports().size(), reportsBefore);
            const std::string& text = transmission.statusText();
            EXPECT_EQ(text.substr(text.size() - 2), "% ") << text;
        } else if (transmission.active()) {
            EXPECT_EQ(interval, 1);
        }
        rig.clock.advance(interval);
    }
    EXPECT_TRUE(sawFull);
    EXPECT_EQ(transmission.commandsSent(), 400u * 3);
    EXPECT_EQ(rig.controller().droppedCommands(), 0u);
}

struct LengthCase {
    const char* name;
    bool newPowerFormat;
    std::string program;
    std::uint64_t commands;
};

TEST(TransmitArm, CutsCommandsByTheLengthTableWhateverTheCase)
{
    const LengthCase cases[] = {
        {"short t", false, std::string{'t', 1, 5, 'F', 1, 'f', 0}, 3},
        {"long t", true, std::string{'t', 1, 5, 0, 0, 0, 'f', 0}, 2},
        {"upper case", false, std::string{'P', 0, 'p', 0, 'V', 1, 2, 3, 'v', 1, 2, 3}, 4},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        JobRig rig;
        rig.protocol().lengths.setNewPowerFormat(c.newPowerFormat);
        rig.dir.write("out.cn", c.program);
        ASSERT_TRUE(rig.session->transmission.start());
        transmit(rig);
        EXPECT_EQ(rig.session->transmission.commandsSent(), c.commands);
    }
}

TEST(TransmitArm, RefusesADamagedProgramAndSendsNothing)
{
    const std::pair<const char*, std::string> cases[] = {
        {"a byte that begins no command", pauses(3) + std::string{'\x07'} + pauses(2)},
        {"a command cut short", pauses(3) + std::string{'v', 1}},
        {"a missing file", ""},
    };
    for (const auto& [name, program] : cases) {
        SCOPED_TRACE(name);
        JobRig rig;
        if (!program.empty())
            rig.dir.write("out.cn", program);
        rig.cutter.clearReports();
        EXPECT_FALSE(rig.session->transmission.start());
        EXPECT_FALSE(rig.session->transmission.active());
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_TRUE(rig.host.messages[0].isError);
        EXPECT_NE(rig.host.messages[0].text.find("out.cn"), std::string::npos);
        EXPECT_TRUE(rig.cutter.reports().empty());
    }
}

struct InterruptionCase {
    const char* name;
    std::function<void(JobRig&)> fault;
    std::function<void(JobRig&)> mend;
    const char* caption;
    const char* detail;  // after the message's first line: the status of a failed write
};

TEST(TransmitArm, AnInterruptionKeepsItsPlaceAndResumeSendsTheRestOnce)
{
    const InterruptionCase cases[] = {
        {"the controller lost before a batch", [](JobRig& rig) { rig.cutter.unplug(); },
         [](JobRig& rig) {
             rig.cutter.replug();
             rig.host.runPosted();
         },
         "Error", ""},
        {"a write the device refuses for good",
         [](JobRig& rig) { rig.cutter.failWrites(1, machine::hid_error::AccessDenied); }, [](JobRig&) {},
         "No connection", "\nThe controller did not take the command (status 5)."},
    };
    for (const InterruptionCase& c : cases) {
        SCOPED_TRACE(c.name);
        JobRig rig;
        rig.dir.write("out.cn", pauses(300));
        TransmitArm& transmission = rig.session->transmission;
        int starts = 0;
        transmission.started = [&starts] { ++starts; };
        ASSERT_TRUE(transmission.start());
        transmission.tick();
        ASSERT_EQ(transmission.commandsSent(), 100u);
        rig.cutter.clearReports();
        c.fault(rig);
        transmission.tick();

        EXPECT_FALSE(transmission.active());
        EXPECT_TRUE(transmission.interrupted());
        EXPECT_EQ(transmission.commandsSent(), 100u);
        EXPECT_EQ(lowerCase(rig.letters()), 0u);
        EXPECT_EQ(rig.host.statusHistory.back(), "Transmission interrupted at 33%");
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci") + c.detail);
        EXPECT_EQ(rig.host.messages[0].caption, c.caption);
        // The program that was started stays in the job's hands.
        EXPECT_TRUE(rig.context.job.jobActive);

        c.mend(rig);
        ASSERT_TRUE(transmission.resume());
        EXPECT_EQ(starts, 2);
        transmit(rig);
        EXPECT_EQ(transmission.commandsSent(), 300u);
        EXPECT_EQ(lowerCase(rig.letters()), 200u);
        EXPECT_FALSE(transmission.interrupted());
        EXPECT_EQ(rig.host.statusHistory.back(), "End of transmission");
        EXPECT_EQ(rig.host.messages.size(), 1u);
        EXPECT_FALSE(transmission.resume());
    }
}

TEST(TransmitArm, StopOrANewProgramEndsAnInterruptedTransmission)
{
    JobRig rig;
    rig.dir.write("out.cn", pauses(300));
    TransmitArm& transmission = rig.session->transmission;
    const auto interruptedAtOnce = [&] {
        rig.cutter.failWrites(1, machine::hid_error::AccessDenied);
        transmission.tick();
        return transmission.interrupted();
    };
    ASSERT_TRUE(transmission.start());
    ASSERT_TRUE(interruptedAtOnce());
    transmission.stop();
    EXPECT_FALSE(transmission.interrupted());
    EXPECT_FALSE(transmission.resume());

    ASSERT_TRUE(transmission.start());
    ASSERT_TRUE(interruptedAtOnce());
    ASSERT_TRUE(transmission.start());
    EXPECT_FALSE(transmission.interrupted());
    EXPECT_TRUE(transmission.active());
    EXPECT_EQ(transmission.commandsSent(), 0u);
}

TEST(TransmitArm, ALinkGoneInTheMiddleOfABatchEndsItWithOneMessage)
{
    FakeRig rig;
    rig.dir.write("out.cn", pauses(60));
    ASSERT_TRUE(rig.session->transmission.start());
    rig.platform.reports.clear();
    // The 21st write (the 20th command, after the "G") fails; then the controller does not answer.
    rig.platform.writeResults.assign(20, 0);
    rig.platform.writeResults.push_back(machine::hid_error::DeviceNotConnected);
    rig.platform.readResults.assign(1, 0);
    rig.platform.readResults.insert(rig.platform.readResults.end(), 10, machine::hid_error::DeviceNotConnected);
    rig.session->transmission.tick();

    EXPECT_EQ(rig.host.messages.size(), 1u);
    // Only what was written counts as sent.
    EXPECT_EQ(rig.session->transmission.commandsSent(), 19u);
    EXPECT_TRUE(rig.session->transmission.interrupted());
    EXPECT_EQ(rig.platform.reports.size(), 21u);
}

TEST(TransmitArm, AStartThatCouldNotBeWrittenGoesFirstOnResume)
{
    FakeRig rig;
    rig.dir.write("out.cn", pauses(30));
    TransmitArm& transmission = rig.session->transmission;
    ASSERT_TRUE(transmission.start());
    rig.platform.reports.clear();
    rig.platform.writeResults.assign(17, 0);
    rig.platform.writeResults.push_back(machine::hid_error::AccessDenied);
    transmission.tick();
    ASSERT_TRUE(transmission.interrupted());
    EXPECT_EQ(transmission.commandsSent(), 17u);
    EXPECT_FALSE(transmission.goSent());

    rig.platform.reports.clear();
    ASSERT_TRUE(transmission.resume());
    transmission.tick();
    EXPECT_EQ(rig.letters(), "G" + std::string(13, 'p'));
    EXPECT_TRUE(transmission.goSent());
    EXPECT_TRUE(rig.context.job.jobActive);
}

struct WriteFaultCase {
    const char* name;
    VirtualCutter::WriteFault fault;
    int code;
    std::uint64_t retries;
};

TEST(TransmitArm, AJobUnderWriteFaultsExecutesEveryCommandOnceInOrder)
{
    const WriteFaultCase cases[] = {
        {"reports lost", VirtualCutter::WriteFault::lost, machine::hid_error::GenFailure, 3},
        {"timeouts", VirtualCutter::WriteFault::lost, machine::hid_error::Timeout, 3},
        {"reports delivered despite the failure", VirtualCutter::WriteFault::delivered, machine::hid_error::GenFailure, 0},
    };
    for (const WriteFaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        JobRig rig;
        startCircleJob(rig);
        TransmitArm& transmission = rig.session->transmission;
        ASSERT_TRUE(transmission.active());
        // One write fails once the controller has taken this many reports.
        std::vector<std::size_t> faultsAt{40, 700, 1900};
        rig.beforeTick = [&] {
            if (!faultsAt.empty() && rig.cutter.reports().size() >= faultsAt.front()) {
                rig.cutter.failWrites(1, c.code, c.fault);
                faultsAt.erase(faultsAt.begin());
            }
        };
        ASSERT_TRUE(rig.runJob());
        EXPECT_TRUE(faultsAt.empty());

        const std::vector<std::string> commands = rig.programCommands();
        ASSERT_GT(commands.size(), 2000u);
        const std::vector<std::string>& executed = rig.controller().executedProgram();
        EXPECT_TRUE(executed == commands) << executed.size() << " executed of " << commands.size();
        EXPECT_EQ(transmission.commandsSent(), commands.size());
        EXPECT_FALSE(transmission.interrupted());
        EXPECT_EQ(rig.session->link.writeRetries(), c.retries);
        EXPECT_TRUE(rig.host.messages.empty());
    }
}

TEST(TransmitArm, APersistentWriteFailureStopsTheJobsTransmissionUntilResumed)
{
    JobRig rig;
    startCircleJob(rig);
    TransmitArm& transmission = rig.session->transmission;
    for (int guard = 0; transmission.active() && rig.cutter.reports().size() < 700 && guard < 1000; ++guard)
        rig.clock.advance(transmission.tick());
    // The controller refuses every report from now on.
    rig.cutter.failWrites(1000);
    for (int guard = 0; transmission.active() && guard < 1000; ++guard)
        rig.clock.advance(transmission.tick());

    EXPECT_TRUE(transmission.interrupted());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci") +
                                             "\nThe controller did not take the command (status 31).");
    EXPECT_EQ(rig.host.messages[0].caption, "No connection");
    EXPECT_EQ(rig.host.statusHistory.back().rfind("Transmission interrupted at ", 0), 0u);
    const std::vector<std::string> commands = rig.programCommands();
    ASSERT_GT(commands.size(), transmission.commandsSent());
    // Everything counted as sent is in the controller, and nothing more.
    EXPECT_EQ(rig.controller().executedProgram().size() + rig.controller().bufferedCommands(),
              transmission.commandsSent());

    rig.cutter.failWrites(0);
    ASSERT_TRUE(transmission.resume());
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(rig.controller().executedProgram() == commands)
        << rig.controller().executedProgram().size() << " executed of " << commands.size();
    EXPECT_EQ(transmission.commandsSent(), commands.size());
    EXPECT_EQ(rig.host.messages.size(), 1u);
}

}  // namespace
}  // namespace kerfline
