// Homing: the steps by family, homing state, mode and rotary device; interruption; refusals.
#include "job_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::JobRig;

// The homing steps in the reports: "B<mask>" for a homing start, "Y" for a stop, "A" for a move.
std::string steps(const machine::VirtualCutter& cutter)
{
    std::string text;
    for (const machine::Report& report : cutter.reports()) {
        std::string step;
        if (report[1] == 'B')
            step = "B" + std::to_string(report[2]);
        else if (report[1] == 'Y')
            step = "Y";
        else if (report[1] == 'A' && report[2] == 0xFF)
            step = "A";
        if (!step.empty())
            text += (text.empty() ? "" : " ") + step;
    }
    return text;
}

struct HomingCase {
    const char* product;
    int mode;
    int device;
    bool homedAway;  // homed, then moved off the origin
    int order;       // rgBazowanie
    const char* expected;
};

TEST(Homing, StepsByFamilyStateModeAndDevice)
{
    const HomingCase cases[] = {
        {"Qd 1200", Mode2D, DeviceSpindle, false, 0, "B17 B34"},
        {"Qd 1200", ModeRotary, DeviceSpindle, false, 0, "B17 B34 B64"},
        {"bv 1200", Mode2D, DeviceSpindle, false, 0, "B17 B34"},
        // Other families start the back arm's homing and stop it after 100 ms.
        {"KK 1200", Mode2D, DeviceSpindle, false, 0, "B1 B16 Y B2 B32 Y"},
        // The table sits on the spindle axis of N 45.
        {"N 45", ModeRotary, DeviceTable, false, 0, "B1 B16 Y B2 B32 Y B64"},
        {"Qd 1200", ModeRotary, DeviceTable, false, 0, "B17 B34 B4"},
        // A table that is not homed by its own switch is driven to zero.
        {"GV 2000", ModeRotary, DeviceTable, false, 0, "B1 B16 Y B2 B32 Y A"},
        {"KK 1200", ModeRotary, DeviceNone, false, 0, "B1 B16 Y B2 B32 Y"},
        // Homed already: first near the switches, then the short homing of X and Y only.
        {"Qd 1200", ModeRotary, DeviceSpindle, true, 0, "A B17 B34"},
        {"Qd 1200", Mode2D, DeviceSpindle, true, 1, "A A B17 B34"},
        {"KK 1200", Mode2D, DeviceSpindle, true, 0, "A B1 B2"},
        {"Pr 1200", Mode2D, DeviceSpindle, true, 1, "A A B17 B34"},
    };
    for (const HomingCase& c : cases) {
        SCOPED_TRACE(std::string(c.product) + " mode " + std::to_string(c.mode) + " device " +
                     std::to_string(c.device) + (c.homedAway ? " homed" : "") + " order " + std::to_string(c.order));
        JobRig rig(c.product, {std::string("MachineName'") + c.product + "'"});
        rig.context.configuration.setChoice(Param::Mode, c.mode);
        rig.context.configuration.setChoice(Param::StolikSwitch, c.device);
        rig.context.configuration.setChoice(Param::rgBazowanie, c.order);
        if (c.homedAway) {
            rig.home();
            rig.moveTo(200, 100);
        }
        rig.cutter.clearReports();
        std::vector<bool> timer;
        rig.session->homing.setPanelTimer = [&timer](bool on) { timer.push_back(on); };
        rig.session->homing.bazujClick();
        EXPECT_EQ(steps(rig.cutter), c.expected);
        EXPECT_EQ(timer, (std::vector<bool>{false, true}));
        EXPECT_EQ(rig.host.busyDepth, 0);
        EXPECT_TRUE(rig.host.messages.empty());
    }
}

TEST(Homing, AHomedMachineAtTheOriginIsHomedAsIfItWereNot)
{
    JobRig rig("KK 1200");
    rig.home();
    rig.cutter.clearReports();
    rig.session->homing.bazujClick();
    EXPECT_EQ(steps(rig.cutter), "B1 B16 Y B2 B32 Y");
}

TEST(Homing, AKeyStopsTheRunningStepAndTheNextStepFollows)
{
    JobRig rig("Qd 1200");
    rig.cutter.clearReports();
    rig.host.pendingInputs = {PendingInput::Other, PendingInput::KeyDown};
    rig.session->homing.bazujClick();
    EXPECT_EQ(steps(rig.cutter), "B17 Y B34");
    rig.protocol().ReadPositions();
    EXPECT_NE(rig.context.machine.frontX, 0);  // X was stopped on its way
    EXPECT_EQ(rig.context.machine.frontY, 0);
}

TEST(Homing, RefusedWithoutAControllerOrWhileTheMachineMoves)
{
    {
        JobRig rig;
        rig.cutter.unplug();
        rig.cutter.clearReports();
        rig.session->homing.bazujClick();
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBrakLacznosci"));
    }
    {
        JobRig rig;
        rig.session->motion.JogByKey(machine::KeyRight, true, true);
        rig.cutter.clearReports();
        rig.session->homing.bazujClick();
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Control", "ploterBazowanieNiemozliwe"));
        EXPECT_EQ(steps(rig.cutter), "");
    }
}

}  // namespace
}  // namespace kerfline
