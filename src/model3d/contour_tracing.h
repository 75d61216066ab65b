#pragma once

#include "geometry/figure.h"
#include "model3d/raster.h"

#include <cstdint>
#include <vector>

namespace kerfline::model3d {

// One traced outline in plotter units (40 per millimetre).
struct TracedFigure {
    std::vector<Point> points;
    bool closed = false;
};

// Distances of the tracer, in plotter units, from the raster step: joining distance J and
// simplification tolerance T.
struct TracingTolerances {
    std::int32_t join = 48;
    std::int32_t simplify = 12;
};
TracingTolerances tracingTolerances(double step);

// Follows the boundary cells of the raster (marking them visited) into outlines, joins open
// pieces, drops scraps and simplifies the first outline.
std::vector<TracedFigure> traceContours(Raster& raster, double step);

// The figures of the pass window: the open outlines, and the closed ones when keepClosed. When
// that leaves nothing, the outer closed outline (the one through the lowest cell) is opened at
// its lowest cell and kept, since a silhouette that rests on the table in one cell has no open
// bottom edge. Empty only when the raster held no outline.
std::vector<TracedFigure> passFigures(const std::vector<TracedFigure>& traced, bool keepClosed);

// The anchor simplification of the first outline, tolerance in plotter units.
void simplifyFigure(std::vector<Point>& points, std::int32_t tolerance);

}  // namespace kerfline::model3d
