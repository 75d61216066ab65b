#include "designfiles/thpgl.h"

#include "base/language.h"
#include "base/scripted_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <limits>
#include <unistd.h>

namespace kerfline {
namespace {

using testing::TempDir;

struct ExpectedFigure {
    int pen;
    int open;
    std::vector<Point> points;
};

struct Outcome {
    std::vector<tfigura> figures;  // the valid ones, in order
    std::optional<DesignError> error;
    double angle = 0.0;
};

// Reads a design the way the loader does: figures until the end-of-file flag, invalid ones
// dropped, stopping at an error.
Outcome readDesign(const std::string& path)
{
    Outcome outcome;
    Thpgl reader;
    EXPECT_EQ(reader.OpenDesign(path, kDesignHpgl), 0) << path;
    // A bound so that a reader that never reaches the end fails the test instead of hanging it.
    for (int calls = 0; !reader.endOfFile(); ++calls) {
        if (calls > 100000) {
            ADD_FAILURE() << "the reader does not reach the end of " << path;
            break;
        }
        tfigura figure;
        const ReadResult result = reader.ReadFigure(figure);
        if (!result) {
            outcome.error = result.error;
            EXPECT_TRUE(reader.endOfFile());
            break;
        }
        if (figure.valid)
            outcome.figures.push_back(std::move(figure));
    }
    outcome.angle = reader.angleValue();
    reader.CloseDesign();
    return outcome;
}

Outcome readText(const std::string& content)
{
    TempDir dir;
    return readDesign(dir.write("design.plt", content));
}

std::string describe(const std::vector<Point>& points)
{
    std::string text;
    for (const Point& p : points)
        text += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    return text;
}

struct FigureCase {
    const char* input;
    std::vector<ExpectedFigure> figures;
};

TEST(HpglReader, ReadsFiguresAsThePlotDrawsThem)
{
    const FigureCase cases[] = {
        {"IN;SP1;PU0,0;PD400,0,400,400,0,400,0,0;PU;",
         {{1, 0, {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}}}}},
        // The position before the first PD is the figure's first point.
        {"PU100,100;PD;PD200,100;", {{0, 1, {{100, 100}, {200, 100}}}}},
        {"PA0,0;PD10,10,10,10,20,20;PU;", {{0, 1, {{0, 0}, {10, 10}, {20, 20}}}}},
        // A pen change while drawing ends the figure; the next starts where the pen stood.
        {"SP1;PD0,0,10,0;SP2;PD10,10;PU;", {{1, 1, {{0, 0}, {10, 0}}}, {2, 1, {{10, 0}, {10, 10}}}}},
        {"pd10,10;", {{0, 1, {{0, 0}, {10, 10}}}}},
        {"INPD10,10;", {{0, 1, {{0, 0}, {10, 10}}}}},  // mnemonics are two letters at most
        // The first number may have a fraction and is rounded half to even.
        {"PD10.6,20;PD10.5,30;PD11.5,40;PD-0.5,50;", {{0, 1, {{0, 0}, {11, 20}, {10, 30}, {12, 40}, {0, 50}}}}},
        // A lone full stop in a further pair counts as 0.
        {"PD0,0,.,5,7,.;", {{0, 1, {{0, 0}, {0, 5}, {7, 0}}}}},
        {"PA100,100;PR10,10;PD5,5;", {{0, 1, {{10, 10}, {15, 15}}}}},
        // PU leaves relative mode, after adding its own move.
        {"PR;PD10,0,0,10;PU;PD5,5;PU;", {{0, 1, {{0, 0}, {10, 0}, {10, 10}}}, {0, 1, {{10, 10}, {5, 5}}}}},
        {"M5,5;C5,5;M0,0;", {{0, 1, {{5, 5}, {5, 5}}}}},
        {"C5,5;C9,9;M0,0;C1,1;", {{0, 1, {{0, 0}, {5, 5}, {9, 9}}}, {0, 1, {{0, 0}, {1, 1}}}}},
        {"SP3;SP;PD1,1;", {{0, 1, {{0, 0}, {1, 1}}}}},
        {"SP300;PD1,1;", {{300 % 256, 1, {{0, 0}, {1, 1}}}}},  // the figure keeps the low byte
        {"PU0,0;PD10,0;PU20,0;PA30,0;PD40,0;", {{0, 1, {{0, 0}, {10, 0}}}, {0, 1, {{30, 0}, {40, 0}}}}},
        {"IN;", {}},
        {"", {}},
        {" ;\r\n", {}},
        {"PU10,10;PU20,20;", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome outcome = readText(c.input);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), c.figures.size());
        for (std::size_t i = 0; i < c.figures.size(); ++i) {
            EXPECT_EQ(describe(outcome.figures[i].points), describe(c.figures[i].points)) << "figure " << i;
            EXPECT_EQ(outcome.figures[i].pen, c.figures[i].pen) << "figure " << i;
            EXPECT_EQ(outcome.figures[i].open, c.figures[i].open) << "figure " << i;
        }
    }
}

