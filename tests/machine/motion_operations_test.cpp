// Motion and heating: jog distances, go-to, heated moves inside the limits, the heat ramp.
#include "link_rig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace kerfline::machine {
namespace {

using testing::bytesOf;
using testing::ContextRig;
using testing::CutterRig;
using testing::FakePlatform;

// Motion operations over a fake controller, with the machine state set by the test.
struct StateRig : ContextRig {
    explicit StateRig(const char* product)
    {
        platform.devices = {{"Quorvant", "Qd 1200", ""}};
        link = std::make_unique<TfUsb>(context, platform);
        protocol = std::make_unique<ControllerProtocol>(context, *link);
        motion = std::make_unique<MotionOperations>(*protocol);
        context.machine.setProduct(product);
    }
    void place(std::int32_t fx, std::int32_t fy, std::int32_t bx, std::int32_t by, bool homed)
    {
        MachineState& s = context.machine;
        s.frontX = fx;
        s.frontY = fy;
        s.backX = bx;
        s.backY = by;
        s.statusFlags = homed ? statusBit(StatusFlag::homed) : 0;
    }
    FakePlatform platform;
    std::unique_ptr<TfUsb> link;
    std::unique_ptr<ControllerProtocol> protocol;
    std::unique_ptr<MotionOperations> motion;
};

struct JogCase {
    int key;
    bool front, back, homed;
    JogDistances expected;
};

void expectDistances(const JogDistances& actual, const JogDistances& expected, const JogCase& c)
{
    SCOPED_TRACE("key " + std::to_string(c.key) + (c.front ? " front" : "") + (c.back ? " back" : "") +
                 (c.homed ? " homed" : " not homed"));
    EXPECT_EQ(actual.frontX, expected.frontX);
    EXPECT_EQ(actual.frontY, expected.frontY);
    EXPECT_EQ(actual.backX, expected.backX);
    EXPECT_EQ(actual.backY, expected.backY);
    EXPECT_EQ(actual.tableRevolutions, expected.tableRevolutions);
    EXPECT_EQ(actual.spindleRevolutions, expected.spindleRevolutions);
}

TEST(JogByKey, DistancesOfEveryKey)
{
    // Limits 1200 x 600 mm; front arm at (300, 200) mm, back arm at (400, 100) mm.
    const JogCase cases[] = {
        {37, true, false, true, {-30000, 0, 0, 0, 0, 0}},
        {37, true, false, false, {-60000, 0, 0, 0, 0, 0}},   // not homed: limitY x 100
        {100, false, true, true, {0, 0, -40000, 0, 0, 0}},
        {37, true, true, true, {-30000, 0, -30000, 0, 0, 0}},
        {37, true, true, false, {-120000, 0, -120000, 0, 0, 0}},  // both, not homed: limitX x 100
        {39, true, false, true, {90000, 0, 0, 0, 0, 0}},
        {102, false, true, false, {0, 0, 60000, 0, 0, 0}},
        {39, true, true, true, {80000, 0, 80000, 0, 0, 0}},
        {39, true, true, false, {60000, 0, 60000, 0, 0, 0}},
        {38, true, false, false, {0, 40000, 0, 0, 0, 0}},
        {104, true, true, true, {0, 40000, 0, 40000, 0, 0}},
        {40, true, false, true, {0, -20000, 0, 0, 0, 0}},
        {98, false, true, false, {0, 0, 0, -60000, 0, 0}},
        {40, true, true, true, {0, -10000, 0, -10000, 0, 0}},
        {40, true, true, false, {0, -60000, 0, -60000, 0, 0}},
        {97, true, false, true, {-20000, -20000, 0, 0, 0, 0}},
        {97, true, true, false, {-10000, -10000, -10000, -10000, 0, 0}},
        {99, false, true, true, {0, 0, 10000, -10000, 0, 0}},
        {99, true, true, true, {10000, -10000, 10000, -10000, 0, 0}},
        {103, true, false, true, {-30000, 30000, 0, 0, 0, 0}},
        {103, true, true, true, {-30000, 30000, -30000, 30000, 0, 0}},
        {105, true, false, true, {40000, 40000, 0, 0, 0, 0}},
        {105, false, true, true, {0, 0, 50000, 50000, 0, 0}},
        {33, true, true, true, {0, 0, 0, 0, 0, -10}},
        {34, false, false, false, {0, 0, 0, 0, 0, 10}},
        {188, true, true, true, {0, 0, 0, 0, -10, 0}},
        {190, true, false, true, {0, 0, 0, 0, 10, 0}},
        {65, true, true, true, {}},
    };
    StateRig rig("Qd 1200");
    rig.context.machine.limitX = 1200;
    rig.context.machine.limitY = 600;
    for (const JogCase& c : cases) {
        rig.place(30000, 20000, 40000, 10000, c.homed);
        expectDistances(rig.motion->jogDistances(c.key, c.front, c.back), c.expected, c);
    }
}

TEST(JogByKey, TableKeysTurnTheSpindleWhenTheTableSitsOnIt)
{
    StateRig rig("KK45");
    EXPECT_EQ(rig.motion->jogDistances(188, true, true).spindleRevolutions, -10);
    EXPECT_EQ(rig.motion->jogDistances(190, true, true).tableRevolutions, 0);
}

TEST(JogByKey, AnArmPastTheEndDoesNotRunBackwards)
{
    StateRig rig("Qd 1200");
    rig.context.machine.limitX = 1200;
    rig.place(130000, 0, 0, 0, true);
    EXPECT_FALSE(rig.motion->jogDistances(39, true, false).any());
}

TEST(JogByKeyTwoWire, DistancesOfEveryKey)
{
    // Limits 2000 x 1000 mm; front wire at (300, 500) mm, side wire at (200, 100) mm: G = 390 mm.
    const JogCase cases[] = {
        {37, true, false, true, {-30000, 0, 0, 0, 0, 0}},
        {37, true, false, false, {-100000, 0, 0, 0, 0, 0}},
        {100, false, true, true, {0, 0, -20000, 0, 0, 0}},
        {37, true, true, false, {-200000, 0, -200000, 0, 0, 0}},  // both: the four-axis rule
        {39, true, false, true, {170000, 0, 0, 0, 0, 0}},
        {102, false, true, true, {0, 0, 180000, 0, 0, 0}},
        {39, false, true, false, {0, 0, 100000, 0, 0, 0}},
        {38, true, false, true, {0, 50000, 0, 0, 0, 0}},
        {104, false, true, true, {0, 0, 0, 39000, 0, 0}},
        {40, true, false, true, {0, -39000, 0, 0, 0, 0}},
        {98, true, false, false, {0, -100000, 0, 0, 0, 0}},
        {40, false, true, true, {0, 0, 0, -10000, 0, 0}},
        {40, false, true, false, {0, 0, 0, -100000, 0, 0}},
        {97, true, false, true, {-30000, -30000, 0, 0, 0, 0}},
        {97, false, true, true, {0, 0, -10000, -10000, 0, 0}},
        {99, true, false, true, {39000, -39000, 0, 0, 0, 0}},
        {99, false, true, true, {0, 0, 10000, -10000, 0, 0}},
        {103, true, false, true, {-30000, 30000, 0, 0, 0, 0}},
        {103, false, true, true, {0, 0, -20000, 20000, 0, 0}},
        {105, true, false, true, {50000, 50000, 0, 0, 0, 0}},
        {105, false, true, true, {0, 0, 39000, 39000, 0, 0}},
        {34, true, false, true, {0, 0, 0, 0, 0, 10}},
        {188, false, true, true, {0, 0, 0, 0, -10, 0}},
    };
    StateRig rig("Pr 2000");
    rig.context.machine.limitX = 2000;
    rig.context.machine.limitY = 1000;
    for (const JogCase& c : cases) {
        rig.place(30000, 50000, 20000, 10000, c.homed);
        expectDistances(rig.motion->jogDistancesTwoWire(c.key, c.front, c.back), c.expected, c);
    }
}

TEST(JogByKeyTwoWire, RulesThatDependOnTheWirePositions)
{
    StateRig rig("Pr 2000");
    rig.context.machine.limitX = 2000;
    rig.context.machine.limitY = 1000;
    // The side wire below the table: it may not run in X+, and the front wire not towards it.
    rig.place(30000, 50000, 20000, -500, true);
    EXPECT_FALSE(rig.motion->jogDistancesTwoWire(39, false, true).any());
    EXPECT_FALSE(rig.motion->jogDistancesTwoWire(105, false, true).any());
    EXPECT_FALSE(rig.motion->jogDistancesTwoWire(103, true, false).any());
    // At X 0 the side wire goes 10 mm below the table.
    rig.place(30000, 50000, 0, 10000, true);
    EXPECT_EQ(rig.motion->jogDistancesTwoWire(40, false, true).backY, -11000);
    // The front wire below the table: no diagonal down.
    rig.place(30000, -100, 0, -2000, true);
    EXPECT_FALSE(rig.motion->jogDistancesTwoWire(97, true, false).any());
}

std::vector<std::string> commandsOf(const VirtualCutter& cutter)
{
    std::vector<std::string> commands;
    for (const Report& report : cutter.reports())
        commands.emplace_back(report.begin() + 1, report.end());
    return commands;
}

bool startsWithBytes(const std::string& command, const std::string& prefix)
{
    return command.compare(0, prefix.size(), prefix) == 0;
}

TEST(Jogging, HeatsPausesAndMovesOnTheVirtualCutter)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.context.configuration.setNumber(Param::Pauza_w_kacie, 250);
    rig.cutter.clearReports();
    const std::int64_t start = rig.clock.nowMs();
    rig.motion->JogByKey(KeyRight, true, false);
    const auto commands = commandsOf(rig.cutter);
    ASSERT_EQ(commands.size(), 1u + 3u);  // heating, then start, axis 0, end pieces
    EXPECT_TRUE(startsWithBytes(commands[0], bytesOf({'R', 1, 2})));
    EXPECT_TRUE(startsWithBytes(commands[2], bytesOf({'A', 0}) + EncodeInt32(300000)));  // 1200 mm
    EXPECT_GE(rig.clock.nowMs() - start, 250);
    EXPECT_TRUE(rig.context.machine.busy() || rig.cutter.controller().statusFlags() & 1u);

