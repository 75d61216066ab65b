#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <vector>

namespace kerfline {

class TMDIChild;

// What a cut of part of a project covers, shown before it starts: the figures the walk of the
// cut tree reaches from the first figure, and the start vertex where the wire must stand.
struct CutPreview {
    std::vector<bool> figures;  // by index: the cut reaches it
    std::int32_t startFigure = -1;
    std::int32_t startVertex = 0;
    Point start;                // plotter units of the project
};

// The cut from figure `first`: that figure alone (`first` == `last`), or with every connected
// figure the cut tree hangs below it. The start vertex is the figure's own, or vertex 0 when it
// has none, as the program writer takes it.
CutPreview cutPreview(const TMDIChild& project, std::int32_t first, std::int32_t last);

}  // namespace kerfline
