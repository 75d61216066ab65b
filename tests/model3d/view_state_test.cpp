#include "model3d/view_state.h"

#include <gtest/gtest.h>

namespace kerfline::model3d {
namespace {

TModel bounds(double x, double y, double z)
{
    TModel model;
    model.minX = 10;
    model.maxX = 10 + x;
    model.maxY = y;
    model.minZ = -z;
    return model;
}

TEST(ViewState, FitScaleAndItsFallbackForAModelWithoutExtent)
{
    EXPECT_NEAR(fitScale(bounds(200, 150, 5), 400, 300), 0.013416, 1e-6);
    // An empty model has zero bounds: the scale falls back to 1 instead of dividing by 0.
    EXPECT_EQ(fitScale(TModel{}, 400, 300), 1.0);
    EXPECT_EQ(aspectRatio(400, 0), 400.0);
}

TEST(ViewState, ResetCentresTheDepthOnlyForTheSerialView)
{
    ViewSettings settings;
    ViewState view;
    view.turnY = 30;
    view.reset(bounds(200, 150, 40), settings, 400, 300);
    EXPECT_EQ(view.turnY, 0.0);
    EXPECT_EQ(view.centring, (std::array<double, 3>{-110, -75, 0}));
    settings.TrybPracy = TTrybPracy::tpPrzegladRAWtermSeryjne;
    view.reset(bounds(200, 150, 40), settings, 400, 300);
    EXPECT_EQ(view.centring[2], 20.0);
}

TEST(ViewState, NavigationAndDragging)
{
    const ViewSettings settings;
    ViewState view;
    view.Nawigacja(1, 51, 0, settings);
    EXPECT_DOUBLE_EQ(view.turnY, 25.5);

    view.scale = 0.0003;
    view.Nawigacja(2, 0, 5, settings);
    EXPECT_EQ(view.scale, 0.0);  // zoomed out past zero: the model disappears

    struct Case {
        const char* name;
        Modifiers modifiers;
        double turnY;
        double turnX;
    };
    const Case cases[] = {
        {"plain", {}, 5.0, 2.5},
        {"alt turns about X only", {false, false, true}, 0.0, 2.5},
        {"shift turns about Y only", {true, false, false}, 5.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewState drag;
        drag.press(MouseButton::Right, c.modifiers, 100, 100);
        EXPECT_TRUE(drag.move(110, 105, c.modifiers, settings));
        EXPECT_DOUBLE_EQ(drag.turnY, c.turnY);
        EXPECT_DOUBLE_EQ(drag.turnX, c.turnX);
        drag.release();
        EXPECT_FALSE(drag.move(0, 0, c.modifiers, settings));
    }
}

// The keys do what a short drag or a wheel notch does, and leave a drag of the mouse as it was.
TEST(ViewState, KeysTurnMoveAndZoomAsTheMouseDoes)
{
    const ViewSettings settings;
    struct Case {
        const char* name;
        ViewKey key;
        Modifiers modifiers;
        double turnY, turnX, moveX, moveY, scale;
    };
    const Case cases[] = {
        {"right turns about Y", ViewKey::Right, {}, 5.0, 0.0, 0.0, 0.0, 0.01},
        {"up tilts back", ViewKey::Up, {}, 0.0, -5.0, 0.0, 0.0, 0.01},
        {"shift left moves left", ViewKey::Left, {true, false, false}, 0.0, 0.0, -0.1, 0.0, 0.01},
        {"shift down moves down", ViewKey::Down, {true, false, false}, 0.0, 0.0, 0.0, -0.1, 0.01},
        {"plus zooms in a notch", ViewKey::ZoomIn, {}, 0.0, 0.0, 0.0, 0.0, 0.01 + 120 * 0.08 * 0.0001},
        {"minus zooms out a notch", ViewKey::ZoomOut, {}, 0.0, 0.0, 0.0, 0.0, 0.01 - 120 * 0.08 * 0.0001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewState view;
        view.scale = 0.01;
        view.press(MouseButton::Middle, {}, 40, 60);
        view.key(c.key, c.modifiers, settings);
        EXPECT_DOUBLE_EQ(view.turnY, c.turnY);
        EXPECT_DOUBLE_EQ(view.turnX, c.turnX);
        EXPECT_DOUBLE_EQ(view.moveX, c.moveX);
        EXPECT_DOUBLE_EQ(view.moveY, c.moveY);
        EXPECT_DOUBLE_EQ(view.scale, c.scale);
        EXPECT_TRUE(view.zooming);
        EXPECT_FALSE(view.turning || view.moving);
        EXPECT_EQ(view.lastX, 40);
        EXPECT_EQ(view.lastY, 60);
    }
}

TEST(ViewState, BeyondTheNearPlaneUntilTurnedOrZoomedIntoIt)
{
    TModel bounds;
    bounds.minX = bounds.minY = bounds.minZ = -100;
    bounds.maxX = bounds.maxY = bounds.maxZ = 100;
    struct Case {
        const char* name;
        double scale;
        double turnY;
        double turnX;
        bool beyond;
    };
    // Centred off its middle, the box reaches from -150 to 50 on each axis; the near plane
    // stands 11 units in front of the origin. A turn of +90 degrees about Y brings x = -150
    // nearest to the eye, one about X brings y = 50.
    const Case cases[] = {
        {"as it stands", 0.2, 0, 0, true},
        {"zoomed through the plane", 0.25, 0, 0, false},
        {"turned about Y", 0.2, 90, 0, false},
        {"turned back about Y", 0.2, -90, 0, true},
        {"turned round", 0.2, 180, 0, false},
        {"turned about X", 0.2, 0, 90, true},
        {"turned back about X", 0.2, 0, -90, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ViewState state;
        state.centring = {-50, -50, -50};
        state.scale = c.scale;
        state.turnY = c.turnY;
        state.turnX = c.turnX;
        EXPECT_EQ(beyondNearPlane(bounds, state), c.beyond);
    }
}

}  // namespace
}  // namespace kerfline::model3d
