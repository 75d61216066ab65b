#include "project/tmdichild.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "project/project_extents.h"

#include <algorithm>
#include <numbers>

namespace kerfline {

std::int32_t TMDIChild::linkByConnector(std::int32_t c, std::int32_t dc, std::int32_t u, std::int32_t du)
{
    const tfigura& connected = figures[static_cast<std::size_t>(c)];
    const tfigura& linked = figures[static_cast<std::size_t>(u)];
    const Point from = connected.points[static_cast<std::size_t>(dc)];
    const Point to = linked.points[static_cast<std::size_t>(du)];

    tfigura connector;
    connector.kind = kFigureConnector;
    connector.isDesign = 0;
    connector.cutEnabled = 1;
    connector.valid = 1;
    connector.open = 1;
    connector.closed = 0;
    connector.sourceFigure = -1;
    connector.points = {from, to};
    connector.minX = std::min(from.x, to.x);
    connector.maxX = std::max(from.x, to.x);
    connector.minY = std::min(from.y, to.y);
    connector.maxY = std::max(from.y, to.y);
    connector.minXVertex = to.x < from.x ? 1 : 0;
    connector.maxXVertex = to.x > from.x ? 1 : 0;
    connector.minYVertex = to.y < from.y ? 1 : 0;
    connector.maxYVertex = to.y > from.y ? 1 : 0;
    connector.width = extentSpan(connector.minX, connector.maxX);
    connector.height = extentSpan(connector.minY, connector.maxY);
    connector.centreX = extentCentre(connector.minX, connector.maxX);
    connector.centreY = extentCentre(connector.minY, connector.maxY);
    connector.length = roundHalfEven(distance(from, to));
    connector.vertexInfo.assign(2, VertexRecord{std::numbers::pi / 2.0, 5, 1});
    connector.parent = c;
    connector.attachVertex = dc;
    connector.startVertex = 0;
    connector.nestLevel = std::max(connected.nestLevel, linked.nestLevel);
    // The region the connector runs in; nothing reads it.
    connector.container = linked.container;
    connector.originX = linked.originX;
    connector.originY = linked.originY;
    connector.unconnected = 1;

    const auto index = static_cast<std::int32_t>(figures.size());
    connector.number = index;
    figures.push_back(std::move(connector));
    markConnected(index);

    tfigura& figure = figures[static_cast<std::size_t>(u)];
    figure.parent = index;
    figure.attachVertex = 1;
    figure.startVertex = du;
    markConnected(u);
    return index;
}

}  // namespace kerfline