    // Releasing the key stops the arm where it is.
    rig.clock.sleepMs(600);
    rig.motion->StopMotion();
    rig.protocol->ReadPositions();
    EXPECT_GT(rig.context.machine.frontX, 0);
    EXPECT_LT(rig.context.machine.frontX, 120000);
}

TEST(Jogging, NothingIsSentForAZeroDistance)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.cutter.clearReports();
    rig.motion->JogByKey(KeyLeft, true, true);  // both arms already at X 0
    EXPECT_TRUE(rig.cutter.reports().empty());
}

TEST(Jogging, RotaryJogWithHeavySendsTheSettingFirst)
{
    CutterRig rig;
    rig.readMachine();
    rig.context.configuration.setCheck(Param::Heavy, CheckState::cbChecked);
    rig.cutter.clearReports();
    rig.motion->JogByKey(KeyFullStop, true, true);
    const auto commands = commandsOf(rig.cutter);
    ASSERT_GE(commands.size(), 5u);
    EXPECT_TRUE(startsWithBytes(commands[1], bytesOf({'S', 2}) + EncodeInt32(1)));
    EXPECT_TRUE(startsWithBytes(commands[3], bytesOf({'A', 2}) + EncodeInt32(80000)));  // 10 turns
    EXPECT_TRUE(rig.motion->rotaryMoved);
}

