#include "geometry/curve_flattening.h"

#include "base/round.h"
#include "geometry/segments.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kerfline {

namespace {

constexpr double kPi = std::numbers::pi;

}  // namespace

namespace curves {

bool finite(double v)
{
    return std::isfinite(v);
}

bool finite(RealPoint p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

bool usable(const CurveSettings& settings)
{
    return std::isfinite(settings.dxfCurveStep) && settings.dxfCurveStep > 0.0 &&
           std::isfinite(settings.mmPerDrawingUnit) && settings.mmPerDrawingUnit > 0.0;
}

bool fits(double points, const CurveSettings& settings)
{
    return std::isfinite(points) && points <= static_cast<double>(settings.maxPoints);
}

std::optional<std::int64_t> roundedCount(double value)
{
    if (!(std::fabs(value) <= kLargestCount))
        return std::nullopt;
    return roundHalfEven<std::int64_t>(value);
}

}  // namespace curves

double curveStep(double lengthMm, double dxfCurveStep)
{
    return maxOf(dxfCurveStep, minOf(5.0, lengthMm / 192.0));
}

CurveStatus flattenCircle(RealPoint centre, double radius, const CurveSettings& settings,
                          CurveOutput& out)
{
    if (!curves::usable(settings) || !curves::finite(centre) || !curves::finite(radius))
        return CurveStatus::invalidInput;
    const double length = 2.0 * kPi * radius * settings.mmPerDrawingUnit;
    const double step = curveStep(length, settings.dxfCurveStep);
    const std::optional<std::int64_t> rounded = curves::roundedCount(length / step + 0.5);
    if (!rounded)
        return CurveStatus::tooLarge;
    // Whole quarters, so the points fall on both axes.
    const std::int64_t n = std::max<std::int64_t>(16, *rounded / 4 * 4);
    if (!curves::fits(static_cast<double>(n) + 1.0, settings))
        return CurveStatus::tooLarge;
    for (std::int64_t k = 0; k <= n; ++k) {
        const double phi = 2.0 * kPi * static_cast<double>(k) / static_cast<double>(n);
        out.addTested({centre.x + radius * std::cos(phi), centre.y + radius * std::sin(phi)});
    }
    return CurveStatus::ok;
}

CurveStatus flattenArc(RealPoint centre, double radius, double start, double sweep,
                       const CurveSettings& settings, CurveOutput& out)
{
    if (!curves::usable(settings) || !curves::finite(centre) || !curves::finite(radius) ||
        !curves::finite(start) || !curves::finite(sweep))
        return CurveStatus::invalidInput;
    // The step follows the whole circle's length, the count the share the arc takes of it.
    const double length = 2.0 * kPi * radius * settings.mmPerDrawingUnit;
    const double step = curveStep(length, settings.dxfCurveStep);
    const std::optional<std::int64_t> rounded =
        curves::roundedCount(sweep / (2.0 * kPi) * length / step + 0.5);
    if (!rounded)
        return CurveStatus::tooLarge;
    const std::int64_t n = std::max<std::int64_t>(16, *rounded < 0 ? -*rounded : *rounded);
    if (!curves::fits(static_cast<double>(n) + 1.0, settings))
        return CurveStatus::tooLarge;
    const auto emit = [&](double phi) {
        out.addPlain({centre.x + radius * std::cos(phi), centre.y + radius * std::sin(phi)});
    };
    emit(start);
    for (std::int64_t k = 1; k < n; ++k)
        emit(start + static_cast<double>(k) * sweep / static_cast<double>(n));
    emit(start + sweep);
    return CurveStatus::ok;
}

CurveStatus bulgeArc(RealPoint a, RealPoint b, double bulge, const CurveSettings& settings,
                     CurveOutput& out)
{
    if (!curves::finite(a) || !curves::finite(b) || !curves::finite(bulge))
        return CurveStatus::invalidInput;
    const double included = 4.0 * std::atan(bulge);
    // Angle at a between the chord and the radius to the centre.
    const double q = included > 0.0 ? (kPi - included) / 2.0 : -(included + kPi) / 2.0;
    const double chordDirection = directionReal(a, b);
    const double halfChord = distanceReal(a, b) / 2.0;
    // A straight segment gets a centre so far away that the arc is the point a.
    const double d = included == 0.0 ? 2147483647.0 : std::tan(q) * halfChord;
    const double radius = std::sqrt(d * d + halfChord * halfChord);
    const double alpha = chordDirection + q;
    const RealPoint centre{a.x + radius * std::cos(alpha), a.y + radius * std::sin(alpha)};
    return flattenArc(centre, radius, alpha - kPi, included, settings, out);
}

CurveStatus flattenEllipse(RealPoint centre, RealPoint majorEnd, double ratio, double start,
                           double end, const CurveSettings& settings, CurveOutput& out)
{
    if (!curves::usable(settings) || !curves::finite(centre) || !curves::finite(majorEnd) ||
        !curves::finite(ratio) || !curves::finite(start) || !curves::finite(end))
        return CurveStatus::invalidInput;
    const double a = std::sqrt(majorEnd.x * majorEnd.x + majorEnd.y * majorEnd.y);
    const double b = ratio * a;
    const double theta = directionReal(centre, {centre.x + majorEnd.x, centre.y + majorEnd.y});
    if (end < start)
        end += 2.0 * kPi;
    const double length = a * (end - start) * settings.mmPerDrawingUnit;
    const double step = curveStep(length, settings.dxfCurveStep);
    const std::optional<std::int64_t> rounded = curves::roundedCount(length / step + 0.5);
    if (!rounded)
        return CurveStatus::tooLarge;
    const std::int64_t n = std::max<std::int64_t>(16, *rounded);
    if (!curves::fits(static_cast<double>(n) + 1.0, settings))
        return CurveStatus::tooLarge;
    const double cosTheta = std::cos(theta);
    const double sinTheta = std::sin(theta);
    for (std::int64_t k = 0; k <= n; ++k) {
        const double t = start + (end - start) * static_cast<double>(k) / static_cast<double>(n);
        const double ct = std::cos(t);
        const double st = std::sin(t);
        out.addTested({centre.x + a * ct * cosTheta - b * st * sinTheta,
                       centre.y + a * ct * sinTheta + b * st * cosTheta});
    }
    return CurveStatus::ok;
}

CurveStatus flattenCubic(RealPoint p0, RealPoint p1, RealPoint p2, RealPoint p3, CurveOutput& out)
{
    if (!curves::finite(p0) || !curves::finite(p1) || !curves::finite(p2) || !curves::finite(p3))
        return CurveStatus::invalidInput;
    // t is accumulated, not multiplied: 99 additions of 0.01 stay below 1, the 100th passes it.
    double t = 0.0;
    for (int i = 0; i < 100; ++i) {
        t += 0.01;
        if (!(t < 1.0))
            break;
        const double u = 1.0 - t;
        const double w0 = u * u * u;
        const double w1 = 3.0 * t * u * u;
        const double w2 = 3.0 * t * t * u;
        const double w3 = t * t * t;
        out.addTested({w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
                       w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
    }
    out.addTested(p3);
    return CurveStatus::ok;
}

}  // namespace kerfline
