#pragma once

#include "geometry/curve_flattening.h"

#include <array>
#include <span>

namespace kerfline {

// The cubic through four points W0..W3, reached at parameters 0, tau1, tau2 and 1 spaced by
// chord length.
class InterpolatingCubic {
public:
    InterpolatingCubic(RealPoint w0, RealPoint w1, RealPoint w2, RealPoint w3);

    RealPoint at(double t) const;
    // tau(0) = 0 .. tau(3) = 1.
    double tau(int i) const { return m_tau[static_cast<std::size_t>(i)]; }

private:
    RealPoint m_start;
    std::array<double, 4> m_tau{};
    // x(t) = ((a t + b) t + c) t + x0, and likewise y.
    RealPoint m_a;
    RealPoint m_b;
    RealPoint m_c;
};

// Smooths the vertices of a spline-fit DXF polyline (more than three of them): the vertices it
// passes through go to the tested output, the points between them to the plain output.
CurveStatus smoothVertices(std::span<const RealPoint> vertices, bool closed,
                           const CurveSettings& settings, CurveOutput& out);

}  // namespace kerfline
