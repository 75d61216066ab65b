#pragma once

#include "geometry/figure.h"

#include <cstdint>

namespace kerfline {

// simplifyPolyline (geometry/polyline_simplify.h) with a bound on its work: the same forward
// scan, point for point, that also counts the distances it computes. A reader that simplifies a
// growing path again after every curve would otherwise take time that grows with the square of
// the path. False, with the figure unchanged, when the scan would need more than `work`
// distances; otherwise `work` is reduced by those it needed.
bool simplifyPolylineWithin(tfigura& figure, double toleranceUnits, std::int64_t& work);

}  // namespace kerfline
