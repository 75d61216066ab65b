// Runs the built kerfline-cli the way a script does and checks what it prints.
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
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

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// English messages and a data directory of the test's own, whatever the machine's settings.
CliRun inspect(const TempDir& dir, const std::vector<std::string>& arguments)
{
    std::string command = shellQuoted(KERFLINE_CLI) + " inspect";
    for (const std::string& argument : arguments)
        command += " " + shellQuoted(argument);
    command += " USA " + shellQuoted("dataDir'" + dir.str() + "data/'");
    command += " >" + shellQuoted(dir.str() + "out") + " 2>" + shellQuoted(dir.str() + "err");
    const int status = std::system(command.c_str());
    CliRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = contentOf(dir.str() + "out");
    run.err = contentOf(dir.str() + "err");
    return run;
}

TEST(InspectCommand, RawPrintsTheImportersValidFiguresInOrder)
{
    TempDir dir;
    const std::string design = std::string(KERFLINE_TEST_DATA_DIR) + "hpgl/two_pens.plt";
    const CliRun run = inspect(dir, {design, "--raw", "--unit", "in", "--dxf-resolution=3", "--pen", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"file\":\"" + design +
                           "\",\"figures\":["
                           "{\"pen\":1,\"open\":false,\"points\":[[0,0],[400,0],[400,400],[0,400],[0,0]]},"
                           "{\"pen\":2,\"open\":true,\"points\":[[100,100],[110,100],[110,110]]}]}\n");
    EXPECT_EQ(run.err, "");
}

TEST(InspectCommand, RefusesWhatItCannotReadAndRejectsBadUsage)
{
    TempDir dir;
    const std::string broken = dir.write("broken.plt", "PD10,20.5;");
    const std::string drawing = dir.write("drawing.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n");
    const std::string text = dir.write("notes.txt", "PD1,1;");
    const std::string design = std::string(KERFLINE_TEST_DATA_DIR) + "hpgl/two_pens.plt";
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{broken, "--raw"}, 1, broken + ": the number \"20.5\" at byte 5 must be a whole number."},
        {{dir.str() + "missing.plt", "--raw"}, 1, "Cannot open the file " + dir.str() + "missing.plt"},
        {{text, "--raw"}, 1, "Invalid file format: " + text},
        {{drawing, "--raw"}, 1, drawing + ", line 8: \"x\" is not a number."},
        {{design}, 1, "use --raw"},
        {{"--raw", design}, 2, "usage:"},
        {{design, "--raw", "--unit", "cm"}, 2, "--unit"},
        {{design, "--raw", "--dxf-resolution", "9"}, 2, "--dxf-resolution"},
        {{design, "--raw", "--pen"}, 2, "--pen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        const CliRun run = inspect(dir, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
