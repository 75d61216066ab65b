#include "project/touch_rule.h"

#include <cstdlib>

namespace kerfline {

std::optional<TouchPair> touchPair(const tfigura& a, const tfigura& b, std::int32_t tolerance)
{
    for (std::size_t i = a.points.size(); i-- > 0;) {
        const Point p = a.points[i];
        for (std::size_t j = b.points.size(); j-- > 0;) {
            const Point q = b.points[j];
            if (std::llabs(std::int64_t{p.x} - q.x) <= tolerance && std::llabs(std::int64_t{p.y} - q.y) <= tolerance)
                return TouchPair{static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)};
        }
    }
    return std::nullopt;
}

void snapTouch(tfigura& a, tfigura& b, TouchPair pair)
{
    Point& p = a.points[static_cast<std::size_t>(pair.vertexA)];
    Point& q = b.points[static_cast<std::size_t>(pair.vertexB)];
    if (a.kind == kFigureConnector)
        p = q;
    if (b.kind == kFigureConnector)
        q = p;
}

}  // namespace kerfline
