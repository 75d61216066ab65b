#pragma once

#include "geometry/curve_flattening.h"

namespace kerfline {

class Configuration;

// The curve settings a design importer takes from the configuration: the DXF curve step and
// the millimetres per drawing unit of the display unit.
CurveSettings designCurveSettings(const Configuration& configuration);

}  // namespace kerfline
