#include "design_reading.h"

#include "config/parameters.h"
#include "designfiles/dxf_export.h"
#include "designfiles/hpgl_export.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace kerfline {
namespace {

using testing::describe;
using testing::TempDir;

tfigura figureOf(std::vector<Point> points)
{
    tfigura figure;
    figure.points = std::move(points);
    return figure;
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string dxfVertex(const std::string& x, const std::string& y, const std::string& z)
{
    return "  0\r\nVERTEX\r\n  10\r\n" + x + "\r\n  20\r\n" + y + "\r\n  30\r\n" + z + "\r\n";
}

// Figures as a project holds them: closed and open outlines, negative and large coordinates,
// a one-point figure, no two equal points in a row.
std::vector<tfigura> sampleFigures()
{
    std::vector<tfigura> figures;
    figures.push_back(figureOf({{0, 0}, {4000, 0}, {4000, 4000}, {0, 4000}, {0, 0}}));
    figures.push_back(figureOf({{-120, -40}, {35, 2147483}, {-2147483, 77}}));
    figures.push_back(figureOf({{120, -40}}));
    std::mt19937 random(11);
    std::uniform_int_distribution<int> step(1, 900);
    tfigura wiggle;
    Point p{500, 500};
    for (int i = 0; i < 200; ++i) {
        p = {p.x + step(random) - 450, p.y + step(random)};
        wiggle.points.push_back(p);
    }
    figures.push_back(wiggle);
    return figures;
}

TEST(HpglExport, WritesAbsoluteMovesOnePointPerLine)
{
    TempDir dir;
    const struct {
        std::vector<tfigura> figures;
        std::string file;
    } cases[] = {
        {{figureOf({{0, 0}, {400, 0}, {400, 400}})}, "PA 0,0;\r\nPD 400,0;\r\nPD 400,400;\r\nPU;\r\n"},
        {{figureOf({{120, -40}}), figureOf({}), figureOf({{-2147483647, 2147483647}, {1, 2}})},
         "PA 120,-40;\r\nPU;\r\nPA -2147483647,2147483647;\r\nPD 1,2;\r\nPU;\r\n"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        const std::string path = dir.str() + "out.plt";
        ASSERT_EQ(WriteHpglFile(c.figures, path), 0);
        EXPECT_EQ(contentOf(path), c.file);
    }
}

TEST(DxfExport, WritesPolylinesInMillimetresWithTheUnitsDecimals)
{
    TempDir dir;
    const std::vector<tfigura> square{figureOf({{0, 0}, {400, 0}, {400, 400}}), figureOf({})};
    const std::string head = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nPOLYLINE\r\n";
    const std::string tail = "  0\r\nSEQEND\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    const std::string path = dir.str() + "out.dxf";
    ASSERT_EQ(WriteDxfFile(square, path, UnitMillimetre), 0);
    EXPECT_EQ(contentOf(path), head + dxfVertex("0.0", "0.0", "0.0") + dxfVertex("10.0", "0.0", "0.0") +
                                   dxfVertex("10.0", "10.0", "0.0") + tail);
    ASSERT_EQ(WriteDxfFile(square, path, UnitInch), 0);
    EXPECT_EQ(contentOf(path), head + dxfVertex("0.00", "0.00", "0.00") + dxfVertex("10.00", "0.00", "0.00") +
                                   dxfVertex("10.00", "10.00", "0.00") + tail);
    ASSERT_EQ(WriteDxfFile(std::vector<tfigura>{figureOf({{1, -1}})}, path, UnitFoot), 0);
    EXPECT_EQ(contentOf(path), head + dxfVertex("0.025", "-0.025", "0.000") + tail);
    ASSERT_EQ(WriteDxfFile({}, path, UnitFoot), 0);
    EXPECT_EQ(contentOf(path), "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

TEST(DxfExport, RoundsToSevenSignificantDigitsHalfToEven)
{
    const struct {
        std::int64_t units;
        int unit;
        const char* text;
    } cases[] = {
        {0, UnitMillimetre, "0.0"},
        {400, UnitMillimetre, "10.0"},
        {-400, UnitMillimetre, "-10.0"},
        {2, UnitMillimetre, "0.0"},   // 0.05 to even
        {6, UnitMillimetre, "0.2"},   // 0.15 to even
        {-1, UnitMillimetre, "0.0"},  // no sign on a zero
        {-3, UnitMillimetre, "-0.1"},
        {1, UnitInch, "0.02"},  // 0.025
        {5, UnitInch, "0.12"},  // 0.125
        {7, UnitInch, "0.18"},  // 0.175
        {1, UnitFoot, "0.025"},
        {12345678, UnitFoot, "308642.000"},  // 308641.95: the seventh digit rounded to even
        {12345676, UnitFoot, "308641.900"},
        {-3999999, UnitFoot, "-99999.980"},  // -99999.975
        {39999999, UnitInch, "1000000.00"},  // 999999.975
        {399999960, UnitMillimetre, "9999999.0"},
        {399999999, UnitMillimetre, "1.000000E+07"},  // 9999999.975 rounds into an eighth digit
        {400000000, UnitMillimetre, "1.000000E+07"},
        {2147483647, UnitMillimetre, "5.368709E+07"},
        {-2147483648, UnitInch, "-5.368709E+07"},
        {4000000000, UnitMillimetre, "1.000000E+08"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dxfCoordinate(c.units, c.unit), c.text) << c.units << " unit " << c.unit;
}

// Read back, an HPGL export gives the figures it was made from, with pen 0 (a one-point figure
// has no stroke and gives none); a DXF export in feet keeps every plotter unit.
TEST(DesignExport, ReadsBackAsTheFiguresItWasMadeFrom)
{
    TempDir dir;
    const std::vector<tfigura> figures = sampleFigures();

    const std::string plot = dir.str() + "out.plt";
    ASSERT_EQ(WriteHpglFile(figures, plot), 0);
    const testing::DesignOutcome hpgl = testing::readDesignFile(plot, kDesignHpgl);
    ASSERT_FALSE(hpgl.error);
    std::vector<const tfigura*> drawn;
    for (const tfigura& figure : figures) {
        if (figure.points.size() > 1)
            drawn.push_back(&figure);
    }
    ASSERT_EQ(hpgl.figures.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(describe(hpgl.figures[i].points), describe(drawn[i]->points)) << "figure " << i;
        EXPECT_EQ(hpgl.figures[i].pen, 0);
    }

    const std::string drawing = dir.str() + "out.dxf";
    ASSERT_EQ(WriteDxfFile(figures, drawing, UnitFoot), 0);
    const testing::DesignOutcome dxf = testing::readDesignFile(drawing, kDesignDxf);
    ASSERT_FALSE(dxf.error);
    ASSERT_EQ(dxf.figures.size(), figures.size());
    for (std::size_t i = 0; i < figures.size(); ++i)
        EXPECT_EQ(describe(dxf.figures[i].points), describe(figures[i].points)) << "figure " << i;
}

bool toolAvailable(const std::string& check)
{
    return std::system((check + " >/dev/null 2>&1").c_str()) == 0;
}

// Other programs read what the export writes: ezdxf reads and audits every DXF without an error.
TEST(DesignExport, EzdxfReadsTheDxfWithoutErrors)
{
    if (!toolAvailable("/usr/bin/python3 -c 'import ezdxf'"))
        GTEST_SKIP() << "python3-ezdxf is not installed; the DXF export is not checked by another reader";
    TempDir dir;
    const std::string script = dir.write("audit.py", R"(import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for error in auditor.errors:
    print(error)
polylines = [e for e in doc.modelspace() if e.dxftype() == 'POLYLINE']
vertices = sum(len(p.vertices) for p in polylines)
sys.exit(1 if auditor.has_errors or len(polylines) != int(sys.argv[2]) or vertices != int(sys.argv[3]) else 0)
)");
    const std::vector<tfigura> figures = sampleFigures();
    std::size_t vertices = 0;
    for (const tfigura& figure : figures)
        vertices += figure.points.size();
    for (const int unit : {UnitMillimetre, UnitInch, UnitFoot}) {
        const std::string path = dir.str() + "out" + std::to_string(unit) + ".dxf";
        ASSERT_EQ(WriteDxfFile(figures, path, unit), 0);
        const std::string command = "/usr/bin/python3 " + script + " " + path + " " + std::to_string(figures.size()) +
                                    " " + std::to_string(vertices);
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

// hp2xx draws every stroke of the HPGL export: one "D" per segment in its EPS rendering.
TEST(DesignExport, Hp2xxRendersTheHpgl)
{
    if (!toolAvailable("command -v hp2xx"))
        GTEST_SKIP() << "hp2xx is not installed; the HPGL export is not checked by another reader";
    TempDir dir;
    const std::vector<tfigura> figures = sampleFigures();
    std::size_t segments = 0;
    for (const tfigura& figure : figures)
        segments += figure.points.size() - 1;
    const std::string plot = dir.str() + "out.plt";
    const std::string rendering = dir.str() + "out.eps";
    ASSERT_EQ(WriteHpglFile(figures, plot), 0);
    ASSERT_EQ(std::system(("hp2xx -q -m eps -f " + rendering + " " + plot).c_str()), 0);
    std::istringstream words(contentOf(rendering));
    std::size_t draws = 0;
    for (std::string word; words >> word;)
        draws += word == "D" ? 1 : 0;
    EXPECT_EQ(draws, segments);
}

TEST(DesignExport, ReplacesTheFileAsAWholeOrNotAtAll)
{
    TempDir dir;
    const std::vector<tfigura> figures{figureOf({{0, 0}, {1, 1}})};
    EXPECT_EQ(WriteHpglFile(figures, dir.str() + "missing/out.plt"), ENOENT);
    EXPECT_EQ(WriteDxfFile(figures, dir.str() + "missing/out.dxf", UnitMillimetre), ENOENT);

    const std::string path = dir.write("old.plt", "old content");
    ASSERT_EQ(WriteHpglFile(figures, path), 0);
    EXPECT_EQ(contentOf(path), "PA 0,0;\r\nPD 1,1;\r\nPU;\r\n");

    // A directory in the way: the rename fails, nothing is left behind.
    std::filesystem::create_directories(dir.path() / "taken.dxf" / "inside");
    EXPECT_NE(WriteDxfFile(figures, dir.str() + "taken.dxf", UnitMillimetre), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken.dxf" / "inside"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u);  // old.plt and the directory
}

}  // namespace
}  // namespace kerfline
