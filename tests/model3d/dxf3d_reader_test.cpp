#include "model3d/dxf3d_reader.h"
#include "model3d/model_reading.h"
#include "model_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace kerfline::model3d {
namespace {

using testing::modelFixture;

// Group/value lines of a drawing from "code value" pairs separated by '|'.
std::string dxf(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::string text;
    for (const auto& [code, value] : pairs)
        text += code + "\r\n" + value + "\r\n";
    return text;
}

std::string entities(const std::string& body, const std::string& blocks = "")
{
    std::string text = dxf({{"0", "SECTION"}, {"2", "HEADER"}, {"9", "$ACADVER"}, {"1", "AC1015"}, {"0", "ENDSEC"}});
    if (!blocks.empty())
        text += dxf({{"0", "SECTION"}, {"2", "BLOCKS"}}) + blocks + dxf({{"0", "ENDSEC"}});
    return text + dxf({{"0", "SECTION"}, {"2", "ENTITIES"}}) + body + dxf({{"0", "ENDSEC"}, {"0", "EOF"}});
}

TriangleList convert(const std::string& text, ReadResult* result = nullptr)
{
    TDxf2RawConverter converter(TDxfReader::fromText(text), "test.dxf");
    const ReadResult read = converter.Convert();
    if (result != nullptr)
        *result = read;
    return converter.triangles();
}

std::string face(const std::vector<std::array<double, 3>>& corners)
{
    std::vector<std::pair<std::string, std::string>> pairs{{"0", "3DFACE"}, {"8", "0"}};
    for (std::size_t i = 0; i < corners.size(); ++i)
        for (std::size_t axis = 0; axis < 3; ++axis)
            pairs.emplace_back(std::to_string((axis + 1) * 10 + i), std::to_string(corners[i][axis]));
    return dxf(pairs);
}

void expectTriangle(const Triangle& t, const std::array<float, 9>& expected, float tolerance = 1e-5f)
{
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(t.v[i], expected[i], tolerance) << "coordinate " << i;
}

TEST(Dxf3dReader, FacesYieldOneOrTwoTriangles)
{
    struct Case {
        const char* name;
        std::vector<std::array<double, 3>> corners;
        std::size_t triangles;
    };
    const Case cases[] = {
        {"fourth equals third", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0}}, 1},
        {"four distinct corners", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, 2},
        {"no fourth corner", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TriangleList triangles = convert(entities(face(c.corners)));
        ASSERT_EQ(triangles.size(), c.triangles);
        if (c.triangles == 2)
            expectTriangle(triangles[1], {0, 0, 0, 1, 1, 0, 0, 1, 0});
    }
}

TEST(Dxf3dReader, PolyfaceFaceDropsTheInvisibleEdgeSign)
{
    const std::string mesh = dxf({{"0", "POLYLINE"}, {"66", "1"}, {"70", "64"},
                                  {"0", "VERTEX"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"70", "192"},
                                  {"0", "VERTEX"}, {"10", "5"}, {"20", "0"}, {"30", "1"}, {"70", "192"},
                                  {"0", "VERTEX"}, {"10", "5"}, {"20", "5"}, {"30", "2"}, {"70", "192"},
                                  {"0", "VERTEX"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"70", "128"},
                                  {"71", "1"}, {"72", "-2"}, {"73", "3"},
                                  {"0", "VERTEX"}, {"70", "128"}, {"71", "1"}, {"72", "9"}, {"73", "3"},
                                  {"0", "SEQEND"}});
    const TriangleList triangles = convert(entities(mesh + face({{0, 0, 9}, {1, 0, 9}, {0, 1, 9}})));
    // The face naming vertex 9 of three is passed over; the face after the mesh is read.
    ASSERT_EQ(triangles.size(), 2u);
    expectTriangle(triangles[0], {0, 0, 0, 5, 0, 1, 5, 5, 2});
}

TEST(Dxf3dReader, InsertRotatesBeforeScalingAndFindsTheBlockInAnyCase)
{
    const std::string block = dxf({{"0", "BLOCK"}, {"2", "Part"}, {"10", "0"}, {"20", "0"}, {"30", "0"}}) +
                              face({{1, 0, 0}, {1, 0, 0}, {1, 0, 0}}) + dxf({{"0", "ENDBLK"}});
    const std::string insert = dxf({{"0", "INSERT"}, {"2", "PART"}, {"10", "10"}, {"20", "0"}, {"30", "0"},
                                    {"41", "2"}, {"42", "2"}, {"43", "2"}, {"50", "90"}});
    const TriangleList triangles = convert(entities(insert, block));
    ASSERT_EQ(triangles.size(), 1u);
    expectTriangle(triangles[0], {10, 2, 0, 10, 2, 0, 10, 2, 0});
}

