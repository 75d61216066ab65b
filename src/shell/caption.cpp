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

int firstStatusPanelWidth(int statusBarWidth)
{
    return statusBarWidth - roundHalfEven(statusBarWidth / 8.0);
}

}  // namespace kerfline
