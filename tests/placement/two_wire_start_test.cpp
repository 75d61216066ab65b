// The two-wire start dialog: start points checked against both projects, the wires driven there.
#include "placement/two_wire_start.h"

#include "cutting/job_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::JobRig;

constexpr const char* kSquare = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";  // 100 mm

struct TwoWireRig : JobRig {
    TwoWireRig() : JobRig("Pr 1200", {"MachineName'Pr 1200'"})
    {
        context.configuration.setChoice(Param::Mode, ModePerpendicular);
        home();
        front = &open("front.plt", kSquare, 0);
        side = &open("side.plt", kSquare, 1);
        dialog.tickKeyFront = [this] { session->panel.KeyFrontClick(true); };
        dialog.tickKeyBack = [this] { session->panel.KeyBackClick(true); };
        dialog.store = [this](const TwoWireStart& start) { stored = start; };
    }
    TMDIChild* front = nullptr;
    TMDIChild* side = nullptr;
    TwoWireStartDialog dialog{context, session->protocol, session->motion};
    std::optional<TwoWireStart> stored;
};

TEST(TwoWireStart, StartPointsThatLeaveAProjectOutsideTheMachineAreRefused)
{
    struct Case {
        const char* name;
        TwoWireStart start;
        TwoWireRefusal refusal;
        const char* key;
    };
    // The squares start at their lower left corners and reach 100 mm up and right.
    TwoWireStart limits = twoWireLimits(TwoWireRig().context);
    const Case cases[] = {
        {"the front square reaching above the front wire's limit", {200, limits.frontY - 50, 200, 300},
         TwoWireRefusal::Front, "ZmienPktStartFrontu"},
        {"the side square reaching past the side wire's limit", {200, 300, limits.sideX - 50, 100},
         TwoWireRefusal::Side, "ZmienPktStartBocznego"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoWireRig rig;
        ASSERT_EQ(rig.front->startFromTop, 4000);
        ASSERT_EQ(rig.side->startFromRight, 4000);
        rig.cutter.clearReports();
        EXPECT_FALSE(rig.dialog.Start(c.start, *rig.front, *rig.side));
        EXPECT_EQ(rig.dialog.refusal, c.refusal);
        ASSERT_FALSE(rig.host.messages.empty());
        EXPECT_EQ(rig.host.messages.back().text, rig.context.Text("Main_window", "projektPozaObszaremMaszyny") + "\n" +
                                                     rig.context.Text("Perpendicular_start_dialog", c.key));
        EXPECT_FALSE(rig.stored);
        EXPECT_EQ(rig.letters().find('A'), std::string::npos);
    }
}

// The front wire ends below the side wire's start: the side wire goes down out of its way first.
// Each heated move ends with the heating off once the wire stands.
TEST(TwoWireStart, TheWiresAreDrivenToTheirStartsAndLeftCold)
{
    TwoWireRig rig;
    rig.session->motion.gotopoint(true, 0, 150, 150, 500, 450, 0, 0);
    ASSERT_EQ(rig.front->startFromBottom, 0);
    const TwoWireStart start{300, 250, 200, 400};
    ASSERT_TRUE(rig.dialog.Start(start, *rig.front, *rig.side));
    ASSERT_TRUE(rig.stored);
    EXPECT_EQ(rig.stored->sideY, 400);
    rig.protocol().ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.frontX, 30000);
    EXPECT_EQ(s.frontY, 25000);
    EXPECT_EQ(s.backX, 20000);
    EXPECT_EQ(s.backY, 24000);  // 10 mm below the front square's lowest point
    EXPECT_FALSE(rig.controller().outputOn(2));
    EXPECT_FALSE(s.busy());
}

}  // namespace
}  // namespace kerfline
