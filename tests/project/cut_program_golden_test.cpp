// Cut programs of small designs, byte for byte against the programs kept in tests/data/golden.
// On a mismatch the program written now is left as <name>.actual in the working directory and
// the first command that differs is printed, decoded.
#include "walk_rig.h"

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
};

void PrintTo(const Design& design, std::ostream* out)
{
    *out << design.name;
}

class GoldenProgram : public ::testing::TestWithParam<Design> {};

TEST_P(GoldenProgram, IsWrittenByteForByte)
{
    const Design& design = GetParam();
    WalkRig rig;
    rig.config().setCheck(Param::AddFrame, design.addFrame ? CheckState::cbChecked : CheckState::cbUnchecked);
    if (design.serialOnTable) {
        rig.config().setChoice(Param::Mode, ModeSerial);
        rig.config().setChoice(Param::StolikSwitch, DeviceTable);
    }
    rig.design(design.contours);
    rig.project.ciecie();
    rig.project.cutOutline = 1;
    if (design.serialOnTable) {
        rig.project.UstawKierunek(1);
        ASSERT_TRUE(rig.save(0.25, 33));
    } else {
        ASSERT_TRUE(rig.save());
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
};

INSTANTIATE_TEST_SUITE_P(SmallDesigns, GoldenProgram, ::testing::ValuesIn(kDesigns),
                         [](const ::testing::TestParamInfo<Design>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kerfline
