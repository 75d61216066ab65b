#include "config/parameters.h"
#include "model3d/model_info.h"
#include "model3d/model_reading.h"
#include "model3d/raw_reader.h"
#include "model_fixtures.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kerfline::model3d {
namespace {

TEST(RawReader, LinesOfExactlyNineNumbersSeparatedBySingleSpaces)
{
    struct Case {
        const char* line;
        bool accepted;
    };
    const Case cases[] = {
        {"0 0 0 10 0 0 0 10 0", true},
        {"-1.5 +2 3e1 4E-1 .5 6. 7 8 9", true},
        {"1 2 3 4 5 6 7 8", false},              // eight numbers
        {"1 2 3 4 5 6 7 8 9 10", false},         // ten numbers
        {"1 2 3 4\t5 6 7 8 9", false},           // a tab
        {"1 2  3 4 5 6 7 8 9", false},           // two spaces
        {"1 2 3 4 5 6 7 8 9 ", false},           // a trailing space
        {"Object01 1 2 3 4 5 6 7 8 9", false},   // an object header
        {"", false},
        {"   ", false},
        {"1 2 3 4 5 6 7 8 nan", false},          // not numbers: skipped like any malformed line
        {"1 2 3 4 5 6 7 8 inf", false},
        {"1 2 3 4 5 6 7 8 1e999", false},
        {"1 2 3 4 5 6 7 8 1e", false},
        {"1,5 2 3 4 5 6 7 8 9", false},          // the locale plays no part
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parseRawLine(c.line, 1.0).has_value(), c.accepted);
    }
}

TEST(RawReader, InchesBecomeMillimetresAndMalformedLinesAreSkipped)
{
    testing::TempDir dir;
    const std::string path = dir.write("part.RAW", "Object1\r\n0 0 0 10 0 0 0 10 0\r\nbad line\r\n1 1 1 2 2 2 3 3 3\r\n");
    const ModelReadResult read = ReadModel(path, 25.4);
    ASSERT_EQ(read.triangles.size(), 2u);
    const std::array<float, 9> first{0, 0, 0, 254, 0, 0, 0, 254, 0};
    EXPECT_EQ(read.triangles[0].v, first);
    EXPECT_DOUBLE_EQ(read.model.maxX, 254.0);
    EXPECT_DOUBLE_EQ(read.model.minZ, 0.0);
    EXPECT_DOUBLE_EQ(read.model.maxZ, 3 * 25.4f);
    EXPECT_EQ(read.model.fileName, path);
}

TEST(RawReader, AnyOtherExtensionOrAnEmptyFileGivesAnEmptyModelWithZeroBounds)
{
    testing::TempDir dir;
    for (const char* name : {"model.stl", "empty.raw"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.write(name, std::string(name) == "empty.raw" ? "Object\n" : "0 0 0 1 0 0 0 1 0\n");
        const ModelReadResult read = ReadModel(path, 1.0);
        EXPECT_TRUE(read.triangles.empty());
        EXPECT_EQ(read.model.sizeX(), 0.0f);
        EXPECT_EQ(read.model.sizeY(), 0.0f);
        EXPECT_EQ(read.model.centreZ(), 0.0);
    }
}

}  // namespace
}  // namespace kerfline::model3d

namespace kerfline::model3d {
namespace {

TEST(ModelInfo, FileSizeAndLengthsAsShown)
{
    const struct {
        std::uintmax_t bytes;
        const char* text;
    } sizes[] = {{512, "512b"}, {1023, "1023b"}, {1536, "2KB"}, {2560, "2KB"}, {1048575, "1024KB"}, {2621440, "2MB"}};
    for (const auto& c : sizes)
        EXPECT_EQ(fileSizeText(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(modelLengthText(254.0, UnitInch), "10.00 ");
    EXPECT_EQ(modelLengthText(304.8, UnitFoot), "1.000 ");
    EXPECT_EQ(modelLengthText(12.25, UnitMillimetre), "12.2 ");
}

}  // namespace
}  // namespace kerfline::model3d
