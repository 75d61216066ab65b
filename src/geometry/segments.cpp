#include "geometry/segments.h"

#include "base/round.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace kerfline {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kVerticalSlope = 2147483647.0;

bool isPoint(Segment s)
{
    return samePoint(s.first, s.second);
}

double yOn(const LineRecord& line, double x)
{
    return line.slope * x + line.intercept;
}

}  // namespace

LineRecord lineThrough(Point a, Point b)
{
    LineRecord line;
    if (samePoint(a, b)) {
        line.degenerate = true;
        return line;
    }
    if (a.x == b.x) {
        line.vertical = true;
        line.slope = a.y < b.y ? kVerticalSlope : -kVerticalSlope;
        line.intercept = a.x;
        return line;
    }
    // In doubles: int32 differences can overflow.
    line.slope = (static_cast<double>(b.y) - a.y) / (static_cast<double>(b.x) - a.x);
    line.intercept = a.y - a.x * line.slope;
    return line;
}

double direction(Point a, Point b)
{
    const LineRecord line = lineThrough(a, b);
    if (line.degenerate)
        return 0.0;
    if (line.vertical)
        return a.y < b.y ? kPi / 2.0 : 3.0 * kPi / 2.0;
    if (line.slope == 0.0)
        return a.x < b.x ? 0.0 : kPi;
    if (line.slope > 0.0)
        return a.x < b.x ? std::atan(line.slope) : std::atan(line.slope) + kPi;
    return b.x < a.x ? std::atan(line.slope) + kPi : std::atan(line.slope) + 2.0 * kPi;
}

double directionReal(RealPoint a, RealPoint b)
{
    if (a.x == b.x)
        return a.y >= b.y ? 3.0 * kPi / 2.0 : kPi / 2.0;
    if (a.y == b.y)
        return a.x >= b.x ? kPi : 0.0;
    const double slope = (b.y - a.y) / (b.x - a.x);
    // A slope that underflowed to zero is a horizontal pair by another name.
    if (slope >= 0.0)
        return a.x < b.x ? std::atan(slope) : std::atan(slope) + kPi;
    return b.x < a.x ? std::atan(slope) + kPi : std::atan(slope) + 2.0 * kPi;
}

double turnBetween(Point a, Point b, Point c)
{
    double turn = direction(a, b) - direction(b, c);
    if (turn > kPi)
        turn -= 2.0 * kPi;
    if (turn < -kPi)
        turn += 2.0 * kPi;
    return turn;
}

Segment orderByX(Segment s)
{
    if (s.first.x > s.second.x)
        std::swap(s.first, s.second);
    return s;
}

Segment orderByY(Segment s)
{
    if (s.first.y > s.second.y)
        std::swap(s.first, s.second);
    return s;
}

// Exact: the points are integers, so every rule below is decided on integer products instead of
// a computed meeting point. A meeting point computed in doubles can miss a shared end by the
// last bit, and two segments that only share an end would then count as crossing.
bool segmentsCross(Segment s0, Segment t0)
{
    __extension__ typedef __int128 Wide;
    const Segment s = orderByX(s0);
    const Segment t = orderByX(t0);
    if (isPoint(s) || isPoint(t))
        return false;
    const bool sVertical = s.first.x == s.second.x;
    const bool tVertical = t.first.x == t.second.x;

    if (sVertical && tVertical) {
        if (s.first.x != t.first.x)
            return false;
        const Segment sy = orderByY(s);
        const Segment ty = orderByY(t);
        // Twice the middle of the overlap, strictly inside both y ranges.
        const std::int64_t w = std::int64_t{maxOf(sy.first.y, ty.first.y)} + minOf(sy.second.y, ty.second.y);
        return 2 * std::int64_t{sy.first.y} < w && w < 2 * std::int64_t{sy.second.y} &&
               2 * std::int64_t{ty.first.y} < w && w < 2 * std::int64_t{ty.second.y};
    }

    if (sVertical || tVertical) {
        // The other segment must span the vertical one's x strictly, and meet it strictly
        // between its ends. Any other case puts the candidate point at the origin, where the
        // end tests always reject it.
        const Segment& v = sVertical ? s : t;
        const Segment& o = sVertical ? t : s;
        const std::int64_t x = v.first.x;
        if (!(o.first.x < x && x < o.second.x))
            return false;
        const Wide dx = std::int64_t{o.second.x} - o.first.x;
        const Wide y = Wide{o.first.y} * dx + Wide{std::int64_t{o.second.y} - o.first.y} * (x - o.first.x);
        const Segment vy = orderByY(v);
        return Wide{vy.first.y} * dx < y && y < Wide{vy.second.y} * dx;
    }

    const Wide dxs = std::int64_t{s.second.x} - s.first.x;
    const Wide dys = std::int64_t{s.second.y} - s.first.y;
    const Wide dxt = std::int64_t{t.second.x} - t.first.x;
    const Wide dyt = std::int64_t{t.second.y} - t.first.y;
    // The candidate x is numerator / denominator, both scaled so that the denominator is positive.
    Wide denominator = dys * dxt - dyt * dxs;
    Wide numerator = 0;
    if (denominator == 0) {
        // Equal slopes: different lines never meet; one line meets in the middle of the overlap.
        if ((Wide{t.first.y} - s.first.y) * dxs != dys * (Wide{t.first.x} - s.first.x))
            return false;
        numerator = Wide{maxOf(s.first.x, t.first.x)} + minOf(s.second.x, t.second.x);
        denominator = 2;
    } else {
        numerator = dxs * dxt * (Wide{t.first.y} - s.first.y) + dys * dxt * s.first.x - dyt * dxs * t.first.x;
        if (denominator < 0) {
            numerator = -numerator;
            denominator = -denominator;
        }
    }
    const auto at = [&](std::int32_t v) { return Wide{v} * denominator; };
    const bool inS = at(s.first.x) <= numerator && numerator <= at(s.second.x);
    const bool inT = at(t.first.x) <= numerator && numerator <= at(t.second.x);
    if (!inS || !inT)
        return false;
    const bool endOfS = numerator == at(s.first.x) || numerator == at(s.second.x);
    const bool endOfT = numerator == at(t.first.x) || numerator == at(t.second.x);
    return !(endOfS && endOfT);
}

