#pragma once

#include "geometry/figure.h"

#include <span>
#include <string>

namespace kerfline {

// Writes the figures, in order, as a plain HPGL plot: for each figure with points
// "PA x,y;", "PD x,y;" for every further point and "PU;", each on a line ending with CR LF, in
// plotter units as the figures hold them. No pens, nothing before or after. The file replaces
// the one at path as a whole. 0, or the system's error code.
int WriteHpglFile(std::span<const tfigura> figures, const std::string& path);

}  // namespace kerfline
