#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {
class Clock;
}  // namespace kerfline

namespace kerfline::machine {

class VirtualCutter;

// What can go wrong with a job, and what the hands at the machine and at the program may do.
enum class FaultKind {
    WriteFail,           // the report does not arrive; the write reports the code
    WriteFailDelivered,  // the report arrives, yet the write reports the code
    ReadFail,            // this many reads in a row fail
    Busy,                // this many status replies report the buffer full
    Unplug,
    Replug,
    WireBreak,
    WireMend,
    MachineStart,  // the controller's own buttons
    MachineStop,
    MachineContinue,
    Stop,  // the program's Stop and Continue commands
    Continue,
};

// One event of a schedule: EVENT@WHEN[:ARG], WHEN being cN (once the controller has received N
// commands of the program) or tMS (simulated milliseconds after Start).
struct FaultEvent {
    FaultKind kind = FaultKind::WriteFail;
    bool byCommands = true;
    std::int64_t when = 0;
    int arg = 0;
};

std::string_view faultName(FaultKind kind);
// The event written back in the grammar it was read in.
std::string describeFault(const FaultEvent& event);
// Stop and Continue are given by the operator at the program, not by the machine.
bool isOperatorFault(FaultKind kind);

// A comma-separated list of events; nullopt with the problem for a schedule that does not parse.
std::optional<std::vector<FaultEvent>> parseFaultSchedule(std::string_view text, std::string& problem);

// `count` events drawn from the seed over a program of `programCommands` commands that takes
// about `horizonMs`, followed by what mends them (a replug after an unplug, a mended wire and
// Continue after a break, Continue after a Stop), so that a sound program can always finish.
std::vector<FaultEvent> randomFaults(int count, std::uint64_t seed, std::int64_t programCommands,
                                     std::int64_t horizonMs);

// Plays a schedule on the virtual cutter: the machine's events fire the moment they are due,
// even inside a write; the operator's events are handed to whoever drives the program.
class FaultInjector {
public:
    struct Fired {
        std::int64_t timeMs = 0;        // after Start
        std::uint64_t commands = 0;     // program commands the controller had received
        FaultEvent event;
    };

    FaultInjector(VirtualCutter& cutter, Clock& clock, std::vector<FaultEvent> schedule);
    ~FaultInjector();
    FaultInjector(const FaultInjector&) = delete;
    FaultInjector& operator=(const FaultInjector&) = delete;

    // Fires the machine's events that are due now.
    void fireDue();
    // The operator's events that are due now, in schedule order; they count as fired.
    std::vector<FaultEvent> takeOperatorEvents();
    // Events still to come at a time after Start. Events waiting for a command count are left
    // out: once the job stands still no more commands arrive to bring them.
    bool pendingInTime() const;
    const std::vector<Fired>& fired() const { return m_fired; }

private:
    bool due(const FaultEvent& event) const;
    void apply(const FaultEvent& event);
    void record(const FaultEvent& event);

    VirtualCutter& m_cutter;
    Clock& m_clock;
    std::vector<FaultEvent> m_schedule;
    std::vector<bool> m_done;
    std::int64_t m_startMs;
    std::vector<Fired> m_fired;
    bool m_firing = false;
};

}  // namespace kerfline::machine
