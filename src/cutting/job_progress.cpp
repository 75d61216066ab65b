#include "cutting/job_progress.h"

#include "designfiles/cut_program_decoder.h"
#include "base/round.h"
#include "machine/machine_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kerfline {
namespace {

// How far ahead of the wire's segment a reported position is looked for: a report comes every
// few hundred milliseconds, a segment lasts at least a step period.
constexpr std::size_t kLookAhead = 256;

double planar(const AxisRegisters& a, const AxisRegisters& b, int x, int y)
{
    return std::hypot(double(b[x]) - a[x], double(b[y]) - a[y]);
}

// The longer of the two wires' paths; the auxiliary axis counts where the wires stand still.
double segmentLength(const AxisRegisters& a, const AxisRegisters& b)
{
    return std::max({planar(a, b, AxisFrontX, AxisFrontY), planar(a, b, AxisBackX, AxisBackY),
                     std::abs(double(b[AxisAux]) - a[AxisAux])});
}

// Where along the segment from `a` to `b` the point `p` lies (0..1) and how far off it is.
struct Nearest {
    double along = 0.0;
    double distance = 0.0;
};
Nearest nearestOn(const AxisRegisters& a, const AxisRegisters& b, const AxisRegisters& p)
{
    static constexpr int kAxes[] = {AxisFrontX, AxisFrontY, AxisAux, AxisBackX, AxisBackY};
    double dot = 0.0, len2 = 0.0;
    for (const int axis : kAxes) {
        const double d = double(b[axis]) - a[axis];
        dot += (double(p[axis]) - a[axis]) * d;
        len2 += d * d;
    }
    Nearest nearest;
    nearest.along = len2 > 0.0 ? std::clamp(dot / len2, 0.0, 1.0) : 1.0;
    double dist2 = 0.0;
    for (const int axis : kAxes) {
        const double on = a[axis] + nearest.along * (double(b[axis]) - a[axis]);
        dist2 += (p[axis] - on) * (p[axis] - on);
    }
    nearest.distance = std::sqrt(dist2);
    return nearest;
}

}  // namespace

const char* jobPhaseName(JobPhase phase)
{
    switch (phase) {
    case JobPhase::Sending: return "sending";
    case JobPhase::Running: return "running";
    case JobPhase::PausedByOperator: return "pausedByOperator";
    case JobPhase::PausedByMachine: return "pausedByMachine";
    case JobPhase::WireBroken: return "wireBroken";
    case JobPhase::Finished: return "finished";
    case JobPhase::LinkLost: return "linkLost";
    }
    return "running";
}

JobPhase jobPhaseOf(const JobPhaseInputs& in)
{
    if (!in.linkUp)
        return JobPhase::LinkLost;
    const auto has = [&](StatusFlag flag) { return (in.statusFlags & statusBit(flag)) != 0; };
    if (has(StatusFlag::wireBreak))
        return JobPhase::WireBroken;
    if (has(StatusFlag::paused) || (in.stoppedByOperator && !in.ended))
        return in.stoppedByOperator ? JobPhase::PausedByOperator : JobPhase::PausedByMachine;
    if (in.ended)
        return JobPhase::Finished;
    if (has(StatusFlag::programRunning) && !has(StatusFlag::waitingForGo))
        return JobPhase::Running;
    return JobPhase::Sending;
}

JobProgress::JobProgress(const DecodedProgram& program, const AxisRegisters& start, std::array<std::uint16_t, 4> periods)
    : m_position(start)
{
    // Walk the commands in order so speeds and pauses apply where they stand among the moves.
    std::size_t move = 0;
    std::size_t speedSet = 0;
    AxisRegisters at = start;
    const auto add = [&](const AxisRegisters& to, std::int64_t ms) {
        Segment segment{at, to, segmentLength(at, to), m_totalLength, ms, m_totalMs};
        m_totalLength += segment.length;
        m_totalMs += ms;
        m_segments.push_back(segment);
        at = to;
    };
    for (std::size_t i = 0; i < program.commands.size(); ++i) {
        const DecodedCommand& command = program.commands[i];
        const auto arg = [&](std::size_t n) { return n < command.args.size() ? command.args[n] : 0; };
        if (command.letter == 'v' && arg(0) >= 0 && arg(0) < 4)
            periods[static_cast<std::size_t>(arg(0))] = static_cast<std::uint16_t>(arg(1));
        else if (command.letter == 'f')
            speedSet = static_cast<std::size_t>(arg(0));
        else if (command.letter == 'p')
            add(at, arg(0));  // a dwell of n milliseconds
        // A move of count C at step period P lasts C x P x 0.8 microseconds.
        while (move < program.moves.size() && move < program.trace.size() && program.moves[move].firstCommand == i) {
            const std::int64_t period = std::max<std::int64_t>(speedSet < 4 ? periods[speedSet] : periods[0], 1);
            add(program.trace[move], std::int64_t{program.moves[move].count} * period * 4 / 5 / 1000);
            ++move;
        }
    }
}

