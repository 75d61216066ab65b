#pragma once

#include "model3d/raw_reader.h"
#include "model3d/triangle_model.h"

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

}  // namespace kerfline::testing
