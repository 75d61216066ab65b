#include "cutting/ui/panel_keys.h"

#include "machine/motion_operations.h"

#include <QKeyEvent>

namespace kerfline::ui {
namespace {

struct KeyMapping {
    int qtKey;
    bool keypadOnly;  // the key counts only on the numeric pad
    int code;
};

// The one table from Qt keys to the panel's codes. Keypad keys with Num Lock off arrive as the
// navigation keys they are labelled with and act as those.
constexpr KeyMapping kKeys[] = {
    {Qt::Key_Control, false, KeyCtrl},
    {Qt::Key_PageUp, false, machine::KeyPageUp},
    {Qt::Key_PageDown, false, machine::KeyPageDown},
    {Qt::Key_Home, false, KeyHome},
    {Qt::Key_Left, false, machine::KeyLeft},
    {Qt::Key_Up, false, machine::KeyUp},
    {Qt::Key_Right, false, machine::KeyRight},
    {Qt::Key_Down, false, machine::KeyDown},
    {Qt::Key_Insert, false, KeyInsert},
    {Qt::Key_E, false, KeyE},
    {Qt::Key_F12, false, KeyF12},
    {Qt::Key_Comma, false, machine::KeyComma},
    {Qt::Key_Period, false, machine::KeyFullStop},
    {Qt::Key_0, true, KeyPad0},
    {Qt::Key_1, true, machine::KeyPad1},
    {Qt::Key_2, true, machine::KeyPad2},
    {Qt::Key_3, true, machine::KeyPad3},
    {Qt::Key_4, true, machine::KeyPad4},
    {Qt::Key_5, true, KeyPad5},
    {Qt::Key_Clear, true, KeyPad5},
    {Qt::Key_6, true, machine::KeyPad6},
    {Qt::Key_7, true, machine::KeyPad7},
    {Qt::Key_8, true, machine::KeyPad8},
    {Qt::Key_9, true, machine::KeyPad9},
    {Qt::Key_Plus, true, KeyPadPlus},
    {Qt::Key_Minus, true, KeyPadMinus},
};

}  // namespace

int panelKeyCode(int qtKey, bool keypad)
{
    for (const KeyMapping& m : kKeys) {
        if (m.qtKey == qtKey && (keypad || !m.keypadOnly))
            return m.code;
    }
    return 0;
}

int panelKeyCode(const QKeyEvent& event)
{
    return panelKeyCode(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

KeyModifiers panelModifiers(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers m = event.modifiers();
    return {m.testFlag(Qt::ControlModifier), m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::AltModifier)};
}

}  // namespace kerfline::ui