TEST(Dxf3dReader, ArbitraryAxisAlgorithm)
{
    struct Case {
        const char* name;
        Vec3 extrusion;
        Vec3 point;
        Vec3 world;
    };
    const Case cases[] = {
        {"extrusion down", {0, 0, -1}, {1, 2, 3}, {-1, 2, -3}},
        {"default", {0, 0, 1}, {1, 2, 3}, {1, 2, 3}},
        // A zero direction would divide by its length 0; it is taken as the default.
        {"zero direction", {0, 0, 0}, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TConvOCS2WCS converter;
        converter.SetExtrusion(c.extrusion);
        const Vec3 world = converter.ToWorld(c.point);
        EXPECT_FLOAT_EQ(world.x, c.world.x);
        EXPECT_FLOAT_EQ(world.y, c.world.y);
        EXPECT_FLOAT_EQ(world.z, c.world.z);
    }
}

TEST(Dxf3dReader, ZeroExtrusionOfAnInsertKeepsItsFaces)
{
    const std::string block = dxf({{"0", "BLOCK"}, {"2", "B"}}) + face({{1, 2, 3}, {2, 2, 3}, {1, 3, 3}}) +
                              dxf({{"0", "ENDBLK"}});
    const std::string insert =
        dxf({{"0", "INSERT"}, {"2", "B"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"210", "0"}, {"220", "0"}, {"230", "0"}});
    const TriangleList triangles = convert(entities(insert, block));
    ASSERT_EQ(triangles.size(), 1u);
    expectTriangle(triangles[0], {1, 2, 3, 2, 2, 3, 1, 3, 3});
}

TEST(Dxf3dReader, ValuesThatAreNoFiniteNumbersAreRefusedWithFileAndLine)
{
    for (const char* value : {"nan", "inf", "1e999", "-INF", "1.5x", ""}) {
        SCOPED_TRACE(value);
        const std::string text = entities(face({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) +
                                          dxf({{"0", "3DFACE"}, {"10", "0"}, {"20", value}, {"30", "0"}}));
        ReadResult result;
        const TriangleList triangles = convert(text, &result);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error->kind, DesignError::Kind::NotNumber);
        EXPECT_EQ(result.error->file, "test.dxf");
        // Header 10 lines, section start 4, first face 22 lines, "0 3DFACE" and "10 0": the value
        // of group 20 stands on line 42.
        EXPECT_EQ(result.error->line, 42u);
        EXPECT_EQ(triangles.size(), 1u);
    }
}

TEST(Dxf3dReader, FacesBeyondSinglePrecisionOnceScaledAreRefusedAtTheirEntity)
{
    // Finite numbers in the file, but the corner they make lies beyond a model's range: written
    // so, scaled by an insert, or by the drawing unit.
    const std::string part = dxf({{"0", "BLOCK"}, {"2", "PART"}, {"10", "0"}, {"20", "0"}, {"30", "0"}}) +
                             face({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}) + dxf({{"0", "ENDBLK"}});
    const std::string hugeScale =
        dxf({{"0", "INSERT"}, {"2", "PART"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"41", "1e300"}});
    struct Case {
        const char* name;
        std::string text;
        double unitFactor;
        std::size_t line;  // of the drawing's entity that made the corner
    };
    const std::string first = face({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    const std::vector<Case> cases{
        {"written", entities(first + face({{1e300, 0, 0}, {1, 0, 0}, {0, 1, 0}})), 1.0, 37},
        {"by an insert", entities(first + hugeScale, part), 1.0, 77},
        {"by the unit", entities(first + face({{3e38, 0, 0}, {1, 0, 0}, {0, 1, 0}})), 25.4, 37},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = ::testing::TempDir() + "beyond.dxf";
        std::ofstream(path, std::ios::binary) << c.text;
        const ModelReadResult result = ReadModel(path, c.unitFactor);
        ASSERT_TRUE(result.error.has_value());
        EXPECT_EQ(result.error->kind, DesignError::Kind::OutOfRange);
        EXPECT_EQ(result.error->line, c.line);
        EXPECT_TRUE(result.triangles.empty());
        EXPECT_EQ(result.model.maxX, 0.0);
    }
}

TEST(Dxf3dReader, ADrawingWithoutFacesOrMeshesYieldsNothing)
{
    EXPECT_TRUE(convert(entities(dxf({{"0", "3DSOLID"}, {"1", "abc"}}))).empty());
    // An unreadable file is an empty model, and its bounds are zero, not infinite.
    const ModelReadResult missing = ReadModel("/nonexistent/model.dxf", 1.0);
    EXPECT_TRUE(missing.triangles.empty());
    EXPECT_EQ(missing.model.sizeX(), 0.0f);
    EXPECT_EQ(missing.model.maxZ, 0.0);
}

TEST(Dxf3dReader, ABlockInsertingItselfEndsAndTheFacesAreCapped)
{
    // Loop inserts itself twice: below ten levels deep it makes 2^10 - 1 copies of its face
    // and the ones beyond are passed over.
    TDxf2RawConverter converter(modelFixture("self_insert.dxf"));
    ASSERT_TRUE(converter.Convert());
    EXPECT_EQ(converter.triangles().size(), 1023u);
    EXPECT_FALSE(converter.truncated());

    TDxf2RawConverter capped(modelFixture("self_insert.dxf"));
    capped.setTriangleLimit(100);
    ASSERT_TRUE(capped.Convert());
    EXPECT_EQ(capped.triangles().size(), 100u);
    EXPECT_TRUE(capped.truncated());
}

// The reader's triangles equal ezdxf's decomposition of the same drawings (its inserts and OCS
// maths) within the single precision of the model.
TEST(Dxf3dReader, TrianglesEqualThoseOfEzdxf)
{
    struct Case {
        const char* drawing;
        const char* reference;
    };
    const Case cases[] = {
        {"faces_and_inserts.dxf", "faces_and_inserts.ezdxf.txt"},
        {"revolution.dxf", "revolution.raw"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drawing);
        const ModelReadResult read = ReadModel(modelFixture(c.drawing), 1.0);
        ASSERT_FALSE(read.error);
        const TriangleList expected = testing::trianglesOfText(testing::fileText(modelFixture(c.reference)));
        ASSERT_EQ(read.triangles.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(i);
            expectTriangle(read.triangles[i], expected[i].v, 1e-3f);
        }
    }
}

}  // namespace
}  // namespace kerfline::model3d
