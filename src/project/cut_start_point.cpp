#include "project/cut_start_point.h"

#include "project/tmdichild.h"

namespace kerfline {

int settleStartPoint(TMDIChild& project)
{
    const auto start = static_cast<std::size_t>(project.startFigure);
    if (start >= project.figures.size())
        return 0;
    tfigura& figure = project.figures[start];
    const bool single = project.figures.size() == 1 && !figure.points.empty() &&
                        !(figure.points.front() == figure.points.back());
    project.singleOpenFigure = single ? 1 : 0;
    int direction = 0;
    if (single) {
        const Point first = figure.points.front();
        const Point last = figure.points.back();
        const auto lastVertex = static_cast<std::int32_t>(figure.points.size() - 1);
        // directionX holds 1 or 255, the byte of -1.
        if (project.directionX[0] == 255) {
            direction = -1;
            figure.startVertex = last.x > first.x ? lastVertex : 0;
        } else if (project.directionX[0] == 1) {
            direction = 1;
            figure.startVertex = first.x < last.x ? 0 : lastVertex;
        }
    }
    project.computeStartOffsets();
    return direction;
}

}  // namespace kerfline

namespace kerfline {

void settleUnattendedStart(TMDIChild& project)
{
    settleStartPoint(project);
    project.cutOutline = 1;
}

}  // namespace kerfline