// The file's last instruction is acted on like every other, with its start point and in relative
// mode, whether or not a terminator follows it.
TEST(HpglReader, ActsOnTheLastInstructionOfTheFile)
{
    const FigureCase cases[] = {
        {"PA100,100;PR;PD10,0;", {{0, 1, {{100, 100}, {110, 100}}}}},
        {"PA100,100;PR;PD10,0", {{0, 1, {{100, 100}, {110, 100}}}}},
        {"PU5,5;PD10,10", {{0, 1, {{5, 5}, {10, 10}}}}},
        {"SP1;PD0,0,10,0;SP2;PD10,10;", {{1, 1, {{0, 0}, {10, 0}}}, {2, 1, {{10, 0}, {10, 10}}}}},
        {"PD0,0,10,0;PU;C20,20", {{0, 1, {{0, 0}, {10, 0}}}, {0, 1, {{10, 0}, {20, 20}}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome outcome = readText(c.input);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), c.figures.size());
        for (std::size_t i = 0; i < c.figures.size(); ++i) {
            EXPECT_EQ(describe(outcome.figures[i].points), describe(c.figures[i].points)) << "figure " << i;
            EXPECT_EQ(outcome.figures[i].pen, c.figures[i].pen) << "figure " << i;
        }
    }
    EXPECT_DOUBLE_EQ(readText("PW0.5,1;").angle, 0.5);
    EXPECT_DOUBLE_EQ(readText("PW0.5,1").angle, 0.5);
}

TEST(HpglReader, PenWidthsGiveFigureWidthsAndTheRotationAngle)
{
    Outcome outcome = readText("PW0.35,2;PW0.5,1;SP2;PD10,10;PU;SP7;PD20,20;PU;SP1;PD30,30;PU;");
    ASSERT_EQ(outcome.figures.size(), 3u);
    EXPECT_DOUBLE_EQ(outcome.figures[0].penWidth, 0.35);
    EXPECT_DOUBLE_EQ(outcome.figures[1].penWidth, 0.0);
    EXPECT_DOUBLE_EQ(outcome.figures[2].penWidth, 0.5);
    EXPECT_DOUBLE_EQ(outcome.angle, 0.5);

    // A width without a pen number, or for a pen outside 0 to 256, changes no pen.
    EXPECT_DOUBLE_EQ(readText("PW0.7,1;PW0.3;PW0.9,257;PW0.9,-1;").angle, 0.7);
    EXPECT_DOUBLE_EQ(readText("SP1;PW0.3;").angle, 0.0);
    EXPECT_DOUBLE_EQ(readText("IN;PU0,0;").angle, 0.0);
}

TEST(HpglReader, FigureEndSetsExtentsAndClosure)
{
    const Outcome outcome = readText("IN;SP1;PU0,0;PD400,0,400,400,0,400,0,0;PU;");
    ASSERT_EQ(outcome.figures.size(), 1u);
    const tfigura& figure = outcome.figures[0];
    EXPECT_EQ(figure.valid, 1);
    EXPECT_EQ(figure.open, 0);
    EXPECT_EQ(figure.minX, 0);
    EXPECT_EQ(figure.minY, 0);
    EXPECT_EQ(figure.maxX, 400);
    EXPECT_EQ(figure.maxY, 400);
    EXPECT_EQ(figure.width, 400);
    EXPECT_EQ(figure.height, 400);
}

TEST(HpglReader, CoordinatesStayWithinThirtyTwoBits)
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const FigureCase cases[] = {
        {"PD-2147483648,2147483647;", {{0, 1, {{0, 0}, {kMin, kMax}}}}},
        {"PD+007,-0,999999999,-1000000000,2147483647,-2147483648;",
         {{0, 1, {{0, 0}, {7, 0}, {999999999, -1000000000}, {kMax, kMin}}}}},
        {"PD99999999999.5,0;PD-99999999999,0;", {{0, 1, {{0, 0}, {kMax, 0}, {kMin, 0}}}}},
        {"PR;PD2000000000,-2000000000,2000000000,-2000000000;",
         {{0, 1, {{0, 0}, {2000000000, -2000000000}, {kMax, kMin}}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome outcome = readText(c.input);
        ASSERT_FALSE(outcome.error);
        ASSERT_EQ(outcome.figures.size(), c.figures.size());
        EXPECT_EQ(describe(outcome.figures[0].points), describe(c.figures[0].points));
    }
}

TEST(HpglReader, ANumberThatCannotBeConvertedEndsTheLoad)
{
    const std::string longNumber(300, '7');
    const struct {
        std::string input;
        DesignError::Kind kind;
        std::uint64_t offset;
        std::string token;
    } cases[] = {
        {"PD10,20.5;", DesignError::Kind::NotInteger, 5, "20.5"},
        {"PU;PD10,20,30.5,40;", DesignError::Kind::NotInteger, 11, "30.5"},
        {"PD10,20,30,40.;", DesignError::Kind::NotInteger, 11, "40."},
        {"PD1,2,3,4-5;", DesignError::Kind::NotInteger, 8, "4-5"},
        {"PD0,99999999999;", DesignError::Kind::NotInteger, 4, "99999999999"},
        {"PD0,0,2147483648,0;", DesignError::Kind::NotInteger, 6, "2147483648"},
        {"PD5,.;", DesignError::Kind::NotInteger, 4, "."},
        {"PD1,1,-,1;", DesignError::Kind::NotInteger, 6, "-"},
        {"PD+-..,5;", DesignError::Kind::NotNumber, 2, "+-.."},
        {"PD.,5;", DesignError::Kind::NotNumber, 2, "."},
        {"SP1.2.3;", DesignError::Kind::NotNumber, 2, "1.2.3"},
        {"PD+,5;", DesignError::Kind::NotNumber, 2, "+"},
        // Numbers in ignored instructions are converted all the same.
        {"LB12,3.4;", DesignError::Kind::NotInteger, 5, "3.4"},
        {"PD1," + longNumber, DesignError::Kind::NotInteger, 4, std::string(256, '7') + "..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const Outcome outcome = readText(c.input);
        ASSERT_TRUE(outcome.error);
        EXPECT_EQ(outcome.error->kind, c.kind);
        EXPECT_EQ(outcome.error->offset, c.offset);
        EXPECT_EQ(outcome.error->token, c.token);
        EXPECT_TRUE(outcome.figures.empty());
    }
}

TEST(HpglReader, FiguresBeforeAConversionErrorAreDeliveredAndTheErrorRepeats)
{
    TempDir dir;
    const std::string path = dir.write("broken.plt", "PD10,10;PU;PA0,0;PD20,20.5;PU;");
    Thpgl reader;
    ASSERT_EQ(reader.OpenDesign(path, kDesignHpgl), 0);
    tfigura first;
    ASSERT_TRUE(reader.ReadFigure(first));
    EXPECT_EQ(first.valid, 1);
    EXPECT_FALSE(reader.endOfFile());

    tfigura second;
    const ReadResult failed = reader.ReadFigure(second);
    ASSERT_FALSE(failed);
    EXPECT_EQ(second.valid, 0);
    EXPECT_TRUE(reader.endOfFile());
    EXPECT_EQ(failed.error->file, path);

    tfigura third;
    const ReadResult again = reader.ReadFigure(third);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.error->offset, failed.error->offset);
    EXPECT_EQ(third.valid, 0);
}

TEST(HpglReader, ConversionErrorsReadInTheOperatorsLanguage)
{
    ScriptedHost host;
    tInterfejs language(host);
    LanguageChoice english;
    ASSERT_TRUE(language.load(KERFLINE_LANG_DIR, english));

    DesignError error;
    error.file = "/d/star.plt";
    error.offset = 5;
    error.token = "20.5";
    EXPECT_EQ(error.message(language), "/d/star.plt: the number \"20.5\" at byte 5 must be a whole number.");
    error.kind = DesignError::Kind::NotNumber;
    error.token = "+-..";
    EXPECT_EQ(error.message(language), "/d/star.plt: \"+-..\" at byte 5 is not a number.");
    error.kind = DesignError::Kind::ReadFailed;
    EXPECT_EQ(error.message(language), "/d/star.plt: the file could not be read beyond byte 5.");
}

TEST(HpglReader, OpenFailuresReturnTheSystemCodeAndHoldNoFile)
{
    TempDir dir;
    Thpgl reader;
    EXPECT_EQ(reader.OpenDesign(dir.str() + "missing.plt", kDesignHpgl), ENOENT);
    EXPECT_TRUE(reader.endOfFile());
    EXPECT_EQ(reader.OpenDesign(dir.str(), kDesignHpgl), EISDIR);
    EXPECT_TRUE(reader.endOfFile());
    tfigura figure;
    EXPECT_TRUE(reader.ReadFigure(figure));
    EXPECT_EQ(figure.valid, 0);

    if (::geteuid() != 0) {  // root reads every file
        const std::string locked = dir.write("locked.plt", "PD1,1;");
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        EXPECT_EQ(reader.OpenDesign(locked, kDesignHpgl), EACCES);
    }
}

TEST(HpglReader, AnUnknownFileTypeReadsAsAnEmptyDesign)
{
    TempDir dir;
    const std::string path = dir.write("design.xyz", "PD10,10;PU;");
    Thpgl reader;
    EXPECT_EQ(reader.OpenDesign(path, kDesignUnknown), 0);
    EXPECT_TRUE(reader.endOfFile());
    tfigura figure;
    EXPECT_TRUE(reader.ReadFigure(figure));
    EXPECT_EQ(figure.valid, 0);
}

TEST(HpglReader, ReadsAcrossBufferBoundaries)
{
    // Enough pairs that tokens straddle the reader's buffer boundaries many times.
    std::string plot = "IN;SP1;PU0,0;PD";
    std::vector<Point> expected{{0, 0}};
    for (std::int32_t i = 1; i <= 40000; ++i) {
        const Point p{i * 7, -i * 13};
        plot += std::to_string(p.x) + "," + std::to_string(p.y) + (i < 40000 ? "," : ";PU;");
        expected.push_back(p);
    }
    ASSERT_GT(plot.size(), 4u * 65536u);
    const Outcome outcome = readText(plot);
    ASSERT_FALSE(outcome.error);
    ASSERT_EQ(outcome.figures.size(), 1u);
    EXPECT_TRUE(outcome.figures[0].points == expected);
}

}  // namespace
}  // namespace kerfline
