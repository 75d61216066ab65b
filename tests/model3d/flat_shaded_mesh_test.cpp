#include "model3d/flat_shaded_mesh.h"
#include "model3d/model_fixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace kerfline::model3d {
namespace {

// Read back from the indices, every face has its stored corners in their order and, on its last
// corner, a vertex of its own with its face normal; corners where faces meet are stored once
// where the faces need no normal there.
TEST(FlatShadedMesh, DrawsEveryFaceAsStoredWithItsNormalOnItsOwnLastCorner)
{
    struct Case {
        const char* name;
        TriangleList triangles;
        std::size_t vertices;
    };
    const Case cases[] = {
        // Eight faces' last corners, the apex and the four rim corners met first elsewhere.
        {"fan of mixed turns", testing::fanTriangles(8), 8 + 5},
        // Twelve faces' last corners and the four met first elsewhere in a face.
        {"box", testing::boxTriangles({0, 0, 0}, {200, 150, 60}), 12 + 4},
        {"face without area", {Triangle{{1, 2, 3, 1, 2, 3, 1, 2, 3}}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FlatShadedMesh mesh = flatShadedMesh(c.triangles);
        ASSERT_EQ(mesh.indices.size(), c.triangles.size() * 3);
        EXPECT_EQ(mesh.vertexCount(), c.vertices);
        std::set<std::uint32_t> lastCorners;
        for (std::size_t t = 0; t < c.triangles.size(); ++t) {
            const auto& v = c.triangles[t].v;
            for (std::size_t k = 0; k < 3; ++k) {
                ASSERT_LT(mesh.indices[t * 3 + k], mesh.vertexCount());
                const float* vertex = &mesh.vertices[mesh.indices[t * 3 + k] * FlatShadedMesh::kFloatsPerVertex];
                for (std::size_t a = 0; a < 3; ++a)
                    EXPECT_EQ(vertex[3 + a], v[k * 3 + a]);
            }
            const float* last = &mesh.vertices[mesh.indices[t * 3 + 2] * FlatShadedMesh::kFloatsPerVertex];
            const float u[3] = {v[3] - v[0], v[4] - v[1], v[5] - v[2]};
            const float w[3] = {v[6] - v[0], v[7] - v[1], v[8] - v[2]};
            EXPECT_EQ(last[0], u[1] * w[2] - u[2] * w[1]);
            EXPECT_EQ(last[1], u[2] * w[0] - u[0] * w[2]);
            EXPECT_EQ(last[2], u[0] * w[1] - u[1] * w[0]);
            EXPECT_TRUE(lastCorners.insert(mesh.indices[t * 3 + 2]).second) << "face " << t;
        }
    }
    EXPECT_EQ(flatShadedMesh({}).vertexCount(), 0u);
}

}  // namespace
}  // namespace kerfline::model3d
