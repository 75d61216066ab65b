#include "model3d/closed_surface.h"
#include "model3d/model_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>

namespace kerfline::model3d {
namespace {

TriangleList box(std::array<float, 3> low, float size)
{
    return testing::boxTriangles(low, {size, size, size});
}

Triangle reversed(Triangle t)
{
    for (std::size_t a = 0; a < 3; ++a)
        std::swap(t.v[3 + a], t.v[6 + a]);
    return t;
}

TriangleList reversed(TriangleList triangles)
{
    for (Triangle& t : triangles)
        t = reversed(t);
    return triangles;
}

TriangleList joined(TriangleList a, const TriangleList& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A sphere as a model file holds it: poles and seam meet exactly; the faces at the poles have
// collapsed into edges.
TriangleList sphere(int rings, int steps)
{
    const auto point = [&](int ring, int step) {
        const double polar = std::numbers::pi * ring / rings;
        const double a = 2.0 * std::numbers::pi * (step % steps) / steps;
        const double r = ring == 0 || ring == rings ? 0.0 : 50 * std::sin(polar);
        return std::array<float, 3>{static_cast<float>(r * std::cos(a)), static_cast<float>(50 * std::cos(polar)),
                                    static_cast<float>(r * std::sin(a))};
    };
    TriangleList triangles;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < steps; ++s) {
            const auto a = point(r, s), b = point(r, s + 1), c = point(r + 1, s + 1), d = point(r + 1, s);
            triangles.push_back({{a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2]}});
            triangles.push_back({{a[0], a[1], a[2], c[0], c[1], c[2], d[0], d[1], d[2]}});
        }
    return triangles;
}

TEST(ClosedSurface, OnlyClosedOutwardTurnedPartsCount)
{
    const TriangleList cube = box({0, 0, 0}, 10);
    TriangleList flippedFace = cube;
    flippedFace[3] = reversed(flippedFace[3]);
    TriangleList sheet = {cube[0], reversed(cube[0])};
    struct Case {
        const char* name;
        TriangleList triangles;
        bool closedOutward;
    };
    const Case cases[] = {
        {"a box", cube, true},
        {"a sphere with collapsed faces at its poles", sphere(12, 24), true},
        {"two boxes, one inside the other's corner", joined(cube, box({-5, -5, -5}, 8)), true},
        {"a box turned inside out", reversed(cube), false},
        {"a box without one face", TriangleList(cube.begin(), cube.end() - 1), false},
        {"a box with one face turned the other way", flippedFace, false},
        {"a box and a mirrored box beside it", joined(cube, reversed(box({20, 0, 0}, 10))), false},
        {"a face with another on its back", sheet, false},
        {"no faces", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isClosedOutward(c.triangles), c.closedOutward);
    }
}

TEST(ClosedSurface, CornersMatchWhateverTheSignOfZero)
{
    // A file may write the same corner as 0 in one face and -0 in the next.
    TriangleList cube = box({0, 0, 0}, 10);
    for (float& v : cube[5].v)
        if (v == 0.0f)
            v = -0.0f;
    EXPECT_TRUE(isClosedOutward(cube));
}

}  // namespace
}  // namespace kerfline::model3d
