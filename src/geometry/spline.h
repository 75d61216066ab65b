#pragma once

#include "geometry/curve_flattening.h"

#include <span>

namespace kerfline {

// A DXF spline to points on the tested output. knotCount and controlCount are the counts the
// file declares (they choose between Bezier pieces and a B-spline); knots and controls are what
// was actually read, and only those are ever indexed. Weights do not enter the curve.
CurveStatus flattenSpline(int degree, int knotCount, int controlCount, std::span<const double> knots,
                          std::span<const RealPoint> controls, const CurveSettings& settings,
                          CurveOutput& out);

}  // namespace kerfline
