#pragma once

#include "geometry/figure.h"
#include "geometry/geometry.h"

namespace kerfline {

// Where the curve routines put their points, in order. A design reader binds both outputs to
// the figure it is filling.
class CurveOutput {
public:
    virtual ~CurveOutput() = default;
    // Takes the point unless it equals, in plotter units, the last point this output took.
    virtual void addTested(RealPoint p) = 0;
    // Always takes the point.
    virtual void addPlain(RealPoint p) = 0;
};

// Appends to a figure, converting drawing units to millimetres (mmPerDrawingUnit: 1, 25.4 or
// 304.8 for a DXF drawing, 1 for EPS, whose points are millimetres already) and then to plotter
// units. Make one per figure: the last tested point starts at a value no design reaches, so the
// first point is always taken.
class FigureCurveOutput final : public CurveOutput {
public:
    static constexpr Point kNoPoint{2147483647, 2147483647};

    explicit FigureCurveOutput(tfigura& figure, double mmPerDrawingUnit = 1.0)
        : m_figure(figure), m_mmPerDrawingUnit(mmPerDrawingUnit)
    {
    }

    void addTested(RealPoint p) override;
    void addPlain(RealPoint p) override;

    Point toUnits(RealPoint p) const;
    // Plain points do not change it.
    Point lastTested() const { return m_lastTested; }

private:
    tfigura& m_figure;
    double m_mmPerDrawingUnit;
    Point m_lastTested = kNoPoint;
};

}  // namespace kerfline
