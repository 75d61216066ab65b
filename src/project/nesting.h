#pragma once

#include "geometry/figure.h"

#include <optional>

namespace kerfline {

// Where a ray going straight up from p meets the edge a-b: +1 when the edge passes above p, -1
// below it, 0 through p; none when the edge is vertical, a point, or does not span p.x (half
// open after ordering its ends by x, so a ray counts a shared vertex once). Exact.
std::optional<int> edgeSideAbove(Point p, Point a, Point b);

// Whether figure i lies inside figure j by extents and the vertical-ray test. `ambiguous` is
// told about every test point whose two counts have different parity.
bool liesInside(const tfigura& i, const tfigura& j, bool& sawAmbiguity);

}  // namespace kerfline
