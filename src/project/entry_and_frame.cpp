#include "project/tmdichild.h"

#include "project/connection_rules.h"
#include "project/project_extents.h"

#include <numbers>

namespace kerfline {
namespace {

// The frame keeps 10 mm of foam around the design.
constexpr std::int32_t kFrameMargin = 400;
// The entry line's nominal length in plotter units.
constexpr std::int32_t kEntryLength = 60;

// The fields every figure added as the start of the project shares.
void prepareAddedStart(tfigura& figure, const TMDIChild& project, std::uint8_t kind)
{
    figure.kind = kind;
    figure.isDesign = 0;
    figure.cutEnabled = 1;
    figure.valid = 1;
    figure.sourceFigure = -1;
    figure.number = static_cast<std::int32_t>(project.figures.size());
    figure.container = -1;
    figure.parent = -1;
    figure.attachVertex = -1;
    figure.startVertex = -1;
    figure.unconnected = 0;
    figure.nestLevel = 0;
    figure.centreX = extentCentre(project.minX, project.maxX);
    figure.centreY = extentCentre(project.minY, project.maxY);
    if (!project.figures.empty()) {
        figure.originX = project.figures.front().originX;
        figure.originY = project.figures.front().originY;
    }
}

}  // namespace

std::int32_t TMDIChild::addFrame()
{
    // The loader refused projects whose frame would leave the 32-bit range.
    minX -= kFrameMargin;
    minY -= kFrameMargin;
    maxX += kFrameMargin;
    maxY += kFrameMargin;
    width = extentSpan(minX, maxX);
    height = extentSpan(minY, maxY);

    tfigura frame;
    prepareAddedStart(frame, *this, kFigureFrame);
    frame.points = {{minX, minY}, {maxX, minY}, {maxX, maxY}, {minX, maxY}, {minX, minY}};
    frame.open = 0;
    frame.closed = 1;
    frame.minX = minX;
    frame.minY = minY;
    frame.maxX = maxX;
    frame.maxY = maxY;
    frame.width = width;
    frame.height = height;
    frame.length = static_cast<std::int32_t>(2 * (std::int64_t{width} + height));
    frame.vertexInfo.assign(5, VertexRecord{std::numbers::pi / 2.0, 6, 0});
    frame.minXVertex = frame.minYVertex = 0;
    frame.maxXVertex = frame.maxYVertex = 2;

    figures.push_back(std::move(frame));
    startFigure = static_cast<std::int32_t>(figures.size() - 1);
    frameAdded = 1;
    return startFigure;
}

std::int32_t TMDIChild::addEntryLine()
{
    tfigura entry;
    prepareAddedStart(entry, *this, kFigureConnector);
    entry.points = {{minX, minY}, {minX, minY}};
    entry.open = 1;
    entry.closed = 0;
    entry.minX = entry.maxX = minX;
    entry.minY = entry.maxY = minY;
    entry.length = kEntryLength;
    entry.vertexInfo.assign(2, VertexRecord{std::numbers::pi / 2.0, 6, 1});
    entry.minXVertex = entry.minYVertex = 0;
    entry.maxXVertex = entry.maxYVertex = 1;

    figures.push_back(std::move(entry));
    width = extentSpan(minX, maxX);
    height = extentSpan(minY, maxY);
    startFigure = static_cast<std::int32_t>(figures.size() - 1);
    frameAdded = 0;
    return startFigure;
}

bool TMDIChild::connectEntry()
{
    const tfigura& start = figures[static_cast<std::size_t>(startFigure)];
    const std::int32_t dc = vertexNearestToOrigin(start);
    const Point from = start.points[static_cast<std::size_t>(dc)];

    ConnectionCost best = kNoConnection;
    std::int32_t bestU = -1;
    std::int32_t bestVertex = 0;
    for (std::size_t u = 0; u < figures.size(); ++u) {
        const tfigura& figure = figures[u];
        if (figure.unconnected == 0 || figure.nestLevel >= 2)
            continue;
        for (std::size_t v = 0; v < figure.points.size(); ++v) {
            const auto vu = static_cast<std::int32_t>(v);
            ConnectionCost cost = squaredDistance(figure.points[v], from);
            cost = withCornerWeight(cost, figure, vu);
            cost = withCornerWeight(cost, start, dc);
            if (cost < best) {
                best = cost;
                bestU = static_cast<std::int32_t>(u);
                bestVertex = vu;
            }
        }
    }
    if (bestU < 0)
        return false;
    repairEntryCrossing(figures[static_cast<std::size_t>(bestU)], bestVertex, from);
    linkByConnector(startFigure, dc, bestU, bestVertex);
    return true;
}

}  // namespace kerfline
