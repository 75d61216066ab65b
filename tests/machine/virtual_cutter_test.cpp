// The virtual cutter as the program meets it: timing of moves, the program buffer, pause and
// continue, homing, buttons, wire break and the recorded wire path.
#include "link_rig.h"

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

using testing::bytesOf;
using testing::CutterRig;

std::string programMove(ControllerProtocol& protocol, const AxisSteps& steps)
{
    return protocol.BuildMove('a', steps).text;
}

TEST(VirtualCutter, MoveTakesCountTimesPeriodAndInterpolatesAllAxes)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.cutter.controller().clearPath();
    rig.protocol->SendCommand(bytesOf({'V', 0}) + EncodeUInt16(500));
    rig.protocol->SendCommand(bytesOf({'F', 0}));
    // Count 2 x 5000 at period 500: 10000 x 500 x 0.8 us = 4 s.
    const MoveCommand move = rig.protocol->BuildMove('A', {3000, 4000, 0, 800, -3000, 0, 0, 100});
    ASSERT_EQ(move.count, 10000);
    const std::int64_t start = rig.clock.nowMs();
    rig.protocol->SendCommand(move.text);
    rig.clock.sleepMs(2000);
    const AxisSteps half = rig.cutter.controller().positions();
    EXPECT_EQ(half[0], 1500);
    EXPECT_EQ(half[1], 2000);
    EXPECT_EQ(half[3], 400);
    EXPECT_EQ(half[4], -1500);
    EXPECT_EQ(half[7], 50);
    rig.protocol->WaitWhileBusy();
    EXPECT_EQ(rig.clock.nowMs() - start, 4000);  // the poll at the end finds it standing
    const auto& path = rig.cutter.controller().path();
    ASSERT_EQ(path.size(), 1u);
    EXPECT_EQ(path[0].timeUs, start * 1000 + 4000000);
    EXPECT_EQ(path[0].steps, (AxisSteps{3000, 4000, 0, 800, -3000, 0, 0, 100}));
}

TEST(VirtualCutter, AHomingStoppedOnTheWayLeavesTheMachineNotHomed)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {20000, 20000, 0, 0, 20000, 20000, 0, 0}).text);
    rig.protocol->WaitWhileBusy();
    rig.protocol->SendCommand(bytesOf({'B', 0x33}));
    rig.clock.sleepMs(200);
    rig.protocol->SendCommand("Y");
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    EXPECT_FALSE(rig.context.machine.homed());
    EXPECT_GT(rig.context.machine.frontX, 0);  // stopped on the way, not at home
}

TEST(VirtualCutter, TheTwoWireMachineStartsWithItsSideWireBelowTheFrontWire)
{
    CutterRig rig("Pr 1200", {"MachineName'Pr 1200'"});
    rig.readMachine();
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_GE(s.frontY - s.backY, 1000 + 1000);  // room for a cut between the wires
}

TEST(VirtualCutter, HomingTakesTimeAndSetsHomed)
{
    CutterRig rig;
    rig.readMachine();
    EXPECT_FALSE(rig.context.machine.homed());
    rig.protocol->SendCommand(bytesOf({'B', 0x33}));
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.busy());
    EXPECT_FALSE(rig.context.machine.homed());
    rig.protocol->WaitWhileBusy();
    EXPECT_TRUE(rig.context.machine.homed());
    rig.protocol->ReadPositions();
    EXPECT_EQ(rig.context.machine.frontX, 0);
    EXPECT_EQ(rig.context.machine.backY, 0);
    EXPECT_NE(rig.context.machine.rawSteps[AxisTable], 0);  // not in the mask
}

TEST(VirtualCutter, ProgramBufferRaisesBufferFullAndRunsToTheEnd)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    const std::size_t room = VirtualController::kBufferCapacity - VirtualController::kBatch;
    for (std::size_t i = 0; i < room; ++i)
        rig.protocol->SendCommand(bytesOf({'p', 1}));
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.bufferFull());
    rig.protocol->SendCommand(bytesOf({'p', 1}));
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.bufferFull());  // a further batch of 100 would not fit
    EXPECT_FALSE(rig.context.machine.programRunning());

    rig.protocol->SendCommand("G");
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
    rig.clock.sleepMs(2);
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.bufferFull());
    rig.clock.sleepMs(static_cast<std::int64_t>(room));
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_EQ(rig.cutter.controller().bufferedCommands(), 0u);
}

TEST(VirtualCutter, PauseAndContinueResumeTheInterruptedMove)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.cutter.controller().clearPath();
    rig.protocol->SendCommand(bytesOf({'v', 1}) + EncodeUInt16(500));
    rig.protocol->SendCommand(bytesOf({'f', 1}));
    rig.protocol->SendCommand(bytesOf({'r', 1, 1}));
    rig.protocol->SendCommand(programMove(*rig.protocol, {10000, 0, 0, 0, 10000, 0, 0, 0}));  // 8 s
    rig.protocol->SendCommand(bytesOf({'r', 0, 1}));
    rig.protocol->SendCommand("G");
    rig.clock.sleepMs(2000);
    rig.protocol->SendCommand("Q");
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_FALSE(rig.context.machine.programRunning());
    const std::int32_t pausedAt = rig.cutter.controller().positions()[0];
    EXPECT_EQ(pausedAt, 2500);
    rig.clock.sleepMs(5000);
    EXPECT_EQ(rig.cutter.controller().positions()[0], pausedAt);

    rig.protocol->SendCommand("K");
    rig.clock.sleepMs(6001);
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_FALSE(rig.context.machine.paused());
    EXPECT_FALSE(rig.context.machine.heatingOn());
    const auto& path = rig.cutter.controller().path();
    ASSERT_EQ(path.size(), 2u);  // where the pause stopped it, and the end of the move
    EXPECT_EQ(path[0].steps[0], 2500);
    EXPECT_EQ(path[1].steps[0], 10000);
    EXPECT_EQ(path[1].timeUs - path[0].timeUs, 5000000 + 6000000);
}