std::optional<Point> linesMeet(const LineRecord& l1, const LineRecord& l2, Segment s1, Segment s2)
{
    if (l1.degenerate || l2.degenerate)
        return std::nullopt;
    if (l1.vertical && l2.vertical) {
        if (l1.intercept != l2.intercept)
            return Point{0, 0};
        const Segment a = orderByY(s1);
        const Segment b = orderByY(s2);
        const std::int64_t sum = std::int64_t{maxOf(a.first.y, b.first.y)} + minOf(a.second.y, b.second.y);
        return Point{roundHalfEven(l1.intercept), static_cast<std::int32_t>(sum / 2)};
    }
    if (l1.vertical)
        return Point{roundHalfEven(l1.intercept), roundHalfEven(yOn(l2, l1.intercept))};
    if (l2.vertical)
        return Point{roundHalfEven(l2.intercept), roundHalfEven(yOn(l1, l2.intercept))};
    if (l1.slope != l2.slope) {
        const double x = (l2.intercept - l1.intercept) / (l1.slope - l2.slope);
        return Point{roundHalfEven(x), roundHalfEven(yOn(l1, x))};
    }
    if (l1.intercept != l2.intercept)
        return Point{0, 0};
    const Segment a = orderByX(s1);
    const Segment b = orderByX(s2);
    const std::int32_t x = roundHalfEven(
        (static_cast<double>(maxOf(a.first.x, b.first.x)) + minOf(a.second.x, b.second.x)) / 2.0);
    return Point{x, roundHalfEven(x * l1.slope + l1.intercept)};
}

NearestOnSegment nearestOnSegment(Point p, Segment s)
{
    NearestOnSegment result;
    if (isPoint(s)) {
        result.distance = distance(p, s.first);
        return result;
    }
    const LineRecord line = lineThrough(s.first, s.second);
    LineRecord perpendicular;
    if (line.vertical) {
        perpendicular.intercept = p.y;
    } else if (line.slope == 0.0) {
        perpendicular.vertical = true;
        perpendicular.slope = kVerticalSlope;
        perpendicular.intercept = p.x;
    } else {
        perpendicular.slope = -1.0 / line.slope;
        perpendicular.intercept = p.y - p.x * perpendicular.slope;
    }

    NearestOnSegment::Foot foot;
    const std::optional<Point> meet = linesMeet(line, perpendicular, s, Segment{p, p});
    const Point f = meet.value_or(Point{});
    const bool insideX = minOf(s.first.x, s.second.x) <= f.x && f.x <= maxOf(s.first.x, s.second.x);
    const bool insideY = minOf(s.first.y, s.second.y) <= f.y && f.y <= maxOf(s.first.y, s.second.y);
    if (meet && insideX && insideY) {
        foot.point = f;
        foot.part = 0;
    } else if (distance(p, s.second) > distance(p, s.first)) {
        foot.point = s.first;
        foot.part = 1;
    } else {
        foot.point = s.second;
        foot.part = 2;
    }
    foot.direction = direction(p, foot.point);
    result.distance = distance(p, foot.point);
    result.foot = foot;
    return result;
}

std::optional<double> heightAbove(Point p, Segment s0)
{
    const Segment s = orderByX(s0);
    const LineRecord line = lineThrough(s.first, s.second);
    if (line.vertical || line.degenerate)
        return std::nullopt;
    if (!(s.first.x <= p.x && p.x < s.second.x))
        return std::nullopt;
    return line.slope * p.x + line.intercept - p.y;
}

LineCoefficients lineCoefficients(Point a, Point b)
{
    LineCoefficients line;
    if (a.x == b.x) {
        line.vertical = true;
        line.x = a.x;
        return line;
    }
    line.a = (static_cast<double>(a.y) - b.y) / (static_cast<double>(b.x) - a.x);
    line.b = 1.0;
    line.c = -a.x * line.a - a.y;
    return line;
}

double pointLineDistance(Point p, const LineCoefficients& line)
{
    if (line.vertical)
        return std::fabs(p.x - line.x);
    return std::fabs(line.a * p.x + line.b * p.y + line.c) / std::sqrt(line.a * line.a + line.b * line.b);
}

}  // namespace kerfline
