// Runs the built kerfline-cli config the way a script does.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using kerfline::testing::TempDir;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text)
{
    std::string q = "'";
    for (const char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

CliRun config(const TempDir& dir, const std::vector<std::string>& arguments)
{
    std::string command = quoted(KERFLINE_CLI) + " config";
    for (const std::string& argument : arguments)
        command += " " + quoted(argument);
    command += " USA " + quoted("dataDir'" + dir.str() + "data/'");
    command += " >" + quoted(dir.str() + "out") + " 2>" + quoted(dir.str() + "err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contentOf(dir.str() + "out"), contentOf(dir.str() + "err")};
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
                             "\"rbZmiennaPredkosc\":false,\"rbStalaPredkosc\":true,\"PowerOutput\":0}",
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
