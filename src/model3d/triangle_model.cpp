#include "model3d/triangle_model.h"

#include <algorithm>

namespace kerfline::model3d {

void ModelBounds::AddToBounds(const Triangle& triangle)
{
    for (int corner = 0; corner < 3; ++corner) {
        for (int axis = 0; axis < 3; ++axis) {
            const double value = triangle.v[static_cast<std::size_t>(corner * 3 + axis)];
            m_min[static_cast<std::size_t>(axis)] = std::min(m_min[static_cast<std::size_t>(axis)], value);
            m_max[static_cast<std::size_t>(axis)] = std::max(m_max[static_cast<std::size_t>(axis)], value);
        }
    }
    ++m_count;
}

TModel ModelBounds::model(std::string fileName) const
{
    TModel result;
    result.fileName = std::move(fileName);
    if (m_count == 0)
        return result;
    result.minX = m_min[0];
    result.minY = m_min[1];
    result.minZ = m_min[2];
    result.maxX = m_max[0];
    result.maxY = m_max[1];
    result.maxZ = m_max[2];
    return result;
}

TModel boundsOf(const TriangleList& triangles, std::string fileName)
{
    ModelBounds bounds;
    for (const Triangle& triangle : triangles)
        bounds.AddToBounds(triangle);
    return bounds.model(std::move(fileName));
}

}  // namespace kerfline::model3d
