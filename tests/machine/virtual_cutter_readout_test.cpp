// What the virtual cutter's tool window reads: positions in millimetres and degrees, the
// buffer's fill, the flags, and the buttons and faults it presses at the clock's present.
#include "link_rig.h"

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

using testing::CutterRig;

TEST(VirtualCutterReadout, PositionsBufferAndFlags)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    // 2.5 steps per hundredth: 25 000 steps are 100 mm; 8000 steps are one revolution.
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {25000, -2500, 2000, 0, 0, 0, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    VirtualCutterReadout r = rig.cutter.readout();
    EXPECT_TRUE(r.plugged);
    EXPECT_DOUBLE_EQ(r.values[AxisFrontX], 100.0);
    EXPECT_DOUBLE_EQ(r.values[AxisFrontY], -10.0);
    EXPECT_DOUBLE_EQ(r.values[AxisTable], 90.0);
    EXPECT_TRUE(r.rotary[AxisTable] && r.rotary[AxisSpindle] && r.rotary[AxisAuxRotary]);
    EXPECT_FALSE(r.rotary[AxisFrontX] || r.rotary[AxisAux]);
    EXPECT_EQ(r.steps[AxisFrontX], 25000);
    EXPECT_TRUE(r.statusFlags & statusBit(StatusFlag::homed));
    EXPECT_EQ(r.bufferedCommands, 0u);
    EXPECT_EQ(r.bufferPercent, 0);

    // A program waiting in the buffer, not started: each move is three commands (start, axis, count).
    const std::string move = rig.protocol->BuildMove('a', {100, 0, 0, 0, 0, 0, 0, 0}).text;
    for (int i = 0; i < 50; ++i)
        rig.protocol->SendCommand(move);
    r = rig.cutter.readout();
    EXPECT_EQ(r.bufferedCommands, 150u);
    EXPECT_EQ(r.bufferCapacity, VirtualController::kBufferCapacity);
    EXPECT_EQ(r.bufferPercent, 25);
}

TEST(VirtualCutterReadout, ButtonsWireAndCable)
{
    CutterRig rig;
    rig.readMachine();
    rig.cutter.pressStop();
    rig.cutter.pressStart();
    rig.cutter.pressContinue();
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.stopRequest());
    EXPECT_TRUE(rig.context.machine.startRequest());
    EXPECT_TRUE(rig.context.machine.continueRequest());

    rig.cutter.breakWire();
    EXPECT_TRUE(rig.cutter.readout().wireBroken);
    rig.cutter.mendWire();
    EXPECT_FALSE(rig.cutter.readout().wireBroken);

    rig.cutter.unplug();
    EXPECT_FALSE(rig.cutter.readout().plugged);
    rig.cutter.replug();
    EXPECT_TRUE(rig.cutter.readout().plugged);
}

TEST(VirtualCutterReadout, TheControllerCountsRunTimeAndProgramsForTheAboutBox)
{
    CutterRig rig;
    rig.readMachine();
    const auto before = rig.context.machine.furtherValues;
    rig.protocol->SendCommand("G");
    rig.clock.sleepMs(3 * 60 * 1000);
    rig.protocol->ReadMachineInfo();
    EXPECT_EQ(rig.context.machine.furtherValues[0], before[0] + 3);
    EXPECT_EQ(rig.context.machine.furtherValues[1], before[1] + 1);
}

}  // namespace
}  // namespace kerfline::machine
