#include "project/tmdichild.h"

#include "geometry/geometry.h"
#include "project/connector_search.h"
#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>

namespace kerfline {

PreparationReport TMDIChild::ciecie()
{
    m_search = makeConnectorSearch();
    return ciecie(*m_search);
}

PreparationReport TMDIChild::ciecie(ConnectorSearch& search)
{
    PreparationReport report;
    frameAdded = 0;
    if (figures.empty())
        return report;
    BusyCursor busy(m_context.host);
    m_connectionOrder.clear();

    applyKerf();
    buildTurnAngles();
    co_w_czym();
    selectStartFigure();
    setUpStartFigure();
    linkTouchingFigures();
    propagateTouches();
    classifyVertices();

    const auto unconnected = [this] {
        return static_cast<int>(
            std::count_if(figures.begin(), figures.end(), [](const tfigura& f) { return f.unconnected != 0; }));
    };
    if (unconnected() > 0) {
        if (!connectRemaining(search)) {
            // The operator stopped the search: what it added stays, the progress stays shown.
            report.outcome = PreparationOutcome::Interrupted;
            requestRepaint();
            return report;
        }
    }
    // Nothing was left to search for: the path is as ready as after a search, and a
    // configuration change must not prepare the project a second time.
    pathReady = 1;

    finishStartVertex();
    computeStartOffsets();

    report.unconnectedFigures = unconnected();
    if (report.unconnectedFigures > 0)
        setStatusText(formatText(m_context.Text("Project_window", "niepolaczoneFigury"),
                                 {std::to_string(report.unconnectedFigures)}));
    else
        setStatusText("");
    return report;
}

void TMDIChild::finishStartVertex()
{
    tfigura& start = figures[static_cast<std::size_t>(startFigure)];
    if (start.open == 0 || start.points.empty())
        return;
    const auto attachedAt = [&](std::int32_t vertex) {
        return std::any_of(figures.begin(), figures.end(), [&](const tfigura& f) {
            return f.parent == startFigure && f.attachVertex == vertex;
        });
    };
    const auto last = static_cast<std::int32_t>(start.points.size() - 1);
    if (!attachedAt(0))
        start.startVertex = 0;
    else if (!attachedAt(last))
        start.startVertex = last;
    else
        start.startVertex = vertexNearestToOrigin(start);
}

void TMDIChild::computeStartOffsets()
{
    const tfigura& start = figures[static_cast<std::size_t>(startFigure)];
    const auto vertex = static_cast<std::size_t>(std::max(0, start.startVertex));
    if (vertex < start.points.size()) {
        const Point s = start.points[vertex];
        startFromLeft = static_cast<std::int32_t>(std::int64_t{s.x} - minX);
        startFromRight = static_cast<std::int32_t>(std::int64_t{maxX} - s.x);
        startFromTop = static_cast<std::int32_t>(std::int64_t{maxY} - s.y);
        startFromBottom = static_cast<std::int32_t>(std::int64_t{s.y} - minY);
    }
    cutLength = 0.0;
    for (const tfigura& figure : figures)
        for (std::size_t k = 1; k < figure.points.size(); ++k)
            cutLength += distance(figure.points[k - 1], figure.points[k]);
}

}  // namespace kerfline
