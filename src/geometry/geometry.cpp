#include "geometry/geometry.h"

#include "base/round.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace kerfline {

double unitsToMm(double units)
{
    return units * 1000.0 / 40000.0;
}

std::int32_t mmToUnits(double mm)
{
    // A length typed as 0.0125 mm is half a unit to the operator, and the double product says so
    // too: it rounds half to even like every other half in the program.
    return roundHalfEven(mm * kUnitsPerMm);
}

std::int32_t scaleUnits(std::int32_t v, double skala)
{
    return roundHalfEven(skala * v / 100.0);
}

double minOf(double a, double b)
{
    return b < a ? b : a;
}

double maxOf(double a, double b)
{
    return b > a ? b : a;
}

std::int32_t minOf(std::int32_t a, std::int32_t b)
{
    return b < a ? b : a;
}

std::int32_t maxOf(std::int32_t a, std::int32_t b)
{
    return b > a ? b : a;
}

bool samePoint(Point a, Point b)
{
    return a.x == b.x && a.y == b.y;
}

bool nearPoint(Point a, Point b, std::int32_t joinToleranceUnits)
{
    // 64-bit differences: two int32 coordinates can be 2^32 apart.
    const std::int64_t dx = std::llabs(std::int64_t{a.x} - b.x);
    const std::int64_t dy = std::llabs(std::int64_t{a.y} - b.y);
    return dx < joinToleranceUnits && dy < joinToleranceUnits;
}

bool coincident(Point a, Point b)
{
    constexpr double kLimit = 0.2 / 4.0;
    return std::fabs(static_cast<double>(a.x) - b.x) < kLimit &&
           std::fabs(static_cast<double>(a.y) - b.y) < kLimit;
}

bool sameRealPoint(RealPoint a, RealPoint b)
{
    return a.x == b.x && a.y == b.y;
}

double distance(Point a, Point b)
{
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

double distanceReal(RealPoint a, RealPoint b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

std::int64_t distanceSquared(Point a, Point b)
{
    // Each square is below 2^64 and fits unsigned; only their sum can overflow.
    const auto square = [](std::int32_t p, std::int32_t q) {
        const std::uint64_t d = static_cast<std::uint64_t>(std::llabs(std::int64_t{p} - q));
        return d * d;
    };
    const std::uint64_t sx = square(a.x, b.x);
    const std::uint64_t sy = square(a.y, b.y);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (sx > kMax || sy > kMax - sx)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(sx + sy);
}

double length3D(double x, double y, double z)
{
    return std::sqrt(x * x + y * y + z * z);
}

double distance3D(Point3 a, Point3 b)
{
    return length3D(static_cast<double>(a.x) - b.x, static_cast<double>(a.y) - b.y,
                    static_cast<double>(a.z) - b.z);
}

double distance3D(RealPoint3 a, RealPoint3 b)
{
    return length3D(a.x - b.x, a.y - b.y, a.z - b.z);
}

double turnCosine(Point3 a, Point3 b, Point3 c)
{
    const double g = distance3D(a, b);
    if (g == 0.0)
        return 1.0;
    const double h = distance3D(b, c);
    if (h == 0.0)
        return 1.0;
    const double k = distance3D(a, c);
    return -(g * g + h * h - k * k) / (2.0 * g * h);
}

double factorial(int n)
{
    double result = 1.0;
    for (int i = 2; i <= n && !std::isinf(result); ++i)
        result *= i;
    return result;
}

double powerOf(int n, double x)
{
    double result = 1.0;
    for (int i = 0; i < n; ++i)
        result *= x;
    return result;
}

double binomial(int n, int k)
{
    return factorial(n) / (factorial(k) * factorial(n - k));
}

bool isMultipleOf(std::int32_t a, std::int32_t b)
{
    if (b == 0)
        return a == 0;
    // 64-bit so that the lowest int32 divided by -1 does not overflow.
    const std::int64_t wide = a;
    return (wide / b) * b == wide;
}

}  // namespace kerfline
