#pragma once

#include "geometry/figure.h"

namespace kerfline {

// Plotter units are 1/40 mm.
inline constexpr double kUnitsPerMm = 40.0;

double unitsToMm(double units);
std::int32_t mmToUnits(double mm);

}  // namespace kerfline
