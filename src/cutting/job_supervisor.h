#pragma once

#include "cutting/job_state.h"

#include <cstdint>
#include <optional>
#include <functional>

namespace kerfline {
struct AppContext;
class JobDriver;
}  // namespace kerfline

namespace kerfline::machine {
class ControllerProtocol;
class MotionOperations;
}  // namespace kerfline::machine

namespace kerfline {

// The supervision of a started job: Stop and Continue from the menu and from the machine's
// buttons, the end of the job and what follows it (the side wire's job of the two-wire machine,
// the "REPEAT" switch, the return to the origin), and the repetition of serial jobs.
//
// The manual control panel's timer drives it: tick() in every tick while the controller is
// connected, serialRepetition() in the refresh part of the tick.
class JobSupervisor {
public:
    // The interrupted wait for "paused" after "Q" gives up after this long.
    static constexpr std::int64_t kPauseTimeoutMs = 5000;
    // A job that ends closer to its origin than this (and not at it) returns to it.
    static constexpr std::int32_t kOriginReturnHundredths = 50;

    JobSupervisor(AppContext& context, machine::ControllerProtocol& protocol, machine::MotionOperations& motion,
                  JobDriver& driver);
    JobSupervisor(const JobSupervisor&) = delete;
    JobSupervisor& operator=(const JobSupervisor&) = delete;

    // Pauses the running program, or stops manual motion; true when it did either.
    bool wstrzymaj();
    // Resumes a paused program (bringing the wire back to the pause point) or one that waits
    // for "G".
    void kontynuuj();
    // May the arms move? A shaped wire on the Qd and Pr machines allows only aligned arms moving
    // together; the refusal is shown.
    bool MoznaRuszac();

    // The menu's Stop and Continue.
    void Wstrzymaj1Click();
    void Kontynuacja1Click();

    // The end of the job and the machine's buttons, once per heartbeat tick while connected.
    void tick();
    // The controller answers again after the link was lost: a wire standing still is switched
    // cold, and a job whose transmission was cut off waits for Continue.
    void linkRestored();
    // The serial repetition, in the refresh part of the heartbeat tick.
    void serialRepetition();

    // The main window refreshes its commands after a job ended.
    std::function<void()> updateMenuItems;

private:
    void jobEnded();
    void startSideWireJob();
    void returnToOrigin();
    bool waitForPaused();
    void switchHeatingOn();
    // Reads the positions into the pause point; false (and the point left as it was) when the
    // read fails.
    bool recordPausePoint();
    void notePause();
    void reportWireBreak();
    void showNoConnection();
    // The transmission was cut off and the controller has run out of program: the job halts
    // where the wire stands, cold, until Continue sends the rest.
    void halted();
    bool returnHeatedTo(const PausePoint& point);
    bool continuePaused();
    void continueHalted();

    AppContext& m_context;
    machine::ControllerProtocol& m_protocol;
    machine::MotionOperations& m_motion;
    JobDriver& m_driver;
    // The wire break of the running job has been reported.
    bool m_wireBreakShown = false;
    // Where the wire stood when a cut-off job halted; Continue starts the rest from there.
    std::optional<PausePoint> m_haltPoint;
};

}  // namespace kerfline
