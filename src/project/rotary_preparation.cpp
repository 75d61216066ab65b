// The rotary and turning preparations: the axis line, the shift into its frame, the orientation
// and, for turning, the order of the figures.
#include "project/tmdichild.h"

#include "geometry/geometry.h"
#include "project/project_extents.h"
#include "base/app_context.h"
#include "config/configuration.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace kerfline {
namespace {

enum class AxisLine { Horizontal, Vertical };
// Among several candidates: the lowest, or the one furthest to the right.
enum class AxisChoice { SmallestMinY, LargestMinX };

// A two-point figure whose points are distinct and share Y (horizontal) or X (vertical). Two
// coincident points would be both at once and give an axis of no length.
bool isAxisLine(const tfigura& figure, AxisLine line)
{
    if (figure.points.size() != 2)
        return false;
    const Point a = figure.points[0];
    const Point b = figure.points[1];
    if (a == b)
        return false;
    return line == AxisLine::Horizontal ? a.y == b.y : a.x == b.x;
}

std::int32_t findAxis(const std::vector<tfigura>& figures, AxisLine line, AxisChoice choice)
{
    std::int32_t found = -1;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const tfigura& f = figures[i];
        if (!isAxisLine(f, line))
            continue;
        if (found < 0) {
            found = static_cast<std::int32_t>(i);
            continue;
        }
        const tfigura& best = figures[static_cast<std::size_t>(found)];
        // Strict comparisons: the first of equals stays.
        if (choice == AxisChoice::SmallestMinY ? f.minY < best.minY : f.minX > best.minX)
            found = static_cast<std::int32_t>(i);
    }
    return found;
}

bool fits(std::int64_t v)
{
    return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
}

double summedLength(const tfigura& figure)
{
    double length = 0.0;
    for (std::size_t i = 1; i < figure.points.size(); ++i)
        length += distance(figure.points[i - 1], figure.points[i]);
    return length;
}

}  // namespace

namespace {

// What differs between the three preparations.
struct RotaryFrame {
    AxisLine line;
    AxisChoice choice;
    const char* missingAxisKey;
    bool turning;
    bool fromAxisMaxX;   // turning on the table: X is measured from the axis' right end
    bool spindleTurning;
};

}  // namespace

// One preparation for rotary cutting and both turnings; the frame says how they differ.
static LoadOutcome prepareRotary(TMDIChild& project, const RotaryFrame& frame)
{
    AppContext& context = project.context();
    const tInterfejs& language = context.language;
    std::vector<tfigura>& figures = project.figures;
    BusyCursor busy(context.host);

    project.axisIndex = -1;
    project.horizontalAxisFound = 0;
    const std::int32_t axis = findAxis(figures, frame.line, frame.choice);
    if (axis < 0) {
        language.ShowMessageBox(language.Text("Project_window", frame.missingAxisKey), true);
        return LoadOutcome::Closed;
    }
    project.axisIndex = axis;
    if (!frame.turning && frame.line == AxisLine::Horizontal)
        project.horizontalAxisFound = 1;
    tfigura& axisFigure = figures[static_cast<std::size_t>(axis)];
    axisFigure.cutEnabled = 0;
    for (tfigura& f : figures) {
        f.axisWidth = axisFigure.width;
        f.axisHeight = axisFigure.height;
    }
    if (figures.size() == 1) {
        language.ShowMessageBox(language.Text("Project_window", "projektBrakProfilu"), true);
        return LoadOutcome::Closed;
    }

    // Into the axis' frame, reckoned in 64 bits: a project whose coordinates would leave the
    // 32-bit range there is refused as too large.
    const std::int64_t shiftX = frame.fromAxisMaxX ? axisFigure.maxX : axisFigure.minX;
    const std::int64_t shiftY = axisFigure.minY;
    for (const tfigura& f : figures) {
        if (!fits(f.minX - shiftX) || !fits(f.maxX - shiftX) || !fits(f.minY - shiftY) || !fits(f.maxY - shiftY)) {
            language.ShowMessageBox(language.Text("Main_window", "projektZaDuzy"), true);
            return LoadOutcome::Closed;
        }
    }
    const auto moved = [](std::int32_t v, std::int64_t by) { return static_cast<std::int32_t>(v - by); };
    for (tfigura& f : figures) {
        for (Point& p : f.points) {
            p.x = moved(p.x, shiftX);
            p.y = moved(p.y, shiftY);
        }
        f.minX = moved(f.minX, shiftX);
        f.maxX = moved(f.maxX, shiftX);
        f.minY = moved(f.minY, shiftY);
        f.maxY = moved(f.maxY, shiftY);
        f.centreX = extentCentre(f.minX, f.maxX);
        f.centreY = extentCentre(f.minY, f.maxY);
    }
    const ProjectExtents extents = extentsOf(figures);
    project.minX = extents.minX;
    project.minY = extents.minY;
    project.maxX = extents.maxX;
    project.maxY = extents.maxY;
    if (!frame.turning) {
        project.profileBelowAxis = project.maxY == 0 ? 1 : 0;
    } else if (frame.spindleTurning) {
        // The profile should lie above the spindle axis; one that dips below is still prepared.
        if (project.minY != 0)
            language.ShowMessageBox(language.Text("Project_window", "osMaBycPonizejProfilu"), true);
        project.minX = 0;
    } else {
        project.minY = 0;
    }
    project.width = extentSpan(project.minX, project.maxX);
    project.height = extentSpan(project.minY, project.maxY);
    for (tfigura& f : figures) {
        f.originX = project.minX;
        f.originY = project.minY;
    }
    project.selectedFigure = -1;

    // Every profile runs towards growing X along the axis; on the spindle a turned profile that
    // starts and ends at one X runs downward.
    for (std::size_t i = 0; i < figures.size(); ++i) {
        tfigura& f = figures[i];
        if (f.cutEnabled == 0 || f.points.empty())
            continue;
        const auto index = static_cast<std::int32_t>(i);
        if (frame.spindleTurning && f.points.front().x == f.points.back().x && f.points.front().y < f.points.back().y)
            project.OdwrocKierunek(index);
        if (f.points.back().x < f.points.front().x)
            project.OdwrocKierunek(index);
    }

    if (frame.turning)
        project.sortuj_toczenie();
    project.cutLength = 0.0;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (static_cast<std::int32_t>(i) != project.axisIndex)
            project.cutLength += summedLength(figures[i]);
    }
    context.host.setStatus(0, "");
    project.requestRepaint();
    return LoadOutcome::Opened;
}

