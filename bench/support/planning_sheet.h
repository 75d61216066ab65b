#pragma once

// The sheet of the planning benchmark: letters of 20 to 60 vertices inside frames (alone, with an
// island, or many to a frame), and rings. Shared by the benchmarks that plan it and export it.
#include "../../tests/project/project_generator.h"

#include "project/tmdichild.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kerfline::bench {

inline std::vector<testing::Contour> planningSheet(int figures)
{
    testing::SheetOptions options;
    options.minLetterPoints = 20;
    options.maxLetterPoints = 60;
    // Rectangles, rings, framed letters, crowded frames; no open polylines.
    options.weights = {1, 2, 4, 2, 0, 0, 0};
    options.maxCrowd = 30;
    options.pitch = 6000;
    options.cellSize = 5000;
    // About five figures per cell with these weights; the exact count is reported.
    options.cells = std::max(1, figures / 5);
    return testing::SheetGenerator(20240611, options).generate();
}

// A project of the sheet's figures, loaded but not yet prepared.
inline std::unique_ptr<TMDIChild> sheetProject(AppContext& app, const std::vector<testing::Contour>& contours)
{
    auto project = std::make_unique<TMDIChild>(app);
    for (const auto& points : contours) {
        tfigura figure;
        figure.sourceFigure = -1;
        figure.points = points;
        project->AddFigure(std::move(figure));
    }
    project->Ustaw_PPiPK();
    return project;
}

}  // namespace kerfline::bench
