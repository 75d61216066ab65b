// The wire move dialog: its texts, the moves and the two service loops on the virtual cutter.
#include "cutting/wire_move.h"
#include "machine/link_rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kerfline {
namespace {

// Operator input that arrives only once the machine has moved for a while.
class LateInputHost : public ScriptedHost {
public:
    SimulatedClock* clock = nullptr;
    std::int64_t arrivesAtMs = 0;
    PendingInput takePendingInput() override
    {
        if (clock != nullptr && clock->nowMs() < arrivesAtMs)
            return PendingInput::None;
        return ScriptedHost::takePendingInput();
    }
};

struct MoveRig {
    MoveRig() : context(host, clock, CommandLine{}), cutter(host, clock, machine::kDefaultVirtualProduct)
    {
        context.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        cutter.followClock(clock);
        host.clock = &clock;
        link = std::make_unique<machine::TfUsb>(context, cutter);
        protocol = std::make_unique<machine::ControllerProtocol>(context, *link);
        motion = std::make_unique<machine::MotionOperations>(*protocol);
        dialog = std::make_unique<Tprzesun>(context, *protocol, *motion);
        protocol->ReadMachineInfo();
        protocol->SendCommand(std::string{'B', static_cast<char>(0xFF)});
        protocol->WaitWhileBusy();
        protocol->ReadPositions();
        context.configuration.setNumber(Param::Pauza_w_kacie, 0);
        context.configuration.setNumber(Param::CzasRozgrzewania, 100);
    }
    ~MoveRig()
    {
        dialog.reset();
        motion.reset();
        protocol.reset();
        link.reset();
    }
    LateInputHost host;
    SimulatedClock clock;
    AppContext context;
    machine::VirtualCutter cutter;
    std::unique_ptr<machine::TfUsb> link;
    std::unique_ptr<machine::ControllerProtocol> protocol;
    std::unique_ptr<machine::MotionOperations> motion;
    std::unique_ptr<Tprzesun> dialog;
};

TEST(WireMoveTexts, CaptionAndRotaryLabel)
{
    MoveRig rig;
    const std::string base = rig.context.Text("Move_wire", "caption") + std::string(38, ' ');
    const std::string front = rig.context.Text("Control", "KeyFront.caption");
    const std::string back = rig.context.Text("Control", "QdKeyBack.caption");
    struct Case {
        bool front, back;
        std::string caption;
    };
    const Case cases[] = {{true, true, base + front + " & " + back}, {true, false, base + front},
                          {false, true, base + back}, {false, false, base}};
    for (const Case& c : cases) {
        rig.dialog->setArms(c.front, c.back);
        EXPECT_EQ(rig.dialog->FormActivate().caption, c.caption);
    }

    struct Device {
        int stolikSwitch;
        std::string label, hint;
    };
    const std::string spindle = rig.context.Text("Configuration", "stolikswitch.Item0");
    const std::string table = rig.context.Text("Configuration", "stolikswitch.Item1");
    const Device devices[] = {{DeviceSpindle, "&" + spindle.substr(0, 1) + "=", spindle},
                              {DeviceTable, "&" + table.substr(0, 1) + "=", table},
                              {DeviceNone, "&Z=", ""}};
    for (const Device& d : devices) {
        rig.context.configuration.setChoice(Param::StolikSwitch, d.stolikSwitch);
        const WireMoveTexts texts = rig.dialog->FormActivate();
        EXPECT_EQ(texts.zLabel, d.label);
        EXPECT_EQ(texts.zHint, d.hint);
        EXPECT_EQ(texts.unitLabel, "[mm]");
    }
}

TEST(WireMove, ToAPointAndByAnOffset)
{
    MoveRig rig;
    const MachineState& s = rig.context.machine;
    rig.dialog->setArms(true, false);
    rig.dialog->WykonajClick(MoveToMachinePoint, 100, 40, 0);
    rig.protocol->WaitWhileBusy();
    rig.dialog->WykonajClick(MoveByValue, 10, -5, 0);
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_EQ(s.frontX, 11000);
    EXPECT_EQ(s.frontY, 3500);
    EXPECT_EQ(s.backX, 0);
}

TEST(WireMoveTest, MovesBothXAxesForthAndBackUntilAKey)
{
    MoveRig rig;
    const MachineState& s = rig.context.machine;
    rig.protocol->ReadPositions();
    const auto start = s.rawSteps;
    // The key comes while the machine moves forward: it still ends the loop after the pass.
    rig.host.pendingInputs = {PendingInput::KeyDown};
    rig.host.arrivesAtMs = rig.clock.nowMs() + 50;
    const std::size_t before = rig.cutter.controller().path().size();
    std::vector<std::string> shown;
    rig.dialog->setTestPassShown([&](const std::string& c) { shown.push_back(c); });
    const std::string counters = rig.dialog->testClick(10, 0, 0);
    EXPECT_EQ(counters, rig.link->countersText());
    EXPECT_EQ(shown, std::vector<std::string>{counters});  // shown after the pass, not only at the end
    // One pass forward and back, then the key ends it.
    const auto& path = rig.cutter.controller().path();
    ASSERT_EQ(path.size() - before, 2u);
    const double resX = s.resX;
    EXPECT_EQ(path[before].steps[AxisFrontX] - start[AxisFrontX], std::lround(10 * resX * 100));
    EXPECT_EQ(path[before].steps[AxisBackX] - start[AxisBackX], std::lround(10 * resX * 100));
    EXPECT_EQ(path[before].steps[AxisFrontY], start[AxisFrontY]);
    EXPECT_EQ(path[before + 1].steps, start);
    EXPECT_TRUE(rig.host.pendingInputs.empty());
}

TEST(WireMoveTest, DoesNothingWithoutAController)
{
    MoveRig rig;
    rig.cutter.unplug();
    rig.host.pendingInputs = {PendingInput::KeyDown};
    EXPECT_EQ(rig.dialog->testClick(10, 0, 0), "");
    EXPECT_EQ(rig.host.pendingInputs.size(), 1u);
}

TEST(HeaterTest, SwitchesTheHeatingUntilAClick)
{
    MoveRig rig;
    rig.host.pendingInputs = {PendingInput::None, PendingInput::Other, PendingInput::LeftButtonDown};
    rig.cutter.clearReports();
    const std::int64_t start = rig.clock.nowMs();
    rig.dialog->TestGrzalkiClick();
    int on = 0, off = 0;
    for (const machine::Report& r : rig.cutter.reports()) {
        on += r[1] == 'R' && r[2] == 1 && r[3] == 2;
        off += r[1] == 'R' && r[2] == 0 && r[3] == 2;
    }
    EXPECT_EQ(on, 3);
    EXPECT_EQ(off, 3);
    EXPECT_FALSE(rig.cutter.controller().outputOn(2));
    EXPECT_GE(rig.clock.nowMs() - start, 3 * 2 * 100);
    EXPECT_TRUE(rig.host.pendingInputs.empty());
}

}  // namespace
}  // namespace kerfline
