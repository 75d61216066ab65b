// The duplication of a pattern in rows and columns, its connecting line and its parameter file.
#include "placement/duplication.h"

#include "geometry/segments.h"
#include "placement/dpl_file.h"
#include "project/project_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::TempDir;

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Duplication, ChecksTakeTheIntegerPartsOfTheCountsAndKeepTheSheetInPlotterUnits)
{
    struct Case {
        const char* name;
        DuplicationParameters p;
        bool overlapAccepted;
        const char* key;  // nullptr: passes
    };
    const double w = 100, h = 50;  // the pattern, millimetres
    const DuplicationParameters ok = defaultDuplication(w, h);
    const auto with = [&](auto change) {
        DuplicationParameters p = ok;
        change(p);
        return p;
    };
    const Case cases[] = {
        {"the defaults", ok, false, nullptr},
        {"half an element per row", with([](auto& p) { p.elementsInRow = 0.5; }), false, "BlednaIloscElem"},
        {"a negative count", with([](auto& p) { p.elementsInRow = -2; }), false, "BlednaIloscElem"},
        {"one and a half elements count as one", with([](auto& p) { p.elementsInRow = 1.5; }), false, nullptr},
        {"most of a row", with([](auto& p) { p.rows = 0.99; }), false, "BlednaIloscWierszy"},
        {"overlapping elements", with([](auto& p) { p.elementOffset = 90; p.verticalLineDistance = -20; }), false,
         "ElNachodzaNaSiebie"},
        {"rows closer than the height", with([](auto& p) { p.rowOffset = 49; }), false, "BlednePrzesMdzyWier"},
        {"the vertical line in the next element", with([](auto& p) { p.verticalLineDistance = 10; }), false,
         "OdlLacznikaPionZaDuza"},
        {"the horizontal line in the next row", with([](auto& p) { p.horizontalLineDistance = 11; }), false,
         "OdlLacznikaPoziomZaDuza"},
        {"offsets times counts beyond 32 bits",
         with([](auto& p) {
             p.elementsInRow = 30000;
             p.elementOffset = 1000;
             p.verticalLineDistance = 1;
         }),
         false, "projektZaDuzy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto refusal = duplicationRefusal(c.p, w, h, c.overlapAccepted);
        if (!c.key) {
            EXPECT_FALSE(refusal) << refusal->key;
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->key, c.key);
    }
    DuplicationParameters overlapping = ok;
    overlapping.elementOffset = 90;
    overlapping.verticalLineDistance = -20;
    EXPECT_TRUE(duplicationRefusal(overlapping, w, h, false)->question);
    EXPECT_FALSE(duplicationRefusal(overlapping, w, h, true));
}

// One- and two-figure patterns: the line runs into every copy at the first point of the copy's
// start figure and crosses no copy on its way.
TEST(Duplication, TheConnectingLineReachesTheStartOfEveryCopyAndCrossesNone)
{
    struct Case {
        const char* name;
        std::vector<std::vector<Point>> pattern;
        std::int32_t startFigure;
        int columns, rows;
    };
    const std::vector<Point> square = testing::square(0, 0, 4000);
    const std::vector<Point> inner = testing::square(1000, 1000, 2000);
    const Case cases[] = {
        {"one square, one element", {square}, 0, 1, 1},
        {"one square in a row of three", {square}, 0, 3, 1},
        {"one square in a column of three", {square}, 0, 1, 3},
        {"one square, three by two", {square}, 0, 3, 2},
        {"two squares started at the last, one column", {inner, square}, 1, 1, 3},
        {"two squares started at the first, two by two", {square, inner}, 0, 2, 2},
        {"two squares started at the last, three by three", {inner, square}, 1, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectRig rig;
        rig.design(c.pattern);
        rig.project.startFigure = c.startFigure;
        DuplicationParameters p = defaultDuplication(100, 100);
        p.elementsInRow = c.columns;
        p.rows = c.rows;

        TMDIChild result(rig.app);
        duplicate(rig.project, p, result);
        const std::size_t F = c.pattern.size();
        const std::size_t copies = F * static_cast<std::size_t>(c.columns * c.rows);
        ASSERT_GT(result.figures.size(), copies);
        const std::vector<Point>& line = result.figures[copies].points;
        EXPECT_EQ(result.figures[copies].isDesign, 0);

        // The line's third point is the top row's first copy's own start.
        const std::size_t topFirst = static_cast<std::size_t>(c.rows - 1) * static_cast<std::size_t>(c.columns) * F +
                                     static_cast<std::size_t>(c.startFigure);
        ASSERT_GE(line.size(), 3u);
        EXPECT_EQ(line[2], result.figures[topFirst].points.front());
        for (std::size_t k = 0; k < copies; k += F) {
            const Point start = result.figures[k + static_cast<std::size_t>(c.startFigure)].points.front();
            EXPECT_NE(std::find(line.begin(), line.end(), start), line.end()) << "copy " << k / F;
        }
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            for (std::size_t f = 0; f < copies; ++f) {
                const std::vector<Point>& points = result.figures[f].points;
                for (std::size_t j = 0; j + 1 < points.size(); ++j)
                    EXPECT_FALSE(segmentsCross({line[i], line[i + 1]}, {points[j], points[j + 1]}))
                        << "line segment " << i << " crosses figure " << f << " at segment " << j;
            }
        }
    }
}

TEST(DuplicationFile, GoldenFilesRoundTripByteForByte)
{
    TempDir dir;
    for (const char* name : {"three_by_two.dpl", "with_notes.dpl"}) {
        SCOPED_TRACE(name);
        const std::string golden = std::string(KERFLINE_TEST_DATA_DIR) + "dpl/" + name;
        const auto read = readDuplicationFile(golden, defaultDuplication(1, 1));
        ASSERT_TRUE(read);
        const std::string copy = dir.write(name, fileText(golden));
        ASSERT_TRUE(writeDuplicationFile(copy, *read));
        EXPECT_EQ(fileText(copy), fileText(golden));
    }
    const auto read = readDuplicationFile(std::string(KERFLINE_TEST_DATA_DIR) + "dpl/three_by_two.dpl", {});
    ASSERT_TRUE(read);
    EXPECT_EQ(read->elementsInRow, 3);
    EXPECT_EQ(read->rows, 2);
    EXPECT_EQ(read->rowOffset, 112.5);
    EXPECT_EQ(read->horizontalLineDistance, 6.25);
}

TEST(DuplicationFile, MissingValuesTakeTheDefaultsAndAFileWithoutTheSectionGivesNone)
{
    TempDir dir;
    const DuplicationParameters defaults = defaultDuplication(100, 50);
    const auto partial = readDuplicationFile(
        dir.write("partial.dpl", "[Duplication_parameters]\r\nNumber of rows=4\r\nNumber of elements in a row=2.5\r\n"),
        defaults);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->rows, 4);
    EXPECT_EQ(partial->elementsInRow, defaults.elementsInRow);  // not an integer
    EXPECT_EQ(partial->elementOffset, 110);
    EXPECT_FALSE(readDuplicationFile(dir.write("other.dpl", "[Other]\r\nNumber of rows=4\r\n"), defaults));
    EXPECT_FALSE(readDuplicationFile(dir.str() + "missing.dpl", defaults));
}

// The file is replaced as a whole; when that fails the operator is told and the copies are made
// all the same.
TEST(DuplicationFile, AFileThatCannotBeWrittenIsReportedAndTheGenerationStillRuns)
{
    ProjectRig rig;
    rig.design({testing::square(0, 0, 4000)});
    TempDir dir;
    const std::string blocked = dir.str() + "no-such-directory/pattern.dpl";
    TMDIChild result(rig.app);
    executeDuplication(rig.project, blocked, defaultDuplication(100, 100), result);
    ASSERT_FALSE(rig.host.messages.empty());
    EXPECT_NE(rig.host.messages.back().text.find(blocked), std::string::npos);
    EXPECT_GE(result.figures.size(), 3u);  // two copies and the line

    const std::string path = dir.write("pattern.dpl", "[Duplication_parameters]\r\nNumber of rows=9\r\n");
    executeDuplication(rig.project, path, defaultDuplication(100, 100), result);
    EXPECT_EQ(readDuplicationFile(path, {})->rows, 1);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

}  // namespace
}  // namespace kerfline
