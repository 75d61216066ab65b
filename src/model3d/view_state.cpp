#include "model3d/view_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kerfline::model3d {

double SkalaWZakresie(double x)
{
    return x >= 0.0 ? x : 0.0;
}

double fitScale(const TModel& bounds, int outerWidth, int outerHeight)
{
    const double D = std::hypot(static_cast<double>(outerWidth), static_cast<double>(outerHeight));
    const double E = std::hypot(bounds.maxX - bounds.minX, bounds.maxY - bounds.minY);
    if (!(E > 0.0) || !std::isfinite(E))
        return 1.0;
    return std::sqrt(D) / E * 0.15;
}

bool beyondNearPlane(const TModel& bounds, const ViewState& state)
{
    // The depth of a corner after the model-view transform: scale, turn about X, then about Y.
    const double sinX = std::sin(state.turnX * std::numbers::pi / 180.0);
    const double cosX = std::cos(state.turnX * std::numbers::pi / 180.0);
    const double sinY = std::sin(state.turnY * std::numbers::pi / 180.0);
    const double cosY = std::cos(state.turnY * std::numbers::pi / 180.0);
    double nearest = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < 8; ++i) {
        const double x = state.scale * ((i & 1 ? bounds.maxX : bounds.minX) + state.centring[0]);
        const double y = state.scale * ((i & 2 ? bounds.maxY : bounds.minY) + state.centring[1]);
        const double z = state.scale * ((i & 4 ? bounds.maxZ : bounds.minZ) + state.centring[2]);
        nearest = std::max(nearest, -x * sinY + (y * sinX + z * cosX) * cosY);
    }
    // The near plane stands at depth 12 - 1 in these coordinates; a small margin keeps faces
    // that touch it, and are clipped there, out.
    return nearest < 11.0 - 0.01;
}

double aspectRatio(int clientWidth, int clientHeight)
{
    return static_cast<double>(clientWidth) / std::max(clientHeight, 1);
}

void ViewState::reset(const TModel& bounds, const ViewSettings& settings, int outerWidth, int outerHeight)
{
    turnY = turnX = moveX = moveY = 0.0;
    scale = fitScale(bounds, outerWidth, outerHeight);
    centring = {-(bounds.minX + (bounds.maxX - bounds.minX) / 2.0), -(bounds.minY + (bounds.maxY - bounds.minY) / 2.0),
                settings.TrybPracy == TTrybPracy::tpPrzegladRAWtermSeryjne
                    ? -(bounds.minZ + (bounds.maxZ - bounds.minZ) / 2.0)
                    : 0.0};
    turning = zooming = moving = false;
}

void ViewState::Nawigacja(int kind, int a, int b, const ViewSettings& settings)
{
    switch (kind) {
    case 1:
        if (a != 0)
            turnY += a * settings.Model_KrokObrotu;
        if (b != 0)
            turnX -= b * settings.Model_KrokObrotu;
        break;
    case 2:
        scale = SkalaWZakresie(scale - b * settings.Model_KrokSkali);
        break;
    case 3:
        moveX += a * settings.Model_KrokPrzesuwu;
        moveY += b * settings.Model_KrokPrzesuwu;
        break;
    default:
        break;
    }
}

void ViewState::press(MouseButton button, Modifiers modifiers, int x, int y)
{
    if (button == MouseButton::Left)
        moving = true;
    else if (button == MouseButton::Right)
        (modifiers.ctrl ? zooming : turning) = true;
    else
        zooming = true;
    lastX = x;
    lastY = y;
}

bool ViewState::move(int x, int y, Modifiers modifiers, const ViewSettings& settings)
{
    if (!turning && !zooming && !moving)
        return false;
    drag(turning, zooming, moving, x - lastX, y - lastY, modifiers, settings);
    lastX = x;
    lastY = y;
    return true;
}

void ViewState::drag(bool turn, bool zoom, bool move, int dx, int dy, Modifiers modifiers,
                     const ViewSettings& settings)
{
    if (turn) {
        if (!modifiers.alt)
            turnY += dx * settings.Model_KrokObrotu;
        if (!modifiers.shift)
            turnX += dy * settings.Model_KrokObrotu;
    }
    if (zoom)
        scale = SkalaWZakresie(scale - dy * settings.Model_KrokSkali);
    if (move) {
        if (!modifiers.ctrl)
            moveX += dx * settings.Model_KrokPrzesuwu;
        if (!modifiers.shift)
            moveY -= dy * settings.Model_KrokPrzesuwu;
    }
}

void ViewState::release()
{
    turning = zooming = moving = false;
}

void ViewState::wheel(int delta, const ViewSettings& settings)
{
    scale = SkalaWZakresie(scale + delta * settings.Model_KrokSkaliRolka * settings.Model_KrokSkali);
}

void ViewState::key(ViewKey key, Modifiers modifiers, const ViewSettings& settings)
{
    constexpr int kWheelNotch = 120;
    if (key == ViewKey::ZoomIn || key == ViewKey::ZoomOut) {
        wheel(key == ViewKey::ZoomIn ? kWheelNotch : -kWheelNotch, settings);
        return;
    }
    const int dx = key == ViewKey::Left ? -kKeyDrag : key == ViewKey::Right ? kKeyDrag : 0;
    const int dy = key == ViewKey::Up ? -kKeyDrag : key == ViewKey::Down ? kKeyDrag : 0;
    // A drag of its own: a drag of the mouse stays as it was.
    drag(!modifiers.shift, false, modifiers.shift, dx, dy, {}, settings);
}

}  // namespace kerfline::model3d