TEST(Jogging, TwoWireJogSelectsThePowerOfTheMovingWire)
{
    CutterRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {0, 25000, 0, 0, 0, 0, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    rig.cutter.clearReports();
    rig.motion->JogByKeyTwoWire(KeyUp, false, true);  // up to 10 mm below the front wire
    const auto commands = commandsOf(rig.cutter);
    ASSERT_EQ(commands.size(), 5u);
    EXPECT_TRUE(startsWithBytes(commands[1], bytesOf({'S', 4}) + EncodeInt32(5)));
    EXPECT_TRUE(startsWithBytes(commands[3], bytesOf({'A', 5}) + EncodeInt32(22500)));
}

TEST(Gotopoint, TakesTheShorterWayRound)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {0, 0, 1000, 0, 0, 0, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.cutter.clearReports();
    ASSERT_TRUE(rig.motion->gotopoint(true, 2, 0, 0, 0, 0, 7000, 0));
    const auto commands = commandsOf(rig.cutter);
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_TRUE(startsWithBytes(commands[0], bytesOf({'F', 2})));
    EXPECT_TRUE(startsWithBytes(commands[2], bytesOf({'A', 2}) + EncodeInt32(-2000)));
    EXPECT_EQ(rig.cutter.controller().positions()[AxisTable], -1000);
    EXPECT_EQ(rig.context.machine.tableRemainder, -1000);
}

TEST(Gotopoint, HeavyMachinesTurnFirstThenTravel)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.context.configuration.setCheck(Param::Heavy, CheckState::cbChecked);
    rig.cutter.clearReports();
    ASSERT_TRUE(rig.motion->gotopoint(true, 0, 100, 100, 50, 50, 2000, 0));
    const auto commands = commandsOf(rig.cutter);
    ASSERT_EQ(commands.size(), 2u + 3u + 6u);
    EXPECT_TRUE(startsWithBytes(commands[1], bytesOf({'S', 2}) + EncodeInt32(1)));
    EXPECT_TRUE(startsWithBytes(commands[3], bytesOf({'A', 2}) + EncodeInt32(2000)));
    EXPECT_TRUE(startsWithBytes(commands[6], bytesOf({'A', 0}) + EncodeInt32(25000)));
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 10000);
    EXPECT_EQ(rig.context.machine.backY, 5000);
}

