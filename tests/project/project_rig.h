#pragma once

#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <string>
#include <vector>

namespace kerfline::testing {

// A project window model with a context of its own and the shipped language files.
struct ProjectRig {
    ProjectRig() : app(host, clock, CommandLine{})
    {
        app.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        project.fileType = 1;
    }

    ScriptedHost host;
    SimulatedClock clock;
    AppContext app;
    TMDIChild project{app};

    Configuration& config() { return app.configuration; }
    tfigura& figure(std::int32_t index) { return project.figures.at(static_cast<std::size_t>(index)); }

    // Adds the contours as loaded design figures and computes the project extents.
    void design(const std::vector<std::vector<Point>>& contours)
    {
        for (const auto& points : contours) {
            tfigura figure;
            figure.sourceFigure = -1;
            figure.points = points;
            project.AddFigure(std::move(figure));
        }
        project.Ustaw_PPiPK();
        for (tfigura& figure : project.figures) {
            figure.originX = project.minX;
            figure.originY = project.minY;
        }
    }
};

inline std::vector<Point> square(std::int32_t x, std::int32_t y, std::int32_t size)
{
    return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}, {x, y}};
}

}  // namespace kerfline::testing
