#include "cutting/cutting_session.h"

#include "base/app_context.h"

namespace kerfline {

CuttingSession::CuttingSession(AppContext& context, machine::HidPlatform& platform, ProjectWindows& windows,
                               PanelHooks windowHooks, Joystick* joystick)
    : link(context, platform), protocol(context, link), motion(protocol), transmission(context, protocol),
      driver(context, protocol, motion, transmission, windows), supervisor(context, protocol, motion, driver),
      homing(context, protocol, motion), panel(context, protocol, motion, joystick, withJobHooks(std::move(windowHooks)))
{
    homing.polled = [this](bool readOk) { panel.homingPolled(readOk); };
    driver.arms.tickKeyFront = [this] { panel.KeyFrontClick(true); };
    driver.arms.tickKeyBack = [this] { panel.KeyBackClick(true); };
    // The link tells of the connection inside a write or a read; the machine is read once that
    // call is over.
    link.connectedChanged = [this, &context] {
        context.host.post([this, alive = std::weak_ptr<bool>(m_alive)] {
            if (const auto token = alive.lock(); token && *token)
                controllerConnected();
        });
    };
}

CuttingSession::~CuttingSession()
{
    *m_alive = false;
    link.connectedChanged = nullptr;
}

void CuttingSession::controllerConnected()
{
    panel.machineConnected();
    supervisor.linkRestored();
    if (machineReread)
        machineReread();
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
