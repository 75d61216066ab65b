#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kerfline {

// Round means half to even everywhere in the program (2.5 -> 2, 3.5 -> 4); this is the only
// place that rounds. Values outside the target type saturate instead of being undefined.
template <typename Int = std::int32_t>
constexpr Int roundHalfEven(double value)
{
    const double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (std::isnan(r))
        return 0;
    if (r <= static_cast<double>(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    if (r >= static_cast<double>(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    return static_cast<Int>(r);
}

}  // namespace kerfline
