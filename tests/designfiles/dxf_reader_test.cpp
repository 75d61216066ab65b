#include "design_reading.h"

#include "base/language.h"
#include "base/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace kerfline {
namespace {

using testing::DesignOutcome;
using testing::describe;
using testing::joinLines;
using testing::readDesignText;

// Group pairs as DXF files write them: the code right-aligned in three columns.
std::string groups(std::initializer_list<std::pair<int, std::string>> pairs, const std::string& end = "\r\n")
{
    std::string text;
    for (const auto& [code, value] : pairs) {
        std::string c = std::to_string(code);
        text += std::string(c.size() < 3 ? 3 - c.size() : 0, ' ') + c + end + value + end;
    }
    return text;
}

std::string inEntities(const std::string& body)
{
    return groups({{0, "SECTION"}, {2, "ENTITIES"}}) + body + groups({{0, "ENDSEC"}, {0, "EOF"}});
}

DesignOutcome readDxf(const std::string& text, double step = 2.0, double mmPerUnit = 1.0)
{
    CurveSettings settings;
    settings.dxfCurveStep = step;
    settings.mmPerDrawingUnit = mmPerUnit;
    return readDesignText(text, kDesignDxf, settings);
}

bool contains(const tfigura& figure, Point p)
{
    return std::find(figure.points.begin(), figure.points.end(), p) != figure.points.end();
}

struct Expected {
    int pen;
    int open;
    std::vector<Point> points;  // exact, when given
    std::size_t count = 0;      // otherwise the number of points, when not 0
    std::vector<Point> through{};
    std::vector<Point> near{};  // points the outline passes within a millimetre of
};

struct Case {
    const char* name;
    std::string text;
    std::vector<Expected> figures;
    double step = 2.0;
    double mmPerUnit = 1.0;
};

void check(const Case& c)
{
    SCOPED_TRACE(c.name);
    const DesignOutcome outcome = readDxf(c.text, c.step, c.mmPerUnit);
    ASSERT_EQ(outcome.openResult, 0);
    ASSERT_FALSE(outcome.error) << outcome.error->token;
    ASSERT_EQ(outcome.figures.size(), c.figures.size());
    for (std::size_t i = 0; i < c.figures.size(); ++i) {
        SCOPED_TRACE("figure " + std::to_string(i));
        const tfigura& figure = outcome.figures[i];
        const Expected& e = c.figures[i];
        EXPECT_EQ(figure.pen, e.pen);
        EXPECT_EQ(figure.open, e.open);
        if (!e.points.empty()) {
            EXPECT_EQ(describe(figure.points), describe(e.points));
        } else if (e.count != 0) {
            EXPECT_EQ(figure.points.size(), e.count);
        }
        for (const Point& p : e.through)
            EXPECT_TRUE(contains(figure, p)) << describe({p});
        for (const Point& p : e.near)
            EXPECT_TRUE(std::any_of(figure.points.begin(), figure.points.end(),
                                    [&](Point q) { return std::abs(q.x - p.x) <= 40 && std::abs(q.y - p.y) <= 40; }))
                << describe({p});
    }
}

const std::string kSquare = groups({{10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {10, "10"}, {20, "10"}, {10, "0"}, {20, "10"}});

TEST(DxfReader, ReadsEachEntityKind)
{
    const Case cases[] = {
        {"line with colour 1, then an entity without colour",
         inEntities(groups({{0, "LINE"}, {8, "0"}, {62, "1"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "10"}, {21, "5"},
                            {31, "0"}}) +
                    groups({{0, "LINE"}, {10, "1"}, {20, "1"}, {11, "1"}, {21, "1"}})),
         {{3, 1, {{0, 0}, {400, 200}}}, {3, 1, {{40, 40}}}}},
        {"circles of 10, 1 and 100 mm",
         inEntities(groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "10"}, {0, "CIRCLE"}, {10, "0"}, {20, "0"},
                            {40, "1"}, {0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "100"}})),
         {{1, 0, {}, 33, {{400, 0}, {0, 400}}}, {1, 0, {}, 17}, {1, 0, {}, 193, {{4000, 0}, {-4000, 0}}}}},
        {"100 mm circle at the finest step", inEntities(groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "100"}})),
         {{1, 0, {}, 193}}, 0.25},
        {"inch drawing", inEntities(groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"}})),
         {{1, 0, {}, 81, {{1016, 0}, {0, -1016}}}}, 2.0, 25.4},
        // Quarters of 32 segments through 0 degrees; a full ellipse starts on its major axis.
        {"ellipse", inEntities(groups({{0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "10"}, {21, "0"}, {40, "0.5"},
                                       {41, "0"}, {42, "6.283185307179586"}})),
         {{1, 0, {}, 33, {{400, 0}, {0, 200}, {-400, 0}}}}},
        // From parameter 5.5 counter-clockwise through 0 to 1.0: 17.8 mm, 16 segments. Run the
        // other way it would be 45 mm long.
        {"elliptical arc through parameter 0",
         inEntities(groups({{0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "0"}, {21, "10"}, {40, "0.5"}, {41, "5.5"},
                            {42, "1.0"}})),
         {{1, 1, {}, 17, {{141, 283}, {-168, 216}}, {{0, 400}}}}},
        // 350 to 10 degrees: 20 degrees counter-clockwise through 0, the minimum of 16 segments.
        {"arc through 0 degrees",
         inEntities(groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "350"}, {51, "10"}})),
         {{1, 1, {}, 17, {{394, -69}, {400, 0}, {394, 69}}}}},
        {"spline of two coincident pairs",
         inEntities(groups({{0, "SPLINE"}, {70, "8"}, {71, "3"}, {72, "8"}, {73, "4"}, {40, "0"}, {40, "0"},
                            {40, "0"}, {40, "0"}, {40, "1"}, {40, "1"}, {40, "1"}, {40, "1"}, {10, "0"}, {20, "0"},
                            {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {10, "10"}, {20, "0"}})),
         {{1, 1, {{0, 0}, {400, 0}}}}},
        {"cubic B-spline", inEntities(groups({{0, "SPLINE"}, {71, "3"}, {72, "9"}, {73, "5"}, {40, "0"}, {40, "0"},
                                               {40, "0"}, {40, "0"}, {40, "0.5"}, {40, "1"}, {40, "1"}, {40, "1"},
                                               {40, "1"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "10"}, {10, "20"},
                                               {20, "0"}, {10, "30"}, {20, "10"}, {10, "40"}, {20, "0"}})),
         {{1, 1, {}, 29, {{0, 0}, {1600, 0}}}}},
        // Drawing programs often write fit points only: the outline passes through each of them.
        {"spline by fit points",
         inEntities(groups({{0, "SPLINE"}, {71, "3"}, {72, "0"}, {73, "0"}, {74, "5"}, {11, "0"}, {21, "0"},
                            {11, "20"}, {21, "20"}, {11, "40"}, {21, "0"}, {11, "60"}, {21, "20"}, {11, "80"},
                            {21, "0"}})),
         {{1, 1, {}, 58, {{0, 0}, {3200, 0}}, {{800, 800}, {1600, 0}, {2400, 800}}}}},
        {"spline by two fit points", inEntities(groups({{0, "SPLINE"}, {71, "3"}, {72, "0"}, {73, "0"}, {11, "0"},
                                                        {21, "0"}, {11, "20"}, {21, "20"}})),
         {{1, 1, {{0, 0}, {800, 800}}}}},
        {"closed lightweight polyline, flags 1 and 129",
         inEntities(groups({{0, "LWPOLYLINE"}, {90, "4"}, {70, "1"}}) + kSquare +
                    groups({{0, "LWPOLYLINE"}, {90, "4"}, {70, "129"}}) + kSquare),
         {{1, 0, {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}}},
          {1, 0, {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}}}}},
        // The arc's points stand for its start vertex; the end vertex follows it.
        {"positive bulge turns counter-clockwise",
         inEntities(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "10"}, {20, "0"}})),
         {{1, 1, {}, 18, {{0, 0}, {200, -200}, {400, 0}}}}},
        {"negative bulge", inEntities(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {42, "-1"},
                                               {10, "10"}, {20, "0"}})),
         {{1, 1, {}, 18, {{200, 200}}}}},
        {"zero bulge stays straight",
         inEntities(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {42, "0"}, {10, "10"}, {20, "0"}})),
         {{1, 1, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0},
                  {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {400, 0}}}}},
        {"equal consecutive vertices", inEntities(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"},
                                                           {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}})),
         {{1, 1, {{0, 0}, {400, 0}}}}},
        // Two half circles closing on the first vertex: the bulge of the last vertex bends the
        // closing segment.
        {"closed polyline with a bulge on its last vertex",
         inEntities(groups({{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "10"}, {20, "0"},
                            {42, "1"}})),
         {{1, 0, {}, 34, {{0, 0}, {200, -200}, {400, 0}, {200, 200}}}}},
        {"open polyline keeps a last vertex that has a bulge",
         inEntities(groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {42, "1"}})),
         {{1, 1, {{0, 0}, {400, 0}}}}},
        {"lightweight polyline without flags",
         inEntities(groups({{0, "LWPOLYLINE"}, {62, "3"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}}) +
                    groups({{0, "LINE"}, {10, "1"}, {20, "1"}, {11, "2"}, {21, "2"}})),
         {{4, 1, {{0, 0}, {400, 0}}}, {4, 1, {{40, 40}, {80, 80}}}}},
        // Spline-fit flags on a lightweight polyline, which has no VERTEX entities to wait for.
        {"lightweight polyline with spline-fit flags",
         inEntities(groups({{0, "LWPOLYLINE"}, {70, "5"}, {10, "0"}, {20, "0"}, {10, "10"}, {20, "0"}, {10, "10"},
                            {20, "10"}}) +
                    groups({{0, "LINE"}, {10, "1"}, {20, "1"}, {11, "2"}, {21, "2"}})),
         {{1, 0, {{0, 0}, {400, 0}, {400, 400}, {0, 0}}}, {1, 1, {{40, 40}, {80, 80}}}}},
        {"POLYLINE with VERTEX and SEQEND, closed, with a bulge",
         inEntities(groups({{0, "POLYLINE"}, {8, "0"}, {66, "1"}, {10, "0"}, {20, "0"}, {70, "1"}, {0, "VERTEX"},
                            {10, "0"}, {20, "0"}, {0, "VERTEX"}, {10, "10"}, {20, "0"}, {42, "-1"}, {0, "VERTEX"},
                            {10, "10"}, {20, "10"}, {0, "SEQEND"}})),
         {{1, 0, {}, 20, {{0, 0}, {400, 0}, {200, 200}, {400, 400}}}}},
        {"spline-fit POLYLINE takes only the vertices the fitting made",
         inEntities(groups({{0, "POLYLINE"}, {66, "1"}, {70, "4"}, {0, "VERTEX"}, {10, "5"}, {20, "5"}, {70, "16"},
                            {0, "VERTEX"}, {10, "0"}, {20, "0"}, {70, "8"}, {0, "VERTEX"}, {10, "10"}, {20, "0"},
                            {70, "8"}, {0, "VERTEX"}, {10, "20"}, {20, "5"}, {70, "8"}, {0, "VERTEX"}, {10, "30"},
                            {20, "0"}, {70, "8"}, {0, "SEQEND"}})),
         {{1, 1, {}, 18, {{0, 0}, {1200, 0}}, {{400, 0}, {800, 200}}}}},
        {"3-D POLYLINE of three vertices",
         inEntities(groups({{0, "POLYLINE"}, {66, "1"}, {70, "8"}, {0, "VERTEX"}, {10, "0"}, {20, "0"}, {30, "7"},
                            {70, "32"}, {0, "VERTEX"}, {10, "10"}, {20, "0"}, {70, "32"}, {0, "VERTEX"}, {10, "10"},
                            {20, "10"}, {70, "32"}, {0, "SEQEND"}})),
         {{1, 1, {{0, 0}, {400, 0}, {400, 400}}}}},
        {"decimal comma", inEntities(groups({{0, "LINE"}, {10, "12,5"}, {20, "0"}, {11, "-0,025"}, {21, "1.0E1"}})),
         {{1, 1, {{500, 0}, {-1, 400}}}}},
        {"entities of a block are not read",
         groups({{0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"}, {2, "peg"}, {0, "CIRCLE"}, {10, "0"}, {20, "0"},
                 {40, "5"}, {0, "ENDBLK"}, {0, "ENDSEC"}}) +
             inEntities(groups({{0, "INSERT"}, {2, "peg"}, {10, "0"}, {20, "0"}})),
         {}},
        // A name read whole on its own line starts an entity, wherever it stands.
        {"a layer named ARC", inEntities(groups({{0, "TEXT"}, {8, "ARC"}, {10, "1"}, {20, "2"}, {40, "3"},
                                                 {50, "0"}, {51, "90"}, {1, "Arc"}})),
         {{1, 1, {}, 17, {{160, 80}, {40, 200}}}}},
        {"LWPOLYLINE followed by group 2 names no entity",
         inEntities(groups({{0, "CLASS"}, {1, "LWPOLYLINE"}, {2, "AcDbPolyline"}, {0, "LINE"}, {10, "0"}, {20, "0"},
                            {11, "1"}, {21, "0"}})),
         {{1, 1, {{0, 0}, {40, 0}}}}},
        {"nothing after OBJECTS is read",
         inEntities(groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})) +
             groups({{0, "SECTION"}, {2, "OBJECTS"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "2"}, {21, "0"}}),
         {{1, 1, {{0, 0}, {40, 0}}}}},
        {"entity names are case-sensitive", inEntities(groups({{0, "line"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}})),
         {}},
        {"no ENTITIES section", groups({{0, "SECTION"}, {2, "HEADER"}, {0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"},
                                        {21, "0"}, {0, "ENDSEC"}, {0, "EOF"}}),
         {}},
    };
    for (const Case& c : cases)
        check(c);
}

