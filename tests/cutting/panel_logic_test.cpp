// The manual control panel's logic on the virtual cutter: heartbeat, keys, bars, arms, joystick,
// factory parameters.
#include "cutting/homing.h"
#include "cutting/joystick.h"
#include "cutting/panel_logic.h"
#include "machine/link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace kerfline {
namespace {

using machine::EncodeInt32;
using testing::bytesOf;
using testing::CutterRig;

class FakeJoystick : public Joystick {
public:
    std::optional<JoystickReading> reading;
    std::optional<JoystickReading> read() override { return reading; }
};

std::vector<std::string> commandsOf(const machine::VirtualCutter& cutter)
{
    std::vector<std::string> commands;
    for (const machine::Report& report : cutter.reports())
        commands.emplace_back(report.begin() + 1, report.end());
    return commands;
}

int countStarting(const machine::VirtualCutter& cutter, const std::string& prefix)
{
    int n = 0;
    for (const std::string& c : commandsOf(cutter))
        n += c.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

struct PanelRig : CutterRig {
    explicit PanelRig(std::string product = machine::kDefaultVirtualProduct, std::vector<std::string> switches = {})
        : CutterRig(std::move(product), std::move(switches))
    {
        hooks.isActive = [this] { return active; };
        hooks.inputWaiting = [this] { return inputWaiting; };
        hooks.close = [this] { ++closes; };
        hooks.jobLogic = [this] { ++jobTicks; };
        hooks.wstrzymaj = [this] { ++pauses; };
        panel = std::make_unique<Tster>(context, *protocol, *motion, &joystick, hooks);
        panel->FormCreate();
        panel->FormActivate();
        home();
        cutter.clearReports();
    }
    std::uint16_t speedPeriod() { return cutter.controller().speedPeriod(context.machine.selectedSpeedSet); }
    std::uint16_t periodOf(int speed)
    {
        return static_cast<std::uint16_t>(protocol->SpeedToPeriod(static_cast<std::uint16_t>(speed)) /
                                          context.machine.speedMultiplier);
    }

    PanelHooks hooks;
    FakeJoystick joystick;
    bool active = true;
    bool inputWaiting = false;
    int closes = 0, jobTicks = 0, pauses = 0;
    std::unique_ptr<Tster> panel;
};

TEST(PanelHeartbeat, PollsFastWhileConnectedAndRefreshesOnlyWhenActiveAndIdle)
{
    PanelRig rig;
    rig.panel->Timer1Timer();
    EXPECT_EQ(rig.panel->timerIntervalMs(), 100);
    EXPECT_EQ(rig.jobTicks, 1);
    EXPECT_EQ(rig.panel->view().frontX, "0.00");

    // Moved by the controller: waiting input leaves the display as it was; an inactive panel
    // follows the wire's coordinates but leaves the rest of the display (the wire's state).
    rig.motion->JogByKey(machine::KeyRight, true, true);
    rig.clock.sleepMs(1000);
    rig.inputWaiting = true;
    rig.panel->Timer1Timer();
    EXPECT_EQ(rig.panel->view().frontX, "0.00");
    rig.inputWaiting = false;
    rig.active = false;
    rig.cutter.breakWire();
    const int reads = rig.cutter.readCount();
    rig.panel->Timer1Timer();
    EXPECT_EQ(rig.cutter.readCount() - reads, 1);  // one status report serves both
    const std::string inactive = rig.panel->view().frontX;
    EXPECT_NE(inactive, "0.00");
    EXPECT_TRUE(rig.panel->view().wireState.empty());
    EXPECT_EQ(rig.jobTicks, 3);  // the job logic runs on every connected tick
    rig.clock.sleepMs(1000);
    rig.active = true;
    rig.panel->Timer1Timer();
    EXPECT_NE(rig.panel->view().frontX, inactive);
    EXPECT_FALSE(rig.panel->view().wireState.empty());

    rig.cutter.unplug();
    rig.panel->Timer1Timer();
    EXPECT_EQ(rig.panel->timerIntervalMs(), 3000);
    EXPECT_EQ(rig.jobTicks, 4);
    EXPECT_EQ(rig.closes, 1);
}

// A read that fails leaves what the last good read showed, or the dash before any; never zeros.
TEST(PanelHeartbeat, AFailedReadOfThePositionsIsNeverShownAsZero)
{
    for (const bool readBefore : {false, true}) {
        SCOPED_TRACE(readBefore ? "after a good read" : "no read yet");
        CutterRig rig;
        rig.readMachine();
        rig.home();
        rig.motion->gotopoint(true, 0, 12.5, 12.5, 7.0, 7.0, 0, 0);
        rig.protocol->WaitWhileBusy();
        PanelHooks hooks;
        hooks.isActive = [] { return false; };
        Tster panel(rig.context, *rig.protocol, *rig.motion, nullptr, hooks);
        panel.FormCreate();
        if (readBefore)
            panel.Timer1Timer();
        const std::string shown = readBefore ? "12.50" : "-";
        EXPECT_EQ(panel.view().frontX, shown);
        rig.cutter.failReads(10);  // more than the link's retries
        panel.Timer1Timer();
        EXPECT_EQ(panel.view().frontX, shown);
        EXPECT_EQ(panel.view().frontY, readBefore ? "7.00" : "-");
        panel.Timer1Timer();
        EXPECT_EQ(panel.view().frontX, "12.50");
    }
}

// What the heartbeat read a moment ago serves those who follow the wire; an old or failed read
// does not.
TEST(PanelHeartbeat, ItsReadOfThePositionsServesOthersForAMoment)
{
    PanelRig rig;
    rig.active = false;
    rig.panel->Timer1Timer();
    EXPECT_TRUE(rig.panel->positionsReadWithinMs(100));
    rig.clock.sleepMs(150);
    EXPECT_FALSE(rig.panel->positionsReadWithinMs(100));
    rig.cutter.failReads(10);
    rig.panel->Timer1Timer();
    EXPECT_FALSE(rig.panel->positionsReadWithinMs(100));
}

// Homing stops the panel's timer; the homing loop's own polls move the coordinates.
TEST(PanelHeartbeat, HomingShowsTheAxesRunningToTheirSwitches)
{
    CutterRig rig;
    rig.motion->JogByKey(machine::KeyRight, true, true);
    rig.clock.sleepMs(2000);
    rig.motion->StopMotion();
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    const std::int32_t away = rig.context.machine.frontX;
    ASSERT_GT(away, 0);
    PanelHooks hooks;
    std::vector<std::string> shown;
    Tster* panelOf = nullptr;
    hooks.repaint = [&] {
        if (shown.empty() || shown.back() != panelOf->view().frontX)
            shown.push_back(panelOf->view().frontX);
    };
    Tster panel(rig.context, *rig.protocol, *rig.motion, nullptr, hooks);
    panelOf = &panel;
    Homing homing(rig.context, *rig.protocol, *rig.motion);
    homing.polled = [&](bool readOk) { panel.homingPolled(readOk); };
    panel.FormCreate();
    homing.bazujClick();
    // On the way from where it stood to the switch, ending at the origin; never a dash.
    ASSERT_GE(shown.size(), 3u);
    double previous = away / 100.0;
    for (const std::string& x : shown) {
        ASSERT_NE(x, "-");
        EXPECT_LT(std::stod(x), previous);
        previous = std::stod(x);
    }
    EXPECT_EQ(shown.back(), "0.00");
}

TEST(PanelKeys, HeldArrowJogsOnceAndReleaseStops)
{
    PanelRig rig;
    rig.panel->OnKeyDown(machine::KeyRight);
    EXPECT_TRUE(rig.panel->jogActive());
    const int moves = countStarting(rig.cutter, bytesOf({'A', 0}));
    EXPECT_GT(moves, 0);
    rig.panel->OnKeyDown(machine::KeyRight);  // auto-repeat
    rig.panel->OnKeyDown(machine::KeyUp);
    EXPECT_EQ(countStarting(rig.cutter, bytesOf({'A', 0})), moves);
    EXPECT_EQ(countStarting(rig.cutter, "Y"), 0);
    rig.clock.sleepMs(500);
    rig.panel->OnKeyUp(machine::KeyRight);
    EXPECT_FALSE(rig.panel->jogActive());
    EXPECT_EQ(countStarting(rig.cutter, "Y"), 1);
    EXPECT_FALSE(rig.context.machine.busy());
    EXPECT_GT(rig.context.machine.frontX, 0);
}

// A jog heats a cold wire while it moves; at rest the heartbeat switches it off again. Heating the
// operator switched on with the button stays on.
TEST(PanelKeys, AJogLeavesNoWireHotAtRestThatWasColdBefore)
{
    for (const bool switchedOn : {false, true}) {
        SCOPED_TRACE(switchedOn ? "heating switched on" : "cold before");
        PanelRig rig;
        if (switchedOn) {
            rig.panel->k_zalwylClick();
            ASSERT_TRUE(rig.cutter.readout().heating);
        }
        rig.panel->OnKeyDown(machine::KeyRight);
        rig.clock.sleepMs(300);
        rig.panel->Timer1Timer();
        EXPECT_TRUE(rig.cutter.readout().heating);  // moving: heated
        rig.panel->OnKeyUp(machine::KeyRight);
        rig.panel->Timer1Timer();
        EXPECT_EQ(rig.cutter.readout().heating, switchedOn);
    }
}

TEST(PanelKeys, CtrlSendsATenthUntilReleased)
{
    PanelRig rig;
    rig.panel->setSpeedPosition(1234);
    rig.panel->VScrollChange();
    rig.panel->OnKeyDown(KeyCtrl);
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(123));
    rig.panel->Timer1Timer();  // the refresh shows the slow speed on the bar
    rig.panel->OnKeyDown(KeyCtrl);
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(123));
    rig.panel->OnKeyUp(KeyCtrl);
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(1234));
}

