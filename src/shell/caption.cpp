#include "shell/caption.h"

#include "base/round.h"
#include "shell/app_context.h"
#include "base/version.h"

namespace kerfline {

std::string mainWindowCaption(const AppContext& context)
{
    std::string caption = std::string(kProgramTitle) + "   " + context.Text("Universal", "txtWer") + " " +
                          kProgramVersion.full();
    if (context.commandLine.HasSwitch("REPEAT"))
        caption += "   >> UWAGA! Aktywna opcja REPEAT <<";
    if (const auto machine = context.commandLine.SwitchValue("OnlyMachine"))
        caption += "      " + context.Text("Main_window", "pracujeTylkoZploterem") + " " + *machine;
    return caption;
}

std::string projectWindowTitle(const std::string& caption)
{
    // Folder names may hold blanks, so the folder ends at the caption's last separator; the tags
    // that follow a file name hold none.
    const std::size_t slash = caption.find_last_of("/\\");
    if (slash == std::string::npos || slash + 1 >= caption.size())
        return caption;
    const std::string folder = caption.substr(0, slash == 0 ? 1 : slash);
    return caption.substr(slash + 1) + "  (" + folder + ")";
}

int firstStatusPanelWidth(int statusBarWidth)
{
    return statusBarWidth - roundHalfEven(statusBarWidth / 8.0);
}

}  // namespace kerfline