// A key or a click while the wire travels stops it where it is, and the go-to ends unreached; on
// a heavy machine a stop during the turn sends no travel after it.
TEST(Gotopoint, AKeyOrAClickStopsTheWireWhereItIs)
{
    for (const bool heavy : {false, true}) {
        SCOPED_TRACE(heavy ? "heavy" : "plain");
        CutterRig rig;
        rig.readMachine();
        rig.home();
        rig.context.configuration.setCheck(Param::Heavy, heavy ? CheckState::cbChecked : CheckState::cbUnchecked);
        const std::int64_t start = rig.clock.nowMs();
        bool pressed = false;
        // 100 mm at travel speed take 3 s: a second in, or while the table still turns, the
        // operator presses a key.
        const std::int64_t pressAtMs = heavy ? 50 : 1000;
        rig.cutter.beforeIo = [&] {
            if (!pressed && rig.clock.nowMs() - start >= pressAtMs) {
                rig.host.pendingInputs.push_back(PendingInput::KeyDown);
                pressed = true;
            }
        };
        EXPECT_FALSE(rig.motion->gotopoint(true, 0, 100, 100, 0, 0, heavy ? 4000 : 0, 0));
        rig.cutter.beforeIo = nullptr;
        rig.protocol->ReadStatus();
        EXPECT_FALSE(rig.context.machine.busy());
        rig.protocol->ReadPositions();
        if (heavy) {
            EXPECT_EQ(rig.context.machine.frontX, 0);
        } else {
            EXPECT_GT(rig.context.machine.frontX, 2000);
            EXPECT_LT(rig.context.machine.frontX, 5000);
        }
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "przejazdPrzerwany"));
        EXPECT_FALSE(rig.host.messages[0].isError);
        // Nothing of the press is left to stop the next go-to.
        EXPECT_TRUE(rig.motion->gotopoint(true, 0, 100, 100, 0, 0, 0, 0));
        EXPECT_EQ(rig.context.machine.frontX, 10000);
    }
}

TEST(Gotopoint, RefusesWithoutControllerAndWhileBusy)
{
    CutterRig rig;
    rig.readMachine();
    rig.cutter.unplug();
    rig.host.runPosted();
    EXPECT_FALSE(rig.motion->gotopoint(true, 0, 0, 0, 0, 0, 0, 0));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
    EXPECT_EQ(rig.host.messages[0].caption, "Goto point");

    rig.cutter.replug();
    rig.host.runPosted();
    rig.protocol->SendCommand(bytesOf({'B', 0x33}));  // homing keeps the machine busy
    EXPECT_FALSE(rig.motion->gotopoint(true, 0, 0, 0, 0, 0, 0, 0));
    ASSERT_EQ(rig.host.messages.size(), 2u);
    EXPECT_EQ(rig.host.messages[1].text, rig.context.Text("Control", "nieMoznaPrzesuwac"));
}

int powerCommands(const VirtualCutter& cutter)
{
    const auto commands = commandsOf(cutter);
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [](const std::string& c) { return c[0] == 'T'; }));
}

