#pragma once

#include "project/project_view.h"

#include <vector>

namespace kerfline {

class SimulationPacer;
class TMDIChild;

// The pixel positions a move from `from` to `to` passes through: Round(distance) unit steps, each
// position rounded from the straight line; the last one is `to`. None for a move of no length.
std::vector<PixelPoint> pixelSteps(PixelPoint from, PixelPoint to);

// Where the animated simulation draws. The project window implements it.
class SimulationCanvas {
public:
    virtual ~SimulationCanvas() = default;
    // Puts the mouse cursor at this window position.
    virtual void placeCursor(PixelPoint position) = 0;
    // A small red circle of radius 1 where the wire has cut; it stays when the simulation stops.
    virtual void drawCutDot(PixelPoint centre) = 0;
    // A yellow line between the points a synchronous pair cuts together.
    virtual void drawPairLine(PixelPoint front, PixelPoint back) = 0;
    // Shows what was drawn since the last call.
    virtual void refresh() = 0;
    // How much of the path's length (travel and cut) has been animated, 0..1; told with every
    // refresh and once more at the end.
    virtual void progress(double /*fraction*/) {}
};

// How an animation ended.
struct SimulationOutcome {
    bool stopped = false;   // the operator stopped it with a key or a left click
    double fraction = 0.0;  // of the path's length animated
};

// Animates the replayed cut path (simulation_replay.h) on a canvas: travel in unit pixel steps
// with the cursor 2 pixels right of and 3 below the wire and a paced wait of 1, cuts in unit steps
// with a dot each and a paced wait of 2. After every wait the operator's pending input is taken:
// a key or a left click sets simulationStopped and ends the animation with its trail in place.
// Long waits are cut into slices so a press is seen within 50 ms; the window keeps painting.
// The speed is the configuration's `sbWspSymulacji`, read at every wait, so the operator can
// change it while the animation runs.
SimulationOutcome animateSimulation(TMDIChild& project, const ViewMapping& mapping, SimulationCanvas& canvas,
                                    SimulationPacer& pacer);

}  // namespace kerfline
