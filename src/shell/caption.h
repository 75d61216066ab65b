#pragma once

#include <string>

namespace kerfline {

struct AppContext;

// The main window's caption: title, version word and version, then the REPEAT warning and the
// machine the program is restricted to, when those switches are given.
std::string mainWindowCaption(const AppContext& context);

// The title of a project's sub-window: its caption (the design's path and the mode's tag, which
// the commands read) with the file name and tag first and the folder after them in brackets, so
// that tiled windows, narrow as they are, show which design they hold. A caption without a
// folder is the title as it stands.
std::string projectWindowTitle(const std::string& caption);

// Width of the first status-bar panel: the bar minus one eighth of it.
int firstStatusPanelWidth(int statusBarWidth);

}  // namespace kerfline
