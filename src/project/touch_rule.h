#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <optional>

namespace kerfline {

struct TouchPair {
    std::int32_t vertexA = 0;
    std::int32_t vertexB = 0;
};

// The first pair of vertices, a's from the last to the first and for each b's from the last to
// the first, whose coordinate differences are both at most the tolerance.
std::optional<TouchPair> touchPair(const tfigura& a, const tfigura& b, std::int32_t tolerance);

// Entry lines and connectors take the exact position of the vertex they touch, so the wire
// passes from one figure to the next without a step.
void snapTouch(tfigura& a, tfigura& b, TouchPair pair);

// An open figure that can lead the wire into the design: one end free, the other part
// touching another figure. The start vertex is the free end.
struct LeadIn {
    std::int32_t figure = 0;
    std::int32_t startVertex = 0;
};

}  // namespace kerfline
