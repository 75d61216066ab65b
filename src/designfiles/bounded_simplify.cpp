#include "designfiles/bounded_simplify.h"

#include "geometry/segments.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kerfline {

bool simplifyPolylineWithin(tfigura& figure, double toleranceUnits, std::int64_t& work)
{
    const std::vector<Point>& p = figure.points;
    const std::size_t count = p.size();
    if (count < 3)
        return true;

    std::int64_t left = work;
    std::vector<std::size_t> kept{0};
    std::size_t anchor = 0;
    std::size_t candidate = 2;
    while (candidate < count) {
        const LineCoefficients line = lineCoefficients(p[anchor], p[candidate]);
        // Only whether some point lies at the tolerance or beyond matters: the first one found
        // decides as the farthest would.
        bool beyond = false;
        std::size_t i = anchor + 1;
        for (; i < candidate && !beyond; ++i)
            beyond = pointLineDistance(p[i], line) >= toleranceUnits;
        left -= static_cast<std::int64_t>(i - anchor);
        if (left < 0)
            return false;
        if (beyond) {
            anchor = candidate - 1;
            kept.push_back(anchor);
        }
        ++candidate;
    }
    kept.push_back(count - 1);

    std::vector<Point> result;
    result.reserve(kept.size());
    for (const std::size_t k : kept)
        result.push_back(p[k]);
    figure.points = std::move(result);
    work = left;
    return true;
}

}  // namespace kerfline
