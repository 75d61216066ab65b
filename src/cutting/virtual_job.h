#pragma once

#include "machine/fault_schedule.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kerfline {

struct AppContext;
class ScriptedHost;
class SimulatedClock;
struct CuttingSession;

class TMDIChild;

namespace machine {
class CommandLengthTable;
class VirtualCutter;
}  // namespace machine

// How a job on the virtual cutter ended, as the program saw it.
enum class JobOutcome {
    Completed,  // the program took the job as finished
    Stopped,    // paused, by the operator, the machine's button or a wire break
    LinkLost,   // the transmission gave up with commands left, or the controller is gone
    Refused,    // the job never started
};
const char* jobOutcomeName(JobOutcome outcome);

// What a whole job on the virtual cutter did, measured at the controller.
struct VirtualJobReport {
    JobOutcome outcome = JobOutcome::Refused;
    bool ended = false;                 // within the time limit
    std::int64_t jobTimeMs = 0;
    std::size_t programCommands = 0;    // in the program file, once for every run of a repeated series
    std::size_t executed = 0;           // the program's commands executed in order, once each
    std::size_t duplicated = 0;         // executed again right after having been executed
    std::size_t unexpected = 0;         // executed out of the program's order
    bool heatingOnAtEnd = false;
    std::vector<machine::FaultInjector::Fired> events;
};

// How the job begins: Start as the operator presses it, after homing, or no Start at all for a
// job already under way that the schedule goes on with.
enum class JobStart { Start, HomeAndStart, AlreadyStarted };

// Plays a whole job of the active project window on the virtual cutter under a simulated clock:
// optionally homes first, presses Start, then runs the timers while the schedule of faults and
// the operator's Stop and Continue strike, until nothing of the job and the schedule is left.
// `eachTick` watches the job before every tick, after the faults and the operator have acted.
VirtualJobReport runVirtualJob(AppContext& context, ScriptedHost& host, SimulatedClock& clock, machine::VirtualCutter& cutter,
                               CuttingSession& session, std::vector<machine::FaultEvent> faults, JobStart start,
                               std::int64_t limitMs, const std::function<void()>& eachTick = {});

// The commands of a cut program file, cut by the command-length table as the transmission cuts
// them.
std::vector<std::string> programFileCommands(const std::string& path, const machine::CommandLengthTable& lengths);

// `count` random faults from the seed, drawn over about as many commands and as much time as the
// project's program will take, before that program exists.
std::vector<machine::FaultEvent> randomFaultsFor(const TMDIChild& project, int count, std::uint64_t seed);

}  // namespace kerfline
