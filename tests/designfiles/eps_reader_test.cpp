#include "design_reading.h"

#include "designfiles/bounded_simplify.h"
#include "geometry/curve_flattening.h"
#include "geometry/polyline_simplify.h"

#include <gtest/gtest.h>

#include <random>

namespace kerfline {
namespace {

using testing::DesignOutcome;
using testing::describe;
using testing::joinLines;

DesignOutcome readEps(std::initializer_list<std::string> lines, const std::string& end = "\n")
{
    return testing::readDesignText(joinLines(lines, end), kDesignEps);
}

struct Expected {
    int pen;
    int open;
    std::vector<Point> points;
};

struct Case {
    const char* name;
    std::string text;
    std::vector<Expected> figures;
};

const std::vector<Point> kSquare{{0, 0}, {1016, 0}, {1016, 1016}, {0, 1016}, {0, 0}};

TEST(EpsReader, ReadsOneFigurePerPaintedPath)
{
    const std::string setup = joinLines({"%!PS-Adobe-3.0 EPSF-3.0", "%%BoundingBox: 0 0 72 72", "%%EndSetup"});
    const std::string square = joinLines({"0 0 m", "72 0 L", "72 72 L", "0 72 L", "0 0 L"});
    const Case cases[] = {
        {"closed square", setup + square + "S\n", {{1, 0, kSquare}}},
        {"a closing operator adds no point", setup + joinLines({"0 0 m", "72 0 L", "72 72 L", "0 72 L", "s"}),
         {{1, 1, {{0, 0}, {1016, 0}, {1016, 1016}, {0, 1016}}}}},
        {"two moves make one figure", setup + joinLines({"0 0 m", "72 0 L", "0 72 m", "72 72 l", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}, {0, 1016}, {1016, 1016}}}}},
        {"stroke colours choose pens and carry over",
         setup + joinLines({"0 1 1 0 K", "0 0 m", "72 0 L", "S", "0 72 m", "72 72 L", "n", "1 0 1 0 K", "0 0 m",
                            "1 0 l", "f", "0 0 1 0 K", "0 0 m", "2 0 l", "F", "0 0 0 1 K", "0 0 m", "3 0 l", "b",
                            "0.0000 1.0000 1.0000 0.0000 K", "0 0 m", "4 0 l", "B"}),
         {{3, 1, {{0, 0}, {1016, 0}}},
          {3, 1, {{0, 1016}, {1016, 1016}}},
          {4, 1, {{0, 0}, {14, 0}}},
          {6, 1, {{0, 0}, {28, 0}}},
          {0, 1, {{0, 0}, {42, 0}}},
          {0, 1, {{0, 0}, {56, 0}}}}},
        // An upper-case M is Illustrator's miter limit.
        {"upper-case M adds no point", setup + joinLines({"10.43 M", "0 0 m", "72 0 L", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"nothing before EndSetup is read", joinLines({"%!PS", "0 0 m", "72 0 L", "S", "%%EndSetup", "0 0 m", "1 0 L", "S"}),
         {{1, 1, {{0, 0}, {14, 0}}}}},
        {"no EndSetup, no figure", joinLines({"%!PS", "0 0 m", "72 0 L", "S"}), {}},
        {"nothing after EOF is read", setup + joinLines({"0 0 m", "72 0 L", "S", "%%EOF", "0 0 m", "1 0 L", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}}}}},
        // Illustrator ends with trailer comments; "%%EOF" among them still ends the design.
        {"EOF after other comments",
         setup + joinLines({"0 0 m", "72 0 L", "S", "%%PageTrailer", "%%Trailer", "%%EOF", "0 0 m", "1 0 L", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"comments and blank lines in a path", setup + joinLines({"0 0 m", "", "% a note", "%%Note", "72 0 L", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"blanks around numbers", setup + joinLines({" 0 0 m", "\t72   0\tL ", "S"}), {{1, 1, {{0, 0}, {1016, 0}}}}},
        // Slots a line does not write keep their values: "36 l" takes its y from the line before.
        {"a short line keeps older parameters", setup + joinLines({"0 72 m", "36 l", "S"}),
         {{1, 1, {{0, 1016}, {508, 1016}}}}},
        {"a line whose numbers do not read is skipped",
         setup + joinLines({"0 0 m", "a b l", "1,5 2 l", "72 0 L", "S"}), {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"numbers past the sixteenth are ignored",
         setup + joinLines({"72 72 0 0 0 0 0 0 0 0 0 0 0 0 0 0 x 5 m", "S"}), {{1, 1, {{1016, 1016}}}}},
        {"CR LF", joinLines({"%!PS", "%%EndSetup", "0 0 m", "72 0 L", "S"}, "\r\n"), {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"CR only", joinLines({"%!PS", "%%EndSetup", "0 0 m", "72 0 L", "S"}, "\r"), {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"a last line without a line end", setup + "0 0 m\n72 0 L", {{1, 1, {{0, 0}, {1016, 0}}}}},
        {"operators the reader does not know", setup + joinLines({"(Layer 1) Ln", "[] 0 d", "0 0 m", "1 w",
                                                                   "72 0 L", "gsave annotatepage grestore showpage", "S"}),
         {{1, 1, {{0, 0}, {1016, 0}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DesignOutcome outcome = testing::readDesignText(c.text, kDesignEps);
        ASSERT_EQ(outcome.openResult, 0);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), c.figures.size());
        for (std::size_t i = 0; i < c.figures.size(); ++i) {
            EXPECT_EQ(outcome.figures[i].pen, c.figures[i].pen) << "figure " << i;
            EXPECT_EQ(outcome.figures[i].open, c.figures[i].open) << "figure " << i;
            EXPECT_EQ(describe(outcome.figures[i].points), describe(c.figures[i].points)) << "figure " << i;
        }
    }
}

// The reference: the curve's 99 inner points and its end after the current point, simplified
// with 0.1 mm.
std::vector<Point> flattenedAndSimplified(std::vector<Point> before, RealPoint p1, RealPoint p2, RealPoint p3)
{
    tfigura figure;
    const std::size_t count = before.size();
    figure.points = std::move(before);
    const Point last = figure.points.back();
    FigureCurveOutput out(figure);
    flattenCubic({unitsToMm(last.x), unitsToMm(last.y)}, p1, p2, p3, out);
    EXPECT_LE(figure.points.size(), count + 100);
    simplifyPolyline(figure, 4.0);
    return figure.points;
}

TEST(EpsReader, FlattensCurvesAndSimplifiesTheWholePath)
{
    const double k = 127.0 / 360.0;
    const std::string setup = joinLines({"%!PS", "%%EndSetup"});
    const auto points = [](const DesignOutcome& outcome) {
        EXPECT_FALSE(outcome.error);
        return outcome.figures.size() == 1 ? outcome.figures[0].points : std::vector<Point>{};
    };

    // c: three control points; v: the first is the current point; y: the last two are equal.
    const std::vector<Point> c = flattenedAndSimplified({{0, 0}}, {0, 72 * k}, {72 * k, 72 * k}, {72 * k, 0});
    EXPECT_EQ(c.front(), (Point{0, 0}));
    EXPECT_EQ(c.back(), (Point{1016, 0}));
    EXPECT_GT(c.size(), 2u);
    EXPECT_LT(c.size(), 30u);
    EXPECT_EQ(describe(points(testing::readDesignText(setup + joinLines({"0 0 m", "0 72 72 72 72 0 c", "S"}),
                                                      kDesignEps))),
              describe(c));
    EXPECT_EQ(describe(points(testing::readDesignText(setup + joinLines({"0 0 m", "72 72 72 0 v", "S"}), kDesignEps))),
              describe(flattenedAndSimplified({{0, 0}}, {0, 0}, {72 * k, 72 * k}, {72 * k, 0})));
    EXPECT_EQ(describe(points(testing::readDesignText(setup + joinLines({"0 0 m", "0 72 72 0 y", "S"}), kDesignEps))),
              describe(flattenedAndSimplified({{0, 0}}, {0, 72 * k}, {72 * k, 0}, {72 * k, 0})));

    // Each curve simplifies everything drawn so far, the straight lines before it included.
    std::vector<Point> path{{0, 0}, {1, 100}, {0, 200}, {1016, 200}};
    path = flattenedAndSimplified(path, {113.3858 * k, 56.6929 * k}, {113.3858 * k, 113.3858 * k},
                                  {56.6929 * k, 113.3858 * k});
    path = flattenedAndSimplified(path, {0, 113.3858 * k}, {0, 0}, {28.3465 * k, 0});
    EXPECT_EQ(describe(points(testing::readDesignText(
                  setup + joinLines({"0 0 m", "0.0709 7.0866 l", "0 14.1732 l", "72 14.1732 L",
                                     "113.3858 56.6929 113.3858 113.3858 56.6929 113.3858 C",
                                     "0 113.3858 0 0 28.3465 0 c", "s"}),
                  kDesignEps))),
              describe(path));
}

// A curve with no point before it starts at its own first control point instead of at the far
// corner of the coordinate range.
TEST(EpsReader, ACurveWithoutAStartPointStartsAtItsFirstControlPoint)
{
    const DesignOutcome outcome =
        readEps({"%!PS", "%%EndSetup", "0 0 0 72 72 72 c", "S", "36 36 72 0 v", "S", "36 0 72 0 y", "S"});
    ASSERT_FALSE(outcome.error);
    ASSERT_EQ(outcome.figures.size(), 3u);
    EXPECT_EQ(outcome.figures[0].points.front(), (Point{0, 0}));
    EXPECT_EQ(outcome.figures[0].points.back(), (Point{1016, 1016}));
    EXPECT_EQ(outcome.figures[1].points.front(), (Point{508, 508}));
    EXPECT_EQ(outcome.figures[1].points.back(), (Point{1016, 0}));
    EXPECT_EQ(describe(outcome.figures[2].points), "(508,0)(1016,0)");
}

TEST(EpsReader, RefusesCoordinatesBeyondThePlotterRange)
{
    const struct {
        std::initializer_list<std::string> lines;
        std::uint64_t line;
        std::string token;
    } cases[] = {
        {{"%!PS", "%%EndSetup", "0 0 m", "1e12 0 l"}, 4, ""},
        {{"%!PS", "%%EndSetup", "inf 0 m"}, 3, "inf"},
        {{"%!PS", "%%EndSetup", "0 0 m", "1 1e999 l"}, 4, "1e999"},
        {{"%!PS", "%%EndSetup", "0 0 m", "0 0 1e12 1e12 72 72 c"}, 4, ""},
    };
    for (const auto& c : cases) {
        const DesignOutcome outcome = readEps(c.lines);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->kind, DesignError::Kind::OutOfRange);
        EXPECT_EQ(outcome.error->line, c.line);
        EXPECT_EQ(outcome.error->token, c.token);
    }
}

TEST(EpsReader, OpensOnlyPostScript)
{
    testing::TempDir dir;
    const struct {
        std::string content;
        int result;
    } cases[] = {
        {"%!PS-Adobe-3.0\n", 0},
        {"%!PS", 0},
        {"%!PDF-1.4\n", kOpenWrongKind},
        {"\xc5\xd0\xd3\xc6%!PS", kOpenWrongKind},
        {" %!PS\n", kOpenWrongKind},
        {"", kOpenWrongKind},
    };
    for (const auto& c : cases) {
        Thpgl reader;
        EXPECT_EQ(reader.OpenDesign(dir.write("a.eps", c.content), kDesignEps), c.result) << c.content;
        if (c.result != 0) {
            EXPECT_TRUE(reader.endOfFile());
        }
    }
    Thpgl reader;
    EXPECT_EQ(reader.OpenDesign(dir.str() + "missing.ai", kDesignEps), ENOENT);
}

// The bounded scan is the shared simplification, point for point, until its work runs out.
TEST(BoundedSimplify, SimplifiesAsTheSharedRoutineDoes)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> step(-12, 12);
    std::uniform_int_distribution<int> length(0, 300);
    for (int round = 0; round < 300; ++round) {
        tfigura figure;
        Point p{0, 0};
        const int n = length(random);
        for (int i = 0; i < n; ++i) {
            p = {p.x + step(random) + (round % 3 == 0 ? 8 : 0), p.y + step(random)};
            figure.points.push_back(p);
        }
        tfigura expected = figure;
        simplifyPolyline(expected, 4.0);
        std::int64_t work = 1'000'000;
        ASSERT_TRUE(simplifyPolylineWithin(figure, 4.0, work));
        EXPECT_EQ(describe(figure.points), describe(expected.points));
    }

    // Collinear points keep the window open: n points cost about n * n / 2 distances.
    tfigura line;
    for (int i = 0; i < 1000; ++i)
        line.points.push_back({i, 0});
    const tfigura before = line;
    std::int64_t work = 100'000;
    EXPECT_FALSE(simplifyPolylineWithin(line, 4.0, work));
    EXPECT_EQ(line.points, before.points);
    EXPECT_EQ(work, 100'000);
    work = 1'000'000;
    EXPECT_TRUE(simplifyPolylineWithin(line, 4.0, work));
    EXPECT_EQ(describe(line.points), "(0,0)(999,0)");
}

}  // namespace
}  // namespace kerfline
