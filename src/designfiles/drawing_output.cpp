#include "designfiles/drawing_output.h"

#include "base/round.h"

#include <cmath>

namespace kerfline {
namespace {

// One unit inside the 32-bit range, so that no accepted point equals kNoPoint.
constexpr double kLargestUnits = 2147483646.0;

}  // namespace

bool DrawingOutput::fits(double drawingUnits, double mmPerDrawingUnit)
{
    const double units = drawingUnits * mmPerDrawingUnit * kUnitsPerMm;
    return std::isfinite(units) && std::fabs(units) <= kLargestUnits;
}

// mmToUnits on the millimetres, with the range checked on the same product it rounds.
bool DrawingOutput::convert(RealPoint p, Point& units)
{
    const double x = p.x * m_mmPerDrawingUnit * kUnitsPerMm;
    const double y = p.y * m_mmPerDrawingUnit * kUnitsPerMm;
    if (!(std::fabs(x) <= kLargestUnits && std::fabs(y) <= kLargestUnits)) {
        m_outOfRange = true;
        return false;
    }
    units = {roundHalfEven(x), roundHalfEven(y)};
    return true;
}

void DrawingOutput::addTested(RealPoint p)
{
    Point units;
    if (!convert(p, units))
        return;
    if (!samePoint(units, m_lastTested))
        addPoint(m_figure, units);
    m_lastTested = units;
}

void DrawingOutput::addPlain(RealPoint p)
{
    Point units;
    if (convert(p, units))
        addPoint(m_figure, units);
}

}  // namespace kerfline