LoadOutcome TMDIChild::ciecie_obrotowe()
{
    switch (m_context.configuration.choice(Param::StolikSwitch)) {
    case DeviceSpindle:
        return prepareRotary(*this, {AxisLine::Horizontal, AxisChoice::SmallestMinY, "projektBrakOsiObrotuPozProsta",
                                     false, false, false});
    case DeviceTable:
        return prepareRotary(*this, {AxisLine::Vertical, AxisChoice::LargestMinX, "projektBrakOsiObrotuPionProsta",
                                     false, false, false});
    default: {
        // No rotary device: there is nothing to turn the material on.
        axisIndex = -1;
        horizontalAxisFound = 0;
        m_context.language.ShowMessageBox(m_context.Text("Project_window", "BrakSposobuMocowaniaMaterialu"), true);
        return LoadOutcome::Closed;
    }
    }
}

LoadOutcome TMDIChild::toczenie()
{
    return m_context.configuration.choice(Param::StolikSwitch) != DeviceSpindle ? toczenie_stolik()
                                                                                : toczenie_wrzeciono();
}

LoadOutcome TMDIChild::toczenie_stolik()
{
    return prepareRotary(*this, {AxisLine::Vertical, AxisChoice::SmallestMinY, "projektBrakOsiObrotu", true, true, false});
}

LoadOutcome TMDIChild::toczenie_wrzeciono()
{
    return prepareRotary(*this, {AxisLine::Horizontal, AxisChoice::SmallestMinY, "projektBrakOsiObrotuPozProsta", true,
                                 false, true});
}

void TMDIChild::sortuj_toczenie()
{
    for (tfigura& f : figures) {
        f.turnVisited = 0;
        f.turnOrder = -1;
    }
    std::int32_t counter = 1;
    // Figures derived from a figure are numbered before it, depth first.
    const auto visit = [this, &counter](auto& self, std::size_t a) -> void {
        for (;;) {
            const auto derived = std::find_if(figures.begin(), figures.end(), [&](const tfigura& b) {
                return b.turnVisited == 0 && b.sourceFigure == static_cast<std::int32_t>(a);
            });
            if (derived == figures.end())
                break;
            derived->turnVisited = 1;  // marked on entry, so a cycle of sources ends
            self(self, static_cast<std::size_t>(derived - figures.begin()));
        }
        figures[a].turnVisited = 1;
        figures[a].turnOrder = counter++;
    };
    for (const std::int32_t level : {1, 0}) {
        for (std::size_t i = 0; i < figures.size(); ++i) {
            if (figures[i].turnVisited == 0 && figures[i].nestLevel == level) {
                figures[i].turnVisited = 1;
                visit(visit, i);
            }
        }
    }
    // A stable sort by turnOrder, as the exchange of the first out-of-order neighbours until
    // none is left gives; the axis is followed to its new place.
    std::vector<std::size_t> order(figures.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return figures[a].turnOrder < figures[b].turnOrder; });
    std::vector<tfigura> sorted;
    sorted.reserve(figures.size());
    std::int32_t newAxis = -1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (static_cast<std::int32_t>(order[k]) == axisIndex)
            newAxis = static_cast<std::int32_t>(k);
        sorted.push_back(std::move(figures[order[k]]));
    }
    figures = std::move(sorted);
    axisIndex = newAxis;
}

double TMDIChild::DajPoz1szegoWjazduWmat() const
{
    const int selector = m_context.configuration.choice(Param::StolikSwitch);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        if (static_cast<std::int32_t>(i) == axisIndex || figures[i].points.empty())
            continue;
        const Point first = figures[i].points.front();
        if (selector == DeviceSpindle)
            return unitsToMm(first.x);
        if (selector == DeviceTable)
            return unitsToMm(first.y);
        return 0.0;
    }
    return 0.0;
}

}  // namespace kerfline
