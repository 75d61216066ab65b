#pragma once

#include "geometry/figure.h"

namespace kerfline {

// What every design reader does when a figure is complete: a figure without points is marked
// invalid (the loader discards it); otherwise its extents, size and open state are set and it is
// marked valid.
void endFigure(tfigura& figure);

}  // namespace kerfline
