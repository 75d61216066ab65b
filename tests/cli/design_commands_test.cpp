// inspect and export on every design format, with the configuration options that reach the
// readers and writers.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using kerfline::testing::TempDir;

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;

CliRun run(const TempDir& dir, const std::string& command, const std::vector<std::string>& arguments)
{
    return kerfline::testing::runCli(dir, command, arguments);
}

std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

const char kCircle[] = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nCIRCLE\r\n 10\r\n0\r\n 20\r\n0\r\n 40\r\n10\r\n"
                       "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

// The help lists every command the tool runs (it once left out gcode), and nothing it does not.
TEST(DesignCommands, TheHelpListsTheCommandsTheToolRuns)
{
    TempDir dir;
    const CliRun help = run(dir, "--help", {});
    EXPECT_EQ(help.exitCode, 0);
    std::istringstream lines(help.err);
    std::vector<std::string> listed;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' ')
            listed.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    for (const char* command : {"inspect", "plan", "gcode", "cut", "serial3d", "kerf-calibration"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), command), listed.end()) << command;
    for (const std::string& command : listed) {
        const CliRun bare = run(dir, command, {});
        EXPECT_EQ(bare.err.find("unknown command"), std::string::npos) << command;
    }
}

// A --set the configuration refuses is told by the command that took it, with its usage: the
// shared loader once spoke as "config" for every command.
TEST(DesignCommands, ABadSettingIsToldByTheCommandThatTookIt)
{
    TempDir dir;
    const std::string drawing = dir.write("circle.dxf", kCircle);
    const std::string out = (dir.path() / "out").string();
    const struct {
        const char* command;
        std::vector<std::string> arguments;
    } cases[] = {
        {"config", {}},
        {"inspect", {drawing}},
        {"plan", {drawing, "-o", out}},
        {"gcode", {drawing, "-o", out}},
        {"export", {drawing, "--dxf", out}},
        {"arch", {drawing, "--depth", "5", "-o", out}},
        {"serial3d", {drawing, "-o", out}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        for (const char* setting : {"nosuch=1", "skala=abc"}) {
            std::vector<std::string> arguments = c.arguments;
            arguments.insert(arguments.end(), {"--set", setting});
            const CliRun refused = run(dir, c.command, arguments);
            EXPECT_EQ(refused.exitCode, 2) << setting;
            EXPECT_EQ(refused.err.rfind(std::string("kerfline-cli ") + c.command + ": ", 0), 0u) << refused.err;
            EXPECT_NE(refused.err.find(std::string("usage: kerfline-cli ") + c.command + " "), std::string::npos);
        }
    }
}

// The unit and the curve resolution reach the DXF reader through the configuration, whichever
// way they are given.
TEST(DesignCommands, InspectReadsDxfWithTheConfiguredUnitAndResolution)
{
    TempDir dir;
    const std::string drawing = dir.write("circle.dxf", kCircle);
    const struct {
        std::vector<std::string> options;
        std::size_t points;
        const char* rightmost;
    } cases[] = {
        {{}, 33, "[400,0]"},
        {{"--dxf-resolution", "8"}, 193, "[400,0]"},
        {{"--set", "sbRozdzKrzywychDXF=8"}, 193, "[400,0]"},
        {{"--unit", "in"}, 321, "[10160,0]"},
        {{"--unit=ft", "--dxf-resolution=1"}, 3829, "[121920,0]"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{drawing, "--raw"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const CliRun result = run(dir, "inspect", arguments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(countOf(result.out, "],["), c.points - 1) << c.options.size();
        EXPECT_EQ(result.out.rfind(c.rightmost), result.out.size() - std::string(c.rightmost).size() - 5);
    }
}

TEST(DesignCommands, InspectReadsEpsAndRefusesOtherPostScript)
{
    TempDir dir;
    const std::string eps = dir.write("square.eps", "%!PS-Adobe-3.0\n%%EndSetup\n0 1 1 0 K\n0 0 m\n72 0 L\n72 72 L\n"
                                                     "0 72 L\n0 0 L\nS\n%%EOF\n");
    CliRun result = run(dir, "inspect", {eps, "--raw"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "{\"file\":\"" + eps +
                              "\",\"figures\":[{\"pen\":3,\"open\":false,\"points\":"
                              "[[0,0],[1016,0],[1016,1016],[0,1016],[0,0]]}]}\n");

    const std::string pdf = dir.write("drawing.ai", "%PDF-1.5\n");
    result = run(dir, "inspect", {pdf, "--raw"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("This is not a PostScript file."), std::string::npos) << result.err;
}

// The project as the program loads and prepares it, its design figures first.
TEST(DesignCommands, ExportWritesTheProjectAsHpglOrDxf)
{
    TempDir dir;
    const std::string design = std::string(KERFLINE_TEST_DATA_DIR) + "hpgl/two_pens.plt";
    CliRun result = run(dir, "export", {design, "--hpgl", dir.str() + "out.plt"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::string plot = contentOf(dir.str() + "out.plt");
    EXPECT_EQ(plot.rfind("PA 0,0;\r\nPD 400,0;\r\nPD 400,400;\r\nPD 0,400;\r\nPD 0,0;\r\nPU;\r\n"
                         "PA 100,100;\r\nPD 110,100;\r\nPD 110,110;\r\nPU;\r\n",
                         0),
              0u)
        << plot;

    result = run(dir, "export", {design, "--unit", "in", "--dxf=" + dir.str() + "out.dxf"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string drawing = contentOf(dir.str() + "out.dxf");
    EXPECT_EQ(countOf(drawing, "POLYLINE\r\n"), countOf(plot, "PU;"));
    EXPECT_NE(drawing.find("  10\r\n10.00\r\n  20\r\n10.00\r\n  30\r\n0.00\r\n"), std::string::npos) << drawing;
}

TEST(DesignCommands, ExportRefusesWhatItCannotDo)
{
    TempDir dir;
    const std::string design = std::string(KERFLINE_TEST_DATA_DIR) + "hpgl/two_pens.plt";
    const std::string notPostScript = dir.write("drawing.eps", "not PostScript\n");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string message;
    } cases[] = {
        {{design}, 2, "give --hpgl OUT or --dxf OUT"},
        {{design, "--hpgl", "a.plt", "--dxf", "a.dxf"}, 2, "once"},
        {{design, "--dxf="}, 2, "--dxf needs an OUT file"},
        {{design, "--hpgl", "a.plt", "--unit", "yd"}, 2, "--unit"},
        {{design, "--hpgl", dir.str() + "missing/out.plt"}, 1,
         "Cannot save the file " + dir.str() + "missing/out.plt"},
        {{dir.str() + "notes.txt", "--hpgl", dir.str() + "out.plt"}, 1, "Invalid file format"},
        {{notPostScript, "--dxf", dir.str() + "out.dxf"}, 1, "This is not a PostScript file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.size());
        const CliRun result = run(dir, "export", c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::ifstream(dir.str() + "out.dxf").good());
}

}  // namespace
