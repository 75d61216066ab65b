// The project view's rules without a widget: the mapping into the window, the colours, picking a
// figure with the mouse and the point listing.
#include "project_rig.h"

#include "geometry/geometry.h"
#include "project/project_view.h"
#include "project/view_legend.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::square;

TEST(ProjectViewMapping, KeepsTheWholeProjectInsideWithSevenPixelsLeftAndBelow)
{
    struct Case {
        int width, height, status;
    };
    // A wide window (the height decides k) and a tall one (the width decides).
    for (const Case c : {Case{800, 300, 20}, Case{300, 800, 20}, Case{421, 421, 0}}) {
        ProjectRig rig;
        rig.design({square(1000, 2000, 4000)});
        const ViewMapping m = mapProjectView(rig.project, c.width, c.height, c.status);
        ASSERT_TRUE(m.drawable);
        const double expectedK =
            std::min((c.height - 2.0 * c.status - 10.0) / 4001.0, (c.width - 20.0) / 4001.0);
        EXPECT_DOUBLE_EQ(m.k, expectedK);
        EXPECT_EQ(m.toWindow({1000, 2000}), (PixelPoint{7, c.height - c.status - 7}));
        const PixelPoint far = m.toWindow({5000, 6000});
        EXPECT_LE(far.x, c.width - 13);
        EXPECT_GE(far.y, c.status + 3);
    }
}

TEST(ProjectViewMapping, RoundsHalfToEvenAndFlipsY)
{
    ViewMapping m;
    m.k = 0.5;
    m.baseline = 100;
    m.minX = 0;
    m.minY = 0;
    EXPECT_EQ(m.toWindow({5, 5}), (PixelPoint{7 + 2, 100 - 2}));  // 2.5 -> 2
    EXPECT_EQ(m.toWindow({7, 7}), (PixelPoint{7 + 4, 100 - 4}));  // 3.5 -> 4
}

TEST(ProjectViewMapping, TurningWithADeviceMakesRoomForTheMaterialRadius)
{
    ProjectRig rig;
    rig.design({{{0, 0}, {8000, 0}}, {{0, 0}, {4000, 400}, {8000, 0}}});
    rig.config().setChoice(Param::Mode, ModeTurning);
    rig.config().setNumber(Param::Srednicamaterialu, 200.0);  // radius 100 mm = 4000 units
    rig.config().setChoice(Param::StolikSwitch, DeviceSpindle);
    EXPECT_DOUBLE_EQ(mapProjectView(rig.project, 100000, 1000, 10).k, 970.0 / 4001.0);
    rig.config().setChoice(Param::StolikSwitch, DeviceNone);
    EXPECT_DOUBLE_EQ(mapProjectView(rig.project, 100000, 1000, 10).k, 970.0 / 401.0);
}

TEST(ProjectViewMapping, AStraightLineIsDrawnAlongTheBaselineButATinyWindowDrawsNothing)
{
    ProjectRig flat;
    flat.design({{{0, 0}, {4000, 0}}});
    const ViewMapping line = mapProjectView(flat.project, 420, 400, 20);
    ASSERT_TRUE(line.drawable);
    EXPECT_DOUBLE_EQ(line.k, 400.0 / 4001.0);
    EXPECT_EQ(line.toWindow({4000, 0}), (PixelPoint{7 + 400, 400 - 20 - 7}));
    EXPECT_EQ(figureAt(flat.project, line, {200, 372}), 0);
    ProjectRig tiny;
    tiny.design({square(0, 0, 100)});
    EXPECT_FALSE(mapProjectView(tiny.project, 400, 40, 20).drawable);
}

// One figure per role in the mode: connected closed (pen 4), connected open (pen 1), unconnected
// closed (pen 6), the axis (pen 3); then `more`.
void oneFigurePerRole(ProjectRig& rig, int mode, int device, std::vector<std::vector<Point>> more = {})
{
    std::vector<std::vector<Point>> figures{square(0, 0, 100), {{0, 0}, {50, 50}, {90, 10}}, square(10, 10, 20),
                                            {{0, 0}, {100, 0}}};
    figures.insert(figures.end(), more.begin(), more.end());
    rig.design(figures);
    rig.config().setChoice(Param::Mode, mode);
    rig.config().setChoice(Param::StolikSwitch, device);
    const int pens[] = {4, 1, 6, 3};
    for (int i = 0; i < 4; ++i) {
        rig.figure(i).unconnected = i == 2 ? 1 : 0;
        rig.figure(i).pen = pens[i];
    }
    rig.project.axisIndex = 3;
}

