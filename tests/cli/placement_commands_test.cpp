// Runs kerfline-cli mix, and cut in the independent mode, the way a script does.
#include "e2e/json_value.h"
#include "placement/placement_rig.h"
#include "support/cli_run.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::CliRun;
using testing::JsonValue;
using testing::TempDir;

TEST(MixCommand, WritesTheProgramOfTheMixAndItsArmPaths)
{
    TempDir dir;
    const std::string design = dir.write("squares.plt", testing::kTwoSquares);
    const std::string output = dir.str() + "squares.cn";
    const CliRun mix =
        testing::runCli(dir, "mix", {design, "--width", "100", "--distance", "50", "--arm-spacing", "600", "-o", output});
    ASSERT_EQ(mix.exitCode, 0) << mix.err;
    const auto json = JsonValue::parse(mix.out);
    ASSERT_TRUE(json) << mix.out;
    EXPECT_EQ((*json)["mode"].number, 4);
    EXPECT_EQ((*json)["outputKind"].number, 32);
    const JsonValue& figures = (*json)["figures"];
    ASSERT_EQ(figures.items.size(), 2u);
    // The second pair: the front corner (0, 200) mm at 50 mm from the front arm, the back corner
    // (50, 150) mm at 150 mm; their line meets the front arm at (-25, 225) mm and the back arm,
    // 600 mm behind it, at (275, -75) mm.
    const JsonValue& frontArm = figures[0]["armPoints"];
    const JsonValue& backArm = figures[1]["armPoints"];
    ASSERT_EQ(frontArm.items.size(), figures[0]["points"].items.size());
    ASSERT_EQ(backArm.items.size(), figures[1]["points"].items.size());
    EXPECT_EQ(frontArm[1][0].number, -1000);
    EXPECT_EQ(frontArm[1][1].number, 9000);
    EXPECT_EQ(backArm[1][0].number, 11000);
    EXPECT_EQ(backArm[1][1].number, -3000);
    EXPECT_GT((*json)["commands"].number, 10);
}