TEST(PanelKeys, NumericPadStepsTheSpeed)
{
    struct Case {
        int start, key, expected;
    };
    const Case cases[] = {
        {995, KeyPadPlus, 1005}, {1000, KeyPadPlus, 1100}, {999, KeyPadPlus, 1009}, {100, KeyPadMinus, 90},
        {99, KeyPadPlus, 100},   {20, KeyPadMinus, 20},    {4950, KeyPadPlus, 5000},
    };
    PanelRig rig;
    ASSERT_EQ(rig.context.machine.maxTravelSpeed, 5000);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + (c.key == KeyPadPlus ? " +" : " -"));
        rig.panel->setSpeedPosition(c.start);
        rig.panel->OnKeyDown(c.key);
        EXPECT_EQ(rig.panel->view().speedPosition, c.expected);
        EXPECT_EQ(rig.speedPeriod(), rig.periodOf(c.expected));
    }
}

TEST(PanelSpeedBar, LabelRoundsPerUnit)
{
    struct Case {
        int unit;
        double resX;
        int position;
        const char* label;
        int smallStep;
        int sent;  // mm/min; from 10 in/min up the bar snaps to whole inches
    };
    const Case cases[] = {
        {UnitMillimetre, 1.0, 57, "57", 1, 57},       {UnitMillimetre, 1.0, 994, "990", 10, 994},
        {UnitMillimetre, 1.0, 995, "1000", 10, 995},  {UnitMillimetre, 1.0, 1250, "1200", 100, 1250},
        {UnitMillimetre, 1.0, 7300, "7500", 500, 7300}, {UnitMillimetre, 2.5, 1234, "1240", 100, 1234},
        {UnitInch, 1.0, 100, "3.9", 3, 100},          {UnitInch, 1.0, 254, "10.0", 25, 254},
        {UnitInch, 1.0, 300, "12.0", 25, 305},        {UnitInch, 1.0, 1000, "39.0", 25, 991},
        {UnitFoot, 1.0, 3048, "10.0", 30, 3048},
    };
    PanelRig rig;
    rig.context.machine.maxTravelSpeed = 20000;
    rig.context.machine.resX = 1.0;
    rig.panel->Timer1Timer();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.unit) + " " + std::to_string(c.position));
        rig.context.configuration.displayUnit = c.unit;
        rig.context.machine.resX = c.resX;
        rig.panel->setSpeedPosition(c.position);
        rig.panel->VScrollChange();
        EXPECT_EQ(rig.panel->view().speedLabel, c.label);
        EXPECT_EQ(rig.panel->view().speedSmallStep, c.smallStep);
        EXPECT_EQ(rig.panel->view().speedPosition, c.sent);
        EXPECT_EQ(rig.speedPeriod(), rig.periodOf(c.sent));
    }
}

