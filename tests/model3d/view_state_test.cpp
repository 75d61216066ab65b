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

}  // namespace
}  // namespace kerfline::model3d