// In an LF-only file an empty line disappears and the lines after it change places between code
// and value until the next "ENTITIES" line.
TEST(DxfReader, EmptyLinesOfLfFilesShiftCodesAndValues)
{
    const std::string line = groups({{0, "LINE"}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}, "\n");
    const std::string emptyLayer = groups({{0, "LINE"}, {8, ""}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}}, "\n");
    const std::string start = groups({{0, "SECTION"}, {2, "ENTITIES"}}, "\n");
    const std::string end = groups({{0, "ENDSEC"}, {0, "EOF"}}, "\n");
    const Case cases[] = {
        {"CR LF", inEntities(groups({{0, "LINE"}, {8, ""}, {10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}})),
         {{1, 1, {{40, 80}, {120, 160}}}}},
        {"LF without empty lines", start + line + end, {{1, 1, {{40, 80}, {120, 160}}}}},
        {"LF with an empty layer name", start + emptyLayer + line + end, {}},
        {"ENTITIES puts the parity right again",
         groups({{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, ""}, {0, "ENDSEC"}}, "\n") + start + line + end,
         {{1, 1, {{40, 80}, {120, 160}}}}},
    };
    for (const Case& c : cases)
        check(c);
}

// A file that ends inside an entity: the searches stop at the end of the file, the incomplete
// entity is dropped and the figures before it stay.
TEST(DxfReader, AFileEndingInsideAnEntityKeepsTheFiguresBeforeIt)
{
    const std::string first = groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}});
    const std::string lastEntities[] = {
        groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}}),
        groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1"}}),
        groups({{0, "ELLIPSE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}, {40, "1"}, {41, "0"}, {42, "1"}}),
        groups({{0, "SPLINE"}, {71, "3"}, {72, "8"}, {73, "4"}, {40, "0"}, {10, "0"}, {20, "0"}, {0, "LINE"}}),
        groups({{0, "LWPOLYLINE"}, {70, "1"}, {10, "0"}, {20, "0"}, {42, "1"}, {10, "1"}, {20, "0"}, {0, "LINE"}}),
        groups({{0, "POLYLINE"}, {70, "4"}, {0, "VERTEX"}, {10, "0"}, {20, "0"}, {70, "8"}, {0, "SEQEND"}}),
        groups({{0, "POLYLINE"}, {70, "1"}, {0, "VERTEX"}, {10, "0"}, {20, "0"}, {42, "1"}, {0, "SEQEND"}}),
    };
    const std::string start = groups({{0, "SECTION"}, {2, "ENTITIES"}}) + first;
    for (const std::string& last : lastEntities) {
        // Every cut after the entity's name and before the line that completes it.
        const std::size_t name = last.find("\r\n", 5) + 2;
        for (std::size_t cut = name; cut + 12 < last.size(); cut += 3) {
            const std::string text = start + last.substr(0, cut);
            SCOPED_TRACE(text);
            const DesignOutcome outcome = readDxf(text);
            ASSERT_FALSE(outcome.error);
            ASSERT_EQ(outcome.figures.size(), 1u);
            EXPECT_EQ(describe(outcome.figures[0].points), "(0,0)(40,0)");
        }
    }
}

// The arc is complete once its end angle is read, even when the file ends right after it.
TEST(DxfReader, AnArcAtTheEndOfTheFileIsKept)
{
    const DesignOutcome outcome = readDxf(
        groups({{0, "SECTION"}, {2, "ENTITIES"}, {0, "ARC"}, {10, "0"}, {20, "0"}, {40, "10"}, {50, "0"}, {51, "90"}}));
    ASSERT_FALSE(outcome.error);
    ASSERT_EQ(outcome.figures.size(), 1u);
    EXPECT_EQ(outcome.figures[0].points.front(), (Point{400, 0}));
    EXPECT_EQ(outcome.figures[0].points.back(), (Point{0, 400}));
}

struct Refusal {
    const char* name;
    std::string body;
    DesignError::Kind kind;
    std::uint64_t line;  // of the whole file, counted from 1
    std::string token;
};

TEST(DxfReader, RefusesWhatItCannotDrawNamingTheLine)
{
    // The entities section starts on line 5 of the file.
    const Refusal refusals[] = {
        {"a coordinate that is no number", groups({{0, "LINE"}, {10, "abc"}}), DesignError::Kind::NotNumber, 8, "abc"},
        {"two decimal separators", groups({{0, "CIRCLE"}, {10, "1,5.2"}}), DesignError::Kind::NotNumber, 8, "1,5.2"},
        {"a colour that is no whole number", groups({{0, "LINE"}, {62, "1.5"}}), DesignError::Kind::NotInteger, 8,
         "1.5"},
        {"flags that are no number", groups({{0, "LWPOLYLINE"}, {70, "x"}}), DesignError::Kind::NotInteger, 8, "x"},
        {"a coordinate beyond 53 km", groups({{0, "LINE"}, {10, "0"}, {20, "6e7"}}), DesignError::Kind::OutOfRange, 10,
         "6e7"},
        {"a radius beyond 53 km", groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1e300"}}),
         DesignError::Kind::OutOfRange, 12, "1e300"},
        {"a number too large for a double", groups({{0, "ARC"}, {10, "0"}, {20, "0"}, {40, "1"}, {50, "1e999"}}),
         DesignError::Kind::OutOfRange, 14, "1e999"},
        {"not a number", groups({{0, "LWPOLYLINE"}, {70, "0"}, {10, "0"}, {20, "0"}, {42, "nan"}}),
         DesignError::Kind::OutOfRange, 14, "nan"},
        {"infinity", groups({{0, "LINE"}, {10, "inf"}}), DesignError::Kind::OutOfRange, 8, "inf"},
        // Within range at its centre, but reaching beyond it.
        {"a circle reaching beyond the range", groups({{0, "CIRCLE"}, {10, "53600000"}, {20, "0"}, {40, "100000"}}),
         DesignError::Kind::OutOfRange, 6, ""},
        {"a circle of a million points", groups({{0, "CIRCLE"}, {10, "0"}, {20, "0"}, {40, "1000000"}}),
         DesignError::Kind::TooManyPoints, 6, ""},
        {"a spline short of knots",
         groups({{0, "SPLINE"}, {71, "3"}, {72, "4"}, {73, "4"}, {40, "0"}, {40, "0"}, {40, "1"}, {40, "1"},
                 {10, "0"}, {20, "0"}, {10, "1"}, {20, "1"}, {10, "2"}, {20, "0"}, {10, "3"}, {20, "1"}}),
         DesignError::Kind::TooFewKnots, 6, ""},
        {"a spline of negative degree", groups({{0, "SPLINE"}, {71, "-2"}, {72, "1"}, {73, "1"}, {40, "0"},
                                                {10, "0"}, {20, "0"}}),
         DesignError::Kind::BadCurve, 6, ""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        const DesignOutcome outcome = readDxf(inEntities(r.body));
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->kind, r.kind);
        EXPECT_EQ(outcome.error->line, r.line);
        EXPECT_EQ(outcome.error->token, r.token);
        EXPECT_TRUE(outcome.figures.empty());
    }
}

// Figures read before the fault stay delivered; the message names file and line in the
// operator's language.
TEST(DxfReader, AFaultEndsTheLoadWithAMessageOfTheLanguageFile)
{
    testing::TempDir dir;
    const std::string path = dir.write(
        "drawing.dxf", inEntities(groups({{0, "LINE"}, {10, "0"}, {20, "0"}, {11, "1"}, {21, "0"}}) +
                                  groups({{0, "LINE"}, {10, "0"}, {20, "twelve"}})));
    const DesignOutcome outcome = testing::readDesignFile(path, kDesignDxf);
    ASSERT_EQ(outcome.figures.size(), 1u);
    ASSERT_TRUE(outcome.error);
    ScriptedHost host;
    tInterfejs language(host);
    ASSERT_TRUE(language.load(KERFLINE_LANG_DIR, LanguageChoice{}));
    EXPECT_EQ(outcome.error->message(language), path + ", line 20: \"twelve\" is not a number.");
}

TEST(DxfReader, OpensTheFileOrSaysWhyNot)
{
    testing::TempDir dir;
    Thpgl reader;
    EXPECT_EQ(reader.OpenDesign(dir.str() + "missing.dxf", kDesignDxf), ENOENT);
    EXPECT_TRUE(reader.endOfFile());
    EXPECT_EQ(reader.OpenDesign(dir.write("empty.dxf", ""), kDesignDxf), 0);
    EXPECT_TRUE(reader.endOfFile());
}

}  // namespace
}  // namespace kerfline
