// kerfline-cli cut in the serial mode: a folder of numbered designs cut one after another on the
// turning table, the serial dialog answered by options.
#include "e2e/json_value.h"
#include "support/cli_run.h"
#include "support/square_dxf.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::CliRun;
using testing::JsonValue;
using testing::TempDir;

// A spindle design: the axis as a horizontal line and a profile of 200 mm above it.
const char* const kSpindleProfileDxf =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n-10\n20\n0\n11\n210\n21\n0\n"
    "0\nLINE\n8\n0\n10\n0\n20\n5\n11\n50\n21\n30\n"
    "0\nLINE\n8\n0\n10\n50\n20\n30\n11\n150\n21\n30\n"
    "0\nLINE\n8\n0\n10\n150\n20\n30\n11\n200\n21\n5\n"
    "0\nENDSEC\n0\nEOF\n";

TEST(SerialCutCommand, CutsTheNumberedDesignsInTurnOrRefusesABadAnswer)
{
    const struct {
        std::vector<std::string> answers;
        int exitCode;
        int runs = 1;  // the series and its repetitions
    } cases[] = {
        {{"--angle", "30", "--angle", "30", "--angle", "30"}, 0},
        {{"--angle", "30", "--angle", "400", "--angle", "30"}, 1},
        {{"--repetitions", "1000", "--shift", "10"}, 1},
        {{"--angle", "30", "--angle", "30", "--angle", "30", "--repetitions", "1", "--shift", "10"}, 0, 2},
    };
    double endOfOneRun = 0;
    for (const auto& c : cases) {
        TempDir dir;
        for (const char* name : {"001.dxf", "002.dxf", "003.dxf"})
            dir.write(name, testing::kSquareDxf);
        std::vector<std::string> arguments{dir.str(), "--virtual-machine", "--home", "--set", "Mode=2",
                                           "--set", "StolikSwitch=1", "--set", "rgKatObrotu=1"};
        arguments.insert(arguments.end(), c.answers.begin(), c.answers.end());
        const CliRun run = testing::runCli(dir, "cut", arguments);
        ASSERT_EQ(run.exitCode, c.exitCode) << run.err;
        if (c.exitCode != 0)
            continue;
        const auto json = JsonValue::parse(run.out);
        ASSERT_TRUE(json) << run.out;
        EXPECT_EQ((*json)["status"].text, "completed");
        EXPECT_FALSE((*json)["heatingOnAtEnd"].boolean);
        // The controller ran the programs and nothing else: no command sent beside them ran again.
        EXPECT_EQ((*json)["unexpected"].number, 0);
        EXPECT_EQ((*json)["executed"].number, (*json)["commands"].number);
        // The table turns by 30 degrees (667 steps of 8000 a turn) after each of the three programs.
        const JsonValue& path = (*json)["path"];
        ASSERT_FALSE(path.items.empty());
        EXPECT_EQ(path.items.back()["steps"][2].number, 3 * 667);
        // A repeated series is cut again, from its start turned back and 10 mm (2500 steps) lower.
        const double endY = path.items.back()["steps"][1].number;
        if (c.runs == 1)
            endOfOneRun = endY;
        else
            EXPECT_EQ(endY, endOfOneRun - 2500);
    }
}

// The series is what the program opens: every design whose name begins with a number, of one
// kind, in the numbers' order, whether the folder or one of its designs is named.
TEST(SerialCutCommand, OpensTheNumberedDesignsAsTheProgramDoes)
{
    TempDir dir;
    for (const char* name : {"2.dxf", "003.DXF", "10_last.dxf"})
        dir.write(name, testing::kSquareDxf);
    dir.write("notes.txt", "not a design");
    dir.write("7.plt", "IN;PU0,0;PD400,0;");
    for (const std::string& named : {dir.str(), (dir.path() / "003.DXF").string()}) {
        SCOPED_TRACE(named);
        const CliRun run = testing::runCli(dir, "cut", {named, "--virtual-machine", "--home", "--set", "Mode=2", "--set",
                                                        "StolikSwitch=1", "--set", "rgKatObrotu=1", "--angle", "30",
                                                        "--angle", "30", "--angle", "30"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto json = JsonValue::parse(run.out);
        ASSERT_TRUE(json) << run.out;
        EXPECT_EQ((*json)["status"].text, "completed");
        EXPECT_EQ((*json)["path"].items.back()["steps"][2].number, 3 * 667);  // three designs, three turns
    }

    TempDir empty;
    empty.write("notes.txt", "not a design");
    const CliRun none = testing::runCli(empty, "cut", {empty.str(), "--virtual-machine", "--home", "--set", "Mode=2"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("holds no numbered designs"), std::string::npos) << none.err;
}

TEST(SerialCutCommand, OnTheSpindleEachDesignIsCutAndTheSpindleTurnsOn)
{
    TempDir dir;
    for (const char* name : {"001.dxf", "002.dxf", "003.dxf"})
        dir.write(name, kSpindleProfileDxf);
    const CliRun run = testing::runCli(
        dir, "cut", {dir.str(), "--virtual-machine", "--home", "--set", "Mode=2", "--set", "StolikSwitch=0"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = JsonValue::parse(run.out);
    ASSERT_TRUE(json) << run.out;
    EXPECT_EQ((*json)["status"].text, "completed");
    EXPECT_EQ((*json)["unexpected"].number, 0);
    EXPECT_FALSE((*json)["heatingOnAtEnd"].boolean);
    // A third of a turn (2667 of 8000 steps) after each of the three programs.
    const JsonValue& path = (*json)["path"];
    ASSERT_FALSE(path.items.empty());
    EXPECT_EQ(path.items.back()["steps"][6].number, 3 * 2667);
}

}  // namespace
}  // namespace kerfline
