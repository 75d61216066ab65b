#include "project/tmdichild.h"

#include "geometry/segments.h"
#include "base/app_context.h"

#include <algorithm>
#include <numbers>

namespace kerfline {
namespace {

void reverseFigure(tfigura& figure)
{
    if (figure.points.size() < 2)
        return;
    std::reverse(figure.points.begin(), figure.points.end());
    // The records stay index-parallel to the points.
    std::reverse(figure.vertexInfo.begin(), figure.vertexInfo.end());
}

}  // namespace

void TMDIChild::OdwrocKierunek(std::int32_t index)
{
    if (index < 0) {
        for (tfigura& figure : figures)
            reverseFigure(figure);
        return;
    }
    if (static_cast<std::size_t>(index) < figures.size())
        reverseFigure(figures[static_cast<std::size_t>(index)]);
}

void TMDIChild::UstawKierunek(std::int32_t wanted)
{
    for (tfigura& figure : figures) {
        if (figure.cutEnabled == 0 || figure.points.empty())
            continue;
        const std::int32_t firstX = figure.points.front().x;
        const std::int32_t lastX = figure.points.back().x;
        if (wanted == 1 ? lastX < firstX : firstX < lastX)
            reverseFigure(figure);
        figure.startVertex = 0;
    }
    m_context.host.setStatus(0, "");
}

void TMDIChild::buildTurnAngles()
{
    constexpr double kEnd = std::numbers::pi / 2.0;
    for (tfigura& figure : figures) {
        const std::vector<Point>& p = figure.points;
        const std::size_t n = p.size();
        figure.vertexInfo.assign(n, VertexRecord{});
        if (n == 0)
            continue;
        // Index n - 2 needs two points; a closed one-point figure is treated as open.
        const bool closed = figure.closed != 0 && n >= 2;
        for (std::size_t k = 0; k < n; ++k) {
            double turn = kEnd;
            if (k > 0 && k + 1 < n)
                turn = turnBetween(p[k - 1], p[k], p[k + 1]);
            else if (closed && k == 0)
                turn = turnBetween(p[n - 2], p[0], p[1]);
            else if (closed)
                turn = turnBetween(p[n - 2], p[n - 1], p[1]);
            figure.vertexInfo[k].turnAngle = turn;
        }
    }
}

}  // namespace kerfline
