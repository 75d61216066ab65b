#pragma once

#include "geometry/figure.h"
#include "geometry/geometry.h"

#include <optional>

namespace kerfline {

// A straight piece between two figure points.
struct Segment {
    Point first;
    Point second;
};

// The straight line through two int points in slope form. A vertical line keeps its x in
// `intercept` and a slope of +/-2147483647 that says which way it runs.
struct LineRecord {
    double slope = 0.0;
    double intercept = 0.0;
    bool vertical = false;
    bool degenerate = false;  // both points equal: no line
};

LineRecord lineThrough(Point a, Point b);

// Direction of a->b in radians, in [0, 2pi); 0 for a point to itself.
double direction(Point a, Point b);
// The same on doubles, with its own choices for vertical and horizontal pairs: a vertical or
// coincident pair gives 3pi/2 when ay >= by, a horizontal one pi when ax >= bx.
double directionReal(RealPoint a, RealPoint b);
// direction(a, b) - direction(b, c), folded once by 2pi; a left turn is negative in a y-up frame.
double turnBetween(Point a, Point b, Point c);

Segment orderByX(Segment s);
Segment orderByY(Segment s);

// Whether the segments share a point other than a common end.
bool segmentsCross(Segment s, Segment t);

// Meeting point of two lines rounded to units; none when either line is degenerate. Parallel
// distinct lines give (0, 0); the segments decide the point of two overlapping lines.
std::optional<Point> linesMeet(const LineRecord& l1, const LineRecord& l2, Segment s1, Segment s2);

// Where a point is nearest to a segment.
struct NearestOnSegment {
    double distance = 0.0;
    // The rest is known only when the segment is not a single point.
    struct Foot {
        Point point;
        double direction = 0.0;  // from the given point to the foot
        int part = 0;            // 0 inside the segment, 1 its first end, 2 its second end
    };
    std::optional<Foot> foot;
};

NearestOnSegment nearestOnSegment(Point p, Segment s);

// Vertical distance from p up to the segment when x1 <= px < x2 (half open, so a ray counts a
// shared vertex once); none for a vertical or point-sized segment or outside that range.
std::optional<double> heightAbove(Point p, Segment s);

// Implicit form A*x + B*y + C = 0 of the line through two points; a vertical line is x = x.
struct LineCoefficients {
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    bool vertical = false;
    double x = 0.0;  // the x of a vertical line
};

LineCoefficients lineCoefficients(Point a, Point b);
double pointLineDistance(Point p, const LineCoefficients& line);

}  // namespace kerfline
