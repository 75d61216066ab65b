// Runs the built kerfline-cli the way a script does and checks what it prints.
#include "support/cli_run.h"

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

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;

CliRun inspect(const TempDir& dir, const std::vector<std::string>& arguments)
{
    return kerfline::testing::runCli(dir, "inspect", arguments);
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

TEST(InspectCommand, WithoutRawPrintsTheLoadedProject)
{
    TempDir dir;
    // Two identical squares (one is a duplicate), a figure of pen 3 and one of pen 6.
    const std::string design =
        dir.write("project.plt", "SP1;PU0,0;PD400,0,400,400,0,400,0,0;PU;PU0,0;PD400,0,400,400,0,400,0,0;PU;"
                                 "SP3;PU1000,0;PD1400,0,1400,400,1000,0;PU;SP6;PU2000,0;PD2400,0;PU;");
    const CliRun all = inspect(dir, {design});
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_NE(all.out.find("\"pen\":3"), std::string::npos) << all.out;
    const CliRun filtered = inspect(dir, {design, "--pen", "1"});
    ASSERT_EQ(filtered.exitCode, 0) << filtered.err;
    EXPECT_EQ(filtered.out.find("\"pen\":3"), std::string::npos) << filtered.out;
    EXPECT_NE(filtered.out.find("\"pen\":6"), std::string::npos) << filtered.out;
    // the duplicate square is gone: the square's corner (400,400) appears once
    const std::string corner = "[400,400]";
    const auto first = filtered.out.find(corner);
    ASSERT_NE(first, std::string::npos) << filtered.out;
    EXPECT_EQ(filtered.out.find(corner, first + 1), std::string::npos) << filtered.out;
}

TEST(InspectCommand, TheLoadedProjectReadsDrawingsInTheConfiguredUnit)
{
    TempDir dir;
    const std::string drawing = dir.write(
        "line.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n0\n0\nENDSEC\n0\nEOF\n");
    for (const bool raw : {true, false}) {
        std::vector<std::string> arguments{drawing, "--unit", "in"};
        if (raw)
            arguments.push_back("--raw");
        const CliRun run = inspect(dir, arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        // one inch is 25.4 mm, 1016 plotter units
        EXPECT_NE(run.out.find("[1016,0]"), std::string::npos) << (raw ? "raw: " : "loaded: ") << run.out;
    }
}

// A drawing declared in other units than it is read in carries the note; an empty one is refused
// with the file and the reason.
TEST(InspectCommand, TellsOfDeclaredUnitsAndWhyADrawingIsEmpty)
{
    TempDir dir;
    const std::string header = "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n4\n0\nENDSEC\n";
    const std::string line = dir.write(
        "line.dxf", header + "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n");
    const CliRun declared = inspect(dir, {line, "--unit", "in"});
    ASSERT_EQ(declared.exitCode, 0) << declared.err;
    EXPECT_NE(declared.out.find("\"drawingUnits\":\"The drawing's header declares its unit: mm ($INSUNITS). Its "
                                "coordinates are read in in, the display unit; with mm as its unit the drawing would "
                                "measure 0.04 x 0.04 in.\""),
              std::string::npos)
        << declared.out;
    const CliRun plain = inspect(dir, {line, "--unit", "mm"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.out.find("drawingUnits"), std::string::npos) << plain.out;

    const std::string text =
        dir.write("text.dxf", header + "0\nSECTION\n2\nENTITIES\n0\nTEXT\n8\n0\n1\nWing\n0\nENDSEC\n0\nEOF\n");
    const CliRun empty = inspect(dir, {text});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("The file holds no figures to cut.\nFile: " + text +
                             "\nIt holds only text: convert the text to curves in the drawing program."),
              std::string::npos)
        << empty.err;
}

}  // namespace
