#pragma once

#include "geometry/figure.h"

#include <cstdint>

namespace kerfline {

// Plotter units are 1/40 mm.
inline constexpr double kUnitsPerMm = 40.0;

// A point in drawing units or millimetres, before it becomes a figure point.
struct RealPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const RealPoint&, const RealPoint&) = default;
};

// Positions of the three axes of one arm (corner test of the cut program writer).
struct Point3 {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
};

struct RealPoint3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

double unitsToMm(double units);
// Round(mm * 40), halves to even.
std::int32_t mmToUnits(double mm);
// A coordinate of a scaled project: Round(skala * v / 100), skala in percent.
std::int32_t scaleUnits(std::int32_t v, double skala);

double minOf(double a, double b);
double maxOf(double a, double b);
std::int32_t minOf(std::int32_t a, std::int32_t b);
std::int32_t maxOf(std::int32_t a, std::int32_t b);

bool samePoint(Point a, Point b);
// Strictly closer than the join tolerance (plotter units) in both coordinates.
bool nearPoint(Point a, Point b, std::int32_t joinToleranceUnits);
// Both differences below 0.05 units, that is, equal integer coordinates.
bool coincident(Point a, Point b);
bool sameRealPoint(RealPoint a, RealPoint b);

double distance(Point a, Point b);
double distanceReal(RealPoint a, RealPoint b);
// Exact while it fits; saturates at the largest 64-bit value for points further apart than
// about 3 * 10^9 units, which no design reaches but the readers' sentinel points do.
std::int64_t distanceSquared(Point a, Point b);
double distance3D(Point3 a, Point3 b);
double distance3D(RealPoint3 a, RealPoint3 b);
double length3D(double x, double y, double z);

// Cosine of the change of direction at b: 1 straight on, 0 a right angle, -1 a reversal; 1 when
// either leg has no length.
double turnCosine(Point3 a, Point3 b, Point3 c);

// n! as a double; 1 for n below 2.
double factorial(int n);
// x to the n by repeated multiplication; 1 for n of 0 or less.
double powerOf(int n, double x);
double binomial(int n, int k);
// (a div b) * b = a. Zero is the only multiple of zero.
bool isMultipleOf(std::int32_t a, std::int32_t b);

}  // namespace kerfline