TEST(PanelPower, RangesByOutputAndMachine)
{
    struct Case {
        const char* product;
        int output;
        int powerMax;
        int smallStep;
        const char* suffix;
    };
    // The virtual Qd has firmware 4.2: the new power format, a scale of 100.
    const Case cases[] = {
        {"Qd 1200", 0, 4000, 10, "  [ A ]"},
        {"Qd 1200", 1, 12000, 10, "  [ A ]"},
        // An older N45 with firmware below 4: amperes in tenths, limited to 1 A.
        {"N45 600", 0, 10, 1, "  [ A ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " output " + std::to_string(c.output));
        PanelRig rig(c.product);
        rig.context.configuration.setChoice(Param::PowerOutput, c.output);
        rig.panel->applyPowerRanges();
        EXPECT_EQ(rig.panel->view().powerMax, c.powerMax);
        EXPECT_EQ(rig.panel->view().powerSmallStep, c.smallStep);
        EXPECT_EQ(rig.panel->view().powerUnitSuffix, c.suffix);
        EXPECT_EQ(rig.panel->view().gaugeMax, c.powerMax);  // the gauge measures on the bar's scale
    }
}

TEST(PanelPower, LimitedModelsWithOldFirmwareKeepAtLeastEight)
{
    struct Case {
        int position, sent;
    };
    const Case cases[] = {{0, 0}, {1, 8}, {7, 8}, {8, 8}, {9, 9}};
    PanelRig rig("N45 600");
    MachineState& s = rig.context.machine;
    s.versionMajor = 3;
    s.versionMinor = 4;
    s.powerScale = 1;
    rig.protocol->lengths.setNewPowerFormat(false);
    rig.panel->applyPowerRanges();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        rig.cutter.clearReports();
        rig.panel->setPowerPosition(c.position);
        rig.panel->PScrollChange();
        EXPECT_EQ(rig.panel->view().powerPosition, c.sent);
        EXPECT_EQ(s.currentPower, c.sent);
        EXPECT_EQ(countStarting(rig.cutter, bytesOf({'T', s.selectedPowerOutput, c.sent})), 1);
    }
    // From firmware 3.5 on the floor is gone.
    s.versionMinor = 5;
    rig.panel->setPowerPosition(3);
    rig.panel->PScrollChange();
    EXPECT_EQ(s.currentPower, 3);
}

