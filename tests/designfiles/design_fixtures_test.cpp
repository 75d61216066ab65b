// Designs written by other programs (tests/data/PROVENANCE.md): what each reads as. Extents are
// checked against the drawings the generators describe, in plotter units (40 per mm; a
// PostScript point is 127/360 mm).
#include "design_reading.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

struct FigureSummary {
    int pen;
    int open;
    std::size_t points;
    std::int32_t minX, maxX, minY, maxY;
};

struct Fixture {
    const char* file;
    std::int32_t type;
    double mmPerUnit;
    std::vector<FigureSummary> figures;
};

TEST(DesignFixtures, ReadAsTheirDrawings)
{
    const Fixture fixtures[] = {
        // Line in red (pen 3); a 50 x 30 mm slot ending in a half circle, green (pen 4); a circle
        // of 20 mm about (150, 50), yellow (pen 6); an arc through 0 degrees without a colour,
        // which keeps the last pen; a 3-D polyline in red. The block and its insert are not read.
        {"dxf/r12_mix.dxf", kDesignDxf, 1.0,
         {{3, 1, 2, 0, 4000, 0, 0},
          {4, 0, 29, 0, 2600, 400, 1600},
          {6, 0, 61, 5200, 6800, 1200, 2800},
          {6, 1, 33, 10600, 11200, 961, 3039},
          {3, 1, 3, 12000, 13600, 0, 1200}}},
        // Rounded rectangle 80 x 40 mm (green), open wave of two half circles (red), full ellipse
        // 40 x 20 mm, elliptical arc through parameter 0, spline by control points and spline by
        // fit points (yellow), circle (red). Text and insert are not read; OBJECTS ends it.
        {"dxf/r2000_mix.dxf", kDesignDxf, 1.0,
         {{4, 0, 72, 0, 3200, 0, 1600},
          {3, 1, 35, 4000, 5600, -400, 400},
          {3, 0, 64, 7201, 8800, 400, 1200},
          {3, 1, 19, 10063, 10682, 1232, 1600},
          {6, 1, 90, 0, 3200, 2400, 3400},
          {6, 1, 49, 4000, 6400, 2288, 3712},
          {3, 0, 33, 7600, 8400, 2800, 3600}}},
        // pstoedit's R9 writer: the frame (8 to 136 pt, blue: pen 0) and the letter S (red),
        // flattened to POLYLINEs in millimetres.
        {"dxf/letter_in_frame_r9.dxf", kDesignDxf, 1.0,
         {{0, 0, 6, 113, 1919, 113, 1919}, {3, 0, 82, 469, 1316, 476, 1553}}},
        // The star of ten corners and the circle of radius 30 pt about (100, 100) pt from
        // Illustrator syntax: the colour lines write 0.0000 or 1.0, not "0 1 1 0 K", so pen 0.
        {"eps/star_libplot.ai", kDesignEps, 1.0,
         {{0, 0, 11, 282, 2540, 353, 2540}, {0, 0, 26, 990, 1834, 991, 1834}}},
        {"eps/star_ps2ai.ai", kDesignEps, 1.0,
         {{0, 0, 11, 282, 2540, 353, 2540}, {0, 0, 26, 990, 1834, 991, 1834}}},
        {"hpgl/star_pstoedit.plt", kDesignHpgl, 1.0,
         {{1, 0, 11, 282, 2540, 352, 2540}, {1, 0, 41, 987, 1834, 987, 1834}}},
        // HPGL/2 of libplot: scaled with SC, which the reader does not apply.
        {"hpgl/star_libplot.plt", kDesignHpgl, 1.0,
         {{2, 0, 11, 1389, 3409, 316, 2273}, {3, 0, 129, 2020, 2778, 884, 1641}}},
    };
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.file);
        CurveSettings settings;
        settings.mmPerDrawingUnit = f.mmPerUnit;
        const testing::DesignOutcome outcome =
            testing::readDesignFile(std::string(KERFLINE_TEST_DATA_DIR) + f.file, f.type, settings);
        ASSERT_EQ(outcome.openResult, 0);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), f.figures.size());
        for (std::size_t i = 0; i < f.figures.size(); ++i) {
            SCOPED_TRACE("figure " + std::to_string(i));
            const tfigura& figure = outcome.figures[i];
            const FigureSummary& e = f.figures[i];
            EXPECT_EQ(figure.pen, e.pen);
            EXPECT_EQ(figure.open, e.open);
            EXPECT_EQ(figure.points.size(), e.points);
            EXPECT_EQ(figure.minX, e.minX);
            EXPECT_EQ(figure.maxX, e.maxX);
            EXPECT_EQ(figure.minY, e.minY);
            EXPECT_EQ(figure.maxY, e.maxY);
        }
    }
}

// pstoedit's R14 writer draws the same letter with LINEs and Bezier SPLINEs in inches: read in
// inches, the letter has the extents of the flattened R9 drawing.
TEST(DesignFixtures, SplinesInInchesMeetTheFlattenedLetter)
{
    CurveSettings settings;
    settings.mmPerDrawingUnit = 25.4;
    const testing::DesignOutcome outcome = testing::readDesignFile(
        std::string(KERFLINE_TEST_DATA_DIR) + "dxf/letter_in_frame_r14.dxf", kDesignDxf, settings);
    ASSERT_FALSE(outcome.error);
    ASSERT_EQ(outcome.figures.size(), 20u);
    std::int32_t minX = 2147483647, maxX = -2147483647, minY = 2147483647, maxY = -2147483647;
    for (std::size_t i = 0; i < outcome.figures.size(); ++i) {
        const tfigura& figure = outcome.figures[i];
        EXPECT_EQ(figure.pen, i < 4 ? 0 : 3) << i;
        EXPECT_EQ(figure.open, 1) << i;
        if (figure.pen != 3)
            continue;
        minX = std::min(minX, figure.minX);
        maxX = std::max(maxX, figure.maxX);
        minY = std::min(minY, figure.minY);
        maxY = std::max(maxY, figure.maxY);
    }
    EXPECT_EQ(minX, 469);
    EXPECT_EQ(maxX, 1316);
    EXPECT_EQ(minY, 476);
    EXPECT_EQ(maxY, 1553);
}

// The designs of samples/ open as the closed outlines samples/README.md describes.
TEST(DesignFixtures, SamplesReadAsClosedOutlines)
{
    const struct {
        const char* file;
        std::int32_t type;
        std::size_t figures;
        std::int32_t width;  // of the first figure, plotter units
    } samples[] = {
        {"samples/star.ai", kDesignEps, 1, 3803},
        {"samples/letter_in_frame.dxf", kDesignDxf, 3, 4800},
        {"samples/gear.plt", kDesignHpgl, 2, 3994},
    };
    for (const auto& s : samples) {
        SCOPED_TRACE(s.file);
        const testing::DesignOutcome outcome =
            testing::readDesignFile(std::string(KERFLINE_SOURCE_DIR) + s.file, s.type);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), s.figures);
        EXPECT_EQ(outcome.figures[0].width, s.width);
        for (const tfigura& figure : outcome.figures)
            EXPECT_EQ(figure.open, 0);
    }
}

}  // namespace
}  // namespace kerfline
