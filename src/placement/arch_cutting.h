#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kerfline {

class TMDIChild;

// The curve transformer of the arch cutting (TCurveTransformer): thins the curve's vertices.
struct CurveMeasures {
    std::int32_t shortest = 2147483647;  // rounded segment lengths
    std::int32_t longest = 0;
    double smallestDeviation = 2147483647.0;  // smallest positive distance of a middle vertex
    double largestDeviation = 0.0;            // from the segment joining its neighbours
};
CurveMeasures measureCurve(const std::vector<Point>& points);

// Removes every middle vertex that lies closer to the segment joining its neighbours than
// `reductionRatio` times the smallest positive deviation, walking from the first vertex.
std::vector<Point> thinCurve(std::vector<Point> points, int reductionRatio);

// One V-shaped notch of the strip: its tip at X `at`, its mouth from at - halfWidth to
// at + halfWidth, for the turn `turn` of the curve's vertex.
struct Notch {
    std::int32_t at = 0;
    std::int32_t halfWidth = 0;
    double turn = 0.0;
};

// The curve unrolled onto a straight line of its segments' rounded lengths, with a notch at
// every middle vertex, `depth` plotter units deep and Round(|tan(t / 2) × depth|) wide on each
// side: the strip closes the notch when bent by the vertex's turn t. `overlap` when a notch
// reaches into the one before it, or is so wide (a turn near a half turn) that its width had to
// be cut to what plotter units hold. A curve of fewer than three points is a plain strip of its
// length.
struct Strip {
    std::vector<Point> points;
    std::vector<Notch> notches;
    bool overlap = false;
};
Strip unrollCurve(const std::vector<Point>& curve, std::int32_t depth);

// Why a project cannot be bent: the depth field must be refilled (depth not above 0, or a curve
// of fewer than three points), the project is not a single open curve, or it bends both ways.
enum class ArchRefusal { None, Depth, NotASingleCurve, BendsBothWays };
ArchRefusal archRefusal(const TMDIChild& source, double depthMm);

// The arch cutting dialog's work on its source project (TfZaginacz). It keeps the curve as it was
// when the dialog opened, so every Generate thins that curve and not one already thinned.
class ArchCutting {
public:
    explicit ArchCutting(TMDIChild& source);

    // Generate: the checks (with their messages, except the depth's), the thinning of the
    // original curve, written back to the source (whose parameters and cut are recomputed), and
    // the strip as the only figure of `result`, prepared for 2D cutting. Nothing when a check
    // refused; otherwise whether the notches overlapped (the message then was shown).
    std::optional<bool> Generate(double depthMm, int reductionRatio, TMDIChild& result);

    // The refusal of the last Generate.
    ArchRefusal refusal = ArchRefusal::None;

private:
    TMDIChild& m_source;
    std::vector<Point> m_original;
};

}  // namespace kerfline
