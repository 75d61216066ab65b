#include "cutting/virtual_job.h"

#include "cutting/cutting_session.h"
#include "cutting/project_windows.h"
#include "cutting/simulated_timers.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"
#include "cutting/job_state.h"
#include "base/clock.h"
#include "base/scripted_host.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace kerfline {
namespace {

// Lines the executed commands up against the program: each command is expected once, in order.
void compare(const std::vector<std::string>& program, const std::vector<std::string>& executed,
             VirtualJobReport& report)
{
    std::size_t next = 0;
    for (const std::string& command : executed) {
        if (next < program.size() && command == program[next])
            ++next;
        else if (next > 0 && command == program[next - 1])
            ++report.duplicated;
        else
            ++report.unexpected;
    }
    report.executed = next;
}

JobOutcome outcomeOf(const AppContext& context, const CuttingSession& session, const machine::VirtualCutter& cutter)
{
    if (session.transmission.commandsSent() == 0 && !session.transmission.interrupted())
        return JobOutcome::Refused;
    if (session.transmission.interrupted() || !cutter.plugged() || !session.link.connected())
        return JobOutcome::LinkLost;
    if (context.job.stoppedByOperator || context.machine.paused() || context.machine.wireBreak())
        return JobOutcome::Stopped;
    return JobOutcome::Completed;
}

}  // namespace

const char* jobOutcomeName(JobOutcome outcome)
{
    switch (outcome) {
    case JobOutcome::Completed: return "completed";
    case JobOutcome::Stopped: return "stopped";
    case JobOutcome::LinkLost: return "link-lost";
    case JobOutcome::Refused: return "refused";
    }
    return "refused";
}

std::vector<std::string> programFileCommands(const std::string& path, const machine::CommandLengthTable& lengths)
{
    std::ifstream in(path, std::ios::binary);
    const std::string program{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> commands;
    for (std::size_t at = 0; at < program.size();) {
        const auto length = static_cast<std::size_t>(std::max(1, lengths.lengthOf(program[at])));
        commands.push_back(program.substr(at, length));
        at += length;
    }
    return commands;
}

std::vector<machine::FaultEvent> randomFaultsFor(const TMDIChild& project, int count, std::uint64_t seed)
{
    // Three commands per vertex, a head and a tail; some 20 ms each.
    std::int64_t points = 0;
    for (const tfigura& figure : project.figures)
        points += static_cast<std::int64_t>(figure.points.size());
    const std::int64_t commands = points * 3 + 40;
    return machine::randomFaults(count, seed, commands, std::max<std::int64_t>(1000, commands * 20));
}

VirtualJobReport runVirtualJob(AppContext& context, ScriptedHost& host, SimulatedClock& clock, machine::VirtualCutter& cutter,
                               CuttingSession& session, std::vector<machine::FaultEvent> faults, JobStart start,
                               std::int64_t limitMs, const std::function<void()>& eachTick)
{
    VirtualJobReport report;
    if (start == JobStart::HomeAndStart) {
        session.homing.bazujClick();
        // A rotary or serial job on the spindle starts with the wire at the axis' height, where
        // the operator brings it after homing.
        const Configuration& config = context.configuration;
        const TMDIChild* project = session.driver.windows().active();
        const int mode = config.choice(Param::Mode);
        const bool spindleSerial = mode == ModeSerial && config.choice(Param::StolikSwitch) != DeviceTable;
        if ((mode == ModeRotary && project && project->horizontalAxisFound) || spindleSerial) {
            const double x = config.number(Param::Xwrzeciona);
            const double y = config.number(Param::Ywrzeciona);
            session.motion.gotopoint(true, 0, x, x, y, y, context.machine.tableRemainder, context.machine.spindleRemainder);
        }
    }
    const std::size_t executedBefore =
        start == JobStart::AlreadyStarted ? 0 : cutter.controller().executedProgram().size();
    const std::int64_t startMs = clock.nowMs();
    machine::FaultInjector injector(cutter, clock, std::move(faults));
    if (start != JobStart::AlreadyStarted)
        session.driver.Start1Click(true);

    // How often the program was sent: a serial series repeats itself lower down.
    std::size_t runs = 1;
    SimulatedTimers timers(clock, session.transmission, session.panel);
    timers.beforeTick = [&] {
        // What a fault sets off (a replug tells the link) is handled before the operator acts.
        host.runPosted();
        injector.fireDue();
        host.runPosted();
        for (const machine::FaultEvent& event : injector.takeOperatorEvents()) {
            if (event.kind == machine::FaultKind::Stop)
                session.supervisor.Wstrzymaj1Click();
            else
                session.supervisor.Kontynuacja1Click();
            host.runPosted();
        }
        if (eachTick)
            eachTick();
        // The operator keeps the manual control panel in front, whose heartbeat repeats a series.
        const int remaining = context.job.serialRepetition.remaining;
        session.supervisor.serialRepetition();
        if (context.job.serialRepetition.remaining < remaining && session.transmission.active())
            ++runs;
    };
    // A paused job waits for the operator, even while the rest of its program waits to be sent.
    const auto waiting = [&] {
        return jobIdle(context, session.transmission) || (context.machine.paused() && !context.job.jobActive);
    };
    // A series still to be repeated is not over, unless it waits for the operator.
    const auto repeating = [&] {
        return context.job.serialRepetition.armed && !context.machine.paused() && !context.job.stoppedByOperator &&
               session.link.connected();
    };
    report.ended = timers.runUntil([&] { return !injector.pendingInTime() && waiting() && !repeating(); },
                                   startMs + limitMs);
    report.jobTimeMs = clock.nowMs() - startMs;

    const std::vector<std::string> file =
        programFileCommands(session.transmission.programPath(), session.protocol.lengths);
    std::vector<std::string> program;
    for (std::size_t run = 0; run < runs; ++run)
        program.insert(program.end(), file.begin(), file.end());
    const auto& all = cutter.controller().executedProgram();
    const std::vector<std::string> executed(all.begin() + static_cast<std::ptrdiff_t>(executedBefore), all.end());
    report.programCommands = program.size();
    compare(program, executed, report);
    report.outcome = outcomeOf(context, session, cutter);
    report.heatingOnAtEnd = cutter.readout().heating;
    report.events = injector.fired();
    return report;
}

}  // namespace kerfline
