#pragma once

#include "designfiles/axis_registers.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kerfline {

struct DecodedProgram;
struct MachineState;

// What a job is doing, as the operator is told in the main window and the command-line report.
enum class JobPhase {
    Sending,           // the program goes out, the controller has not started it yet
    Running,
    PausedByOperator,
    PausedByMachine,   // the machine's own Stop button
    WireBroken,
    Finished,
    LinkLost,
};
const char* jobPhaseName(JobPhase phase);

// The phase from what the program knows of the job: whether the link is up, the controller's
// status word, who paused it and whether the job has ended.
struct JobPhaseInputs {
    bool linkUp = true;
    std::uint32_t statusFlags = 0;
    bool jobActive = false;          // the program considers the program running in the controller
    bool stoppedByOperator = false;
    bool ended = false;
};
JobPhase jobPhaseOf(const JobPhaseInputs& inputs);

// Progress of a job measured along its planned path. Built from the decoded program, it is fed
// the positions the controller reports (the program never learns which command the controller is
// executing) and tells how far along the path the wire is and how long the rest will take from
// the program's own moves, speeds and pauses.
class JobProgress {
public:
    // `periods` are the step periods of the controller's four speed sets when the program starts;
    // the program's own speed commands change them as they come.
    JobProgress(const DecodedProgram& program, const AxisRegisters& start, std::array<std::uint16_t, 4> periods);

    // The controller reported the registers of the wire (front X/Y, back X/Y in hundredths of a
    // millimetre) at `nowMs`. Progress never goes back: a wire brought back to a pause point
    // resumes where it was.
    void report(const AxisRegisters& position, std::int64_t nowMs);
    void start(std::int64_t nowMs);
    // The job ended complete: everything is done.
    void finish(std::int64_t nowMs);

    double fraction() const;                 // 0..1 of the planned path
    std::int64_t plannedMs() const { return m_totalMs; }
    std::int64_t remainingMs() const;
    std::int64_t elapsedMs() const { return m_started ? m_lastMs - m_startMs : 0; }
    double pathLength() const { return m_totalLength; }  // hundredths of a millimetre
    const AxisRegisters& position() const { return m_position; }

private:
    struct Segment {
        AxisRegisters from{};
        AxisRegisters to{};
        double length = 0.0;       // hundredths of a millimetre
        double lengthBefore = 0.0;
        std::int64_t ms = 0;       // planned duration
        std::int64_t msBefore = 0;
    };
    std::vector<Segment> m_segments;
    double m_totalLength = 0.0;
    std::int64_t m_totalMs = 0;
    std::size_t m_current = 0;   // segment the wire is on
    double m_along = 0.0;        // 0..1 within it
    bool m_done = false;
    bool m_started = false;
    std::int64_t m_startMs = 0;
    std::int64_t m_lastMs = 0;
    AxisRegisters m_position{};
};

// The step periods a program starts from: it sets its own speeds first, and one that does not
// runs at the slowest period.
inline constexpr std::array<std::uint16_t, 4> kUnsetPeriods{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};

// The registers of the wire as the machine's last read gave them.
AxisRegisters reportedRegisters(const MachineState& machine);

// The progress of a job sending the program file at `path`, planned from where the wire stood at
// Start (`originSteps`, motor steps of every axis); none when the file cannot be read.
std::optional<JobProgress> progressOfProgramFile(const std::string& path, const MachineState& machine,
                                                 const std::array<std::int32_t, 8>& originSteps);

// What the main window and the command-line report show of a job.
struct JobStatus {
    JobPhase phase = JobPhase::Sending;
    double fraction = 0.0;
    double frontXmm = 0.0;
    double frontYmm = 0.0;
    std::int64_t elapsedMs = 0;
    std::int64_t remainingMs = 0;
    std::int64_t plannedMs = 0;
};

// "m:ss", or "h:mm:ss" from an hour on.
std::string formatDuration(std::int64_t ms);

// Watches a job from the timers: plans its progress when its program has been written and feeds
// it the positions read at most every `kReportMs`.
class JobWatch {
public:
    static constexpr std::int64_t kReportMs = 100;

    // A job has begun sending the program at `programPath`.
    void begin(const std::string& programPath, const MachineState& machine,
               const std::array<std::int32_t, 8>& originSteps, std::int64_t nowMs);
    void tick(const MachineState& machine, std::int64_t nowMs);
    // The figures now; `phase` as the caller knows it.
    JobStatus status(JobPhase phase, const MachineState& machine, std::int64_t nowMs);
    bool watching() const { return m_progress.has_value(); }

private:
    std::optional<JobProgress> m_progress;
    std::int64_t m_lastReportMs = 0;
};

}  // namespace kerfline
