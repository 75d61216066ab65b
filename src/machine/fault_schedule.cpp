#include "machine/fault_schedule.h"

#include "machine/hid_platform.h"
#include "machine/virtual_cutter.h"
#include "base/clock.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <random>

namespace kerfline::machine {
namespace {

struct KindName {
    FaultKind kind;
    std::string_view name;
    int defaultArg;
};

constexpr std::array<KindName, 13> kKinds{{
    {FaultKind::WriteFail, "write-fail", hid_error::GenFailure},
    {FaultKind::WriteFailDelivered, "write-fail-delivered", hid_error::GenFailure},
    {FaultKind::ReadFail, "read-fail", 1},
    {FaultKind::Busy, "busy", 1},
    {FaultKind::Unplug, "unplug", 0},
    {FaultKind::Replug, "replug", 0},
    {FaultKind::WireBreak, "wire-break", 0},
    {FaultKind::WireMend, "wire-mend", 0},
    {FaultKind::MachineStart, "machine-start", 0},
    {FaultKind::MachineStop, "machine-stop", 0},
    {FaultKind::MachineContinue, "machine-continue", 0},
    {FaultKind::Stop, "stop", 0},
    {FaultKind::Continue, "continue", 0},
}};

const KindName& entry(FaultKind kind)
{
    return *std::find_if(kKinds.begin(), kKinds.end(), [kind](const KindName& k) { return k.kind == kind; });
}

bool takesArg(FaultKind kind)
{
    return kind == FaultKind::WriteFail || kind == FaultKind::WriteFailDelivered || kind == FaultKind::ReadFail ||
           kind == FaultKind::Busy;
}

template <typename Int>
bool wholeNumber(std::string_view text, Int& value)
{
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<FaultEvent> parseEvent(std::string_view text, std::string& problem)
{
    const auto at = text.find('@');
    if (at == std::string_view::npos) {
        problem = "a fault needs a time: EVENT@cN or EVENT@tMS, not \"" + std::string(text) + "\"";
        return std::nullopt;
    }
    const std::string_view name = text.substr(0, at);
    const auto known = std::find_if(kKinds.begin(), kKinds.end(), [name](const KindName& k) { return k.name == name; });
    if (known == kKinds.end()) {
        problem = "unknown fault \"" + std::string(name) + "\"";
        return std::nullopt;
    }
    FaultEvent event;
    event.kind = known->kind;
    event.arg = known->defaultArg;
    std::string_view when = text.substr(at + 1);
    const auto colon = when.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view arg = when.substr(colon + 1);
        if (!takesArg(event.kind) || !wholeNumber(arg, event.arg) || event.arg < 1) {
            problem = "fault \"" + std::string(text) + "\": " +
                      (takesArg(event.kind) ? "the argument is a whole number above 0" : "this fault takes no argument");
            return std::nullopt;
        }
        when = when.substr(0, colon);
    }
    if (when.size() < 2 || (when[0] != 'c' && when[0] != 't') || !wholeNumber(when.substr(1), event.when) ||
        event.when < 0) {
        problem = "fault \"" + std::string(text) + "\": the time is cN (commands received) or tMS (milliseconds)";
        return std::nullopt;
    }
    event.byCommands = when[0] == 'c';
    return event;
}

}  // namespace

std::string_view faultName(FaultKind kind)
{
    return entry(kind).name;
}

bool isOperatorFault(FaultKind kind)
{
    return kind == FaultKind::Stop || kind == FaultKind::Continue;
}

std::string describeFault(const FaultEvent& event)
{
    std::string text(faultName(event.kind));
    text += '@';
    text += event.byCommands ? 'c' : 't';
    text += std::to_string(event.when);
    if (takesArg(event.kind))
        text += ':' + std::to_string(event.arg);
    return text;
}

std::optional<std::vector<FaultEvent>> parseFaultSchedule(std::string_view text, std::string& problem)
{
    std::vector<FaultEvent> events;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (item.empty()) {
            problem = "an empty fault in the list";
            return std::nullopt;
        }
        auto event = parseEvent(item, problem);
        if (!event)
            return std::nullopt;
        events.push_back(*event);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
        if (text.empty()) {
            problem = "an empty fault at the end of the list";
            return std::nullopt;
        }
    }
    return events;
}

