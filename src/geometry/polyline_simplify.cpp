#include "geometry/polyline_simplify.h"

#include "geometry/segments.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kerfline {

void simplifyPolyline(tfigura& figure, double toleranceUnits)
{
    const std::vector<Point>& p = figure.points;
    const std::size_t count = p.size();
    if (count < 3)
        return;

    // Indices into the original list. Deleting P[s+1] .. P[e-2] makes P[e-1] the next anchor
    // and leaves the candidate two places beyond it, that is, the original P[e+1].
    std::vector<std::size_t> kept{0};
    std::size_t anchor = 0;
    std::size_t candidate = 2;
    while (candidate < count) {
        const LineCoefficients line = lineCoefficients(p[anchor], p[candidate]);
        double farthest = 0.0;
        for (std::size_t i = anchor + 1; i < candidate; ++i)
            farthest = maxOf(farthest, pointLineDistance(p[i], line));
        if (farthest >= toleranceUnits) {
            anchor = candidate - 1;
            kept.push_back(anchor);
        }
        ++candidate;
    }
    kept.push_back(count - 1);

    std::vector<Point> result;
    result.reserve(kept.size());
    for (const std::size_t i : kept)
        result.push_back(p[i]);
    figure.points = std::move(result);
}

}  // namespace kerfline
