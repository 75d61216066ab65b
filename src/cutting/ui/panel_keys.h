#pragma once

#include "cutting/panel_logic.h"

class QKeyEvent;

namespace kerfline::ui {

// The panel's key code (panel_logic.h, motion_operations.h) of a Qt key event, or 0 for a key
// the panel does not handle. Numeric-pad keys are told from the main keys by the keypad flag.
int panelKeyCode(int qtKey, bool keypad);
int panelKeyCode(const QKeyEvent& event);

KeyModifiers panelModifiers(const QKeyEvent& event);

}  // namespace kerfline::ui