std::vector<FaultEvent> randomFaults(int count, std::uint64_t seed, std::int64_t programCommands,
                                     std::int64_t horizonMs)
{
    // The machine's start button is left out: pressed during a job it is Start, a new job.
    static constexpr std::array<FaultKind, 13> kDrawn{
        FaultKind::WriteFail, FaultKind::WriteFailDelivered, FaultKind::ReadFail,        FaultKind::Busy,
        FaultKind::Unplug,    FaultKind::WireBreak,          FaultKind::MachineStop,     FaultKind::Stop,
        FaultKind::ReadFail,  FaultKind::WriteFail,          FaultKind::Busy,            FaultKind::Continue,
        FaultKind::MachineContinue};
    std::mt19937_64 random(seed);
    auto below = [&random](std::int64_t n) {
        return n <= 0 ? std::int64_t{0} : static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(n));
    };
    const std::int64_t commands = std::max<std::int64_t>(programCommands, 1);
    const std::int64_t horizon = std::max<std::int64_t>(horizonMs, 1000);
    std::vector<FaultEvent> events;
    // Mends come well after what they mend, in time, so that the machine has stopped by then.
    std::int64_t lastMs = 0;
    for (int i = 0; i < count; ++i) {
        FaultEvent event;
        event.kind = kDrawn[static_cast<std::size_t>(below(kDrawn.size()))];
        event.arg = entry(event.kind).defaultArg;
        if (event.kind == FaultKind::ReadFail)
            event.arg = static_cast<int>(1 + below(25));  // up to and past the link's ten tries
        else if (event.kind == FaultKind::Busy)
            event.arg = static_cast<int>(1 + below(20));
        else if (event.kind == FaultKind::WriteFail || event.kind == FaultKind::WriteFailDelivered)
            event.arg = below(3) == 0 ? hid_error::Timeout : hid_error::GenFailure;
        const bool byCommands = takesArg(event.kind) && below(2) == 0;
        event.byCommands = byCommands;
        event.when = byCommands ? below(commands) : below(horizon);
        events.push_back(event);
        lastMs = std::max(lastMs, byCommands ? 0 : event.when);
    }
    // Every stop is mended after the last fault in time, in an order that lets the job go on.
    const auto has = [&events](FaultKind kind) {
        return std::any_of(events.begin(), events.end(), [kind](const FaultEvent& e) { return e.kind == kind; });
    };
    std::int64_t mendMs = lastMs + 2000 + below(horizon / 4 + 1);
    auto mend = [&](FaultKind kind) {
        events.push_back({kind, false, mendMs, 0});
        mendMs += 1500;
    };
    if (has(FaultKind::Unplug))
        mend(FaultKind::Replug);
    if (has(FaultKind::WireBreak))
        mend(FaultKind::WireMend);
    if (has(FaultKind::Unplug) || has(FaultKind::WireBreak) || has(FaultKind::MachineStop) || has(FaultKind::Stop) ||
        has(FaultKind::WriteFail))
        mend(FaultKind::Continue);
    return events;
}

FaultInjector::FaultInjector(VirtualCutter& cutter, Clock& clock, std::vector<FaultEvent> schedule)
    : m_cutter(cutter),
      m_clock(clock),
      m_schedule(std::move(schedule)),
      m_done(m_schedule.size(), false),
      m_startMs(clock.nowMs())
{
    m_cutter.beforeIo = [this] { fireDue(); };
}

FaultInjector::~FaultInjector()
{
    m_cutter.beforeIo = nullptr;
}

bool FaultInjector::due(const FaultEvent& event) const
{
    if (event.byCommands)
        return m_cutter.controller().programCommandsReceived() >= static_cast<std::uint64_t>(event.when);
    return m_clock.nowMs() - m_startMs >= event.when;
}

bool FaultInjector::pendingInTime() const
{
    for (std::size_t i = 0; i < m_schedule.size(); ++i) {
        if (!m_done[i] && !m_schedule[i].byCommands)
            return true;
    }
    return false;
}

void FaultInjector::record(const FaultEvent& event)
{
    m_fired.push_back({m_clock.nowMs() - m_startMs, m_cutter.controller().programCommandsReceived(), event});
}

void FaultInjector::fireDue()
{
    // A fault may itself write or read (a replug greets nobody, but the cutter syncs): no
    // schedule runs inside itself.
    if (m_firing)
        return;
    m_firing = true;
    for (std::size_t i = 0; i < m_schedule.size(); ++i) {
        if (m_done[i] || isOperatorFault(m_schedule[i].kind) || !due(m_schedule[i]))
            continue;
        m_done[i] = true;
        record(m_schedule[i]);
        apply(m_schedule[i]);
    }
    m_firing = false;
}

std::vector<FaultEvent> FaultInjector::takeOperatorEvents()
{
    std::vector<FaultEvent> events;
    for (std::size_t i = 0; i < m_schedule.size(); ++i) {
        if (m_done[i] || !isOperatorFault(m_schedule[i].kind) || !due(m_schedule[i]))
            continue;
        m_done[i] = true;
        record(m_schedule[i]);
        events.push_back(m_schedule[i]);
    }
    return events;
}

void FaultInjector::apply(const FaultEvent& event)
{
    switch (event.kind) {
    case FaultKind::WriteFail: m_cutter.failWrites(1, event.arg); break;
    case FaultKind::WriteFailDelivered: m_cutter.failWrites(1, event.arg, VirtualCutter::WriteFault::delivered); break;
    case FaultKind::ReadFail: m_cutter.failReads(event.arg); break;
    case FaultKind::Busy: m_cutter.reportBufferFull(event.arg); break;
    case FaultKind::Unplug: m_cutter.unplug(); break;
    case FaultKind::Replug: m_cutter.replug(); break;
    case FaultKind::WireBreak: m_cutter.breakWire(); break;
    case FaultKind::WireMend: m_cutter.mendWire(); break;
    case FaultKind::MachineStart: m_cutter.pressStart(); break;
    case FaultKind::MachineStop: m_cutter.pressStop(); break;
    case FaultKind::MachineContinue: m_cutter.pressContinue(); break;
    case FaultKind::Stop:
    case FaultKind::Continue: break;  // the operator's, handed out by takeOperatorEvents
    }
}

}  // namespace kerfline::machine
