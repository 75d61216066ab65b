#pragma once

#include "geometry/curve_output.h"
#include "geometry/geometry.h"

#include <cstdint>
#include <optional>

namespace kerfline {

// The most points one curve may produce before the routine refuses it.
inline constexpr std::int64_t kMaxCurvePoints = 1'000'000;

// What the curve routines need from the configuration, taken by value so that they keep no
// program-wide state.
struct CurveSettings {
    double dxfCurveStep = 2.0;      // mm, 0.25 finest .. 2.0 coarsest
    double mmPerDrawingUnit = 1.0;  // display-unit factor u: 1, 25.4 or 304.8
    std::int64_t maxPoints = kMaxCurvePoints;
};

// A refused curve emits nothing; the caller ends the load with its own message.
enum class CurveStatus {
    ok,
    tooLarge,      // more points (or evaluation work) than the settings allow
    tooFewKnots,   // a spline with fewer knots than control points + degree + 1
    invalidInput,  // NaN or infinite numbers, a negative degree, an unusable curve step
};

// Length between points for a curve of length L mm: max(dxfCurveStep, min(5, L / 192)).
double curveStep(double lengthMm, double dxfCurveStep);

// A full circle, counter-clockwise from angle 0; its last point repeats the first. Tested output.
CurveStatus flattenCircle(RealPoint centre, double radius, const CurveSettings& settings,
                          CurveOutput& out);
// An arc from `start` through the signed `sweep` (radians; negative runs clockwise). Plain output.
CurveStatus flattenArc(RealPoint centre, double radius, double start, double sweep,
                       const CurveSettings& settings, CurveOutput& out);
// A DXF polyline bulge from a to b: positive bends counter-clockwise, zero stays straight (every
// point falls on a). Plain output, through flattenArc.
CurveStatus bulgeArc(RealPoint a, RealPoint b, double bulge, const CurveSettings& settings,
                     CurveOutput& out);
// An ellipse or elliptical arc. majorEnd is the major axis end relative to the centre, ratio the
// minor/major ratio, start and end the parameters; an end below the start wraps once through
// zero. Tested output.
CurveStatus flattenEllipse(RealPoint centre, RealPoint majorEnd, double ratio, double start,
                           double end, const CurveSettings& settings, CurveOutput& out);
// The cubic Bezier of an EPS path (millimetres) after its current point p0: 99 inner points and
// p3. Tested output.
CurveStatus flattenCubic(RealPoint p0, RealPoint p1, RealPoint p2, RealPoint p3, CurveOutput& out);

namespace curves {

bool finite(double v);
bool finite(RealPoint p);
bool usable(const CurveSettings& settings);
// Whether `points` points are within the settings' limit; false for a count that is not even a
// finite number.
bool fits(double points, const CurveSettings& settings);
// Round(value) for a count of segments or steps; none when the value is not finite or beyond any
// count a curve could be allowed.
inline constexpr double kLargestCount = 1e15;
std::optional<std::int64_t> roundedCount(double value);

}  // namespace curves

}  // namespace kerfline