TEST(PanelTension, SendsTenthsOfANewton)
{
    PanelRig rig;
    EXPECT_EQ(rig.panel->view().tensionMax, 100);
    rig.panel->setTensionPosition(150);
    rig.panel->NaciagEditExit();
    EXPECT_EQ(rig.cutter.controller().tensionSetPoint(), 1000);

    PanelRig doubled(machine::kDefaultVirtualProduct, {"doubleTension"});
    doubled.panel->setTensionPosition(150);
    doubled.panel->NaciagEditExit();
    EXPECT_EQ(doubled.cutter.controller().tensionSetPoint(), 1500);
}

TEST(PanelArms, TwoWireMachineSelectsOneWireAndItsPower)
{
    PanelRig rig("Pr 2000", {"MachineName'Pr 2000'"});
    MachineState& s = rig.context.machine;
    EXPECT_TRUE(s.KeyFront);
    EXPECT_FALSE(s.KeyBack);
    rig.panel->KeyBackClick(true);
    EXPECT_FALSE(s.KeyFront);
    EXPECT_TRUE(s.KeyBack);
    ASSERT_FALSE(rig.cutter.reports().empty());
    EXPECT_EQ(commandsOf(rig.cutter).back().substr(0, 6), bytesOf({'S', 4}) + EncodeInt32(5));
    rig.panel->KeyFrontClick(true);
    EXPECT_FALSE(s.KeyBack);
    EXPECT_EQ(commandsOf(rig.cutter).back().substr(0, 6), bytesOf({'S', 4}) + EncodeInt32(0));

    PanelRig qd;
    qd.panel->KeyBackClick(false);
    EXPECT_TRUE(qd.context.machine.KeyFront);
    EXPECT_FALSE(qd.context.machine.KeyBack);
    EXPECT_TRUE(qd.cutter.reports().empty());
}

TEST(PanelArms, AlignBackToFrontMovesOnlyTheBackArm)
{
    PanelRig rig;
    rig.motion->MoveByDelta(true, false, 0, 30, 100);
    rig.protocol->WaitWhileBusy();
    rig.panel->sbWyrownajBackToFrontClick();
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.frontX, 10000);
    EXPECT_EQ(s.backX, s.frontX);
    EXPECT_EQ(s.backY, s.frontY);
}

TEST(PanelStop, PausesOnlyWhileTheMachineWorks)
{
    PanelRig rig;
    rig.panel->kstopClick();
    EXPECT_EQ(rig.pauses, 0);
    EXPECT_FALSE(rig.context.job.stoppedByOperator);
    rig.motion->JogByKey(machine::KeyRight, true, true);
    rig.panel->kstopClick();
    EXPECT_EQ(rig.pauses, 1);
    EXPECT_TRUE(rig.context.job.stoppedByOperator);
    EXPECT_EQ(rig.host.busyDepth, 0);
}

