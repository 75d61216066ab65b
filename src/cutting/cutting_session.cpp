#include "cutting/cutting_session.h"

namespace kerfline {

CuttingSession::CuttingSession(AppContext& context, machine::HidPlatform& platform, ProjectWindows& windows,
                               PanelHooks windowHooks, Joystick* joystick)
    : link(context, platform), protocol(context, link), motion(protocol), transmission(context, protocol),
      driver(context, protocol, motion, transmission, windows), supervisor(context, protocol, motion, driver),
      homing(context, protocol, motion), panel(context, protocol, motion, joystick, withJobHooks(std::move(windowHooks)))
{
    driver.arms.tickKeyFront = [this] { panel.KeyFrontClick(true); };
    driver.arms.tickKeyBack = [this] { panel.KeyBackClick(true); };
}

PanelHooks CuttingSession::withJobHooks(PanelHooks hooks)
{
    hooks.jobLogic = [this] { supervisor.tick(); };
    hooks.serialRepetition = [this] { supervisor.serialRepetition(); };
    hooks.wstrzymaj = [this] { supervisor.wstrzymaj(); };
    hooks.MoznaRuszac = [this] { return supervisor.MoznaRuszac(); };
    hooks.bazujClick = [this] { homing.bazujClick(); };
    return hooks;
}

}  // namespace kerfline
