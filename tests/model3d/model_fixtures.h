#pragma once

#include "model3d/raw_reader.h"
#include "model3d/triangle_model.h"

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace kerfline::testing {

inline std::string modelFixture(const std::string& name)
{
    return std::string(KERFLINE_TEST_DATA_DIR) + "model3d/" + name;
}

inline std::string fileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Triangles written one per line as nine numbers, as the fixture script writes ezdxf's.
inline model3d::TriangleList trianglesOfText(const std::string& text)
{
    model3d::TriangleList triangles;
    model3d::ModelBounds bounds;
    model3d::ReadRawText(text, 1.0, triangles, bounds);
    return triangles;
}

// A box from `low` to `low + size`, its twelve faces counter-clockwise seen from outside.
inline model3d::TriangleList boxTriangles(std::array<float, 3> low, std::array<float, 3> size)
{
    const auto corner = [&](int i) {
        return std::array<float, 3>{low[0] + (i & 1 ? size[0] : 0.0f), low[1] + (i & 2 ? size[1] : 0.0f),
                                    low[2] + (i & 4 ? size[2] : 0.0f)};
    };
    const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    model3d::TriangleList triangles;
    for (const auto& f : faces)
        for (const std::array<int, 3> corners : {std::array<int, 3>{f[0], f[1], f[2]}, std::array<int, 3>{f[0], f[2], f[3]}}) {
            model3d::Triangle t;
            for (std::size_t k = 0; k < 3; ++k)
                for (std::size_t a = 0; a < 3; ++a)
                    t.v[k * 3 + a] = corner(corners[k])[a];
            triangles.push_back(t);
        }
    return triangles;
}

// An open fan of `faces` faces round an apex 20 mm above the middle, its rim 100 mm out and
// alternately 0 and 10 mm high, so that every face leans its own way; every other face turned
// clockwise seen from above, as models from files mix them.
inline model3d::TriangleList fanTriangles(int faces)
{
    const auto rim = [&](int i) {
        const double a = 2.0 * 3.14159265358979 * (i % faces) / faces;
        return std::array<float, 3>{static_cast<float>(100 * std::cos(a)), static_cast<float>(100 * std::sin(a)),
                                    i % 2 ? 10.0f : 0.0f};
    };
    model3d::TriangleList triangles;
    for (int i = 0; i < faces; ++i) {
        const std::array<float, 3> apex{0, 0, 20}, a = rim(i), b = rim(i + 1);
        triangles.push_back(i % 2 ? model3d::Triangle{{apex[0], apex[1], apex[2], b[0], b[1], b[2], a[0], a[1], a[2]}}
                                  : model3d::Triangle{{apex[0], apex[1], apex[2], a[0], a[1], a[2], b[0], b[1], b[2]}});
    }
    return triangles;
}

}  // namespace kerfline::testing
