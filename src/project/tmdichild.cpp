#include "project/tmdichild.h"

#include "designfiles/thpgl.h"
#include "base/round.h"
#include "project/connector_search.h"
#include "project/project_extents.h"
#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace kerfline {

TMDIChild::TMDIChild(AppContext& context) : m_context(context) {}

TMDIChild::~TMDIChild() = default;

std::int32_t TMDIChild::joinTolerance() const
{
    return roundHalfEven(m_context.configuration.joinTolerance);
}

int TMDIChild::mode() const
{
    return m_context.configuration.choice(Param::Mode);
}

void TMDIChild::setStatusText(std::string text)
{
    StatusBar = std::move(text);
    requestRepaint();
}

void TMDIChild::requestRepaint() const
{
    if (repaintRequested)
        repaintRequested();
}

void TMDIChild::licz_parametry(tfigura& figure) const
{
    if (figure.points.empty()) {
        figure.valid = 0;
        return;
    }
    // Seeded from vertex 0 with strict comparisons: the first vertex holding an extreme wins,
    // and a coordinate on the very edge of the 32-bit range still lies inside the extents.
    const Point first = figure.points.front();
    figure.minX = figure.maxX = first.x;
    figure.minY = figure.maxY = first.y;
    figure.minXVertex = figure.maxXVertex = figure.minYVertex = figure.maxYVertex = 0;
    for (std::size_t k = 1; k < figure.points.size(); ++k) {
        const Point p = figure.points[k];
        const auto index = static_cast<std::int32_t>(k);
        if (p.x > figure.maxX) {
            figure.maxX = p.x;
            figure.maxXVertex = index;
        }
        if (p.x < figure.minX) {
            figure.minX = p.x;
            figure.minXVertex = index;
        }
        if (p.y > figure.maxY) {
            figure.maxY = p.y;
            figure.maxYVertex = index;
        }
        if (p.y < figure.minY) {
            figure.minY = p.y;
            figure.minYVertex = index;
        }
    }
    figure.width = extentSpan(figure.minX, figure.maxX);
    figure.height = extentSpan(figure.minY, figure.maxY);
    figure.centreX = extentCentre(figure.minX, figure.maxX);
    figure.centreY = extentCentre(figure.minY, figure.maxY);

    figure.valid = 1;
    figure.nestLevel = 0;
    const std::int32_t tolerance = joinTolerance();
    const Point last = figure.points.back();
    const bool ends =
        std::llabs(std::int64_t{first.x} - last.x) < tolerance && std::llabs(std::int64_t{first.y} - last.y) < tolerance;
    const bool closed = figure.points.size() >= 3 && ends;
    figure.open = closed ? 0 : 1;
    figure.closed = closed ? 1 : 0;

    figure.isDesign = 1;
    figure.cutEnabled = 1;
    figure.unconnected = 1;
    // Until the figure is linked it has no place in the cut tree: 0 would name vertex 0 of
    // figure 0, and the walk would enter the figure there without a connector.
    figure.container = -1;
    figure.parent = -1;
    figure.attachVertex = -1;
    figure.startVertex = -1;
}

std::int32_t TMDIChild::AddFigure(tfigura figure)
{
    licz_parametry(figure);
    figure.isDesign = 1;
    figure.number = static_cast<std::int32_t>(figures.size());
    figures.push_back(std::move(figure));
    return static_cast<std::int32_t>(figures.size() - 1);
}

std::int32_t TMDIChild::AddLacznik(tfigura figure, std::uint8_t closed)
{
    licz_parametry(figure);
    figure.closed = closed;
    figure.isDesign = 0;
    figure.number = static_cast<std::int32_t>(figures.size());
    figures.push_back(std::move(figure));
    return static_cast<std::int32_t>(figures.size() - 1);
}

void TMDIChild::Ustaw_PPiPK()
{
    const ProjectExtents extents = extentsOf(figures);
    minX = extents.minX;
    minY = extents.minY;
    maxX = extents.maxX;
    maxY = extents.maxY;
    width = extentSpan(minX, maxX);
    height = extentSpan(minY, maxY);
    for (std::size_t i = 0; i < figures.size(); ++i)
        figures[i].number = static_cast<std::int32_t>(i);
}

std::int32_t TMDIChild::JakiKierunek(std::int32_t) const
{
    return 0;
}

void TMDIChild::markConnected(std::int32_t index)
{
    tfigura& figure = figures[static_cast<std::size_t>(index)];
    if (figure.unconnected != 0)
        m_connectionOrder.push_back(index);
    figure.unconnected = 0;
}

}  // namespace kerfline
