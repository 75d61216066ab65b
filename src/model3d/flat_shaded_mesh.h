#pragma once

#include "model3d/corner_numbers.h"
#include "model3d/triangle_model.h"

#include <cstdint>
#include <vector>

namespace kerfline::model3d {

// A model laid out for drawing with one normal per face, (b - a) x (c - a) not normalised, taken
// from each face's last corner as flat shading does. Faces that meet share their other corners,
// so the renderer lights each such corner once instead of once per face; a face's last corner is
// its own, as it carries the face's normal.
struct FlatShadedMesh {
    std::vector<float> vertices;        // per vertex: normal x, y, z, then position x, y, z
    std::vector<std::uint32_t> indices; // three per face, in list order, corners in stored order

    static constexpr int kFloatsPerVertex = 6;
    std::size_t vertexCount() const { return vertices.size() / kFloatsPerVertex; }
};

FlatShadedMesh flatShadedMesh(const TriangleList& triangles);
FlatShadedMesh flatShadedMesh(const TriangleList& triangles, const CornerNumbers& number);

// What the view works out of a model beside its drawing: the mesh to upload and whether the
// faces turned away may be skipped (isClosedOutward), from one numbering of the corners.
struct DrawingLayout {
    FlatShadedMesh mesh;
    bool closedOutward = false;
};
DrawingLayout drawingLayout(const TriangleList& triangles);

}  // namespace kerfline::model3d
