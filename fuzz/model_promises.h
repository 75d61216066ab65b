#pragma once

// What the two model readers' fuzz targets check of a model once read: finite corners inside
// finite bounds, a drawing mesh that indexes only its own vertices, and a coarse pass of the
// serial generator that stays inside its raster.
#include "fuzz_input.h"

#include "model3d/closed_surface.h"
#include "model3d/flat_shaded_mesh.h"
#include "model3d/raster.h"
#include "model3d/serial_passes.h"

#include <cmath>

namespace kerfline::fuzz {

inline void checkModel(model3d::TriangleList triangles, double angleDegrees)
{
    const model3d::TModel model = model3d::boundsOf(triangles, "fuzz");
    for (const model3d::Triangle& triangle : triangles) {
        for (std::size_t i = 0; i < 9; ++i) {
            const double value = triangle.v[i];
            check(std::isfinite(value));
            const double low = i % 3 == 0 ? model.minX : i % 3 == 1 ? model.minY : model.minZ;
            const double high = i % 3 == 0 ? model.maxX : i % 3 == 1 ? model.maxY : model.maxZ;
            check(low <= value && value <= high);
        }
    }

    const model3d::FlatShadedMesh mesh = model3d::flatShadedMesh(triangles);
    check(mesh.indices.size() == triangles.size() * 3);
    for (const std::uint32_t index : mesh.indices)
        check(index < mesh.vertexCount());
    model3d::isClosedOutward(triangles);

    // The generator passes only a model that fits the machine on to the raster; a coarse raster
    // keeps a pass quick.
    if (model3d::horizontalDiagonal(model) > 10'000.0 || model.sizeY() > 10'000.0)
        return;
    const model3d::RasterGeometry geometry = model3d::rasterGeometry(model, 4096);
    check(geometry.width >= 0 && geometry.height >= 0);
    check(static_cast<double>(geometry.width) * geometry.height <= 4096.0 * 4);
    model3d::LoadedModel loaded{std::move(triangles), model};
    const model3d::PassResult pass = model3d::computePass(loaded, angleDegrees, geometry, angleDegrees < 0);
    for (const model3d::TracedFigure& figure : pass.figures)
        check(!figure.points.empty());
}

}  // namespace kerfline::fuzz