TEST(PanelBasePoints, RefusedUntilHomed)
{
    PanelRig rig;
    int shown = 0;
    rig.hooks.showBasePoints = [&] { ++shown; };
    Tster panel(rig.context, *rig.protocol, *rig.motion, nullptr, rig.hooks);
    rig.context.machine.statusFlags = 0;
    panel.BaseClick();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "wykonajBazowanie"));
    rig.protocol->ReadStatus();
    panel.BaseClick();
    EXPECT_EQ(shown, 1);
}

TEST(PanelJoystick, CodesFromAxesAndButtons)
{
    struct Case {
        std::uint16_t x, y;
        std::uint32_t buttons;
        int code;
    };
    const Case cases[] = {
        {32768, 32768, 0, 0}, {37768, 27768, 0, 0}, {37769, 32768, 0, 1},  {27767, 32768, 0, -1},
        {65535, 0, 0, 5},     {0, 65535, 0, -5},    {65535, 65535, 0, -3}, {32768, 32768, 0b1000, 8},
        {65535, 0, 0b0100, -8}, {0, 0, 0b1101, 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joystickCode({c.x, c.y, c.buttons}), c.code) << c.x << "," << c.y << " buttons " << c.buttons;
}

TEST(PanelJoystick, RightAndUpJogsBothArmsAndCentreStops)
{
    PanelRig rig;
    rig.joystick.reading = JoystickReading{65535, 0, 0};
    rig.panel->Timer1Timer();
    EXPECT_EQ(rig.panel->view().speedPosition, 5000);
    rig.clock.sleepMs(300);
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_GT(s.frontX, 0);
    EXPECT_GT(s.frontY, 0);
    EXPECT_EQ(s.backX, s.frontX);
    EXPECT_EQ(s.backY, s.frontY);

    const int stops = countStarting(rig.cutter, "Y");
    rig.joystick.reading = JoystickReading{};
    rig.panel->Timer1Timer();
    EXPECT_EQ(countStarting(rig.cutter, "Y"), stops + 1);
    EXPECT_FALSE(s.busy());
}

TEST(PanelFactoryParameters, SendsEveryByteWithWrappingAddresses)
{
    PanelRig rig;
    testing::TempDir dir;
    rig.context.dataDirectory = dir.str();
    std::string file(300, '\0');
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    dir.write("eprom.bin", file);
    rig.panel->btnRestoreEPROMClick();
    EXPECT_EQ(countStarting(rig.cutter, bytesOf({'S', 13})), 300);
    for (int address : {0, 43, 44, 255})
        EXPECT_EQ(rig.cutter.controller().eepromByte(static_cast<std::uint8_t>(address)),
                  static_cast<std::uint8_t>(file[address < 44 ? address + 256 : address]));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.host.messages[0].isError);
    EXPECT_EQ(rig.host.messages[0].text.rfind(rig.context.Text("Control", "factoryParametersRestored"), 0), 0u);
}

TEST(PanelFactoryParameters, MissingFileOrLostLinkReportsNoSuccess)
{
    PanelRig rig;
    testing::TempDir dir;
    rig.context.dataDirectory = dir.str();
    rig.panel->btnRestoreEPROMClick();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_TRUE(rig.host.messages[0].isError);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Universal", "zbioruNieMoznaOtworzyc") + dir.str() + "eprom.bin");

    dir.write("eprom.bin", std::string(50, 'x'));
    rig.cutter.unplug();
    rig.panel->btnRestoreEPROMClick();
    ASSERT_EQ(rig.host.messages.size(), 2u);
    EXPECT_TRUE(rig.host.messages[1].isError);
}


TEST(PanelKeys, CommaAndFullStopTurnTheRotaryAxisWhileHeld)
{
    struct Case {
        const char* product;
        int axis;  // the table, or the spindle when the table sits on its axis
    };
    for (const Case c : {Case{"Qd 1200", AxisTable}, Case{"KK45", AxisSpindle}}) {
        SCOPED_TRACE(c.product);
        PanelRig rig(c.product);
        const std::int32_t before = rig.context.machine.rawSteps[static_cast<std::size_t>(c.axis)];
        rig.panel->OnKeyDown(machine::KeyFullStop);
        EXPECT_TRUE(rig.panel->jogActive());
        const int moves = countStarting(rig.cutter, "A");
        EXPECT_GT(moves, 0);
        rig.panel->OnKeyDown(machine::KeyFullStop);  // auto-repeat starts nothing more
        EXPECT_EQ(countStarting(rig.cutter, "A"), moves);
        rig.clock.sleepMs(300);
        rig.panel->OnKeyUp(machine::KeyFullStop);
        EXPECT_FALSE(rig.panel->jogActive());
        EXPECT_EQ(countStarting(rig.cutter, "Y"), 1);
        EXPECT_GT(rig.context.machine.rawSteps[static_cast<std::size_t>(c.axis)], before);
    }
}

