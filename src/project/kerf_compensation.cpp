#include "project/kerf_compensation.h"

#include "base/parallel_for.h"
#include "base/round.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <unordered_map>
#include <utility>

namespace kerfline {
namespace {

constexpr double kUnitsPerMm = 40.0;
// The chord of a round join may fall this far inside the true arc.
constexpr double kArcToleranceUnits = 0.01 * kUnitsPerMm;
// Overlaps smaller than this (plotter units squared) are the rounding of two outlines that
// just touch, not parts running into each other.
constexpr double kOverlapArea = 1.0;

// The points relative to `origin`.
ClipperLib::Path toPath(const std::vector<Point>& points, Point origin = {})
{
    ClipperLib::Path path;
    path.reserve(points.size());
    for (const Point& p : points)
        path.emplace_back(ClipperLib::cInt{p.x} - origin.x, ClipperLib::cInt{p.y} - origin.y);
    // Clipper closes polygons itself.
    if (path.size() > 1 && path.front() == path.back())
        path.pop_back();
    return path;
}

// The points of a path relative to `origin`, closed.
std::vector<Point> toClosedOutline(const ClipperLib::Path& path, Point origin = {})
{
    std::vector<Point> points;
    points.reserve(path.size() + 1);
    for (const ClipperLib::IntPoint& p : path)
        points.push_back({static_cast<std::int32_t>(p.X + origin.x), static_cast<std::int32_t>(p.Y + origin.y)});
    if (!points.empty())
        points.push_back(points.front());
    return points;
}

double clippedArea(const std::vector<Point>& subject, const std::vector<Point>& clip, ClipperLib::ClipType type)
{
    ClipperLib::Clipper clipper;
    clipper.AddPath(toPath(subject), ClipperLib::ptSubject, true);
    clipper.AddPath(toPath(clip), ClipperLib::ptClip, true);
    ClipperLib::Paths solution;
    clipper.Execute(type, solution, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0.0;
    for (const ClipperLib::Path& path : solution)
        area += ClipperLib::Area(path);  // holes come negative
    return std::abs(area);
}

struct Box {
    std::int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

Box boxOf(const std::vector<Point>& points)
{
    Box box{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const Point& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.maxX = std::max(box.maxX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

// How a closed outline came out of the offset.
enum class Offset { Drawn, Grown, Shrunk };

struct RealPoint2 {
    double x = 0.0;
    double y = 0.0;
};

double segmentDistance(Point p, Point a, Point b)
{
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((static_cast<double>(p.x) - a.x) * dx + (static_cast<double>(p.y) - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

bool liesOnOutline(Point p, const std::vector<Point>& outline, std::int32_t tolerance)
{
    for (std::size_t k = 0; k + 1 < outline.size(); ++k)
        if (segmentDistance(p, outline[k], outline[k + 1]) <= tolerance)
            return true;
    return false;
}

// Where an open figure's end meets a compensated outline: the point of the outline on the line
// of the figure's last segment (from `from` through `end`) nearest to `end` ahead of `from`, or
// the outline's point nearest to `end` when the line misses it. With the edge it lies on.
std::pair<Point, std::size_t> meetOutline(Point from, Point end, const std::vector<Point>& outline)
{
    const double ux = static_cast<double>(end.x) - from.x;
    const double uy = static_cast<double>(end.y) - from.y;
    std::optional<std::pair<double, RealPoint2>> best;
    std::size_t bestEdge = 0;
    for (std::size_t k = 0; k + 1 < outline.size(); ++k) {
        const Point a = outline[k];
        const Point b = outline[k + 1];
        const double vx = static_cast<double>(b.x) - a.x;
        const double vy = static_cast<double>(b.y) - a.y;
        const double denominator = ux * vy - uy * vx;
        if (denominator == 0.0)
            continue;
        const double wx = static_cast<double>(a.x) - from.x;
        const double wy = static_cast<double>(a.y) - from.y;
        const double t = (wx * vy - wy * vx) / denominator;  // along the figure's segment
        const double s = (wx * uy - wy * ux) / denominator;  // along the outline's edge
        if (t <= 0.0 || s < 0.0 || s > 1.0)
            continue;
        if (!best || std::abs(t - 1.0) < std::abs(best->first - 1.0)) {
            best = {t, RealPoint2{from.x + t * ux, from.y + t * uy}};
            bestEdge = k;
        }
    }
    if (!best) {
        double nearest = 0.0;
        for (std::size_t k = 0; k + 1 < outline.size(); ++k) {
            const Point a = outline[k];
            const Point b = outline[k + 1];
            const double d = segmentDistance(end, a, b);
            if (!best || d < nearest) {
                const double vx = static_cast<double>(b.x) - a.x;
                const double vy = static_cast<double>(b.y) - a.y;
                const double length2 = vx * vx + vy * vy;
                const double s = length2 > 0
                                     ? std::clamp(((static_cast<double>(end.x) - a.x) * vx + (static_cast<double>(end.y) - a.y) * vy) / length2,
                                                  0.0, 1.0)
                                     : 0.0;
                best = {0.0, RealPoint2{a.x + s * vx, a.y + s * vy}};
                nearest = d;
                bestEdge = k;
            }
        }
    }
    return {Point{roundHalfEven(best->second.x), roundHalfEven(best->second.y)}, bestEdge};
}

// Gives the outline a vertex at p on edge `edge` (p on the edge up to rounding), so that an end
// moved there touches it vertex to vertex as the touch rules ask.
void insertVertex(std::vector<Point>& outline, std::size_t edge, Point p)
{
    if (outline[edge] == p || outline[edge + 1] == p)
        return;
    outline.insert(outline.begin() + static_cast<std::ptrdiff_t>(edge + 1), p);
}

// The points of `outline` relative to its first, against those of `other`.
bool sameShape(const std::vector<Point>& outline, const std::vector<Point>& other)
{
    if (outline.size() != other.size())
        return false;
    for (std::size_t k = 1; k < outline.size(); ++k)
        if (std::int64_t{outline[k].x} - outline[0].x != std::int64_t{other[k].x} - other[0].x ||
            std::int64_t{outline[k].y} - outline[0].y != std::int64_t{other[k].y} - other[0].y)
            return false;
    return true;
}

std::uint64_t shapeHash(const std::vector<Point>& outline, bool grows)
{
    std::uint64_t hash = grows ? 0x84222325CBF29CE4ull : 0xCBF29CE484222325ull;
    for (const Point& p : outline)
        for (const std::int64_t d : {std::int64_t{p.x} - outline[0].x, std::int64_t{p.y} - outline[0].y})
            hash = (hash ^ static_cast<std::uint64_t>(d)) * 0x100000001B3ull;
    return hash;
}

// For every outline to offset, the first outline of the same shape offset the same way: a copy
// moved by whole units, as a nested sheet repeats its parts, shares that outline's offset.
std::vector<std::size_t> firstOfShape(const std::vector<KerfOutline>& outlines, const std::vector<bool>& offsetHere,
                                      const std::vector<bool>& grows)
{
    std::vector<std::size_t> first(outlines.size());
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> shapes;
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        first[i] = i;
        if (!offsetHere[i])
            continue;
        std::vector<std::size_t>& seen = shapes[shapeHash(outlines[i].points, grows[i])];
        const auto same = std::find_if(seen.begin(), seen.end(), [&](std::size_t j) {
            return grows[j] == grows[i] && sameShape(outlines[i].points, outlines[j].points);
        });
        if (same != seen.end())
            first[i] = *same;
        else
            seen.push_back(i);
    }
    return first;
}

// The outlines of a shape's offset moved from the first point `from` to `to`, as offsetOutline
// gives them for the moved shape.
std::vector<std::vector<Point>> movedOffset(const std::vector<std::vector<Point>>& offset, Point from, Point to)
{
    std::vector<std::vector<Point>> moved(offset);
    for (std::vector<Point>& outline : moved)
        for (Point& p : outline)
            p = {static_cast<std::int32_t>(std::int64_t{p.x} - from.x + to.x),
                 static_cast<std::int32_t>(std::int64_t{p.y} - from.y + to.y)};
    return moved;
}

}  // namespace

double halfKerfUnits(double kerfMm)
{
    return kerfMm * kUnitsPerMm / 2.0;
}

std::vector<std::vector<Point>> offsetOutline(const std::vector<Point>& outline, double delta)
{
    // Offset about the first point, so that a copy moved by whole units comes out moved by
    // exactly as much: copies can share one offset.
    const Point origin = outline.empty() ? Point{} : outline.front();
    const ClipperLib::Path path = toPath(outline, origin);
    if (path.size() < 3)
        return {};
    ClipperLib::ClipperOffset offset;
    offset.ArcTolerance = kArcToleranceUnits;
    offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths solution;
    offset.Execute(solution, delta);

    // The main outline first: the largest.
    std::sort(solution.begin(), solution.end(), [](const ClipperLib::Path& a, const ClipperLib::Path& b) {
        return std::abs(ClipperLib::Area(a)) > std::abs(ClipperLib::Area(b));
    });
    const bool orientation = ClipperLib::Orientation(path);
    std::vector<std::vector<Point>> outlines;
    for (ClipperLib::Path& result : solution) {
        if (result.size() < 3)
            continue;
        if (ClipperLib::Orientation(result) != orientation)
            ClipperLib::ReversePath(result);
        outlines.push_back(toClosedOutline(result, origin));
    }
    return outlines;
}

KerfCompensation compensateKerf(const std::vector<KerfOutline>& outlines, double kerfMm, std::int32_t joinTolerance)
{
    const std::size_t n = outlines.size();
    KerfCompensation result;
    result.points.reserve(n);
    for (const KerfOutline& outline : outlines)
        result.points.push_back(outline.points);
    const double half = halfKerfUnits(kerfMm);
    if (!(half > 0.0))
        return result;

    const auto isClosed = [&](std::size_t i) { return outlines[i].closed && outlines[i].points.size() >= 4; };
    std::vector<bool> closed(n);
    std::vector<bool> grows(n);
    for (std::size_t i = 0; i < n; ++i) {
        closed[i] = isClosed(i);
        grows[i] = outlines[i].nestLevel % 2 == 0;
    }
    // Clipper takes most of the preparation's time on a large sheet. Each shape is offset once,
    // on its own: the shapes are shared among the cores, each result in its own slot.
    const std::vector<std::size_t> first = firstOfShape(outlines, closed, grows);
    std::vector<std::size_t> shapes;
    for (std::size_t i = 0; i < n; ++i)
        if (closed[i] && first[i] == i)
            shapes.push_back(i);
    std::vector<std::vector<std::vector<Point>>> offsets(n);
    parallelFor(shapes.size(), [&](std::size_t k) {
        const std::size_t i = shapes[k];
        offsets[i] = offsetOutline(outlines[i].points, grows[i] ? half : -half);
    });
    for (std::size_t i = 0; i < n; ++i)
        if (closed[i] && first[i] != i)
            offsets[i] = movedOffset(offsets[first[i]], outlines[first[i]].points.front(), outlines[i].points.front());
    std::vector<Offset> state(n, Offset::Drawn);
    for (std::size_t i = 0; i < n; ++i) {
        if (!closed[i])
            continue;
        std::vector<std::vector<Point>>& offset = offsets[i];
        const auto figure = static_cast<std::int32_t>(i);
        if (offset.empty()) {
            result.issues.push_back({KerfIssueKind::Vanished, figure});
            continue;
        }
        if (offset.size() > 1)
            result.issues.push_back({KerfIssueKind::Narrowed, figure});
        result.points[i] = std::move(offset.front());
        state[i] = grows[i] ? Offset::Grown : Offset::Shrunk;
    }

    // A figure must stay inside its container and clear of its neighbours. Where an offset runs
    // into another figure's, both keep their drawn outlines; that can bring a grown figure up
    // against a hole now drawn, so the test runs until nothing changes.
    std::vector<std::pair<std::int32_t, std::int32_t>> merged;
    while (true) {
        std::vector<Box> boxes(n);
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < n; ++i) {
            if (!isClosed(i))
                continue;
            boxes[i] = boxOf(result.points[i]);
            order.push_back(i);
        }
        std::vector<std::pair<std::int32_t, std::int32_t>> conflicts;
        for (const std::size_t i : order) {
            const std::int32_t c = outlines[i].container;
            if (c < 0 || !isClosed(static_cast<std::size_t>(c)))
                continue;
            const auto container = static_cast<std::size_t>(c);
            if (state[i] != Offset::Grown && state[container] != Offset::Shrunk)
                continue;
            if (clippedArea(result.points[i], result.points[container], ClipperLib::ctDifference) > kOverlapArea)
                conflicts.emplace_back(c, static_cast<std::int32_t>(i));
        }
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return boxes[a].minX < boxes[b].minX; });
        for (std::size_t ai = 0; ai < order.size(); ++ai) {
            const std::size_t a = order[ai];
            for (std::size_t bi = ai + 1; bi < order.size() && boxes[order[bi]].minX <= boxes[a].maxX; ++bi) {
                const std::size_t b = order[bi];
                if (boxes[b].minY > boxes[a].maxY || boxes[a].minY > boxes[b].maxY)
                    continue;
                if (outlines[a].container != outlines[b].container)
                    continue;
                if (state[a] != Offset::Grown && state[b] != Offset::Grown)
                    continue;
                if (clippedArea(result.points[a], result.points[b], ClipperLib::ctIntersection) > kOverlapArea)
                    conflicts.emplace_back(static_cast<std::int32_t>(std::min(a, b)),
                                           static_cast<std::int32_t>(std::max(a, b)));
            }
        }
        if (conflicts.empty())
            break;
        for (const auto& [a, b] : conflicts) {
            for (const std::int32_t f : {a, b}) {
                result.points[static_cast<std::size_t>(f)] = outlines[static_cast<std::size_t>(f)].points;
                state[static_cast<std::size_t>(f)] = Offset::Drawn;
            }
            merged.emplace_back(a, b);
        }
    }
    for (const auto& [a, b] : merged)
        result.issues.push_back({KerfIssueKind::Merged, a, b});
    // A figure that merged keeps its drawn outline: what else was said about it no longer holds.
    std::erase_if(result.issues, [&](const KerfIssue& issue) {
        return issue.kind == KerfIssueKind::Narrowed && state[static_cast<std::size_t>(issue.figure)] == Offset::Drawn;
    });
    std::sort(result.issues.begin(), result.issues.end(), [](const KerfIssue& a, const KerfIssue& b) {
        return std::pair{a.figure, a.other} < std::pair{b.figure, b.other};
    });
    result.issues.erase(std::unique(result.issues.begin(), result.issues.end()), result.issues.end());

    // Open figures that end on a compensated outline follow it.
    for (std::size_t i = 0; i < n; ++i) {
        const KerfOutline& open = outlines[i];
        if (open.closed || open.points.size() < 2)
            continue;
        for (const bool last : {false, true}) {
            std::vector<Point>& points = result.points[i];
            const std::size_t end = last ? points.size() - 1 : 0;
            const std::size_t next = last ? points.size() - 2 : 1;
            for (std::size_t j = 0; j < n; ++j) {
                if (state[j] == Offset::Drawn || !liesOnOutline(open.points[end], outlines[j].points, joinTolerance))
                    continue;
                const auto [meeting, edge] = meetOutline(points[next], points[end], result.points[j]);
                insertVertex(result.points[j], edge, meeting);
                points[end] = meeting;
                break;
            }
        }
    }
    return result;
}

}  // namespace kerfline
