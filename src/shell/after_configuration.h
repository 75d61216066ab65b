#pragma once

#include <functional>

namespace kerfline {

struct AppContext;
struct CuttingSession;
class ProjectWindows;
class TMDIChild;

// What the main window does for the actions after the configuration dialog.
struct AfterConfigurationHooks {
    std::function<void()> CloseAll;
    std::function<void()> repaintAll;
    // A project whose preparation failed (its rotary axis is gone) has shown why and closes.
    std::function<void(TMDIChild&)> closeProject = {};
};

// The actions after the configuration dialog closed, by the flags the dialog left: close the
// projects on a new mode, send a pending power output type, send the display unit after a change
// of the rotary settings, then prepare every project again for the configuration and repaint.
void afterConfiguration(AppContext& context, CuttingSession& session, ProjectWindows& windows,
                        const AfterConfigurationHooks& hooks);

}  // namespace kerfline