TEST(ProjectViewColours, FollowTheModeAndTheFigureRole)
{
    using C = FigureColour;
    struct Case {
        int mode;
        int device;
        std::vector<C> expected;  // closed connected, open connected, unconnected, axis (pen 3)
    };
    const std::vector<Case> cases{
        {Mode2D, DeviceNone, {C::Black, C::Blue, C::Red, C::Blue}},
        {ModePerpendicular, DeviceNone, {C::Black, C::Blue, C::Red, C::Blue}},
        {ModeTurning, DeviceNone, {C::Black, C::Blue, C::Red, C::Blue}},
        {ModeRotary, DeviceSpindle, {C::Black, C::Black, C::Black, C::Green}},
        {ModeTurning, DeviceTable, {C::Black, C::Black, C::Black, C::Green}},
        // the spindle serial project is not connected by a 2D preparation
        {ModeSerial, DeviceSpindle, {C::Black, C::Blue, C::Black, C::Blue}},
        // pens 4, 1 (keeps the colour before it), 6, 3
        {ModeIndependent, DeviceNone, {C::Green, C::Green, C::Yellow, C::Red}},
    };
    for (const Case& c : cases) {
        ProjectRig rig;
        oneFigurePerRole(rig, c.mode, c.device);
        EXPECT_EQ(figureColours(rig.project), c.expected) << "mode " << c.mode << " device " << c.device;
        rig.project.selectedFigure = 2;
        EXPECT_EQ(figureColours(rig.project)[2], C::White) << "mode " << c.mode;
    }
}

// The legend names the roles the figures have in the mode, and the marks the view shows now.
TEST(ProjectViewLegend, ExplainsWhatTheViewShows)
{
    using L = LegendItem;
    struct Case {
        int mode;
        int device;
        LegendExtras extras;
        std::vector<L> expected;
    };
    const std::vector<Case> cases{
        {Mode2D, DeviceNone, {}, {L::ClosedFigure, L::OpenFigure, L::Unconnected, L::Selected, L::WorkingArea}},
        {ModeRotary, DeviceSpindle, {true, false, false}, {L::RotaryAxis, L::RotaryProfile, L::Selected, L::WorkingArea, L::SimulationTrail}},
        {ModeIndependent, DeviceNone, {false, true, false}, {L::FrontShape, L::BackShape, L::PairMark, L::Selected, L::WorkingArea, L::WireTrail}},
        {Mode2D, DeviceNone, {false, false, true},
         {L::ClosedFigure, L::OpenFigure, L::Unconnected, L::Selected, L::WorkingArea, L::CutCovered, L::StartPoint}},
    };
    for (const Case& c : cases) {
        ProjectRig rig;
        oneFigurePerRole(rig, c.mode, c.device, {square(30, 30, 10)});
        rig.figure(4).unconnected = 0;
        rig.figure(4).pen = 4;
        rig.project.selectedFigure = 4;  // a closed figure: the others keep every role in view
        EXPECT_EQ(viewLegend(rig.project, c.extras), c.expected) << "mode " << c.mode;
    }
}

// Two horizontal lines 4 pixels apart at k = 1.
struct TwoLines : ProjectRig {
    TwoLines()
    {
        design({{{0, 0}, {200, 0}}, {{0, 4}, {200, 4}}, {{0, 100}, {0, 101}}});
        mapping = mapProjectView(project, 200 + 21, 101 + 10 + 2 * 20 + 1, 20);
    }
    PixelPoint onFirst(int dy) const
    {
        const PixelPoint p = mapping.toWindow({100, 0});
        return {p.x, p.y - dy};
    }
    ViewMapping mapping;
};

TEST(ProjectViewSelection, TheLaterFigureWinsAndTheDistanceIsStrict)
{
    TwoLines rig;
    ASSERT_DOUBLE_EQ(rig.mapping.k, 1.0);
    EXPECT_EQ(figureAt(rig.project, rig.mapping, rig.onFirst(0)), 0);
    EXPECT_EQ(figureAt(rig.project, rig.mapping, rig.onFirst(2)), 1) << "2 pixels from both: the later one";
    EXPECT_EQ(figureAt(rig.project, rig.mapping, rig.onFirst(-2)), 0);
    EXPECT_EQ(figureAt(rig.project, rig.mapping, rig.onFirst(-3)), -1) << "3 pixels is not closer than 3";
    EXPECT_EQ(figureAt(rig.project, rig.mapping, rig.onFirst(40)), -1);
}

TEST(ProjectViewSelection, AClickSelectsAndNamesTheFigureInTheStatusText)
{
    TwoLines rig;
    int repaints = 0;
    rig.project.repaintRequested = [&] { ++repaints; };
    EXPECT_EQ(selectFigureAt(rig.project, rig.mapping, rig.onFirst(5)), 1);
    EXPECT_EQ(rig.project.selectedFigure, 1);
    EXPECT_EQ(rig.project.StatusBar, "Selected figure no. 1");
    EXPECT_EQ(selectFigureAt(rig.project, rig.mapping, rig.onFirst(50)), -1);
    EXPECT_EQ(rig.project.selectedFigure, -1);
    EXPECT_EQ(rig.project.StatusBar, "");
    EXPECT_EQ(repaints, 2);
}

