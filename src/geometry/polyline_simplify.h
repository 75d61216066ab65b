#pragma once

#include "geometry/figure.h"

namespace kerfline {

// Removes points that lie within tolerance (plotter units) of the straight line from the last
// kept point onwards, in one forward scan. The first and last points always stay; a figure of
// fewer than three points is left alone. Only the point list changes.
void simplifyPolyline(tfigura& figure, double toleranceUnits);

}  // namespace kerfline