void JobProgress::start(std::int64_t nowMs)
{
    m_started = true;
    m_startMs = m_lastMs = nowMs;
}

void JobProgress::finish(std::int64_t nowMs)
{
    m_lastMs = nowMs;
    m_done = true;
    m_current = m_segments.size();
    m_along = 0.0;
}

void JobProgress::report(const AxisRegisters& position, std::int64_t nowMs)
{
    if (!m_started)
        start(nowMs);
    m_lastMs = nowMs;
    m_position = position;
    if (m_done)
        return;
    // The nearest point of the path at or after where the wire was; on a tie the earlier one, so
    // a path that passes the same point twice is not skipped ahead.
    std::size_t best = m_current;
    double bestAlong = m_along;
    double bestDistance = -1.0;
    const std::size_t end = std::min(m_segments.size(), m_current + kLookAhead);
    for (std::size_t s = m_current; s < end; ++s) {
        const Segment& segment = m_segments[s];
        Nearest nearest = nearestOn(segment.from, segment.to, position);
        if (s == m_current)
            nearest.along = std::max(nearest.along, m_along);
        if (bestDistance < 0.0 || nearest.distance < bestDistance - 0.5) {
            best = s;
            bestAlong = nearest.along;
            bestDistance = nearest.distance;
        }
    }
    if (bestDistance < 0.0)
        return;
    m_current = best;
    m_along = bestAlong;
    // The end of a segment is the start of the next one: pauses there count as still to come
    // until the wire is seen beyond them.
}

double JobProgress::fraction() const
{
    if (m_done)
        return 1.0;
    if (m_current >= m_segments.size())
        return m_segments.empty() ? 0.0 : 1.0;
    const Segment& segment = m_segments[m_current];
    if (m_totalLength <= 0.0)
        return m_totalMs > 0 ? double(segment.msBefore + std::int64_t(segment.ms * m_along)) / double(m_totalMs) : 0.0;
    return (segment.lengthBefore + segment.length * m_along) / m_totalLength;
}

std::int64_t JobProgress::remainingMs() const
{
    if (m_done || m_current >= m_segments.size())
        return 0;
    const Segment& segment = m_segments[m_current];
    return m_totalMs - segment.msBefore - static_cast<std::int64_t>(std::llround(segment.ms * m_along));
}

AxisRegisters reportedRegisters(const MachineState& machine)
{
    return {machine.frontX, machine.frontY, machine.rawSteps[AxisTable], machine.axis3,
            machine.backX,  machine.backY,  machine.rawSteps[AxisSpindle], machine.rawSteps[AxisAuxRotary]};
}

std::optional<JobProgress> progressOfProgramFile(const std::string& path, const MachineState& machine,
                                                 const std::array<std::int32_t, 8>& originSteps)
{
    DecodeSettings settings = DecodeSettings::forMachine(machine);
    const double resolution[8] = {settings.resX, settings.resY, 0.0, settings.res3, settings.resX, settings.resY, 0.0, 0.0};
    for (std::size_t axis = 0; axis < 8; ++axis)
        settings.start[axis] = resolution[axis] > 0.0 ? roundHalfEven<std::int32_t>(originSteps[axis] / resolution[axis])
                                                      : originSteps[axis];
    const DecodedProgram program = readCutProgram(path, settings);
    if (program.error && program.error->kind == ProgramDecodeError::Kind::ReadFailed)
        return std::nullopt;
    return JobProgress(program, settings.start, kUnsetPeriods);
}

std::string formatDuration(std::int64_t ms)
{
    const std::int64_t seconds = std::max<std::int64_t>(ms, 0) / 1000;
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

void JobWatch::begin(const std::string& programPath, const MachineState& machine,
                     const std::array<std::int32_t, 8>& originSteps, std::int64_t nowMs)
{
    m_progress = progressOfProgramFile(programPath, machine, originSteps);
    if (m_progress)
        m_progress->start(nowMs);
    m_lastReportMs = nowMs;
}

void JobWatch::tick(const MachineState& machine, std::int64_t nowMs)
{
    if (m_progress && nowMs - m_lastReportMs >= kReportMs) {
        m_progress->report(reportedRegisters(machine), nowMs);
        m_lastReportMs = nowMs;
    }
}

JobStatus JobWatch::status(JobPhase phase, const MachineState& machine, std::int64_t nowMs)
{
    JobStatus status;
    status.phase = phase;
    status.frontXmm = machine.frontX / 100.0;
    status.frontYmm = machine.frontY / 100.0;
    if (!m_progress)
        return status;
    m_progress->report(reportedRegisters(machine), nowMs);
    if (phase == JobPhase::Finished)
        m_progress->finish(nowMs);
    status.fraction = m_progress->fraction();
    status.elapsedMs = m_progress->elapsedMs();
    status.remainingMs = m_progress->remainingMs();
    status.plannedMs = m_progress->plannedMs();
    return status;
}

}  // namespace kerfline
