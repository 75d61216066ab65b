#include "geometry/curve_output.h"

namespace kerfline {

Point FigureCurveOutput::toUnits(RealPoint p) const
{
    return Point{mmToUnits(p.x * m_mmPerDrawingUnit), mmToUnits(p.y * m_mmPerDrawingUnit)};
}

void FigureCurveOutput::addTested(RealPoint p)
{
    const Point units = toUnits(p);
    if (!samePoint(units, m_lastTested))
        addPoint(m_figure, units);
    m_lastTested = units;
}

void FigureCurveOutput::addPlain(RealPoint p)
{
    addPoint(m_figure, toUnits(p));
}

}  // namespace kerfline
