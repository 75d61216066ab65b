// Runs the built kerfline-cli config the way a script does.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using kerfline::testing::TempDir;

using kerfline::testing::CliRun;

CliRun config(const TempDir& dir, const std::vector<std::string>& arguments)
{
    return kerfline::testing::runCli(dir, "config", arguments);
}

TEST(ConfigCommand, PrintsTheLoadedFileWithItsOverrides)
{
    TempDir dir;
    const std::string file = std::string(KERFLINE_TEST_DATA_DIR) + "config/hand_written.kcc";
    const CliRun run = config(dir, {file, "--set", "radiounit=1", "--set=fuPlt_accuracy=0,0625", "--set", "skala=80"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string& out = run.out;
    EXPECT_EQ(out.rfind("{\"parameters\":{\"Mode\":3,\"AutoSave\":\"cbGrayed\",\"radiounit\":1,", 0), 0u) << out;
    for (const char* part : {"\"skala\":80,", "\"Srednicamaterialu\":254.5,", "\"StolikSwitch\":2,",
                             "\"rbZmiennaPredkosc\":false,\"rbStalaPredkosc\":true,\"PowerOutput\":0,\"kerf\":0}",
                             ",\"derived\":{\"displayUnit\":1,\"joinTolerance\":2,\"dxfCurveStep\":2,"
                             "\"constantLatheSpeed\":true}}\n"})
        EXPECT_NE(out.find(part), std::string::npos) << part << "\n" << out;
    // a query creates no configuration file
    EXPECT_FALSE(std::ifstream(dir.str() + "data/Kerfline.kcc").good());
}

TEST(ConfigCommand, RefusesWhatItCannotLoadAndRejectsBadOverrides)
{
    TempDir dir;
    const std::string bad = dir.write("bad.kcc", "skala := 1\r\nMode := q\r\n");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{bad}, 1, bad + ", line 2: the value \"q\" cannot be read."},
        {{dir.str() + "missing.kcc"}, 1, "Cannot read the file " + dir.str() + "missing.kcc"},
        {{"--set", "Skala=3"}, 2, "no parameter 'Skala'"},
        {{"--set", "skala=abc"}, 2, "not a value of skala"},
        {{"--set", "skala"}, 2, "NAME=VALUE"},
        {{"--config", dir.str() + "missing.conf"}, 1, "Cannot read the file " + dir.str() + "missing.conf"},
    };
    for (const auto& c : cases) {
        const CliRun run = config(dir, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // without a file: the defaults, after the load steps
    const CliRun defaults = config(dir, {});
    EXPECT_EQ(defaults.exitCode, 0);
    EXPECT_NE(defaults.out.find("\"rbZmiennaPredkosc\":true"), std::string::npos);
    EXPECT_NE(defaults.out.find("\"joinTolerance\":10,\"dxfCurveStep\":2,\"constantLatheSpeed\":false"), std::string::npos);
}

}  // namespace
