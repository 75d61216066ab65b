#pragma once

#include "geometry/figure.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kerfline {

class TMDIChild;

// A position in the project window's client area, in pixels, y downward.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// How the project's plotter units land in the window: the scale k, the left margin and the
// baseline, recomputed for every paint and every click. The window's client area (W x H) holds
// the status bar (height S) at its bottom edge.
struct ViewMapping {
    bool drawable = false;  // the project has figures and the window has room for them
    double k = 0.0;         // pixels per plotter unit
    int left = 7;
    int baseline = 0;       // the pixel row of the project's minY: H - S - 7
    std::int32_t minX = 0;
    std::int32_t minY = 0;

    PixelPoint toWindow(Point p) const;
};

// The operator's zoom and pan over the fitted view: a scale factor on k and a shift in pixels.
// The default is the fitted view (Home).
struct ViewZoom {
    double scale = 1.0;
    double shiftX = 0.0;
    double shiftY = 0.0;
    friend bool operator==(const ViewZoom&, const ViewZoom&) = default;
};

// The smallest and largest zoom factor: beyond them the drawing is a dot or pixels overflow.
constexpr double kMinZoom = 0.05;
constexpr double kMaxZoom = 1000.0;

// The fitted mapping seen through the zoom.
ViewMapping zoomedMapping(const ViewMapping& fitted, const ViewZoom& zoom);

// The zoom multiplied by `factor` (clamped to the limits) so that the design point under `anchor`
// stays under it: the wheel zooms about the pointer, + and - about the window's centre.
ViewZoom zoomAbout(const ViewZoom& zoom, const ViewMapping& fitted, PixelPoint anchor, double factor);

// The zoom moved by a drag of (dx, dy) pixels.
ViewZoom panBy(const ViewZoom& zoom, int dx, int dy);

// The machine's working area (limits in millimetres) as plotter-unit corners from the origin.
struct WorkingArea {
    Point low;
    Point high;
};
WorkingArea workingAreaUnits(std::int32_t limitXmm, std::int32_t limitYmm);

// "<width> x <height> <unit>" of the project in the display unit with 1 decimal.
std::string designSizeText(const TMDIChild& project, int displayUnit, char decimalSeparator);

// k = min((H - 2S - 10) / (extent + 1), (W - 20) / (width + 1)); the extent is the project's
// height, or in the turning mode with a spindle or table the larger of the height and the
// material's radius, so the whole block fits.
ViewMapping mapProjectView(const TMDIChild& project, int clientWidth, int clientHeight, int statusHeight);

enum class FigureColour : std::uint8_t { Black, Blue, Red, Green, Yellow, White };

// The colour of every figure, in list order, by the configured mode and the figure's role.
std::vector<FigureColour> figureColours(const TMDIChild& project);
// The mode turns the material about an axis, which the view draws green.
bool rotaryView(const TMDIChild& project);

// The figure whose outline passes closer than 3 pixels to the click; of several the later one in
// the list; -1 for none.
std::int32_t figureAt(const TMDIChild& project, const ViewMapping& mapping, PixelPoint click);

// A left click: selects the figure under it (or none) and shows the selection in the window's
// status text. Returns the selected figure.
std::int32_t selectFigureAt(TMDIChild& project, const ViewMapping& mapping, PixelPoint click);

// "wybranaFiguraNr" followed by the figure index; the status text and the caption of the point
// listing.
std::string selectedFigureText(const TMDIChild& project, std::int32_t figure);

// The point listing the operator asks for with Shift+Ctrl+Alt and a click: "[mm]", then one line
// per point "p<index>:(<x> ; <y>)" in millimetres with two decimals.
std::string pointListing(const tfigura& figure, char decimalSeparator);

}  // namespace kerfline
