// The controller link: matching, output reports, refused writes, failed reads, device changes.
#include "link_rig.h"

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

using testing::bytesOf;
using testing::ContextRig;
using testing::CutterRig;
using testing::FakePlatform;

struct MatchCase {
    const char* manufacturer;
    const char* product;
    std::vector<std::string> switches;
    bool accepted;
};

TEST(MatchingRule, Table)
{
    const MatchCase cases[] = {
        {"Quorvant", "Qd 1200", {}, true},
        {"Quorvant", "Qm 2500", {}, true},
        {"Quorvant", "qd 1200", {}, false},           // Qd and Qm respect case
        {"Quorvant", "vk 300", {}, true},             // the other families do not
        {"Quorvant", "Kk45", {}, true},
        {"Quorvant", "bv-10  m", {}, true},
        {"Quorvant", "gV", {}, true},
        {"Quorvant", "n 45", {}, true},
        {"Quorvant", "Z740    ", {}, false},
        {"Quorvant", "Z740    ", {"MachineName'Z740'"}, true},
        {"Quorvant", "Z740    ", {"xmachinenamex"}, true},
        {"Quorvant", "Pr 2000", {"OnlyMachine'Qd 1200'", "MachineName'Pr 2000'"}, true},  // no filter test
        {"Quorvant", "Q", {}, false},
        {"Quorvant", "", {}, false},
        {"quorvant", "Qd 1200", {}, false},
        {"Acme", "Qd 1200", {"MachineName'Qd'"}, false},
        {"Quorvant", "  Qd 1200  ", {}, false},       // the family test looks at the first characters
        {"Quorvant", "Qd 1200   ", {"OnlyMachine'Qd 1200'"}, true},
        {"Quorvant", "Qd 1500", {"OnlyMachine'Qd 1200'"}, false},
        {"Quorvant", "KK45", {"OnlyMachine'KK46'"}, false},
        {"Quorvant", "Qd 1200", {"OnlyMachine"}, true},  // no value: no filter
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(isController(c.manufacturer, c.product, CommandLine(c.switches)), c.accepted)
            << c.manufacturer << " / '" << c.product << "'";
    }
}

TEST(ControllerLink, ChoosesTheFirstMatchingDeviceInEnumerationOrder)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Logi", "Keyboard", "1"}, {"Quorvant", "Z740    ", "2"}, {"Quorvant", "Qd 1200", "3"},
                        {"Quorvant", "Qm 2000", "4"}};
    TfUsb link(rig.context, platform);
    ASSERT_TRUE(link.connected());
    EXPECT_EQ(link.currentDevice()->serial(), "3");
    ASSERT_EQ(platform.reports.size(), 1u);  // the greeting
    EXPECT_EQ(platform.reports[0][1], 'X');
    EXPECT_EQ(rig.host.statusPanels.at(0), rig.context.Text("Control", "polaczony"));
}

TEST(ControllerLink, ReportsKeepTheBytesOfEarlierReports)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    TfUsb link(rig.context, platform);
    ASSERT_EQ(link.WriteCommand("ABCDEFGHIJKLMNOP"), 0);
    // 16 bytes: the terminator lies beyond the report.
    EXPECT_EQ(link.reportBuffer()[17], 0);
    ASSERT_EQ(link.WriteCommand(bytesOf({'V', 0x00, 0x10, 0x27})), 0);
    EXPECT_EQ(link.bytesWritten(), 17u);

    const Report& report = platform.reports.back();
    const std::string expected = bytesOf({0x00, 'V', 0x00, 0x10, 0x27, 0x00}) + "FGHIJKLMNOP";
    EXPECT_EQ(std::string(report.begin(), report.end()), expected);
}

TEST(ControllerLink, TextsLongerThanAReportGoInTwo)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    TfUsb link(rig.context, platform);
    platform.reports.clear();
    ASSERT_EQ(link.WriteCommand("0123456789abcdefWXYZ"), 0);
    ASSERT_EQ(platform.reports.size(), 2u);
    EXPECT_EQ(std::string(platform.reports[0].begin(), platform.reports[0].end()),
              std::string(1, '\0') + "0123456789abcdef");
    // The rest, without a terminator, over what the first report left.
    EXPECT_EQ(std::string(platform.reports[1].begin(), platform.reports[1].end()),
              std::string(1, '\0') + "WXYZ456789abcdef");

    // Beyond two reports the text would run past the buffer: refused, nothing written.
    platform.reports.clear();
    EXPECT_EQ(link.WriteCommand(std::string(33, 'a')), hid_error::InvalidParameter);
    EXPECT_TRUE(platform.reports.empty());
}

