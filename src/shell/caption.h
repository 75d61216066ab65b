#pragma once

#include <string>

namespace kerfline {

struct AppContext;

// The main window's caption: title, version word and version, then the REPEAT warning and the
// machine the program is restricted to, when those switches are given.
std::string mainWindowCaption(const AppContext& context);

// Width of the first status-bar panel: the bar minus one eighth of it.
int firstStatusPanelWidth(int statusBarWidth);

}  // namespace kerfline
