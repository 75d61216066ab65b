#include "project/project_view.h"

#include "geometry/geometry.h"
#include "base/round.h"
#include "geometry/segments.h"
#include "project/load_messages.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "config/dialog_rules.h"
#include "config/number_text.h"

#include <algorithm>
#include <cstdio>

namespace kerfline {
namespace {

// A click this close to an outline (pixels, exclusive) picks its figure.
constexpr double kPickDistance = 3.0;

int deviceOf(const TMDIChild& project)
{
    return project.context().configuration.choice(Param::StolikSwitch);
}

// Whether the mode's preparation is the two-dimensional one, which connects every figure; only
// there does an unconnected figure mean something to the operator.
bool preparedAsTwoDimensional(int mode, int device)
{
    switch (mode) {
    case ModeRotary: return false;
    case ModeSerial: return device != DeviceSpindle;
    case ModeTurning: return device == DeviceNone;
    default: return true;
    }
}

std::string millimetres(std::int32_t units, char decimalSeparator)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", unitsToMm(units));
    std::string text = buffer;
    std::replace(text.begin(), text.end(), '.', decimalSeparator);
    return text;
}

}  // namespace

PixelPoint ViewMapping::toWindow(Point p) const
{
    return {left + roundHalfEven((static_cast<double>(p.x) - minX) * k),
            baseline - roundHalfEven((static_cast<double>(p.y) - minY) * k)};
}

ViewMapping mapProjectView(const TMDIChild& project, int clientWidth, int clientHeight, int statusHeight)
{
    ViewMapping mapping;
    mapping.minX = project.minX;
    mapping.minY = project.minY;
    mapping.baseline = clientHeight - statusHeight - 7;

    double extent = project.height;
    if (project.mode() == ModeTurning && deviceOf(project) != DeviceNone) {
        const double radius = project.context().configuration.number(Param::Srednicamaterialu) / 2.0;
        extent = std::max(extent, static_cast<double>(mmToUnits(radius)));
    }
    const double drawableHeight = static_cast<double>(clientHeight) - 2.0 * statusHeight - 10.0;
    const double drawableWidth = static_cast<double>(clientWidth) - 20.0;
    mapping.k = std::min(drawableHeight / (extent + 1.0), drawableWidth / (static_cast<double>(project.width) + 1.0));
    // A straight line (no height or no width) is a design too and is drawn along its edge; the
    // +1 above keeps k finite. A window too small for any drawing would turn the picture over.
    mapping.drawable = !project.figures.empty() && mapping.k > 0.0;
    return mapping;
}

ViewMapping zoomedMapping(const ViewMapping& fitted, const ViewZoom& zoom)
{
    ViewMapping m = fitted;
    m.k = fitted.k * zoom.scale;
    m.left = fitted.left + roundHalfEven(zoom.shiftX);
    m.baseline = fitted.baseline + roundHalfEven(zoom.shiftY);
    return m;
}

ViewZoom zoomAbout(const ViewZoom& zoom, const ViewMapping& fitted, PixelPoint anchor, double factor)
{
    ViewZoom next = zoom;
    next.scale = std::clamp(zoom.scale * factor, kMinZoom, kMaxZoom);
    const double ratio = next.scale / zoom.scale;
    // The anchor's distance from the drawing's origin grows with the scale; the shift takes up
    // the difference so the design point under the anchor stays.
    const double fromLeft = anchor.x - fitted.left - zoom.shiftX;
    const double fromBase = anchor.y - fitted.baseline - zoom.shiftY;
    next.shiftX = anchor.x - fitted.left - fromLeft * ratio;
    next.shiftY = anchor.y - fitted.baseline - fromBase * ratio;
    return next;
}

ViewZoom panBy(const ViewZoom& zoom, int dx, int dy)
{
    ViewZoom next = zoom;
    next.shiftX += dx;
    next.shiftY += dy;
    return next;
}

WorkingArea workingAreaUnits(std::int32_t limitXmm, std::int32_t limitYmm)
{
    return {{0, 0}, {mmToUnits(limitXmm), mmToUnits(limitYmm)}};
}

std::string designSizeText(const TMDIChild& project, int displayUnit, char decimalSeparator)
{
    return sizeInDisplayUnit({unitsToMm(project.width), unitsToMm(project.height)}, 1, displayUnit, decimalSeparator);
}

bool rotaryView(const TMDIChild& project)
{
    const int mode = project.mode();
    return mode == ModeRotary || (mode == ModeTurning && deviceOf(project) != DeviceNone);
}

std::vector<FigureColour> figureColours(const TMDIChild& project)
{
    const int mode = project.mode();
    const int device = deviceOf(project);
    const bool rotary = rotaryView(project);
    const bool markUnconnected = preparedAsTwoDimensional(mode, device);

    std::vector<FigureColour> colours;
    colours.reserve(project.figures.size());
    // A figure of another pen in the independent mode keeps the colour the figure before it had.
    FigureColour previous = FigureColour::Black;
    for (std::size_t i = 0; i < project.figures.size(); ++i) {
        const tfigura& figure = project.figures[i];
        FigureColour colour = previous;
        if (mode == ModeIndependent) {
            if (figure.pen == 4)
                colour = FigureColour::Green;
            else if (figure.pen == 3)
                colour = FigureColour::Red;
            else if (figure.pen == 6)
                colour = FigureColour::Yellow;
        } else if (rotary) {
            colour = static_cast<std::int32_t>(i) == project.axisIndex ? FigureColour::Green : FigureColour::Black;
        } else if (markUnconnected && figure.unconnected != 0) {
            colour = FigureColour::Red;
        } else {
            colour = figure.closed != 0 ? FigureColour::Black : FigureColour::Blue;
        }
        previous = colour;
        colours.push_back(static_cast<std::int32_t>(i) == project.selectedFigure ? FigureColour::White : colour);
    }
    return colours;
}

std::int32_t figureAt(const TMDIChild& project, const ViewMapping& mapping, PixelPoint click)
{
    std::int32_t found = -1;
    if (!mapping.drawable)
        return found;
    const Point p{click.x, click.y};
    for (std::size_t f = 0; f < project.figures.size(); ++f) {
        const std::vector<Point>& points = project.figures[f].points;
        for (std::size_t i = 1; i < points.size(); ++i) {
            const PixelPoint a = mapping.toWindow(points[i - 1]);
            const PixelPoint b = mapping.toWindow(points[i]);
            if (nearestOnSegment(p, Segment{{a.x, a.y}, {b.x, b.y}}).distance < kPickDistance) {
                found = static_cast<std::int32_t>(f);
                break;
            }
        }
    }
    return found;
}

std::int32_t selectFigureAt(TMDIChild& project, const ViewMapping& mapping, PixelPoint click)
{
    project.selectedFigure = figureAt(project, mapping, click);
    project.setStatusText(selectedFigureText(project, project.selectedFigure));
    return project.selectedFigure;
}

std::string selectedFigureText(const TMDIChild& project, std::int32_t figure)
{
    if (figure < 0)
        return {};
    return project.context().Text("Project_window", "wybranaFiguraNr") + std::to_string(figure);
}

std::string pointListing(const tfigura& figure, char decimalSeparator)
{
    std::string text = "[mm]\n";
    for (std::size_t i = 0; i < figure.points.size(); ++i) {
        const Point p = figure.points[i];
        text += "\np" + std::to_string(i) + ":(" + millimetres(p.x, decimalSeparator) + " ; " +
                millimetres(p.y, decimalSeparator) + ")";
    }
    return text;
}

}  // namespace kerfline
