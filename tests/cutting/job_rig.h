#pragma once

#include "cutting/cutting_session.h"
#include "cutting/project_windows.h"
#include "cutting/simulated_timers.h"
#include "cutting/virtual_job.h"
#include "designfiles/design_type.h"
#include "machine/link_rig.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "support/temp_dir.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// A circle of 100 mm radius drawn as `segments` short lines: a program long enough to fill the
// controller's buffer several times.
inline std::string circleDesign(int segments)
{
    std::string hpgl = "IN;SP1;PU4000,0;PD";
    for (int i = 1; i <= segments; ++i) {
        const double a = i * 6.283185307179586 / segments;
        hpgl += (i > 1 ? "," : "") + std::to_string(static_cast<int>(4000 * std::cos(a))) + "," +
                std::to_string(static_cast<int>(4000 * std::sin(a)));
    }
    return hpgl + ";PU;";
}

// A host that also keeps every status text, in order.
class RecordingHost : public ScriptedHost {
public:
    void setStatus(int panel, const std::string& text) override
    {
        ScriptedHost::setStatus(panel, text);
        if (panel == 0)
            statusHistory.push_back(text);
    }
    int ask(const std::string& text, Buttons buttons, const std::string& caption) override
    {
        if (onAsk)
            onAsk();
        return ScriptedHost::ask(text, buttons, caption);
    }
    std::vector<std::string> statusHistory;
    std::function<void()> onAsk;
};

// The cutting machinery of the program on a given HID platform, with a data directory of its own.
struct SessionRig {
    explicit SessionRig(std::vector<std::string> switches = {})
        : context(host, clock, CommandLine(std::move(switches)))
    {
        context.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        context.dataDirectory = dir.str();
    }

    RecordingHost host;
    SimulatedClock clock;
    AppContext context;
    TempDir dir;
    ProjectWindowList windows;
};

// The cutting session on the virtual cutter, its panel created as at program start.
struct JobRig : SessionRig {
    explicit JobRig(std::string product = machine::kDefaultVirtualProduct, std::vector<std::string> switches = {},
                    bool pluggedAtStart = true)
        : SessionRig(std::move(switches)), cutter(host, clock, std::move(product))
    {
        cutter.followClock(clock);
        if (!pluggedAtStart)
            cutter.unplug();
        session = std::make_unique<CuttingSession>(context, cutter, windows);
        session->panel.FormCreate();
    }
    ~JobRig() { session.reset(); }

    machine::ControllerProtocol& protocol() { return session->protocol; }
    machine::VirtualController& controller() { return cutter.controller(); }

    // Homes every axis and waits for the machine.
    void home()
    {
        protocol().SendCommand(std::string{'B', static_cast<char>(0xFF)});
        protocol().WaitWhileBusy();
        protocol().ReadPositions();
    }
    // Travels to the point (millimetres) and reads the positions.
    void moveTo(double x, double y)
    {
        session->motion.gotopoint(true, 0, x, x, y, y, context.machine.tableRemainder, context.machine.spindleRemainder);
    }

    // Opens a design written by the test as a project window (the active one).
    TMDIChild& open(const std::string& name, const std::string& hpgl, int seriesIndex = 0)
    {
        const std::string path = dir.write(name, hpgl);
        auto window = std::make_unique<TMDIChild>(context);
        window->fileType = designTypeOf(path);
        window->seriesIndex = seriesIndex;
        window->Load(path, 255);
        return windows.add(std::move(window));
    }

    // A serial series on the rotary device: `count` windows of the design, numbered from 0.
    void openSeries(int device, int count, const std::string& hpgl)
    {
        context.configuration.setChoice(Param::Mode, ModeSerial);
        context.configuration.setChoice(Param::StolikSwitch, device);
        for (int i = 0; i < count; ++i)
            open(std::to_string(i) + ".plt", hpgl, i);
    }

    // Plays the transmission's and the panel's timers until the job is over.
    bool runJob(std::int64_t limitMs = 24LL * 3600 * 1000)
    {
        SimulatedTimers timers(clock, session->transmission, session->panel);
        timers.beforeTick = [this] {
            host.runPosted();
            if (beforeTick)
                beforeTick();
        };
        return timers.runUntil([this] { return done ? done() : jobIdle(context, session->transmission); },
                               clock.nowMs() + limitMs);
    }
    std::function<void()> beforeTick;
    std::function<bool()> done;

    // The first payload byte of every report written since the last clear: the command letters,
    // one per report (a move sends one report per piece).
    std::string letters() const
    {
        std::string text;
        for (const machine::Report& report : cutter.reports())
            text += static_cast<char>(report[1]);
        return text;
    }

    // The commands of "out.cn" as the transmission cuts them.
    std::vector<std::string> programCommands()
    {
        return programFileCommands(session->transmission.programPath(), protocol().lengths);
    }

    machine::VirtualCutter cutter;
    std::unique_ptr<CuttingSession> session;
};

// The cutting session on a scripted controller whose answers the test sets.
struct FakeRig : SessionRig {
    explicit FakeRig(std::string product = "Qd 1200", std::vector<std::string> switches = {})
        : SessionRig(std::move(switches))
    {
        platform.devices = {{"Quorvant", product, "1"}};
        session = std::make_unique<CuttingSession>(context, platform, windows);
        context.machine.setProduct(product);
    }
    ~FakeRig() { session.reset(); }

    // Channel 10 reports these status flags from now on.
    void status(std::uint32_t flags)
    {
        std::vector<std::uint8_t> reply(64, 0);
        for (int i = 0; i < 4; ++i)
            reply[2 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(flags >> (8 * i));
        platform.channels[10] = reply;
    }
    std::string letters() const
    {
        std::string text;
        for (const machine::Report& report : platform.reports)
            text += static_cast<char>(report[1]);
        return text;
    }

    FakePlatform platform;
    std::unique_ptr<CuttingSession> session;
};

inline std::uint32_t flags(std::initializer_list<StatusFlag> list)
{
    std::uint32_t value = 0;
    for (const StatusFlag flag : list)
        value |= statusBit(flag);
    return value;
}

}  // namespace kerfline::testing
