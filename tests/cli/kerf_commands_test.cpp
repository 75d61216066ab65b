// The kerf in kerfline-cli: --set kerf for plan, and the calibration from measured sizes.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;
using kerfline::testing::runCli;
using kerfline::testing::TempDir;

const std::string kSquare = std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.plt";

TEST(KerfCommands, PlanWithoutAKerfWritesTheGoldenProgramAndWithOneOffsetsTheSquare)
{
    TempDir dir;
    const std::string output = dir.str() + "square.cn";
    const CliRun none = runCli(dir, "plan", {kSquare, "--set", "kerf=0", "--machine", "Qd 1200", "-o", output});
    ASSERT_EQ(none.exitCode, 0) << none.err;
    EXPECT_EQ(contentOf(output), contentOf(std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.cn"));

    const CliRun kerf = runCli(dir, "plan", {kSquare, "--set", "kerf=1", "--machine", "Qd 1200", "-o", output});
    ASSERT_EQ(kerf.exitCode, 0) << kerf.err;
    // Half a millimetre (20 plotter units) outside the 100 mm square, its corners rounded.
    EXPECT_NE(kerf.out.find("[4020,"), std::string::npos) << kerf.out;
    EXPECT_NE(kerf.out.find(",-20]"), std::string::npos) << kerf.out;
    EXPECT_EQ(kerf.out.find("[4000,4000]"), std::string::npos) << kerf.out;
    EXPECT_NE(contentOf(output), contentOf(std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.cn"));
}

TEST(KerfCommands, CalibrationGivesTheMeanOfTheTwoMeasurements)
{
    struct Case {
        std::vector<std::string> arguments;
        int exitCode;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {{"--outer", "49.2", "--inner", "20.8"}, 0, "{\"kerf_mm\":0.8}\n", ""},
        {{"--outer=49", "--inner=20.6"}, 0, "{\"kerf_mm\":0.8}\n", ""},
        {{"--outer", "50", "--inner", "20"}, 0, "{\"kerf_mm\":0}\n", ""},
        {{"--outer", "50.5", "--inner", "19.7"},
         1,
         "",
         "Error: These sizes cannot come from the test piece: the outer size must be near 50 mm, the hole near 20 mm and "
         "smaller than the outer size, and the kerf they give between 0 and 5 mm.\n"},
        {{"--outer", "20", "--inner", "30"}, 1, "", "*"},
        {{"--outer", "49.2"}, 2, "", "*"},
        {{"--outer", "abc", "--inner", "20.8"}, 2, "", "*"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const CliRun run = runCli(dir, "kerf-calibration", c.arguments);
        SCOPED_TRACE(c.arguments[0]);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err != "*")
            EXPECT_EQ(run.err, c.err);
        else
            EXPECT_NE(run.err, "");
    }
}

}  // namespace
