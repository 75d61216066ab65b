#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <span>
#include <string>

namespace kerfline {

// Writes the figures, in order, as an ASCII DXF drawing of POLYLINE entities in an entities
// section, coordinates in millimetres whatever the display unit (which only sets the decimals).
// Lines end with CR LF; no header, layers or polyline flags. The file replaces the one at path as
// a whole. 0, or the system's error code.
int WriteDxfFile(std::span<const tfigura> figures, const std::string& path, int displayUnit);

// A coordinate in plotter units as the DXF export writes it in millimetres: fixed notation with
// '.', 1 decimal for millimetres, 2 for inches, 3 for feet, rounded half to even to at most 7
// significant digits; more than 7 digits before the point switch to exponent notation
// ("5.368709E+07").
std::string dxfCoordinate(std::int64_t units, int displayUnit);

}  // namespace kerfline
