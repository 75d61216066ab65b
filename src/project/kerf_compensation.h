#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <vector>

namespace kerfline {

// A hot wire melts away a channel of foam (the kerf): the wire has to run half a kerf outside
// every outer contour and half a kerf inside every hole for the part to come out at its drawn
// size. This file plans that offset; the polygon offsetting itself is Clipper's.

// What the compensation could not do as the drawing asks, with the figures (indices) concerned.
enum class KerfIssueKind {
    Vanished,  // a hole smaller than the kerf: cut as drawn
    Merged,    // two figures closer than the kerf: both cut as drawn
    Narrowed,  // parts of the figure narrower than the kerf: the path leaves them out
};
struct KerfIssue {
    KerfIssueKind kind{};
    std::int32_t figure = -1;
    std::int32_t other = -1;  // Merged: the second figure
    friend bool operator==(const KerfIssue&, const KerfIssue&) = default;
};

// One design figure as drawn, with its place in the nesting of the drawing.
struct KerfOutline {
    std::vector<Point> points;
    bool closed = false;
    std::int32_t nestLevel = 0;   // 0 outermost; even levels grow, odd levels (holes) shrink
    std::int32_t container = -1;  // index of the directly enclosing outline
};

struct KerfCompensation {
    std::vector<std::vector<Point>> points;  // the compensated path of every outline, in order
    std::vector<KerfIssue> issues;           // ascending by figure
};

// Half a kerf of `kerfMm` millimetres in plotter units.
double halfKerfUnits(double kerfMm);

// The outlines Clipper makes of the closed outline offset by `delta` plotter units (positive
// grows the area it encloses, whatever its orientation), with round joins and an arc tolerance
// of 0.01 mm. Each comes back closed (last point = first) and in the orientation of the input.
std::vector<std::vector<Point>> offsetOutline(const std::vector<Point>& outline, double delta);

// The compensated paths of a drawing. Closed outlines are offset by half the kerf, growing and
// shrinking by nesting level; one that vanishes, or comes closer to another than the kerf allows,
// keeps its drawn outline and is reported. Open outlines stay as drawn, except that an end lying
// on a closed outline (within joinTolerance plotter units) moves along its last segment onto that
// outline's compensated path, which gains a vertex there so that the ends still touch.
KerfCompensation compensateKerf(const std::vector<KerfOutline>& outlines, double kerfMm,
                                std::int32_t joinTolerance);

}  // namespace kerfline
