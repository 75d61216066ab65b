#include "model3d/flat_shaded_mesh.h"

#include "model3d/closed_surface.h"

#include <limits>

namespace kerfline::model3d {

FlatShadedMesh flatShadedMesh(const TriangleList& triangles)
{
    if (triangles.empty())
        return {};
    return flatShadedMesh(triangles, CornerNumbers(triangles));
}

DrawingLayout drawingLayout(const TriangleList& triangles)
{
    if (triangles.empty())
        return {};
    const CornerNumbers number(triangles);
    return {flatShadedMesh(triangles, number), isClosedOutward(triangles, number)};
}

FlatShadedMesh flatShadedMesh(const TriangleList& triangles, const CornerNumbers& number)
{
    FlatShadedMesh mesh;
    if (triangles.empty())
        return mesh;
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    // The newest vertex at each position: the renderer finds a corner it lit a few faces ago
    // again only when its index is recent.
    std::vector<std::uint32_t> newest(number.count(), kNone);
    mesh.indices.reserve(triangles.size() * 3);
    mesh.vertices.reserve((triangles.size() + number.count() / 4) * FlatShadedMesh::kFloatsPerVertex);
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const auto& v = triangles[t].v;
        const float ux = v[3] - v[0], uy = v[4] - v[1], uz = v[5] - v[2];
        const float wx = v[6] - v[0], wy = v[7] - v[1], wz = v[8] - v[2];
        const float normal[3] = {uy * wz - uz * wy, uz * wx - ux * wz, ux * wy - uy * wx};
        for (int corner = 0; corner < 3; ++corner) {
            std::uint32_t& vertex = newest[number[t * 3 + corner]];
            if (vertex == kNone || corner == 2) {
                vertex = static_cast<std::uint32_t>(mesh.vertexCount());
                mesh.vertices.insert(mesh.vertices.end(), normal, normal + 3);
                mesh.vertices.insert(mesh.vertices.end(), v.begin() + corner * 3, v.begin() + corner * 3 + 3);
            }
            mesh.indices.push_back(vertex);
        }
    }
    return mesh;
}

}  // namespace kerfline::model3d
