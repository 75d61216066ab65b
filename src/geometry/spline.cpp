#include "geometry/spline.h"

#include "base/round.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kerfline {

namespace {

// Basis evaluations one B-spline may cost (about a second at worst); a higher degree or a longer
// unsorted knot vector is refused as too large.
constexpr double kMaxBasisWork = 200'000'000.0;

// Cubic pieces of four control points each, next to each other but not sharing points.
CurveStatus bezierPieces(std::span<const RealPoint> c, std::int64_t steps,
                         const CurveSettings& settings, CurveOutput& out)
{
    const std::size_t m = c.size();
    double b = 1.0 / static_cast<double>(steps);
    b = static_cast<double>(m) * b;
    const double perPiece = std::floor(1.0 / b) + 1.0;
    const std::size_t pieces = m / 4;
    if (!curves::fits(2.0 + static_cast<double>(pieces) * perPiece, settings))
        return CurveStatus::tooLarge;
    const auto iterations = static_cast<std::int64_t>(perPiece) + 1;

    out.addTested(c[0]);
    for (std::size_t j = 0; j < pieces; ++j) {
        double t = 0.0;
        for (std::int64_t i = 0; i < iterations; ++i) {
            t += b;
            if (!(t <= 1.0))
                break;
            RealPoint p;
            for (int r = 0; r <= 3; ++r) {
                const double w = binomial(3, r) * powerOf(r, t) * powerOf(3 - r, 1.0 - t);
                p.x += w * c[4 * j + static_cast<std::size_t>(r)].x;
                p.y += w * c[4 * j + static_cast<std::size_t>(r)].y;
            }
            out.addTested(p);
        }
    }
    out.addTested(c[m - 1]);
    return CurveStatus::ok;
}

// Cox-de Boor basis over a window of the knot vector. Only order-1 functions inside the window
// can be non-zero, so the window decides the cost: for a sorted knot vector it is the one span
// that holds t and the k - 1 before it.
class BSplineBasis {
public:
    BSplineBasis(std::span<const double> knots, std::size_t order, std::size_t controls)
        : m_knots(knots), m_order(order), m_controls(controls),
          m_sorted(std::is_sorted(knots.begin(), knots.end()))
    {
        m_values.resize(m_sorted ? 2 * order - 1 : controls + order - 1);
    }

    // Order-1 functions computed per parameter value.
    std::size_t windowWidth() const { return m_values.size(); }

    RealPoint evaluate(double t, std::span<const RealPoint> c)
    {
        const std::size_t k = m_order;
        const std::size_t last = m_controls - 1;  // n
        std::size_t lo = 0;
        std::size_t hi = last;
        if (m_sorted) {
            const auto above = std::upper_bound(m_knots.begin(), m_knots.end(), t);
            const auto index = static_cast<std::size_t>(above - m_knots.begin());
            // No span [knot[s], knot[s+1]) holds t: every basis function is 0 there.
            if (index == 0 || index == m_knots.size())
                return {};
            const std::size_t span = index - 1;
            lo = span + 1 >= k ? span + 1 - k : 0;
            hi = std::min(last, span);
            if (lo > hi)
                return {};
        }
        // Order-1 functions for i in [lo, top]; after raising to order k the window holds
        // N(i, k) for i in [lo, hi].
        const std::size_t top = std::min(last + k - 1, hi + k - 1);
        for (std::size_t i = lo; i <= top; ++i)
            m_values[i - lo] = (m_knots[i] <= t && t < m_knots[i + 1]) ? 1.0 : 0.0;
        for (std::size_t o = 2; o <= k; ++o) {
            for (std::size_t i = lo; i + o - 1 <= top; ++i) {
                const double lower = m_values[i - lo];
                const double upper = m_values[i - lo + 1];
                m_values[i - lo] = term(t - m_knots[i], m_knots[i + o - 1] - m_knots[i], lower) +
                                   term(m_knots[i + o] - t, m_knots[i + o] - m_knots[i + 1], upper);
            }
        }
        RealPoint p;
        for (std::size_t i = lo; i <= hi; ++i) {
            p.x += m_values[i - lo] * c[i].x;
            p.y += m_values[i - lo] * c[i].y;
        }
        return p;
    }

private:
    // A term with a zero numerator or a zero lower basis is 0, so an empty knot span is never
    // divided by. An unsorted knot vector can still pair a zero span with non-zero factors;
    // that term counts as 0 too instead of becoming infinite.
    static double term(double numerator, double span, double lower)
    {
        if (numerator == 0.0 || lower == 0.0 || span == 0.0)
            return 0.0;
        return numerator / span * lower;
    }

