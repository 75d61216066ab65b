#pragma once

#include "geometry/curve_output.h"
#include "geometry/figure.h"
#include "geometry/geometry.h"

namespace kerfline {

// The two point outputs of the DXF and EPS readers: drawing units become millimetres
// (mmPerDrawingUnit) and then plotter units. The tested output (addDrawingPoint, addMmPoint)
// drops a point equal to the last one it took; the plain output (appendCurvePoint) always
// appends. A point that is not a finite number or lies beyond the 32-bit plotter-unit range is
// not appended and marks the output as out of range, for the reader to refuse the design instead
// of letting a coordinate wrap around.
class DrawingOutput final : public CurveOutput {
public:
    // The last tested point before any was taken: a value no accepted point can have, so the
    // first point is always taken.
    static constexpr Point kNoPoint{2147483647, 2147483647};

    DrawingOutput(tfigura& figure, double mmPerDrawingUnit) : m_figure(figure), m_mmPerDrawingUnit(mmPerDrawingUnit) {}

    void addTested(RealPoint p) override;
    void addPlain(RealPoint p) override;

    Point lastTested() const { return m_lastTested; }
    bool outOfRange() const { return m_outOfRange; }

    // Whether a length in drawing units stays within the plotter-unit range.
    static bool fits(double drawingUnits, double mmPerDrawingUnit);

private:
    bool convert(RealPoint p, Point& units);

    tfigura& m_figure;
    double m_mmPerDrawingUnit;
    Point m_lastTested = kNoPoint;
    bool m_outOfRange = false;
};

}  // namespace kerfline