TEST(PanelCreate, ArmSelectionOnTheFourAxisAndTwoWireMachinesOrWithTest)
{
    const struct {
        const char* product;
        std::vector<std::string> switches;
        bool visible;
    } cases[] = {
        {"Qd 1200", {}, true},
        {"Pr 1200", {"MachineName'Pr 1200'"}, true},
        {"KK45", {}, false},
        {"KK45", {"TEST"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        PanelRig rig(c.product, c.switches);
        EXPECT_EQ(rig.panel->view().armSelectionVisible, c.visible);
    }
}

TEST(PanelCaptions, FollowMachineUnitAndFilter)
{
    PanelRig qd("Qd 1200", {"OnlyMachine'Qd 1200'"});
    qd.context.configuration.displayUnit = UnitInch;
    const PanelCaptions c = panelCaptions(qd.context);
    EXPECT_EQ(c.form, qd.context.Text("Control", "caption") + " Qd 1200");
    EXPECT_EQ(c.coordinates, qd.context.Text("Control", "groupBox1.caption") + "  [ in ]");
    EXPECT_EQ(c.backRow, qd.context.Text("Control", "QdKeyBack.caption"));
    EXPECT_EQ(c.spindleGroup, qd.context.Text("Configuration", "stolikswitch.Item0"));

    PanelRig pr("Pr 1200", {"MachineName'Pr 1200'"});
    EXPECT_EQ(panelCaptions(pr.context).form, pr.context.Text("Control", "caption"));
    PanelRig unfiltered("Qd 1200", {"OnlyMachine''"});  // an empty filter is no filter
    EXPECT_EQ(panelCaptions(unfiltered.context).form, unfiltered.context.Text("Control", "caption"));
    EXPECT_EQ(panelCaptions(pr.context).backRow, pr.context.Text("Control", "PrKeyBack.caption"));

    // With the table on the spindle axis the group is named after the configured device.
    PanelRig kk("KK45");
    const struct {
        int device;
        std::string caption;
    } devices[] = {{DeviceSpindle, kk.context.Text("Configuration", "stolikswitch.Item0")},
                   {DeviceTable, kk.context.Text("Configuration", "stolikswitch.Item1")},
                   {DeviceNone, "Z " + kk.context.Text("Configuration", "stolikswitch.Item2")}};
    for (const auto& d : devices) {
        kk.context.configuration.setChoice(Param::StolikSwitch, d.device);
        EXPECT_EQ(panelCaptions(kk.context).spindleGroup, d.caption);
    }
}

TEST(PanelHeating, TheButtonAndTheInsertKeySwitchOffTheOutputAProgramHeats)
{
    const std::function<void(Tster&)> switches[] = {[](Tster& panel) { panel.k_zalwylClick(); },
                                                    [](Tster& panel) { panel.OnKeyDown(45); }};
    for (const auto& press : switches) {
        PanelRig rig;
        // A program heats output 1 while the panel has another output selected.
        rig.protocol->SendCommand(std::string{'R', 1, 1});
        rig.protocol->ReadPower();
        ASSERT_NE(rig.context.machine.selectedPowerOutput, 1);
        press(*rig.panel);
        EXPECT_FALSE(rig.cutter.controller().outputOn(1));
        EXPECT_TRUE(rig.panel->view().wireState.empty());
    }
}

// A press whose status cannot be read turns nothing over: the last status may say off while a
// program heats, and a toggle would then keep the wire on. The operator learns of it.
TEST(PanelHeating, APressWhoseStatusReadFailsSwitchesNothingOn)
{
    PanelRig rig;
    rig.protocol->SendCommand(std::string{'R', 1, 1});  // a program heats output 1
    rig.context.machine.statusFlags = 0;                // the last status seen: no heating
    rig.cutter.failReads(1000);
    rig.cutter.clearReports();
    rig.host.messages.clear();
    rig.panel->k_zalwylClick();
    EXPECT_TRUE(rig.cutter.reports().empty()) << rig.cutter.reports().size();
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
}

}  // namespace
}  // namespace kerfline
