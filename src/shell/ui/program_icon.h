#pragma once

#include <QIcon>

namespace kerfline::ui {

// The program's own icon, for its windows and their project sub-windows: a hot wire drawing a
// curve through a foam block between the machine's two arms. Drawn here at the sizes window
// managers ask for, so the program needs no image files.
QIcon programIcon();

}  // namespace kerfline::ui