TEST(ProjectViewSelection, ThePointListingGivesMillimetresWithTwoDecimals)
{
    tfigura figure;
    figure.points = {{0, 0}, {42, -1000}, {2147483640, 5}};
    EXPECT_EQ(pointListing(figure, '.'),
              "[mm]\n\np0:(0.00 ; 0.00)\np1:(1.05 ; -25.00)\np2:(53687091.00 ; 0.12)");
    EXPECT_EQ(pointListing(figure, ',').substr(0, 22), "[mm]\n\np0:(0,00 ; 0,00)");
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

TEST(ProjectViewZoom, ZoomingKeepsTheDesignPointUnderTheAnchorAndHomeFits)
{
    ProjectRig rig;
    rig.design({square(1000, 2000, 4000)});
    const ViewMapping fitted = mapProjectView(rig.project, 800, 600, 20);
    const ViewMapping plain = zoomedMapping(fitted, ViewZoom{});
    EXPECT_EQ(plain.k, fitted.k);
    EXPECT_EQ(plain.toWindow({3000, 4000}), fitted.toWindow({3000, 4000}));

    struct Case {
        PixelPoint anchor;
        double factor;
    };
    // In and out, about a corner of the design, its middle and a point outside it.
    for (const Case c : {Case{{7, 573}, 2.0}, Case{{300, 250}, 1.25}, Case{{700, 40}, 0.5}}) {
        ViewZoom zoom;
        zoom = zoomAbout(zoom, fitted, c.anchor, c.factor);
        zoom = zoomAbout(zoom, fitted, c.anchor, c.factor);
        const ViewMapping m = zoomedMapping(fitted, zoom);
        EXPECT_DOUBLE_EQ(m.k, fitted.k * c.factor * c.factor);
        // The design point that was under the anchor before is under it still (to the pixel).
        const Point under{static_cast<std::int32_t>(std::lround(fitted.minX + (c.anchor.x - fitted.left) / fitted.k)),
                          static_cast<std::int32_t>(std::lround(fitted.minY + (fitted.baseline - c.anchor.y) / fitted.k))};
        const PixelPoint now = m.toWindow(under);
        EXPECT_NEAR(now.x, c.anchor.x, 1.0 + c.factor * c.factor);
        EXPECT_NEAR(now.y, c.anchor.y, 1.0 + c.factor * c.factor);
    }

    // The factor stops at its limits, and the pan moves the picture by the drag.
    ViewZoom far;
    for (int i = 0; i < 100; ++i)
        far = zoomAbout(far, fitted, {400, 300}, 2.0);
    EXPECT_DOUBLE_EQ(far.scale, kMaxZoom);
    const ViewZoom moved = panBy(ViewZoom{}, 30, -12);
    const PixelPoint before = fitted.toWindow({3000, 4000});
    EXPECT_EQ(zoomedMapping(fitted, moved).toWindow({3000, 4000}), (PixelPoint{before.x + 30, before.y - 12}));
}

TEST(ProjectViewZoom, PickingFollowsTheZoom)
{
    ProjectRig rig;
    rig.design({square(0, 0, 4000)});
    const ViewMapping fitted = mapProjectView(rig.project, 800, 600, 20);
    const ViewZoom zoom = panBy(zoomAbout(ViewZoom{}, fitted, {100, 100}, 3.0), 50, 20);
    const ViewMapping m = zoomedMapping(fitted, zoom);
    // The right edge, far to the right of where the fitted view draws it.
    const PixelPoint onEdge = m.toWindow({4000, 2000});
    EXPECT_EQ(figureAt(rig.project, m, onEdge), 0);
    EXPECT_EQ(figureAt(rig.project, fitted, onEdge), -1);
}

TEST(ProjectViewSize, TheDesignSizeReadsInTheDisplayUnit)
{
    ProjectRig rig;
    rig.design({{{0, 0}, {mmToUnits(254.0), 0}, {mmToUnits(254.0), mmToUnits(127.0)}}});
    EXPECT_EQ(designSizeText(rig.project, UnitMillimetre, ','), "254,0 x 127,0 mm");
    EXPECT_EQ(designSizeText(rig.project, UnitInch, '.'), "10.0 x 5.0 in");
    const WorkingArea area = workingAreaUnits(1200, 600);
    EXPECT_EQ(area.high, (Point{mmToUnits(1200.0), mmToUnits(600.0)}));
}

}  // namespace
}  // namespace kerfline
