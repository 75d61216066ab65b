#pragma once

#include "model3d/triangle_model.h"

#include <array>

namespace kerfline::model3d {

enum class TSposobKreslenia { skWypelnienie, skKontur, skPunkty };
enum class TTrybPracy { tpPrzegladRAW, tpPrzegladNarzedzi, tpPrzegladPlikuWy, tpPrzegladRAWtermSeryjne };

// The published properties of the 3D view, with the component's defaults.
struct ViewSettings {
    double Model_KrokObrotu = 0.5;      // degrees per unit
    double Model_KrokSkali = 0.0001;    // scale per unit
    double Model_KrokPrzesuwu = 0.01;   // movement per unit
    double Model_KrokSkaliRolka = 0.08; // factor of a wheel step
    TSposobKreslenia Model_SposobKreslenia = TSposobKreslenia::skWypelnienie;
    int Model_Kolor = 255;              // red in the low byte, green, blue
    double Model_Material = 0.0;        // specular intensity
    bool UkladWsp = false;              // draw the axes
    TTrybPracy TrybPracy = TTrybPracy::tpPrzegladRAW;
};

enum class MouseButton { Left, Right, Middle };
enum class ViewKey { Left, Right, Up, Down, ZoomIn, ZoomOut };
struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Where the view stands: turns, moves, scale and the centring of the model, and the mouse's
// drag modes. The OpenGL widget draws from it; everything here is plain arithmetic.
class ViewState {
public:
    double turnY = 0.0;  // degrees about the vertical axis
    double turnX = 0.0;  // degrees about the horizontal axis
    double moveX = 0.0;
    double moveY = 0.0;
    double scale = 0.0;
    std::array<double, 3> centring{};
    bool turning = false;
    bool zooming = false;
    bool moving = false;
    int lastX = 0;
    int lastY = 0;

    // Turns and moves 0, the fit scale for the view's outer size, centring on the bounds.
    void reset(const TModel& bounds, const ViewSettings& settings, int outerWidth, int outerHeight);

    // kind 1 turn, 2 zoom, 3 move; the caller draws afterwards.
    void Nawigacja(int kind, int a, int b, const ViewSettings& settings);

    // Mouse input; each returns whether the scene must be drawn.
    void press(MouseButton button, Modifiers modifiers, int x, int y);
    bool move(int x, int y, Modifiers modifiers, const ViewSettings& settings);
    void release();
    void wheel(int delta, const ViewSettings& settings);

    // The keys do what the mouse does: an arrow turns as a drag of kKeyDrag pixels with the
    // right button, with Shift it moves as a drag with the left button; + and - zoom as a notch
    // of the wheel.
    static constexpr int kKeyDrag = 10;
    void key(ViewKey key, Modifiers modifiers, const ViewSettings& settings);

private:
    // What a drag by (dx, dy) pixels does in the given modes, mouse and keys alike.
    void drag(bool turn, bool zoom, bool move, int dx, int dy, Modifiers modifiers, const ViewSettings& settings);
};

double SkalaWZakresie(double x);

// The scale that fits the model's XY diagonal to the view's diagonal: sqrt(D) / E * 0.15. A model
// without extent in X and Y has no such scale and is shown at 1.
double fitScale(const TModel& bounds, int outerWidth, int outerHeight);

// Whether the whole of the bounds lies beyond the projection's near plane (1 unit from the eye,
// which stands 12 units in front of the origin) as the state turns, scales and centres them:
// then the eye is outside the model and nothing of it is cut open by that plane.
bool beyondNearPlane(const TModel& bounds, const ViewState& state);

// Width / height of the client area; a height of 0 counts as 1.
double aspectRatio(int clientWidth, int clientHeight);

}  // namespace kerfline::model3d
