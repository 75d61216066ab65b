#pragma once

// The manual control panel and its dialogs on the virtual cutter, with a simulated clock: a
// wait of the program advances time at once and moves the machine.

#include "cutting/job_rig.h"
#include "cutting/ui/manual_panel.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QtTest/QTest>

#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// The operator's side is the recording host, or the desktop program's own host when a test hands
// one in (messages then go to real message boxes).
struct PanelRig {
    explicit PanelRig(std::string product = machine::kDefaultVirtualProduct, std::vector<std::string> switches = {},
                      Host* operatorHost = nullptr)
        : context(operatorHost != nullptr ? *operatorHost : host, clock, CommandLine(std::move(switches))),
          cutter(context.host, clock, std::move(product))
    {
        context.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        context.dataDirectory = dir.str();
        cutter.followClock(clock);
        session = std::make_unique<CuttingSession>(context, cutter, windows, windowHooks.hooks());
        makePanel();
    }
    ~PanelRig()
    {
        panel.reset();
        session.reset();
    }

    void makePanel()
    {
        panel = std::make_unique<ui::TsterWindow>(context, *session);
        windowHooks.panel = panel.get();
    }
    // Shows the panel and makes it the active window, as the operator's click on it does.
    bool showActive()
    {
        panel->show();
        panel->activateWindow();
        return QTest::qWaitForWindowActive(panel.get());
    }

    void home()
    {
        session->protocol.SendCommand(std::string{'B', static_cast<char>(0xFF)});
        session->protocol.WaitWhileBusy();
        session->protocol.ReadPositions();
    }

    std::vector<std::string> commands() const
    {
        std::vector<std::string> list;
        for (const machine::Report& report : cutter.reports())
            list.emplace_back(report.begin() + 1, report.end());
        return list;
    }
    // The homing masks sent ("B" and its mask byte), and "Y" for each stop, in order.
    std::vector<int> homingSteps() const
    {
        std::vector<int> steps;
        for (const std::string& c : commands()) {
            if (c[0] == 'B')
                steps.push_back(static_cast<unsigned char>(c[1]));
            else if (c[0] == 'Y')
                steps.push_back('Y');
        }
        return steps;
    }
    std::uint16_t speedPeriod() { return cutter.controller().speedPeriod(context.machine.selectedSpeedSet); }
    std::uint16_t periodOf(int speed)
    {
        return static_cast<std::uint16_t>(session->protocol.SpeedToPeriod(static_cast<std::uint16_t>(speed)) /
                                          context.machine.speedMultiplier);
    }

    RecordingHost host;
    SimulatedClock clock;
    AppContext context;
    TempDir dir;
    ProjectWindowList windows;
    machine::VirtualCutter cutter;
    ui::PanelWindowHooks windowHooks;
    std::unique_ptr<CuttingSession> session;
    std::unique_ptr<ui::TsterWindow> panel;
};

template <typename T>
T* child(QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

}  // namespace kerfline::testing
