#include "designfiles/figure_end.h"

#include <algorithm>
#include <limits>

namespace kerfline {
namespace {

// Extents of points near both ends of the 32-bit range differ by more than 32 bits hold.
std::int32_t span(std::int32_t low, std::int32_t high)
{
    const std::int64_t difference = static_cast<std::int64_t>(high) - low;
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(difference, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void endFigure(tfigura& figure)
{
    if (figure.points.empty()) {
        figure.valid = 0;
        return;
    }
    // Seeded from the first point rather than from ±2147483647, so that a figure lying on
    // -2147483648 still gets extents that contain it.
    const Point first = figure.points.front();
    figure.minX = figure.maxX = first.x;
    figure.minY = figure.maxY = first.y;
    for (const Point& p : figure.points) {
        figure.minX = std::min(figure.minX, p.x);
        figure.maxX = std::max(figure.maxX, p.x);
        figure.minY = std::min(figure.minY, p.y);
        figure.maxY = std::max(figure.maxY, p.y);
    }
    figure.width = span(figure.minX, figure.maxX);
    figure.height = span(figure.minY, figure.maxY);
    figure.nestLevel = 0;
    figure.open = figure.points.size() > 2 && figure.points.front() == figure.points.back() ? 0 : 1;
    figure.valid = 1;
    // Figures live as long as their project; the growth slack of the point list would stay with
    // them and can double the memory a large design needs.
    figure.points.shrink_to_fit();
}

}  // namespace kerfline
