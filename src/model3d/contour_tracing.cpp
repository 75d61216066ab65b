#include "model3d/contour_tracing.h"

#include "base/round.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kerfline::model3d {
namespace {

// Neighbour directions in their fixed order: (column offset, row offset).
constexpr std::array<std::array<int, 2>, 8> kDirections{
    {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}}};

struct Cell {
    int column = 0;
    int row = 0;
};

bool isCandidate(std::uint8_t value)
{
    return (value & kCellBoundary) != 0 && (value & kCellVisited) == 0;
}

double distance(Point a, Point b)
{
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

class Tracer {
public:
    Tracer(Raster& raster, double step) : m_raster(raster), m_step(step), m_tolerances(tracingTolerances(step)) {}

    std::vector<TracedFigure> run()
    {
        std::vector<TracedFigure> figures;
        Cell start;
        while (findStart(start)) {
            TracedFigure figure;
            Cell current = start;
            figure.points.push_back(point(current));
            for (;;) {
                m_raster.at(current.column, current.row) |= kCellVisited;
                Cell next;
                if (!chooseNext(current, next))
                    break;
                figure.points.push_back(point(next));
                current = next;
            }
            if (figure.points.size() >= 6 &&
                distance(figure.points.back(), figure.points.front()) <= m_tolerances.join) {
                figure.points.push_back(figure.points.front());
                figure.closed = true;
            }
            if (figure.closed || !joinToEarlier(figures, figure))
                figures.push_back(std::move(figure));
        }
        return figures;
    }

private:
    Point point(Cell cell) const
    {
        const double unitsPerCell = m_step * 40.0;
        return {roundHalfEven(cell.column * unitsPerCell), roundHalfEven(cell.row * unitsPerCell)};
    }

    // Scans rows ascending, columns ascending in a row, from the last start cell.
    bool findStart(Cell& start)
    {
        const int W = m_raster.width();
        const int H = m_raster.height();
        for (int r = m_lastStart.row; r <= H; ++r) {
            const std::uint8_t* row = m_raster.row(r);
            for (int c = r == m_lastStart.row ? m_lastStart.column : 0; c <= W; ++c) {
                if (isCandidate(row[c])) {
                    m_lastStart = {c, r};
                    start = m_lastStart;
                    return true;
                }
            }
        }
        return false;
    }

    bool neighbour(Cell cell, int direction, Cell& out) const
    {
        out = {cell.column + kDirections[static_cast<std::size_t>(direction)][0],
               cell.row + kDirections[static_cast<std::size_t>(direction)][1]};
        return m_raster.contains(out.column, out.row);
    }

    int score(Cell candidate) const
    {
        int empty = 0;
        int inside = 0;
        int visited = 0;
        for (int d = 0; d < 8; ++d) {
            Cell n;
            if (!neighbour(candidate, d, n))
                continue;
            const std::uint8_t value = m_raster.at(n.column, n.row);
            empty += (value & kCellEmpty) != 0 ? 1 : 0;
            inside += (value & kCellInside) != 0 ? 1 : 0;
            visited += (value & kCellVisited) != 0 ? 1 : 0;
        }
        return std::max(empty, inside) + visited;
    }

    static int squaredDistance(int direction)
    {
        // Plotter units of one cell: a side neighbour is nearer than a diagonal one.
        const auto& d = kDirections[static_cast<std::size_t>(direction)];
        return d[0] * d[0] + d[1] * d[1];
    }

    bool chooseNext(Cell current, Cell& next)
    {
        std::array<int, 8> candidates{};
        int count = 0;
        for (int d = 0; d < 8; ++d) {
            Cell n;
            if (neighbour(current, d, n) && isCandidate(m_raster.at(n.column, n.row)))
                candidates[static_cast<std::size_t>(count++)] = d;
        }
        if (count == 0)
            return false;
        if (count == 1) {
            neighbour(current, candidates[0], next);
            return true;
        }
        if (count == 2) {
            const int a = candidates[0];
            const int b = candidates[1];
            m_lastDirection = squaredDistance(b) < squaredDistance(a) ? b : a;
            neighbour(current, m_lastDirection, next);
            return true;
        }
        // The visiting order starts three directions before the last one.
        int bestScore = std::numeric_limits<int>::min();
        int smallestDistance = std::numeric_limits<int>::max();
        int winner = -1;
        for (int i = 0; i < 8; ++i) {
            const int d = (m_lastDirection + i + 5) % 8;
            Cell n;
            if (!neighbour(current, d, n) || !isCandidate(m_raster.at(n.column, n.row)))
                continue;
            const int s = score(n);
            const int distanceToCurrent = squaredDistance(d);
            if (s > bestScore || (s == bestScore && distanceToCurrent < smallestDistance)) {
                bestScore = std::max(bestScore, s);
                winner = d;
            }
            smallestDistance = std::min(smallestDistance, distanceToCurrent);
        }
        if (bestScore < 1)
            return false;
        m_lastDirection = winner;
        neighbour(current, winner, next);
        return true;
    }

    bool joinToEarlier(std::vector<TracedFigure>& figures, const TracedFigure& figure) const;

    Raster& m_raster;
    double m_step;
    TracingTolerances m_tolerances;
    Cell m_lastStart;
    int m_lastDirection = 0;
};

enum class Pairing { FirstFirst, FirstLast, LastFirst, LastLast };

// The nearest end pairing of e with n; on equal distances the earlier pairing.
Pairing nearestPairing(const std::vector<Point>& e, const std::vector<Point>& n, double& smallest)
{
    const std::array<double, 4> d{distance(e.front(), n.front()), distance(e.front(), n.back()),
                                  distance(e.back(), n.front()), distance(e.back(), n.back())};
    std::size_t best = 0;
    for (std::size_t i = 1; i < 4; ++i)
        if (d[i] < d[best])
            best = i;
    smallest = d[best];
    return static_cast<Pairing>(best);
}

void join(std::vector<Point>& e, const std::vector<Point>& n, Pairing pairing)
{
    std::vector<Point> joined;
    joined.reserve(e.size() + n.size());
    switch (pairing) {
    case Pairing::FirstFirst:
        joined.assign(n.rbegin(), n.rend());
        joined.insert(joined.end(), e.begin(), e.end());
        break;
    case Pairing::FirstLast:
        joined.assign(n.begin(), n.end());
        joined.insert(joined.end(), e.begin(), e.end());
        break;
    case Pairing::LastFirst:
        joined = e;
        joined.insert(joined.end(), n.begin(), n.end());
        break;
    case Pairing::LastLast:
        joined = e;
        joined.insert(joined.end(), n.rbegin(), n.rend());
        break;
    }
    e = std::move(joined);
}

bool Tracer::joinToEarlier(std::vector<TracedFigure>& figures, const TracedFigure& figure) const
{
    for (TracedFigure& earlier : figures) {
        if (earlier.closed)
            continue;
        double smallest = 0.0;
        const Pairing pairing = nearestPairing(earlier.points, figure.points, smallest);
        if (smallest >= m_tolerances.join)
            continue;
        join(earlier.points, figure.points, pairing);
        if (distance(earlier.points.back(), earlier.points.front()) <= m_tolerances.join) {
            earlier.points.push_back(earlier.points.front());
            earlier.closed = true;
        }
        return true;
    }
    return false;
}

double distanceFromLine(Point p, Point a, Point b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0)
        return distance(p, a);
    return std::fabs(dx * (static_cast<double>(p.y) - a.y) - dy * (static_cast<double>(p.x) - a.x)) / length;
}

}  // namespace

