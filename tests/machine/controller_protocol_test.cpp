// The controller protocol: sending, the reply channels, machine information and speed limits.
#include "machine/reply_decoding.h"
#include "link_rig.h"

#include <gtest/gtest.h>

#include <random>

namespace kerfline::machine {
namespace {

using testing::bytesOf;
using testing::ContextRig;
using testing::CutterRig;
using testing::FakePlatform;

// A context with a fake controller whose replies the test writes.
struct FakeRig : ContextRig {
    explicit FakeRig(std::vector<std::string> switches = {}) : ContextRig(std::move(switches))
    {
        platform.devices = {{"Quorvant", "Qd 1200", "S1"}};
        link = std::make_unique<TfUsb>(context, platform);
        protocol = std::make_unique<ControllerProtocol>(context, *link);
        platform.reports.clear();
    }
    FakePlatform platform;
    std::unique_ptr<TfUsb> link;
    std::unique_ptr<ControllerProtocol> protocol;
};

void put32(std::vector<std::uint8_t>& reply, std::size_t at, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        reply[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}

TEST(SendCommand, MovesGoInSixBytePieces)
{
    FakeRig rig;
    rig.context.machine.speedMultiplier = 2;
    const MoveCommand move = rig.protocol->BuildMove('A', {300, 400, 0, 0, 300, 400, 0, 0});
    ASSERT_TRUE(rig.protocol->SendCommand(move.text));
    ASSERT_EQ(rig.platform.reports.size(), 6u);
    for (std::size_t piece = 0; piece < 6; ++piece) {
        const Report& report = rig.platform.reports[piece];
        EXPECT_EQ(std::string(report.begin() + 1, report.begin() + 7), move.text.substr(piece * 6, 6));
    }
    EXPECT_TRUE(rig.protocol->SendCommand(""));
    EXPECT_EQ(rig.platform.reports.size(), 6u);
}

// The status number goes into the text; the caption is words, also for "no controller" (-1).
TEST(SendCommand, FirstFailureStopsAndShowsTheStatusInTheText)
{
    for (const std::int32_t status : {1167, -1}) {
        SCOPED_TRACE(status);
        FakeRig rig;
        rig.platform.writeResults = {0, status};
        const MoveCommand move = BuildMove('A', {300, 400, 0, 0, 300, 400, 0, 0}, 2);
        EXPECT_FALSE(rig.protocol->SendCommand(move.text));
        EXPECT_EQ(rig.platform.reports.size(), 2u);
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci") +
                                                 "\nThe controller did not take the command (status " +
                                                 std::to_string(status) + ").");
        EXPECT_EQ(rig.host.messages[0].caption, "No connection");
        EXPECT_TRUE(rig.host.messages[0].isError);
    }
}

TEST(ReadPositions, RemaindersKeepTheSignAndPositionsRoundHalfToEven)
{
    FakeRig rig;
    std::vector<std::uint8_t> reply(64, 0);
    put32(reply, 6, 5);       // axis 0
    put32(reply, 10, 7);      // axis 1
    put32(reply, 14, -100);   // axis 2, the table
    put32(reply, 30, 16100);  // axis 6, the spindle
    rig.platform.channels[10] = reply;
    MachineState& s = rig.context.machine;
    s.resX = s.resY = 2.0;
    s.stepsS = s.stepsW = 8000;
    s.stepsT = 0;
    rig.protocol->ReadPositions();
    EXPECT_EQ(s.frontX, 2);  // 2.5
    EXPECT_EQ(s.frontY, 4);  // 3.5
    EXPECT_EQ(s.tableRemainder, -100);
    EXPECT_DOUBLE_EQ(s.tableAngle, -4.5);
    EXPECT_EQ(s.spindleRemainder, 100);
    EXPECT_DOUBLE_EQ(s.spindleAngle, 4.5);
    EXPECT_EQ(s.axis7Remainder, 0);  // no steps per revolution: 0, not a division by zero
    EXPECT_EQ(s.axis7Angle, 0.0);
}

TEST(ReadSpeedsAndPower, DecodingAndFailures)
{
    FakeRig rig;
    std::vector<std::uint8_t> speeds(64, 0);
    speeds[0] = 1;
    speeds[4] = 0x00;
    speeds[5] = 0x50;  // set 1: 0x5000 times 2 wraps to 0xA000
    rig.platform.channels[12] = speeds;
    MachineState& s = rig.context.machine;
    s.speedMultiplier = 2;
    rig.protocol->ReadSpeeds();
    EXPECT_EQ(s.selectedSpeedSet, 1);
    EXPECT_EQ(static_cast<std::uint16_t>(s.currentSpeed), 0xA000);
    speeds[0] = 4;  // the instantaneous value is no set: current speed stays
    rig.platform.channels[12] = speeds;
    rig.protocol->ReadSpeeds();
    EXPECT_EQ(static_cast<std::uint16_t>(s.currentSpeed), 0xA000);

    std::vector<std::uint8_t> power(64, 0);
    power[0] = 3;
    put32(power, 2 + 4 * 3, 0x12345);
    power[34] = 0x10;
    rig.platform.channels[13] = power;
    rig.protocol->ReadPower();
    EXPECT_EQ(s.selectedPowerOutput, 3);
    EXPECT_EQ(s.currentPower, 0x2345);
    EXPECT_EQ(s.measuredPower, 0x10);
    rig.platform.readResults = std::deque<int>(10, 31);
    rig.protocol->ReadPower();  // a failed read changes nothing
    EXPECT_EQ(s.selectedPowerOutput, 3);
    EXPECT_EQ(s.powerSettings[3], 0x12345);
}

struct InfoCase {
    const char* product;
    std::vector<std::string> switches;
    const char* expectedProduct;
    std::int32_t limitX, limitY;
    double resX;
    std::int32_t stepsS, stepsW;
    double fcWidth;
    int maxTravel, maxWork, multiplier;
};

TEST(ReadMachineInfo, VirtualCuttersAndCommandLineOverrides)
{
    const InfoCase cases[] = {
        {"Qd 1200", {}, "Qd 1200", 1200, 600, 2.5, 8000, 8000, 1000, 5000, 1500, 2},
        {"Qd 1200", {"MachineName'Pr 20001234'"}, "Pr 20001", 1200, 600, 2.5, 8000, 8000, 1000, 3000, 3000, 2},
        {"Qd 1200", {"limitX'1500'", "limitY'6x'"}, "Qd 1200", 1500, 600, 2.5, 8000, 8000, 1000, 5000, 1500, 2},
        {"Qd 1200", {"resX'3.5'", "resS'12000'", "resW'abc'"}, "Qd 1200", 1200, 600, 3.5, 12000, 8000, 1000, 5000, 1500, 2},
        {"Qd 1200", {"SWgear20"}, "Qd 1200", 1200, 600, 2.5, 50000, 50000, 1000, 5000, 1500, 2},
        {"Qd 1200", {"Wgear20"}, "Qd 1200", 1200, 600, 2.5, 8000, 50000, 1000, 5000, 1500, 2},
        {"Qd 1200", {"fcWidth'1500.5'"}, "Qd 1200", 1200, 600, 2.5, 8000, 8000, 1500.5, 5000, 1500, 2},
        {"Qm 2500", {"maxV'4000'"}, "Qm 2500", 2500, 1250, 2.5, 8000, 8000, 2000, 4000, 5000, 2},
        {"Qd 1200", {"maxV'4000'", "wspV'4'"}, "Qd 1200", 1200, 600, 2.5, 8000, 8000, 1000, 4000, 5000, 4},
        {"BV 1000m", {}, "BV 1000m", 1000, 500, 2.5, 8000, 8000, 1000, 1200, 1200, 3},
        {"KK45", {}, "KK45", 1200, 600, 2.5, 8000, 8000, 1000, 3000, 1500, 2},
    };
    for (const InfoCase& c : cases) {
        CutterRig rig(c.product, c.switches);
        rig.protocol->ReadMachineInfo();
        const MachineState& s = rig.context.machine;
        SCOPED_TRACE(std::string(c.product) + (c.switches.empty() ? "" : " " + c.switches[0]));
        EXPECT_EQ(s.vendor, "Quorvant");
        EXPECT_EQ(s.product, c.expectedProduct);
        EXPECT_EQ(s.familyCode, std::string(c.expectedProduct).substr(0, 2));
        EXPECT_EQ(s.serial, rig.cutter.serial());
        EXPECT_EQ(s.limitX, c.limitX);
        EXPECT_EQ(s.limitY, c.limitY);
        EXPECT_EQ(s.secondWireLimitY, c.limitY);
        EXPECT_DOUBLE_EQ(s.resX, c.resX);
        EXPECT_EQ(s.stepsS, c.stepsS);
        EXPECT_EQ(s.stepsW, c.stepsW);
        EXPECT_DOUBLE_EQ(s.fcWidth, c.fcWidth);
        EXPECT_DOUBLE_EQ(s.armSpacing, c.fcWidth);
        EXPECT_EQ(s.maxTravelSpeed, c.maxTravel);
        EXPECT_EQ(s.maxWorkSpeed, c.maxWork);
        EXPECT_EQ(s.speedMultiplier, c.multiplier);
        EXPECT_EQ(s.versionMajor, rig.cutter.controller().versionMajor());
    }
}

TEST(ReadMachineInfo, CalibrationIsAddedToTheResolutions)
{
    CutterRig rig;
    rig.context.configuration.setNumber(Param::feKalibracjaX, 2);
    rig.context.configuration.setNumber(Param::feKalibracjaY, -1);
    rig.protocol->ReadMachineInfo();
    EXPECT_DOUBLE_EQ(rig.context.machine.resX, 2.52);
    EXPECT_DOUBLE_EQ(rig.context.machine.resY, 2.49);
}

struct LimitCase {
    const char* product;
    std::vector<std::string> switches;
    int maxTravel, maxWork, multiplier;
    bool percent;
};

TEST(ApplySpeedLimits, RulesInTheirOrder)
{
    const LimitCase cases[] = {
        {"Z740    ", {}, 5000, 5000, 2, false},
        {"Qd 1200", {}, 5000, 1500, 2, false},
        {"Qm 2000", {}, 5000, 1500, 2, false},
        {"qd 1200", {}, 5000, 5000, 2, false},
        {"Pr 2000", {}, 3000, 3000, 2, false},
        {"BV-1000m", {}, 1200, 1200, 3, true},
        {"BV-1000", {}, 2000, 2000, 3, true},
        {"bv 1000 ", {}, 2000, 2000, 3, true},
        {"KK46", {}, 3000, 1500, 2, false},
        {"n 45", {}, 3000, 1500, 2, false},
        {"GV 3000", {}, 3000, 1500, 2, false},
        {"Qd 1200", {"maxV'4000'"}, 4000, 5000, 2, false},
        {"BV-1000m", {"maxV'4000'"}, 4000, 5000, 2, true},
        {"Pr 2000", {"wspV'3'"}, 3000, 3000, 3, false},
        {"Pr 2000", {"wspV'x'"}, 3000, 3000, 2, false},
    };
    for (const LimitCase& c : cases) {
        FakeRig rig(c.switches);
        MachineState& s = rig.context.machine;
        s.setProduct(c.product);
        rig.protocol->ApplySpeedLimits();
        SCOPED_TRACE(c.product);
        EXPECT_EQ(s.maxTravelSpeed, c.maxTravel);
        EXPECT_EQ(s.maxWorkSpeed, c.maxWork);
        EXPECT_EQ(s.speedMultiplier, c.multiplier);
        EXPECT_EQ(s.reportsPowerInPercent, c.percent);
    }
}

TEST(ApplySpeedLimits, PercentPowerIsNeverCleared)
{
    FakeRig rig;
    MachineState& s = rig.context.machine;
    s.setProduct("BV-1000");
    rig.protocol->ApplySpeedLimits();
    s.setProduct("Qd 1200");
    rig.protocol->ApplySpeedLimits();
    EXPECT_TRUE(s.reportsPowerInPercent);
}

TEST(ReadResolution, FailedReadInstallsDefaults)
{
    FakeRig rig;
    rig.platform.readResults = std::deque<int>(10, 31);
    rig.context.machine.fcWidth = 777;
    rig.protocol->ReadResolution();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.resX, 1.0);
    EXPECT_EQ(s.resY, 1.0);
    EXPECT_EQ(s.res3, 1.0);
    EXPECT_EQ(s.stepsS, 50000);
    EXPECT_EQ(s.stepsW, 50000);
    EXPECT_EQ(s.stepsT, 50000);
    EXPECT_EQ(s.fcWidth, 777);
}

TEST(ReadTension, FailedReadKeepsResolutionsAndTension)
{
    CutterRig rig;
    rig.protocol->ReadMachineInfo();
    rig.motion->SetTension(321);
    rig.protocol->ReadTension();
    EXPECT_EQ(rig.context.machine.tensionSetPoint, 321);
    EXPECT_EQ(rig.context.machine.tensionMeasured, 321);

    rig.cutter.failReads(10);
    rig.protocol->ReadTension();
    const MachineState& s = rig.context.machine;
    EXPECT_DOUBLE_EQ(s.resX, 2.5);
    EXPECT_EQ(s.stepsS, 8000);
    EXPECT_EQ(s.tensionSetPoint, 321);
}

TEST(ReadVersion, TextAndFailure)
{
    CutterRig rig("Qd 1200");
    EXPECT_EQ(rig.protocol->ReadVersion(), "4.2");
    rig.cutter.failReads(10);
    EXPECT_EQ(rig.protocol->ReadVersion(), "0.0");
}

TEST(WaitWhileBusy, WaitsForTheMoveAndDropsOperatorInput)
{
    CutterRig rig;
    rig.protocol->ReadMachineInfo();
    rig.home();
    const std::int64_t start = rig.clock.nowMs();
    // 100 mm at travel speed (2000 mm/min): 3 s.
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {25000, 0, 0, 0, 0, 0, 0, 0}).text);
    rig.host.pendingInputs = {PendingInput::KeyDown, PendingInput::LeftButtonDown, PendingInput::KeyDown};
    rig.protocol->WaitWhileBusy();
    EXPECT_FALSE(rig.context.machine.busy());
    EXPECT_NEAR(static_cast<double>(rig.clock.nowMs() - start), 3000.0, 2.0);
    EXPECT_TRUE(rig.host.pendingInputs.empty());
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 10000);
}

TEST(ReplyDecoding, RandomRepliesNeverBreakTheDecoders)
{
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 90);
    for (int round = 0; round < 20000; ++round) {
        std::vector<std::uint8_t> reply(static_cast<std::size_t>(length(random)));
        for (auto& b : reply)
            b = static_cast<std::uint8_t>(byte(random));
        MachineState s;
        decodeMachineLimits(reply, s);
        decodeResolution(reply, s);
        decodeStatus(reply, s);
        decodePositions(reply, s);
        decodeSpeeds(reply, s);
        decodePower(reply, s);
        decodeTension(reply, s);
        decodeVersion(reply, s);
        if (s.stepsS != 0) {
            ASSERT_LT(std::llabs(s.tableRemainder), std::llabs(static_cast<long long>(s.stepsS)));
        }
        ASSERT_LE(s.versionMajor, 255);
    }
}

}  // namespace
}  // namespace kerfline::machine