    std::span<const double> m_knots;
    std::size_t m_order;
    std::size_t m_controls;
    bool m_sorted;
    std::vector<double> m_values;
};

CurveStatus bSpline(std::size_t order, std::span<const double> knots, std::span<const RealPoint> c,
                    std::int64_t steps, const CurveSettings& settings, CurveOutput& out)
{
    const std::size_t n = c.size() - 1;
    const double b = 1.0 / static_cast<double>(steps);
    const std::int64_t divisions = roundHalfEven<std::int64_t>(1.0 / b);
    const double start = knots[order - 1];
    const double end = knots[n + 1];
    const double step = (end - start) / static_cast<double>(divisions);

    BSplineBasis basis(knots, order, c.size());
    // Accumulated steps may add one evaluation to the expected count; the bound stops a t that
    // no longer grows (a step below the knots' precision).
    const std::int64_t maxEvaluations = divisions + 1;
    const double evaluations = static_cast<double>(maxEvaluations);
    if (!curves::fits(evaluations + 2.0, settings) ||
        evaluations * static_cast<double>(order) * static_cast<double>(basis.windowWidth()) >
            kMaxBasisWork)
        return CurveStatus::tooLarge;

    out.addTested(c[0]);
    double t = start;
    for (std::int64_t i = 0; i < maxEvaluations && t < end; ++i) {
        out.addTested(basis.evaluate(t, c));
        const double next = t + step;
        if (next == t)
            break;
        t = next;
    }
    out.addTested(c[n]);
    return CurveStatus::ok;
}

}  // namespace

CurveStatus flattenSpline(int degree, int knotCount, int controlCount, std::span<const double> knots,
                          std::span<const RealPoint> controls, const CurveSettings& settings,
                          CurveOutput& out)
{
    if (!curves::usable(settings))
        return CurveStatus::invalidInput;
    for (const RealPoint& p : controls) {
        if (!curves::finite(p))
            return CurveStatus::invalidInput;
    }
    const std::span<const RealPoint> c = controls;
    const std::size_t m = c.size();

    // A straight line drawn as a spline.
    if (controlCount == 4 && m >= 4 && sameRealPoint(c[0], c[1]) && sameRealPoint(c[2], c[3])) {
        out.addTested(c[0]);
        out.addTested(c[3]);
        return CurveStatus::ok;
    }

    const bool bezier = isMultipleOf(knotCount, 4) && isMultipleOf(controlCount, 4) &&
                        std::int64_t{knotCount} == std::int64_t{controlCount} + 4 && knotCount != 12;
    std::span<const double> usedKnots;
    if (bezier) {
        if (m <= 3)
            return CurveStatus::ok;
    } else {
        if (degree < 0)
            return CurveStatus::invalidInput;
        const std::size_t needed = m + static_cast<std::size_t>(degree) + 1;
        if (knots.size() < needed)
            return CurveStatus::tooFewKnots;
        usedKnots = knots.first(needed);
        for (const double knot : usedKnots) {
            if (!curves::finite(knot))
                return CurveStatus::invalidInput;
        }
        if (m == 0)
            return CurveStatus::ok;
    }

    double length = 0.0;
    for (std::size_t i = 0; i + 1 < m; ++i)
        length += distanceReal(c[i], c[i + 1]) * settings.mmPerDrawingUnit;
    const double stepLength =
        maxOf(settings.dxfCurveStep, minOf(5.0, length / (static_cast<double>(m) * 192.0)));
    // Each path checks its own point count; this only keeps the rounding in range.
    const std::optional<std::int64_t> steps = curves::roundedCount(maxOf(4.0, length / stepLength));
    if (!steps)
        return CurveStatus::tooLarge;
    const std::int64_t l = *steps;

    if (bezier)
        return bezierPieces(c, l, settings, out);
    return bSpline(static_cast<std::size_t>(degree) + 1, usedKnots, c, l, settings, out);
}

}  // namespace kerfline
