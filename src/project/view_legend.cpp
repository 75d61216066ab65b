#include "project/view_legend.h"

#include "project/project_view.h"
#include "project/tmdichild.h"
#include "config/parameters.h"

#include <algorithm>

namespace kerfline {

std::vector<LegendItem> viewLegend(const TMDIChild& project, LegendExtras extras)
{
    const std::vector<FigureColour> colours = figureColours(project);
    const int mode = project.mode();
    const auto has = [&](FigureColour colour) { return std::find(colours.begin(), colours.end(), colour) != colours.end(); };

    std::vector<LegendItem> items;
    if (mode == ModeIndependent) {
        if (has(FigureColour::Green))
            items.push_back(LegendItem::FrontShape);
        if (has(FigureColour::Red))
            items.push_back(LegendItem::BackShape);
        if (has(FigureColour::Yellow) || project.synchronousPair != 0)
            items.push_back(LegendItem::PairMark);
    } else if (rotaryView(project)) {
        items.push_back(LegendItem::RotaryAxis);
        if (has(FigureColour::Black))
            items.push_back(LegendItem::RotaryProfile);
    } else {
        if (has(FigureColour::Black))
            items.push_back(LegendItem::ClosedFigure);
        if (has(FigureColour::Blue))
            items.push_back(LegendItem::OpenFigure);
        if (has(FigureColour::Red))
            items.push_back(LegendItem::Unconnected);
    }
    if (has(FigureColour::White))
        items.push_back(LegendItem::Selected);
    if (std::any_of(project.figures.begin(), project.figures.end(), [](const tfigura& f) { return !f.designPoints.empty(); }))
        items.push_back(LegendItem::KerfPath);
    if (!project.figures.empty())
        items.push_back(LegendItem::WorkingArea);
    if (extras.simulationTrail)
        items.push_back(LegendItem::SimulationTrail);
    if (extras.wireTrail)
        items.push_back(LegendItem::WireTrail);
    if (extras.cutPreview) {
        items.push_back(LegendItem::CutCovered);
        items.push_back(LegendItem::StartPoint);
    }
    return items;
}

}  // namespace kerfline
