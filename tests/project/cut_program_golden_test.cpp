// Cut programs of small designs, byte for byte against the programs kept in tests/data/golden.
// On a mismatch the program written now is left as <name>.actual in the working directory and
// the first command that differs is printed, decoded.
#include "rotary_rig.h"

#include "designfiles/rotary_body.h"
#include "project/serial_spindle_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::square;
using testing::WalkRig;

std::string goldenPath(const std::string& name)
{
    return std::string(KERFLINE_TEST_DATA_DIR) + "golden/" + name + ".cn";
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string firstDifference(const std::string& expected, const std::string& actual, const MachineState& machine)
{
    const DecodeSettings settings = DecodeSettings::forMachine(machine);
    const DecodedProgram want = decodeCutProgram(expected, settings, "golden");
    const DecodedProgram got = decodeCutProgram(actual, settings, "actual");
    const std::size_t common = std::min(want.commands.size(), got.commands.size());
    for (std::size_t k = 0; k < common; ++k) {
        const DecodedCommand& a = want.commands[k];
        const DecodedCommand& b = got.commands[k];
        if (a.letter != b.letter || a.args != b.args)
            return "command " + std::to_string(k) + " at offset " + std::to_string(a.offset) + ": expected \"" +
                   describeCommand(a) + "\", written \"" + describeCommand(b) + "\"";
    }
    if (want.commands.size() != got.commands.size())
        return "the golden program has " + std::to_string(want.commands.size()) + " commands, the written one " +
               std::to_string(got.commands.size());
    return "the commands agree but the bytes differ (a decoding fault?)";
}

struct Design {
    const char* name;
    std::vector<std::vector<Point>> contours;
    bool addFrame;
    bool serialOnTable = false;  // one pass of a serial set, ending with a quarter turn
    // A rotary or turning project (prepared and saved as the job does) with its rotary device,
    // passes and turns across the drawing; or, for serial on the table, one figure's body alone.
    int mode = Mode2D;
    int device = DeviceSpindle;
    double passes = 2;
    double turns = 1;
    bool tableSerialBody = false;
    bool spindleSeries = false;  // two programs of a serial series on the spindle, as the job collects them
};

// The program of a rotary or turning design, or of one table-serial body at a quarter turn.
ProgramWriteResult writeRotary(testing::RotaryRig& rig, const Design& design)
{
    rig.config().setNumber(Param::ilosckrokow, design.passes);
    rig.config().setNumber(Param::il_obr_rys, design.turns);
    if (design.tableSerialBody) {
        CutProgramJob job = rig.job();
        job.outputKind = OutputKind::SerialTable;
        CutProgramWriter writer(rig.app, job);
        if (ProgramWriteResult begun = writer.BeginProgram(rig.path()); !begun)
            return begun;
        double phase = 0.25;
        WriteFigureBody(writer, rig.figure(0), 1, phase);
        return writer.EndProgram();
    }
    if (design.spindleSeries) {
        if (rig.project.ciecie_obrotowe() != LoadOutcome::Opened)
            return {ProgramWriteError{"not prepared", 0}};
        // Seeded as the job seeds the series: the spindle's X, the start height.
        const CutProgramJob job = rig.job(12, 780);
        AxisRegisters saved{};
        saved[AxisFrontX] = saved[AxisBackX] = 1200;
        saved[AxisFrontY] = saved[AxisBackY] = 78000;
        const auto last = static_cast<std::int32_t>(rig.project.figures.size()) - 1;
        std::string series;
        for (const int direction : {1, -1}) {
            if (ProgramWriteResult written =
                    save_ciecie_seryjne_wrzeciono(rig.project, job, rig.path(), 0, direction, 0.25, last, saved);
                !written)
                return written;
            series += rig.bytes();
        }
        std::ofstream(rig.path(), std::ios::binary | std::ios::trunc) << series;
        return {};
    }
    if (rig.prepare() != LoadOutcome::Opened)
        return {ProgramWriteError{"not prepared", 0}};
    return rig.save(rig.job());
}

void PrintTo(const Design& design, std::ostream* out)
{
    *out << design.name;
}

class GoldenProgram : public ::testing::TestWithParam<Design> {};

TEST_P(GoldenProgram, IsWrittenByteForByte)
{
    const Design& design = GetParam();
    testing::RotaryRig rig(design.mode, design.device, {});
    rig.config().setCheck(Param::AddFrame, design.addFrame ? CheckState::cbChecked : CheckState::cbUnchecked);
    if (design.serialOnTable) {
        rig.config().setChoice(Param::Mode, ModeSerial);
        rig.config().setChoice(Param::StolikSwitch, DeviceTable);
    }
    rig.design(design.contours);
    if (design.mode != Mode2D || design.tableSerialBody) {
        ASSERT_TRUE(writeRotary(rig, design));
    } else {
        rig.project.ciecie();
        rig.project.cutOutline = 1;
        if (design.serialOnTable) {
            rig.project.UstawKierunek(1);
            ASSERT_TRUE(rig.save(0.25, 33));
        } else {
            ASSERT_TRUE(rig.save());
        }
    }
    const std::string actual = rig.bytes();
    const std::string expected = contentOf(goldenPath(design.name));
    if (actual == expected)
        return;
    const std::string kept = (std::filesystem::current_path() / (std::string(design.name) + ".actual")).string();
    std::ofstream(kept, std::ios::binary) << actual;
    ADD_FAILURE() << design.name << ": " << firstDifference(expected, actual, rig.app.machine)
                  << "\n  the program written now is " << kept;
}

// A lone rectangle drawn with four corners is its own start; one side drawn in two pieces makes
// the frame option add a frame.
const Design kDesigns[] = {
    {"closed_square", {square(0, 0, 4000)}, false},
    {"square_with_frame", {{{0, 0}, {2000, 0}, {4000, 0}, {4000, 4000}, {0, 4000}, {0, 0}}}, true},
    {"two_squares", {square(0, 0, 4000), square(6000, 0, 4000)}, false},
    {"square_in_square", {square(0, 0, 8000), square(2000, 2000, 4000)}, false},
    {"polyline_touching_square", {square(4000, 4000, 4000), {{0, 0}, {1000, 2000}, {2000, 1500}, {4000, 4000}}}, false},
    {"serial_square_on_table", {square(0, 0, 4000), square(6000, 0, 2000)}, false, true},
    // One small profile per rotary body: an axis line and a profile with corners.
    {"rotary_spindle_profile", {{{0, 0}, {8000, 0}}, {{0, 0}, {2000, 1200}, {6000, 1200}, {8000, 0}}}, false, false,
     ModeRotary, DeviceSpindle},
    {"rotary_table_profile", {{{0, 0}, {0, 8000}}, {{0, 0}, {-1200, 2000}, {-1200, 6000}, {0, 8000}}}, false, false,
     ModeRotary, DeviceTable},
    {"turning_spindle_profile", {{{0, 0}, {8000, 0}}, {{0, 2000}, {3000, 2000}, {3000, 3000}, {8000, 1000}}}, false,
     false, ModeTurning, DeviceSpindle, 1, 4},
    {"turning_table_profile", {{{0, 0}, {0, 8000}}, {{-2000, 0}, {-2000, 3000}, {-3000, 3000}, {-1000, 8000}}}, false,
     false, ModeTurning, DeviceTable, 1, 4},
    {"serial_table_body", {square(0, 0, 4000)}, false, false, Mode2D, DeviceTable, 1, 0, true},
    {"serial_spindle_series", {{{0, 0}, {8000, 0}}, {{0, 0}, {2000, 1200}, {6000, 1200}, {8000, 0}}}, false, false,
     ModeSerial, DeviceSpindle, 1, 1, false, true},
};

INSTANTIATE_TEST_SUITE_P(SmallDesigns, GoldenProgram, ::testing::ValuesIn(kDesigns),
                         [](const ::testing::TestParamInfo<Design>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kerfline
