#include "shell/after_configuration.h"

#include "config/dialog_rules.h"
#include "config/parameters.h"
#include "cutting/cutting_session.h"
#include "cutting/project_windows.h"
#include "machine/controller_commands.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"

namespace kerfline {

void afterConfiguration(AppContext& context, CuttingSession& session, ProjectWindows& windows,
                        const AfterConfigurationHooks& hooks)
{
    Configuration& configuration = context.configuration;
    if (configuration.modeChanged && hooks.CloseAll)
        hooks.CloseAll();

    if (configuration.powerOutputPending) {
        session.protocol.ReadStatus();
        // A busy controller would take the new type in the middle of a move; it waits for the
        // next time.
        if (session.link.connected() && !context.machine.busy()) {
            session.protocol.SendCommand(machine::commands::setParameter(machine::ParameterId::PowerOutput,
                                                                         configuration.choice(Param::PowerOutput)));
            session.panel.PScrollChange();
            configuration.powerOutputPending = false;
        }
    }

    if (configuration.rotarySettingsChanged && !windows.windows().empty() && session.link.connected())
        session.motion.SetDisplayUnit(configuration.displayUnit);

    const int mode = configuration.choice(Param::Mode);
    const int sign = xFeedSign(configuration.choice(Param::CatDir));
    const std::vector<TMDIChild*> projects = windows.windows();
    for (auto it = projects.rbegin(); it != projects.rend(); ++it) {
        TMDIChild& project = **it;
        // The cutting direction's recomputation here is JakiKierunek(-1), which changes nothing:
        // figures keep their sense and start vertices (a prepared path stays valid). The feed
        // sign is set again from the configuration in force, so a cancelled dialog does not
        // leave the sign of a discarded choice behind.
        const std::uint8_t direction = sign > 0 ? 1 : 255;
        project.directionX = {direction, direction};
        if (mode == ModeRotary) {
            if (project.ciecie_obrotowe() == LoadOutcome::Closed && hooks.closeProject)
                hooks.closeProject(project);
        } else if (mode == Mode2D && project.kerfOutOfDate()) {
            project.replanForKerf();
        }
        else if (mode == Mode2D && project.pathReady == 0)
            project.ciecie();
    }
    if (hooks.repaintAll)
        hooks.repaintAll();
}

}  // namespace kerfline