TEST(HeatRamp, StepCountFollowsTheCornerPause)
{
    struct Case {
        double pause;
        int steps;
    };
    for (const Case c : {Case{1200, 20}, Case{600, 10}, Case{0, 10}, Case{661, 11}}) {
        CutterRig rig;
        rig.readMachine();
        rig.context.configuration.setNumber(Param::Pauza_w_kacie, c.pause);
        rig.cutter.clearReports();
        rig.motion->HeatRamp(1, 100);
        EXPECT_EQ(powerCommands(rig.cutter), 1 + c.steps) << c.pause;
        EXPECT_EQ(rig.cutter.controller().powerSetting(1), 255);
        EXPECT_TRUE(rig.cutter.controller().outputOn(1));
    }
}

TEST(HeatRamp, StopsWhenTheWireIsBroken)
{
    CutterRig rig;
    rig.readMachine();
    rig.cutter.controller().breakWire();
    rig.cutter.clearReports();
    rig.motion->HeatRamp(2, 100);  // the first step is 25, above 12: the status is read
    EXPECT_EQ(powerCommands(rig.cutter), 2);
    EXPECT_TRUE(rig.context.machine.wireBreak());
}

TEST(Heating, ToggleAndPowerFormats)
{
    CutterRig rig;  // version 4: the power setting goes as 4 bytes
    rig.readMachine();
    rig.motion->ToggleHeating();
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.heatingOn());
    rig.motion->ToggleHeating();
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.heatingOn());

    rig.context.machine.powerScale = 100;
    rig.motion->SetWorkPower(3, 2.5);
    EXPECT_EQ(rig.cutter.controller().powerSetting(3), 2500);

    CutterRig percent("BV 1000");
    percent.readMachine();
    percent.motion->SetWorkPower(1, 50);
    EXPECT_EQ(percent.cutter.controller().powerSetting(1), 128);  // Round(127.5)
}

TEST(SpeedAndSettings, ReachTheController)
{
    CutterRig rig;
    rig.readMachine();
    rig.protocol->SendCommand(bytesOf({'F', 1}));
    rig.protocol->ReadSpeeds();
    rig.motion->SetSpeed(600);
    EXPECT_EQ(rig.cutter.controller().speedPeriod(1), 300);  // divided by the multiplier
    EXPECT_EQ(rig.context.machine.speeds[1], 600);
    rig.motion->SetDisplayUnit(2);
    EXPECT_EQ(rig.cutter.controller().displayUnit(), 2);
    rig.motion->WriteEepromByte(17, 0xA5);
    EXPECT_EQ(rig.cutter.controller().eepromByte(17), 0xA5);
    rig.context.machine.resX = rig.context.machine.resY = 2.5;
    rig.motion->SetProgramOrigin(1001, 2000);
    EXPECT_EQ(rig.cutter.controller().programOrigin()[0], 2502);  // Round(2502.5)
    EXPECT_EQ(rig.cutter.controller().programOrigin()[1], 5000);
}

TEST(MoveByDelta, OffsetsAreCutAtZeroAndAtTheLimits)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.context.configuration.setNumber(Param::CzasRozgrzewania, 0);
    rig.motion->MoveByDelta(true, true, 0, -50, 100);  // Y would go below 0: no Y move
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 10000);
    EXPECT_EQ(rig.context.machine.frontY, 0);
    EXPECT_TRUE(rig.cutter.controller().outputOn(2));  // a heated move

    rig.motion->MoveByDelta(true, false, 0, 1000, 5000);  // past the limits: to them
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 120000);
    EXPECT_EQ(rig.context.machine.frontY, 60000);
    EXPECT_EQ(rig.context.machine.backX, 10000);

    rig.context.configuration.setChoice(Param::radiounit, UnitInch);
    rig.context.configuration.updateDisplayUnit();
    rig.motion->MoveByDelta(true, true, 0, 0, -1);  // one inch back
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 120000 - 2540);
    EXPECT_EQ(rig.context.machine.backX, 10000 - 2540);
}

TEST(MoveToPoint, TargetsInsideTheWorkAreaAndTheTableTurned)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.context.configuration.setNumber(Param::CzasRozgrzewania, 0);
    rig.context.configuration.setChoice(Param::StolikSwitch, DeviceTable);
    rig.motion->MoveToPoint(true, true, 450, -5, 5000);
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.frontX, 120000);
    EXPECT_EQ(s.backX, 120000);
    EXPECT_EQ(s.frontY, 0);
    EXPECT_EQ(s.tableRemainder, 2000);  // 450 degrees: a quarter turn
    EXPECT_TRUE(rig.motion->rotaryMoved);
}

