#pragma once

#include "geometry/figure.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace kerfline {

struct ProjectExtents {
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
};

// maxV - minV, saturated: extents near both ends of the 32-bit range differ by more than 32 bits
// hold (the loader refuses such projects; other callers must not overflow either).
inline std::int32_t extentSpan(std::int32_t low, std::int32_t high)
{
    const std::int64_t difference = std::int64_t{high} - low;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        difference, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// (min + max) div 2, truncating toward zero, without overflowing the sum.
inline std::int32_t extentCentre(std::int32_t low, std::int32_t high)
{
    return static_cast<std::int32_t>((std::int64_t{low} + high) / 2);
}

// The extents of the project from its figures' extents. The first figure seeds them, so that
// figures on the edge of the 32-bit range are inside; an empty project has zero extents.
inline ProjectExtents extentsOf(const std::vector<tfigura>& figures)
{
    ProjectExtents extents;
    bool first = true;
    for (const tfigura& figure : figures) {
        if (first) {
            extents = {figure.minX, figure.minY, figure.maxX, figure.maxY};
            first = false;
            continue;
        }
        extents.minX = std::min(extents.minX, figure.minX);
        extents.minY = std::min(extents.minY, figure.minY);
        extents.maxX = std::max(extents.maxX, figure.maxX);
        extents.maxY = std::max(extents.maxY, figure.maxY);
    }
    return extents;
}

}  // namespace kerfline
