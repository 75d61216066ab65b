#include "project/connection_rules.h"

#include "base/round.h"
#include "geometry/segments.h"

#include <algorithm>
#include <set>
#include <utility>

namespace kerfline {

std::int32_t sampleStride(const tfigura& figure)
{
    const double count = static_cast<double>(figure.points.size());
    return std::max(1, roundHalfEven((count - 1.0) / 250.0));
}

std::int32_t stepBack(std::int32_t vertex, std::size_t count)
{
    if (vertex - 1 >= 0)
        return vertex - 1;
    // A figure of one or two points has nowhere else to go.
    return std::max(0, static_cast<std::int32_t>(count) - 2);
}

bool connectorCrossesFigure(Point from, const tfigura& figure, std::int32_t vertex)
{
    const std::vector<Point>& p = figure.points;
    const std::size_t n = p.size();
    if (n < 2)
        return false;
    const Segment connector{from, p[static_cast<std::size_t>(vertex)]};
    const auto v = static_cast<std::size_t>(vertex);
    const std::int32_t minX = std::min(connector.first.x, connector.second.x);
    const std::int32_t maxX = std::max(connector.first.x, connector.second.x);
    const std::int32_t minY = std::min(connector.first.y, connector.second.y);
    const std::int32_t maxY = std::max(connector.first.y, connector.second.y);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        if (k == v || k + 1 == v)
            continue;
        // Most edges of a figure lie wholly to one side of the connector's box: no crossing.
        const Point a = p[k];
        const Point b = p[k + 1];
        if ((a.x < minX && b.x < minX) || (a.x > maxX && b.x > maxX) || (a.y < minY && b.y < minY) ||
            (a.y > maxY && b.y > maxY))
            continue;
        if (segmentsCross(connector, {a, b}))
            return true;
    }
    if (figure.closed != 0 && n - 1 != v && v != 0 && segmentsCross(connector, {p[n - 1], p[0]}))
        return true;
    return false;
}

void repairCrossing(const tfigura& u, std::int32_t& du, const tfigura& c, std::int32_t& dc)
{
    const std::int32_t firstU = du;
    const std::int32_t firstC = dc;
    std::set<std::pair<std::int32_t, std::int32_t>> seen{{du, dc}};
    while (true) {
        const Point atU = u.points[static_cast<std::size_t>(du)];
        const Point atC = c.points[static_cast<std::size_t>(dc)];
        if (connectorCrossesFigure(atC, u, du)) {
            du = stepBack(du, u.points.size());
            if (du == firstU)
                dc = stepBack(dc, c.points.size());
        } else if (connectorCrossesFigure(atU, c, dc)) {
            dc = stepBack(dc, c.points.size());
            if (dc == firstC)
                du = stepBack(du, u.points.size());
        } else {
            return;
        }
        if (!seen.insert({du, dc}).second) {
            du = firstU;
            dc = firstC;
            return;
        }
    }
}

void repairEntryCrossing(const tfigura& u, std::int32_t& du, Point from)
{
    const std::int32_t first = du;
    std::set<std::int32_t> seen{du};
    while (connectorCrossesFigure(from, u, du)) {
        du = stepBack(du, u.points.size());
        if (!seen.insert(du).second) {
            du = first;
            return;
        }
    }
}

}  // namespace kerfline
