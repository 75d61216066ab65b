#pragma once

#include "cutting/homing.h"
#include "cutting/job_driver.h"
#include "cutting/job_supervisor.h"
#include "cutting/panel_logic.h"
#include "cutting/transmit_arm.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"

#include <functional>
#include <memory>

namespace kerfline {

struct AppContext;
class Joystick;
class ProjectWindows;

// The long-lived objects of cutting and manual control, wired to each other as the program runs
// them: the link to the controller, the protocol and motion operations on it, the transmission,
// the job driver and its supervision, homing, and the manual control panel whose timer drives
// the supervision. The desktop program and the command-line job runner build one each.
struct CuttingSession {
    // The panel hooks of the windows (activity, dialogs, repaint); the job's hooks are added.
    CuttingSession(AppContext& context, machine::HidPlatform& platform, ProjectWindows& windows,
                   PanelHooks windowHooks = {}, Joystick* joystick = nullptr);
    ~CuttingSession();
    CuttingSession(const CuttingSession&) = delete;
    CuttingSession& operator=(const CuttingSession&) = delete;

    machine::TfUsb link;
    machine::ControllerProtocol protocol;
    machine::MotionOperations motion;
    TransmitArm transmission;
    JobDriver driver;
    JobSupervisor supervisor;
    Homing homing;
    Tster panel;

    // Told after the panel has read a controller that connected while the link had none; the
    // panel's window follows the heartbeat with its timer.
    std::function<void()> machineReread;

private:
    PanelHooks withJobHooks(PanelHooks hooks);
    void controllerConnected();

    // Posted callbacks that outlive the session find it gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace kerfline
