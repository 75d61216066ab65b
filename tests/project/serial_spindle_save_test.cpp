// The programs of a serial series on the spindle: each goes on where the one before it left the
// wire, and the spindle turns on by the angle step after each.
#include "rotary_rig.h"

#include "project/serial_spindle_save.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::RotaryRig;

const std::vector<std::vector<Point>> kSpindleProfile{{{0, 0}, {8000, 0}}, {{0, 0}, {2000, 1200}, {6000, 1200}, {8000, 0}}};

struct SpindleSeriesRig : RotaryRig {
    SpindleSeriesRig() : RotaryRig(ModeSerial, DeviceSpindle, kSpindleProfile) {}

    // The registers the job seeds: the wire at the spindle's X and at the start height, neither
    // on the plotter-unit grid of 0.025 mm.
    static AxisRegisters seed()
    {
        AxisRegisters r{};
        r[AxisFrontX] = r[AxisBackX] = 1201;
        r[AxisFrontY] = r[AxisBackY] = 35001;
        return r;
    }

    ProgramWriteResult program(int direction, AxisRegisters& saved)
    {
        return save_ciecie_seryjne_wrzeciono(project, job(12.01, 350.01), path(), 0, direction, 0.25,
                                             static_cast<std::int32_t>(project.figures.size()) - 1, saved);
    }
};

TEST(SerialSpindleSave, EveryProgramGoesOnExactlyWhereThePreviousOneLeftTheWire)
{
    SpindleSeriesRig rig;
    rig.config().setChoice(Param::rgAlgorytmObrotowego, 0);  // each profile ends back at the start height
    ASSERT_EQ(rig.project.ciecie_obrotowe(), LoadOutcome::Opened);
    const MachineState& m = rig.app.machine;
    AxisRegisters saved = SpindleSeriesRig::seed();
    // The wire in motor steps, moved by nothing but the programs' own steps.
    std::int64_t x = roundHalfEven<std::int64_t>(saved[AxisFrontX] * m.resX);
    std::int64_t y = roundHalfEven<std::int64_t>(saved[AxisFrontY] * m.resY);
    std::int64_t spindle = 0;
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE("program " + std::to_string(k));
        ASSERT_TRUE(rig.program(k % 2 ? -1 : 1, saved));
        const DecodedProgram program = decodeCutProgram(rig.bytes(), DecodeSettings::forMachine(m));
        ASSERT_FALSE(program.error);
        ASSERT_FALSE(program.moves.empty());
        for (const DecodedMove& move : program.moves) {
            x += move.steps[AxisFrontX];
            y += move.steps[AxisFrontY];
            spindle += move.steps[AxisSpindle];
        }
        // The registers carried to the next program say where the wire really stands.
        EXPECT_EQ(x, roundHalfEven<std::int64_t>(saved[AxisFrontX] * m.resX));
        EXPECT_EQ(y, roundHalfEven<std::int64_t>(saved[AxisFrontY] * m.resY));
        EXPECT_EQ(saved[AxisFrontY], 35001);
        EXPECT_EQ(spindle, (k + 1) * 2000);  // a quarter turn of 8000 steps after each design
    }
}

TEST(SerialSpindleSave, AProgramThatCannotBeWrittenCarriesNothing)
{
    SpindleSeriesRig rig;
    ASSERT_EQ(rig.project.ciecie_obrotowe(), LoadOutcome::Opened);
    AxisRegisters saved = SpindleSeriesRig::seed();
    const ProgramWriteResult result =
        save_ciecie_seryjne_wrzeciono(rig.project, rig.job(12.01, 350.01), rig.dir.str() + "no/such/dir/out.cn", 0, 1,
                                      0.25, 1, saved);
    EXPECT_FALSE(result);
    EXPECT_EQ(saved, SpindleSeriesRig::seed());
}

}  // namespace
}  // namespace kerfline
