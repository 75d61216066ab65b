#include "geometry/geometry.h"

#include "geometry/round.h"

namespace kerfline {

double unitsToMm(double units)
{
    return units / kUnitsPerMm;
}

std::int32_t mmToUnits(double mm)
{
    return roundHalfEven(mm * kUnitsPerMm);
}

}  // namespace kerfline