TEST(VirtualCutter, HoldWaitsForGo)
{
    CutterRig rig;
    rig.readMachine();
    rig.protocol->SendCommand(bytesOf({'p', 1}));
    rig.protocol->SendCommand(bytesOf({'s', 3}) + EncodeInt32(0));
    rig.protocol->SendCommand(bytesOf({'p', 1}));
    rig.protocol->SendCommand("G");
    rig.clock.sleepMs(5);
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
    EXPECT_TRUE(rig.context.machine.waitingForGo());
    rig.protocol->SendCommand("G");
    rig.clock.sleepMs(5);
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_FALSE(rig.context.machine.waitingForGo());
}

TEST(VirtualCutter, MachineButtonsLastUntilTheProgramStopsTheMotion)
{
    CutterRig rig;
    rig.readMachine();
    rig.cutter.controller().pressStart();
    rig.cutter.controller().pressContinue();
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.startRequest());
    EXPECT_TRUE(rig.context.machine.continueRequest());
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.startRequest());
    rig.motion->StopMotion();
    rig.protocol->ReadStatus();
    EXPECT_FALSE(rig.context.machine.startRequest());
    EXPECT_FALSE(rig.context.machine.continueRequest());
    rig.cutter.controller().pressStop();
    rig.protocol->ReadStatus();
    EXPECT_TRUE(rig.context.machine.stopRequest());
}

TEST(VirtualCutter, WireBreakPausesTheProgramAndCutsThePower)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    rig.protocol->SendCommand(bytesOf({'r', 1, 1}));
    rig.protocol->SendCommand(programMove(*rig.protocol, {10000, 0, 0, 0, 0, 0, 0, 0}));
    rig.protocol->SendCommand("G");
    rig.clock.sleepMs(100);
    rig.cutter.controller().breakWire();
    rig.protocol->ReadStatus();
    rig.protocol->ReadTension();
    const MachineState& s = rig.context.machine;
    EXPECT_TRUE(s.wireBreak());
    EXPECT_TRUE(s.paused());
    EXPECT_FALSE(s.heatingOn());
    EXPECT_EQ(s.tensionMeasured, 0);
    rig.cutter.controller().repairWire();
    rig.protocol->ReadStatus();
    EXPECT_FALSE(s.wireBreak());
}

TEST(VirtualCutter, AFailedReadIsNoAnswerAndChangesNothing)
{
    CutterRig rig;
    rig.readMachine();
    rig.home();
    const MachineState& s = rig.context.machine;
    // Away from 0, so that a position decoded from a zeroed reply would show.
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {5000, 2500, 0, 0, 5000, 2500, 0, 0}).text);
    ASSERT_TRUE(rig.protocol->WaitWhileBusy());
    ASSERT_TRUE(rig.protocol->ReadPositions());
    ASSERT_TRUE(rig.protocol->ReadStatus());
    ASSERT_TRUE(s.homed());
    const std::int32_t x = s.frontX, y = s.frontY;
    ASSERT_NE(x, 0);

    rig.cutter.failReads(10);
    EXPECT_FALSE(rig.protocol->ReadStatus());
    EXPECT_TRUE(s.homed());
    EXPECT_FALSE(rig.link->connected());
    rig.cutter.failReads(10);
    EXPECT_FALSE(rig.protocol->ReadPositions());
    EXPECT_EQ(s.frontX, x);
    EXPECT_EQ(s.frontY, y);
    EXPECT_TRUE(rig.protocol->ReadStatus());  // the next read finds the controller again
    EXPECT_TRUE(rig.link->connected());
}

TEST(VirtualCutter, WaitWhileBusyGivesUpOnALostLink)
{
    CutterRig rig;
    rig.readMachine();
    rig.protocol->SendCommand(rig.protocol->BuildMove('A', {50000, 0, 0, 0, 0, 0, 0, 0}).text);
    ASSERT_TRUE(rig.protocol->ReadStatus());
    ASSERT_TRUE(rig.context.machine.busy());
    rig.cutter.unplug();
    EXPECT_FALSE(rig.protocol->WaitWhileBusy());  // returns instead of polling for ever
}

TEST(VirtualCutter, ShortChannelDecodesAsZerosBeyondItsEnd)
{
    CutterRig rig;
    rig.cutter.shortenChannel(15, 30);  // resolutions only; steps and width cut off
    rig.protocol->ReadResolution();
    const MachineState& s = rig.context.machine;
    EXPECT_DOUBLE_EQ(s.resX, 2.5);
    EXPECT_DOUBLE_EQ(s.res3, 1.0);
    EXPECT_EQ(s.stepsW, 0);
    EXPECT_EQ(s.stepsT, 0);
    EXPECT_EQ(s.fcWidth, 0.0);
}

}  // namespace
}  // namespace kerfline::machine