struct WriteCase {
    const char* name;
    std::string text;
    std::deque<int> results;   // of the device's writes, in order
    bool delivered;            // a failed write still went out whole
    std::int32_t status;
    std::size_t reports;       // written to the device
    std::uint64_t retries;
};

TEST(ControllerLink, ARefusedReportIsWrittenAgainAndAnUnsentOneIsNeverReportedAsSent)
{
    const std::string longText = "0123456789abcdefWXYZ";
    const WriteCase cases[] = {
        {"a dropped report", "G", {31}, false, 0, 2, 1},
        {"a timeout", "G", {121}, false, 0, 2, 1},
        {"three refusals in a row", "G", {31, 121, 31}, false, 0, 4, 3},
        {"a device that keeps refusing", "G", {31, 31, 31, 31, 31}, false, 31, 4, 3},
        {"a report that went out despite the failure", "G", {31}, true, 0, 1, 0},
        {"an I/O failure of the device", "G", {1117}, false, 1117, 1, 0},
        {"a device gone", "G", {1167}, false, 1167, 1, 0},
        {"the first report of a long text", longText, {31}, false, 0, 3, 1},
        {"the first report of a long text refused for good", longText, {5}, false, 5, 1, 0},
        {"the second report of a long text", longText, {0, 31}, false, 0, 3, 1},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        ContextRig rig;
        FakePlatform platform;
        platform.devices = {{"Quorvant", "Qd 1200", ""}};
        TfUsb link(rig.context, platform);
        platform.reports.clear();
        platform.writeResults = c.results;
        platform.failedWritesDelivered = c.delivered;
        const auto before = rig.clock.nowMs();
        EXPECT_EQ(link.WriteCommand(c.text), c.status);
        EXPECT_EQ(platform.reports.size(), c.reports);
        EXPECT_EQ(link.writeRetries(), c.retries);
        EXPECT_EQ(link.countersText(), "0/" + std::to_string(c.retries));
        // Every report written again waits 500 ms first.
        EXPECT_EQ(rig.clock.nowMs() - before, 500 * static_cast<std::int64_t>(c.retries));
        EXPECT_EQ(link.bytesWritten(), c.status == 0 ? kReportSize : 0u);
    }
}

TEST(ControllerLink, AReportWrittenAgainCarriesTheSameBytes)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    TfUsb link(rig.context, platform);
    platform.reports.clear();
    platform.writeResults = {31, 0, 31};
    ASSERT_EQ(link.WriteCommand("0123456789abcdefWXYZ"), 0);
    ASSERT_EQ(platform.reports.size(), 4u);
    EXPECT_EQ(platform.reports[0], platform.reports[1]);
    EXPECT_EQ(platform.reports[2], platform.reports[3]);
    EXPECT_EQ(std::string(platform.reports[3].begin(), platform.reports[3].end()),
              std::string(1, '\0') + "WXYZ456789abcdef");
}

TEST(ControllerLink, TellsWhenItHasChosenAControllerItDidNotHave)
{
    ContextRig rig;
    FakePlatform platform;
    TfUsb link(rig.context, platform);
    int connections = 0;
    link.connectedChanged = [&connections] { ++connections; };
    ASSERT_FALSE(link.connected());

    // The controller arrives.
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    platform.handler();
    EXPECT_EQ(connections, 1);
    // Another device arrives: the controller stays chosen.
    platform.devices.push_back({"Logi", "Mouse", ""});
    platform.handler();
    EXPECT_EQ(connections, 1);
    // Ten failed reads drop the connection; the next write chooses the controller again.
    platform.readResults = std::deque<int>(10, 31);
    link.ReadChannel(10);
    ASSERT_FALSE(link.connected());
    EXPECT_EQ(link.WriteCommand("G"), 0);
    EXPECT_EQ(connections, 2);
}

