#pragma once

#include <cstdint>
#include <string>

namespace kerfline {

// Lengths as the information windows show them.

// The length in millimetres of `plotterUnits` at the configured scale (percent): the scaled
// value is taken to whole plotter units first (half to even), then 40 units make a millimetre.
double scaledMillimetres(double plotterUnits, double scalePercent);

// Millimetres in the display unit, fixed-point with `decimals`, the locale's separator, one
// space and the unit ("254.00 mm", "10.00 in").
std::string lengthWithUnit(double millimetres, int decimals, int displayUnit, char separator);

// Strips the accelerator marks of a menu caption ("Project &information"), so the caption of
// a window can take the text of its menu item; "&&" stays a literal "&".
std::string withoutAccelerator(const std::string& caption);

}  // namespace kerfline
