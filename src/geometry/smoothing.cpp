#include "geometry/smoothing.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kerfline {

namespace {

struct Solution {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

// Cramer's rule for a t^3 + b t^2 + c t = r at t = tau1, tau2 and 1. The determinant is taken
// in its factored form tau1 tau2 (tau1 - tau2)(tau1 - 1)(tau2 - 1): it is exactly 0 whenever two
// defining points coincide, where the expanded form can leave a rounding residue that would
// blow the coefficients up.
Solution solve(double t1, double t2, double r1, double r2, double r3)
{
    const double det = t1 * t2 * (t1 - t2) * (t1 - 1.0) * (t2 - 1.0);
    if (det == 0.0)
        return {};
    const double t1s = t1 * t1;
    const double t1c = t1s * t1;
    const double t2s = t2 * t2;
    const double t2c = t2s * t2;
    const double da = r1 * (t2s - t2) - t1s * (r2 - t2 * r3) + t1 * (r2 - t2s * r3);
    const double db = t1c * (r2 - t2 * r3) - r1 * (t2c - t2) + t1 * (t2c * r3 - r2);
    const double dc = t1c * (t2s * r3 - r2) - t1s * (t2c * r3 - r2) + r1 * (t2c - t2s);
    return {da / det, db / det, dc / det};
}

struct Piece {
    std::size_t i;
    int from;
    int to;
};

class Smoother {
public:
    Smoother(std::span<const RealPoint> v, const CurveSettings& settings, CurveOutput& out)
        : m_v(v), m_settings(settings), m_out(out)
    {
    }

    // The four points of piece i, the last two wrapping to the start of the list.
    std::array<RealPoint, 4> points(std::size_t i) const
    {
        const std::size_t n = m_v.size();
        return {m_v[i], m_v[i + 1], m_v[(i + 2) % n], m_v[(i + 3) % n]};
    }

    double lengthMm(const std::array<RealPoint, 4>& w) const
    {
        const double chords = distanceReal(w[0], w[1]) + distanceReal(w[1], w[2]) + distanceReal(w[2], w[3]);
        return chords * m_settings.mmPerDrawingUnit;
    }

    double stepMm(double length) const
    {
        return maxOf(m_settings.dxfCurveStep, minOf(5.0, length / 192.0 * 4.0));
    }

    // At most the points a piece emits: the parameter range is at most 1.
    double bound(std::size_t i) const
    {
        const double length = lengthMm(points(i));
        if (length <= m_settings.dxfCurveStep)
            return 0.0;
        return std::ceil(length / stepMm(length)) + 1.0;
    }

    void emit(Piece piece) const
    {
        const std::array<RealPoint, 4> w = points(piece.i);
        const double length = lengthMm(w);
        // Short pieces stay straight.
        if (length <= m_settings.dxfCurveStep)
            return;
        const double f = stepMm(length) / length;
        const InterpolatingCubic cubic(w[0], w[1], w[2], w[3]);
        const double last = cubic.tau(piece.to);
        double t = cubic.tau(piece.from);
        const auto iterations = static_cast<std::int64_t>(bound(piece.i)) + 1;
        for (std::int64_t k = 0; k < iterations; ++k) {
            t += f;
            if (!(t <= last))
                break;
            m_out.addPlain(cubic.at(t));
        }
    }

private:
    std::span<const RealPoint> m_v;
    const CurveSettings& m_settings;
    CurveOutput& m_out;
};

}  // namespace

InterpolatingCubic::InterpolatingCubic(RealPoint w0, RealPoint w1, RealPoint w2, RealPoint w3)
    : m_start(w0)
{
    const double d01 = distanceReal(w0, w1);
    const double d12 = distanceReal(w1, w2);
    const double d23 = distanceReal(w2, w3);
    const double total = d01 + d12 + d23;
    m_tau = {0.0, 0.0, 0.0, 1.0};
    // Four coincident points: the curve stays at W0.
    if (total == 0.0)
        return;
    m_tau[1] = d01 / total;
    m_tau[2] = (d01 + d12) / total;
    const Solution x = solve(m_tau[1], m_tau[2], w1.x - w0.x, w2.x - w0.x, w3.x - w0.x);
    const Solution y = solve(m_tau[1], m_tau[2], w1.y - w0.y, w2.y - w0.y, w3.y - w0.y);
    m_a = {x.a, y.a};
    m_b = {x.b, y.b};
    m_c = {x.c, y.c};
}

RealPoint InterpolatingCubic::at(double t) const
{
    return {((m_a.x * t + m_b.x) * t + m_c.x) * t + m_start.x,
            ((m_a.y * t + m_b.y) * t + m_c.y) * t + m_start.y};
}

CurveStatus smoothVertices(std::span<const RealPoint> vertices, bool closed,
                           const CurveSettings& settings, CurveOutput& out)
{
    const std::size_t n = vertices.size();
    if (n <= 3 || !curves::usable(settings))
        return CurveStatus::invalidInput;
    for (const RealPoint& p : vertices) {
        if (!curves::finite(p))
            return CurveStatus::invalidInput;
    }

    // Piece 0 draws from V[0] to V[2]; each middle piece j the stretch V[j+1]..V[j+2], followed
    // by the vertex V[j+2]; the last piece runs to the end (closed: back to V[0]).
    std::vector<Piece> pieces;
    std::vector<std::size_t> vertexAfter;  // index of the vertex emitted after each piece, or n
    if (n == 4) {
        pieces.push_back({0, 0, 3});
        vertexAfter.push_back(n);
    } else {
        pieces.push_back({0, 0, 2});
        vertexAfter.push_back(n);
        const std::size_t middle = closed ? n - 4 : n - 5;
        for (std::size_t j = 1; j <= middle; ++j) {
            pieces.push_back({j, 1, 2});
            vertexAfter.push_back(j + 2);
        }
        pieces.push_back({closed ? n - 3 : n - 4, 1, 3});
        vertexAfter.push_back(n);
    }

    Smoother smoother(vertices, settings, out);
    double total = static_cast<double>(n) + 2.0;
    for (const Piece& piece : pieces)
        total += smoother.bound(piece.i);
    if (!curves::fits(total, settings))
        return CurveStatus::tooLarge;

    out.addTested(vertices[0]);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        smoother.emit(pieces[k]);
        if (vertexAfter[k] < n)
            out.addTested(vertices[vertexAfter[k]]);
    }
    out.addTested(closed ? vertices[0] : vertices[n - 1]);
    return CurveStatus::ok;
}

}  // namespace kerfline
