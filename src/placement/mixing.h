#pragma once

#include "geometry/figure.h"
#include "project/tmdichild.h"

#include <optional>
#include <vector>

namespace kerfline {

// The front and back paths paired point by point: equal lengths, point k of one is cut together
// with point k of the other.
struct PairedPaths {
    std::vector<Point> front;
    std::vector<Point> back;
};

// Pairs two recorded cut paths run by run. Both are first made to start and to end at the same
// point (per coordinate the larger value wins). A run starts where the previous one ended and
// goes on over the records that carry the tag of the record after its start; runs of equal point
// counts are copied, others are interpolated by relative length along each run. Nothing when the
// recordings are empty or one runs out of runs before the other: they do not pair.
std::optional<PairedPaths> pairRecordings(std::vector<MixSource> front, std::vector<MixSource> back);

// Drops the later point of every pair of neighbours that lie closer than 0.5 mm on both paths.
void dropClosePairs(PairedPaths& paths);

// The mixing (pomieszaj) of the FRONT and BACK projects of one design into `mix`, the project
// the independent arms cut: two figures (the front shape, pen 4, and the back shape, pen 3) of
// equal point counts, moved so that the project's minimum is 0. False, after the information
// "QdiloscFigurJednakowa", when the figure counts or the recorded runs do not pair; `mix` is then
// left empty and the caller closes it. The caller closes FRONT and BACK after a mixing that
// succeeded.
bool pomieszaj(TMDIChild& front, TMDIChild& back, TMDIChild& mix);

}  // namespace kerfline
