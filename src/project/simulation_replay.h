#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kerfline {

class TMDIChild;

// One step of the simulated cut path, in the project's plotter units.
struct ReplayStep {
    enum class Kind : std::uint8_t {
        Place,     // the pen is set down at `point` without a move
        Travel,    // the wire travels to `point` without cutting
        Cut,       // the wire cuts to `point`, vertex `vertex` of figure `figure`
        Pause,     // wait `ms` milliseconds
        PairLine,  // a synchronous pair: figure 0's `point` is cut together with figure 1's `second`
    };
    Kind kind = Kind::Place;
    Point point;
    Point second;
    double ms = 0.0;
    std::int32_t figure = -1;
    std::int32_t vertex = -1;
    friend bool operator==(const ReplayStep&, const ReplayStep&) = default;
};

using ReplaySink = std::function<void(const ReplayStep&)>;

// Replays the cut path of a prepared project for its mode, step by step, for the view to animate:
// - rotary and turning (with a spindle or table): from the project's minimum corner, each cut
//   figure from the end CatDir chooses, and back to the corner;
// - otherwise the walk of the cut tree as save_ciecie writes it, corner pauses a quarter of
//   Pauza_w_kacie long, or for a synchronous pair the lines that join the pair's points with
//   50 ms between them.
// Clears simulationStopped first and ends as soon as the sink (the operator) sets it.
void replayCutPath(TMDIChild& project, const ReplaySink& sink);

// The same steps collected, for callers that want them all.
std::vector<ReplayStep> replaySteps(TMDIChild& project);

// The recording mode for the mixing of front and back projects: replays the two-dimensional walk
// without drawing and pauses and fills mixSources with the start vertex and every point reached, tagged with the figure
// index plus the number of pen-6 figures passed so far. Pen-6 figures are not recorded, nor a point
// equal to the previously recorded one.
void recordMixSources(TMDIChild& project);

}  // namespace kerfline