TEST(ControllerLink, TenFailedReadsDropTheConnection)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    platform.channels[10] = std::vector<std::uint8_t>(64, 0xAB);
    TfUsb link(rig.context, platform);

    platform.readResults = std::deque<int>(9, 31);
    EXPECT_EQ(link.ReadChannel(10), 0);  // the tenth try succeeds
    EXPECT_EQ(link.replyBuffer()[0], 0xAB);
    EXPECT_EQ(link.readFailures(), 9u);
    EXPECT_EQ(platform.reads, 10);

    platform.readResults = std::deque<int>(10, 1167);
    const auto before = rig.clock.nowMs();
    EXPECT_EQ(link.ReadChannel(10), 1167);
    EXPECT_EQ(rig.clock.nowMs(), before);  // no pause between tries
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(link.readFailures(), 19u);
    for (const std::uint8_t b : link.replyBuffer())
        EXPECT_EQ(b, 0);
    EXPECT_EQ(link.countersText(), "19/0");

    // The next read searches the device list again.
    EXPECT_EQ(link.ReadChannel(10), 0);
    EXPECT_TRUE(link.connected());
}

TEST(ControllerLink, AShortReplyReadsAsZerosBeyondItsEnd)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Qd 1200", ""}};
    platform.channels[10] = std::vector<std::uint8_t>(300, 0x11);
    platform.channels[12] = {1, 2, 3};
    TfUsb link(rig.context, platform);
    ASSERT_EQ(link.ReadChannel(10), 0);
    EXPECT_EQ(link.replyBuffer()[64], 0x11);
    ASSERT_EQ(link.ReadChannel(12), 0);
    EXPECT_EQ(link.replyBuffer()[2], 3);
    for (std::size_t i = 3; i < kLinkBufferSize; ++i)
        EXPECT_EQ(link.replyBuffer()[i], 0) << i;
}

TEST(ControllerLink, WithoutAControllerWritesAndReadsFail)
{
    ContextRig rig;
    FakePlatform platform;
    platform.devices = {{"Quorvant", "Z740    ", ""}};
    TfUsb link(rig.context, platform);
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(rig.host.statusPanels.at(0), rig.context.Text("Control", "brakLacznosci"));
    EXPECT_EQ(link.WriteCommand("X"), -1);
    EXPECT_EQ(link.ReadChannel(10), -1);
    EXPECT_TRUE(platform.reports.empty());
}

TEST(ControllerLink, TwoWireMachineIsReachedWithMachineName)
{
    CutterRig plain("Pr 2000");
    EXPECT_FALSE(plain.link->connected());
    CutterRig named("Pr 2000", {"MachineName'Pr 2000'"});
    EXPECT_TRUE(named.link->connected());
}

TEST(ControllerLink, UnplugDuringReadsThenReplug)
{
    CutterRig rig;
    ASSERT_TRUE(rig.link->connected());
    rig.cutter.unplug();
    // The removal notice waits in the queue; the read meets the vanished device first.
    EXPECT_EQ(rig.link->ReadChannel(10), hid_error::DeviceNotConnected);
    EXPECT_FALSE(rig.link->connected());
    EXPECT_EQ(rig.link->readFailures(), 10u);
    for (const std::uint8_t b : rig.link->replyBuffer())
        EXPECT_EQ(b, 0);

    rig.host.runPosted();
    EXPECT_EQ(rig.host.statusPanels.at(0), rig.context.Text("Control", "brakLacznosci"));
    EXPECT_TRUE(rig.link->deviceList().empty());

    rig.cutter.clearReports();
    rig.cutter.replug();
    rig.host.runPosted();
    EXPECT_TRUE(rig.link->connected());
    EXPECT_EQ(rig.host.statusPanels.at(0), rig.context.Text("Control", "polaczony"));
    ASSERT_EQ(rig.cutter.reports().size(), 1u);
    EXPECT_EQ(rig.cutter.reports()[0][1], 'X');
}

TEST(ControllerLink, WriteFaultsOfTheVirtualCutterNeitherLoseNorDoubleACommand)
{
    for (const auto fault : {VirtualCutter::WriteFault::lost, VirtualCutter::WriteFault::delivered}) {
        SCOPED_TRACE(fault == VirtualCutter::WriteFault::lost ? "lost" : "delivered");
        CutterRig rig;
        rig.cutter.failWrites(1, hid_error::GenFailure, fault);
        rig.cutter.clearReports();
        EXPECT_TRUE(rig.protocol->SendCommand(bytesOf({'V', 1, 0x34, 0x12})));
        // The controller took the command exactly once.
        ASSERT_EQ(rig.cutter.reports().size(), 1u);
        EXPECT_EQ(rig.cutter.controller().speedPeriod(1), 0x1234);
        EXPECT_EQ(rig.link->writeRetries(), fault == VirtualCutter::WriteFault::lost ? 1u : 0u);
        EXPECT_TRUE(rig.host.messages.empty());
    }
}

}  // namespace
}  // namespace kerfline::machine
