#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace kerfline::model3d {

// One face of a model: x, y, z of the first, second and third corner, in millimetres. Single
// precision keeps a model of millions of faces in memory.
struct Triangle {
    std::array<float, 9> v{};
    friend bool operator==(const Triangle&, const Triangle&) = default;
};
using TriangleList = std::vector<Triangle>;

// A coordinate in a model's single precision; nothing for one that is not finite or lies beyond
// it, so that no reader stores an infinite corner.
inline std::optional<float> modelCoordinate(double value)
{
    if (!(std::fabs(value) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}

// The bounding box of a model and its file.
struct TModel {
    double minX = 0.0, minY = 0.0, minZ = 0.0;
    double maxX = 0.0, maxY = 0.0, maxZ = 0.0;
    std::string fileName;

    float sizeX() const { return static_cast<float>(maxX - minX); }
    float sizeY() const { return static_cast<float>(maxY - minY); }
    float sizeZ() const { return static_cast<float>(maxZ - minZ); }
    double centreX() const { return minX + sizeX() / 2.0; }
    double centreY() const { return minY + sizeY() / 2.0; }
    double centreZ() const { return minZ + sizeZ() / 2.0; }
};

// Collects the bounds while a model is read. Minima start at +infinity and maxima at -infinity;
// a model that received no triangle gets zero bounds, so nothing downstream meets an infinite
// size.
class ModelBounds {
public:
    void AddToBounds(const Triangle& triangle);
    bool empty() const { return m_count == 0; }
    TModel model(std::string fileName) const;

private:
    std::array<double, 3> m_min{kInfinity, kInfinity, kInfinity};
    std::array<double, 3> m_max{-kInfinity, -kInfinity, -kInfinity};
    std::size_t m_count = 0;
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();
};

// The bounds of a finished list.
TModel boundsOf(const TriangleList& triangles, std::string fileName);

}  // namespace kerfline::model3d
