#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace kerfline::ui {

// The top-left corner that centres a window of `frame` size on `over`, kept on `screen` where it
// fits.
QPoint centredPosition(const QRect& over, const QSize& frame, const QRect& screen);

// From now on every dialog opens centred on `mainWindow`, each time it is shown (the long-lived
// dialogs would otherwise reopen where they were first placed, before the main window took its
// size). A dialog whose place a rule of its own fixes says so with placesItself.
void centreDialogsOn(QWidget& mainWindow);

// Exempts a dialog from centreDialogsOn: it places itself (the keypad at its field, the serial
// generator in a corner of the work area, the question box on the screen).
void placesItself(QWidget& dialog);

}  // namespace kerfline::ui