TEST(MoveByDelta, SideWireBelowTheTableWithTheFrontWireLowDoesNothing)
{
    CutterRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {0, 0, 0, 0, 0, -1250, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.cutter.clearReports();
    rig.motion->MoveByDelta(false, true, 0, 20, 0);
    EXPECT_TRUE(rig.cutter.reports().empty());
}

TEST(MoveByDelta, FrontWireStaysTenMillimetresAboveTheSideWire)
{
    CutterRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    rig.readMachine();
    rig.home();
    rig.context.configuration.setNumber(Param::CzasRozgrzewania, 0);
    // Front wire at Y 100 mm, side wire at Y 50 mm.
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {0, 25000, 0, 0, 0, 12500, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.motion->MoveByDelta(true, false, 0, -80, 0);
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontY, 6000);
}

TEST(ParkSideWire, GoesToTheCornerThenBelowTheTable)
{
    CutterRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {25000, 50000, 0, 0, 10000, 12500, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.motion->ParkSideWire();
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.backX, 0);
    EXPECT_EQ(s.backY, -1000);
    EXPECT_EQ(s.frontX, 10000);
    EXPECT_EQ(s.frontY, 20000);
}

TEST(ParkSideWire, FromTheTableAwayFromXZeroGoesToXZeroBeforeGoingBelow)
{
    CutterRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    rig.readMachine();
    rig.home();
    // Side wire on the table at X 300 mm, Y 0.
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {25000, 50000, 0, 0, 75000, 0, 0, 0}).text);
    ASSERT_TRUE(rig.protocol->WaitWhileBusy());
    rig.cutter.controller().clearPath();
    EXPECT_TRUE(rig.motion->ParkSideWire());
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.backX, 0);
    EXPECT_EQ(rig.context.machine.backY, -1000);
    for (const PathPoint& point : rig.cutter.controller().path()) {
        if (point.steps[AxisBackY] < 0) {
            EXPECT_EQ(point.steps[AxisBackX], 0) << "below the table away from X 0";
        }
    }
}

// The reads that succeed before the positions are read; then ten failures (one failed read).
struct LostReadCase {
    const char* operation;
    int answeredReads;
    std::function<bool(MotionOperations&)> run;
};

TEST(Motion, AFailedPositionReadMovesNothing)
{
    const LostReadCase cases[] = {
        {"gotopoint", 1, [](MotionOperations& m) { return m.gotopoint(true, 0, 100, 100, 50, 50, 0, 0); }},
        {"MoveToPoint", 1, [](MotionOperations& m) { return m.MoveToPoint(true, true, 0, 50, 100); }},
        {"MoveByDelta", 2, [](MotionOperations& m) { return m.MoveByDelta(true, true, 0, 5, 10); }},
        {"ParkSideWire", 0, [](MotionOperations& m) { return m.ParkSideWire(); }},
    };
    for (const LostReadCase& c : cases) {
        SCOPED_TRACE(c.operation);
        StateRig rig("Pr 2000");
        rig.place(30000, 20000, 30000, 20000, true);  // where the wire stands, read before
        rig.platform.readResults.assign(static_cast<std::size_t>(c.answeredReads), 0);
        rig.platform.readResults.insert(rig.platform.readResults.end(), 10, hid_error::GenFailure);
        rig.platform.reports.clear();
        EXPECT_FALSE(c.run(*rig.motion));
        for (const Report& report : rig.platform.reports)
            EXPECT_NE(report[1], 'A') << "a move from a position that was not read";
        EXPECT_EQ(rig.context.machine.frontX, 30000);  // the failed read is not taken as 0
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
    }
}

TEST(Heating, TheSwitchTurnsOffTheOutputAProgramHeats)
{
    for (const int programOutput : {1, 3}) {
        SCOPED_TRACE(programOutput);
        CutterRig rig;
        rig.readMachine();
        rig.protocol->SendCommand(std::string{'R', 1, static_cast<char>(programOutput)});
        rig.protocol->ReadPower();
        rig.protocol->ReadStatus();
        ASSERT_TRUE(rig.context.machine.heatingOn());
        ASSERT_NE(rig.context.machine.selectedPowerOutput, programOutput);
        rig.motion->ToggleHeating();
        EXPECT_FALSE(rig.cutter.controller().outputOn(programOutput));
        rig.protocol->ReadStatus();
        EXPECT_FALSE(rig.context.machine.heatingOn());
    }
}

}  // namespace
}  // namespace kerfline::machine