TracingTolerances tracingTolerances(double step)
{
    return {roundHalfEven(step * 6.0 * 40.0), roundHalfEven(step * 1.5 * 40.0)};
}

void simplifyFigure(std::vector<Point>& points, std::int32_t tolerance)
{
    if (points.empty())
        return;
    // Kept points are collected in order instead of erased in place, which keeps this linear
    // in the points removed.
    std::vector<Point> kept;
    kept.reserve(points.size());
    std::size_t a = 0;
    std::size_t e = 2;
    kept.push_back(points[0]);
    while (e < points.size()) {
        double greatest = 0.0;
        for (std::size_t i = a + 1; i < e; ++i)
            greatest = std::max(greatest, distanceFromLine(points[i], points[a], points[e]));
        if (greatest >= tolerance) {
            // Points a + 1 .. e - 2 go; e - 1 becomes the next anchor.
            a = e - 1;
            kept.push_back(points[a]);
            e = a + 2;
        } else {
            ++e;
        }
    }
    if (a + 1 < points.size())
        kept.push_back(points.back());
    points = std::move(kept);
}

std::vector<TracedFigure> traceContours(Raster& raster, double step)
{
    Tracer tracer(raster, step);
    std::vector<TracedFigure> figures = tracer.run();
    const TracingTolerances tolerances = tracingTolerances(step);

    // Merge later pieces into the first figure while it is open.
    for (std::size_t i = 1; !figures.empty() && !figures.front().closed && i < figures.size();) {
        double smallest = 0.0;
        const Pairing pairing = nearestPairing(figures.front().points, figures[i].points, smallest);
        if (smallest < tolerances.join) {
            join(figures.front().points, figures[i].points, pairing);
            figures.erase(figures.begin() + static_cast<std::ptrdiff_t>(i));
            i = 1;
        } else {
            ++i;
        }
    }
    if (figures.size() > 1)
        std::erase_if(figures, [](const TracedFigure& f) { return f.points.size() <= 2; });
    if (!figures.empty())
        simplifyFigure(figures.front().points, tolerances.simplify);
    return figures;
}

std::vector<TracedFigure> passFigures(const std::vector<TracedFigure>& traced, bool keepClosed)
{
    std::vector<TracedFigure> result;
    for (const TracedFigure& figure : traced)
        if (!figure.closed || keepClosed)
            result.push_back(figure);
    if (!result.empty())
        return result;

    const TracedFigure* outer = nullptr;
    std::size_t lowest = 0;
    for (const TracedFigure& figure : traced) {
        for (std::size_t i = 0; i < figure.points.size(); ++i) {
            const Point p = figure.points[i];
            if (outer == nullptr || p.y < outer->points[lowest].y ||
                (p.y == outer->points[lowest].y && p.x < outer->points[lowest].x)) {
                outer = &figure;
                lowest = i;
            }
        }
    }
    if (outer == nullptr || outer->points.size() < 3)
        return result;
    // Drop the closing point, then start and end next to the lowest cell.
    std::vector<Point> ring(outer->points.begin(), outer->points.end() - 1);
    lowest %= ring.size();
    std::rotate(ring.begin(), ring.begin() + static_cast<std::ptrdiff_t>(lowest), ring.end());
    result.push_back({std::move(ring), false});
    return result;
}

}  // namespace kerfline::model3d
