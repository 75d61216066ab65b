#pragma once

#include <vector>

namespace kerfline {

class TMDIChild;

// What the project window's legend explains, one entry per colour or mark on the view.
enum class LegendItem {
    ClosedFigure,     // black
    OpenFigure,       // blue
    Unconnected,      // red: a figure the cut path does not reach
    RotaryAxis,       // green: the rotation axis
    RotaryProfile,    // black: what turns about it
    FrontShape,       // green: pen 4 of the independent arms
    BackShape,        // red: pen 3
    PairMark,         // yellow: pen 6, and the simulation's lines of a synchronous pair
    Selected,         // white
    KerfPath,         // the path offset by half the kerf
    WorkingArea,      // the machine's working area
    SimulationTrail,  // the simulation's red dots
    WireTrail,        // the route the wire cut during the job
    CutCovered,       // what a cut of the selected figure covers
    StartPoint,       // where the wire must stand before it
};

// What the view shows beyond the figures.
struct LegendExtras {
    bool simulationTrail = false;
    bool wireTrail = false;
    bool cutPreview = false;  // what a cut covers, and its start point
};

// The entries the view needs now, in a fixed order: only the roles the project's figures have in
// the configured mode, and the marks the view shows.
std::vector<LegendItem> viewLegend(const TMDIChild& project, LegendExtras extras);

}  // namespace kerfline