TEST(MixCommand, RefusesDesignsItCannotMixAndAnswersThatDoNotFit)
{
    TempDir dir;
    struct Case {
        const char* name;
        std::string design;
        std::vector<std::string> answers;
        const char* message;
    };
    const Case cases[] = {
        {"no back shape", "IN;SP4;PU0,0;PD800,0,800,800,0,800,0,0;PU;", {}, "no red (pen 3) figures"},
        {"colours that do not pair",
         "IN;SP4;PU0,0;PD800,0,800,800,0,800,0,0;PU2000,0;PD2800,0,2800,800,2000,800,2000,0;PU;"
         "SP3;PU100,100;PD500,100,500,500,100,500,100,100;PU;",
         {},
         "cannot be paired"},
        {"no width", testing::kTwoSquares, {"--width", "0"}, "Enter the width of the material."},
        {"wider than the arm spacing", testing::kTwoSquares, {"--width", "300", "--arm-spacing", "200"},
         "wider than the distance between the arms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments{dir.write("design.plt", c.design), "-o", dir.str() + "out.cn"};
        arguments.insert(arguments.end(), c.answers.begin(), c.answers.end());
        const CliRun mix = testing::runCli(dir, "mix", arguments);
        EXPECT_EQ(mix.exitCode, 1);
        EXPECT_NE(mix.err.find(c.message), std::string::npos) << mix.err;
        EXPECT_TRUE(mix.out.empty());
    }
}

TEST(CutCommand, CutsTheMixOfTheIndependentArmsOnTheVirtualCutter)
{
    TempDir dir;
    const std::string design = dir.write("wing.plt", testing::wingSection());
    const CliRun cut = testing::runCli(dir, "cut",
                                       {design, "--virtual-machine", "--set", "Mode=4", "--width", "200",
                                        "--distance", "100", "--arm-spacing", "500"});
    ASSERT_EQ(cut.exitCode, 0) << cut.err;
    const auto json = JsonValue::parse(cut.out);
    ASSERT_TRUE(json) << cut.out;
    EXPECT_EQ((*json)["status"].text, "completed");
    EXPECT_FALSE((*json)["heatingOnAtEnd"].boolean);
    EXPECT_EQ((*json)["executed"].number, (*json)["commands"].number);
    // The arms move apart: the front arm's X differs from the back arm's.
    const JsonValue& path = (*json)["path"];
    ASSERT_GT(path.items.size(), 10u);
    EXPECT_NE(path[1]["steps"][0].number, path[1]["steps"][4].number);
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

bool pythonWith(const char* modules)
{
    return std::system(("/usr/bin/python3 -c 'import " + std::string(modules) + "' >/dev/null 2>&1").c_str()) == 0;
}

// Another reader of the drawing: ezdxf finds the copies and the connecting line, which reaches
// the first point of every copy and enters none.
TEST(DuplicateCommand, EzdxfFindsTheLineAtTheStartOfEveryCopyAndInsideNone)
{
    if (!pythonWith("ezdxf, shapely"))
        GTEST_SKIP() << "python3-ezdxf or python3-shapely is not installed; the drawing is not checked by another reader";
    TempDir dir;
    const std::string square = std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.plt";
    const std::string script = dir.write("check.py", R"(import sys, ezdxf
from shapely.geometry import LineString, Polygon, Point
doc = ezdxf.readfile(sys.argv[1])
copies = int(sys.argv[2])
polylines = [[(v.dxf.location.x, v.dxf.location.y) for v in e.vertices] for e in doc.modelspace() if e.dxftype() == 'POLYLINE']
line = LineString(polylines[copies])
bad = 0
for copy in polylines[:copies]:
    if line.distance(Point(copy[0])) > 1e-6:
        print('misses the start of', copy[0]); bad += 1
    if line.intersects(Polygon(copy).buffer(-0.01)):
        print('enters the copy at', copy[0]); bad += 1
sys.exit(1 if bad else 0)
)");
    struct Case {
        std::vector<std::string> answers;
        int copies;
    };
    const Case cases[] = {{{"--rows", "1", "--columns", "3"}, 3}, {{"--rows", "3", "--columns", "2"}, 6},
                          {{"--rows", "2", "--columns", "1"}, 2}};
    for (const Case& c : cases) {
        const std::string output = dir.str() + "sheet.dxf";
        std::vector<std::string> arguments{square, "-o", output};
        arguments.insert(arguments.end(), c.answers.begin(), c.answers.end());
        const CliRun run = testing::runCli(dir, "duplicate", arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string command = "/usr/bin/python3 " + script + " " + output + " " + std::to_string(c.copies);
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    const CliRun half = testing::runCli(dir, "duplicate", {square, "--rows", "0.5", "-o", dir.str() + "x.dxf"});
    EXPECT_EQ(half.exitCode, 1);
    EXPECT_NE(half.err.find("The number of rows must be at least 1."), std::string::npos) << half.err;
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

TEST(ArchCommand, WritesTheStripAndRefusesAnOverlappingOne)
{
    TempDir dir;
    const std::string bow = dir.write("bow.plt", "IN;SP1;PU0,0;PD1000,500,2000,600,3000,500,4000,0;PU;");
    const std::string output = dir.str() + "strip.dxf";
    const CliRun strip = testing::runCli(dir, "arch", {bow, "--depth", "5", "-o", output});
    ASSERT_EQ(strip.exitCode, 0) << strip.err;
    const auto json = JsonValue::parse(strip.out);
    ASSERT_TRUE(json) << strip.out;
    // Three notches 5 mm deep, one at each vertex of the bow.
    const JsonValue& points = (*json)["figures"][0]["points"];
    ASSERT_EQ(points.items.size(), 11u);
    for (const std::size_t tip : {2u, 5u, 8u})
        EXPECT_EQ(points[tip][1].number, 0);
    EXPECT_EQ(points[0][1].number, 200);

    const CliRun deep = testing::runCli(dir, "arch", {bow, "--depth", "500", "-o", output});
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_NE(deep.err.find("The notches overlap"), std::string::npos) << deep.err;
}

}  // namespace
}  // namespace kerfline
