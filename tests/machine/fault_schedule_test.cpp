// The fault schedule's grammar and the injector's timing on the virtual cutter.
#include "machine/fault_schedule.h"

#include "machine/virtual_cutter.h"
#include "base/clock.h"
#include "base/scripted_host.h"

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

TEST(FaultSchedule, ReadsEveryEventWithItsTimeAndArgument)
{
    struct Case {
        const char* text;
        std::vector<std::string> described;
    };
    const Case cases[] = {
        {"write-fail@c150", {"write-fail@c150:31"}},
        {"write-fail-delivered@c3:121,read-fail@t500:12", {"write-fail-delivered@c3:121", "read-fail@t500:12"}},
        {"busy@c0,unplug@t10,replug@t2000", {"busy@c0:1", "unplug@t10", "replug@t2000"}},
        {"wire-break@t1,wire-mend@t2,machine-start@t3,machine-stop@t4,machine-continue@t5,stop@t6,continue@c7",
         {"wire-break@t1", "wire-mend@t2", "machine-start@t3", "machine-stop@t4", "machine-continue@t5", "stop@t6",
          "continue@c7"}},
    };
    for (const Case& c : cases) {
        std::string problem;
        const auto events = parseFaultSchedule(c.text, problem);
        ASSERT_TRUE(events) << c.text << ": " << problem;
        std::vector<std::string> described;
        for (const FaultEvent& e : *events)
            described.push_back(describeFault(e));
        EXPECT_EQ(described, c.described) << c.text;
    }
}

TEST(FaultSchedule, RefusesWhatDoesNotParseWithTheReason)
{
    for (const char* text : {"write-fail", "melt@t1", "stop@x5", "stop@t", "stop@t5:2", "read-fail@t5:0",
                             "read-fail@t5:a", "stop@t-1", "stop@t1,", ",stop@t1", "stop@t1,,continue@t2"}) {
        std::string problem;
        EXPECT_FALSE(parseFaultSchedule(text, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
}

TEST(FaultSchedule, RandomSchedulesAreRepeatableAndMendWhatTheyBreak)
{
    const auto a = randomFaults(6, 42, 500, 10000);
    const auto b = randomFaults(6, 42, 500, 10000);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(describeFault(a[i]), describeFault(b[i]));
    for (std::uint64_t seed = 0; seed < 200; ++seed) {
        const auto events = randomFaults(3, seed, 300, 5000);
        auto at = [&](FaultKind kind) {
            std::int64_t last = -1;
            for (const FaultEvent& e : events)
                if (e.kind == kind)
                    last = e.when;
            return last;
        };
        if (at(FaultKind::Unplug) >= 0) {
            EXPECT_GT(at(FaultKind::Replug), at(FaultKind::Unplug)) << seed;
        }
        if (at(FaultKind::WireBreak) >= 0) {
            EXPECT_GT(at(FaultKind::WireMend), at(FaultKind::WireBreak)) << seed;
        }
    }
}

TEST(FaultInjector, StrikesAtTheCommandCountInsideTheWriteAndHandsOutTheOperatorsEvents)
{
    ScriptedHost host;
    SimulatedClock clock;
    VirtualCutter cutter(host, clock);
    cutter.followClock(clock);
    std::string problem;
    FaultInjector injector(cutter, clock, *parseFaultSchedule("write-fail@c2,stop@t100", problem));
    auto devices = cutter.enumerate();
    HidDevice& device = *devices.back();
    ASSERT_EQ(device.open(), 0);
    Report report{0, 'v', 0, 0x10, 0x27};
    EXPECT_EQ(device.writeReport(report).code, 0);
    EXPECT_EQ(device.writeReport(report).code, 0);
    EXPECT_EQ(device.writeReport(report).code, hid_error::GenFailure);  // the third command is not taken
    EXPECT_EQ(cutter.controller().programCommandsReceived(), 2u);
    EXPECT_TRUE(injector.takeOperatorEvents().empty());
    EXPECT_TRUE(injector.pendingInTime());
    clock.advance(100);
    const auto operatorEvents = injector.takeOperatorEvents();
    ASSERT_EQ(operatorEvents.size(), 1u);
    EXPECT_EQ(operatorEvents[0].kind, FaultKind::Stop);
    EXPECT_FALSE(injector.pendingInTime());
    ASSERT_EQ(injector.fired().size(), 2u);
    EXPECT_EQ(injector.fired()[0].commands, 2u);
}

}  // namespace
}  // namespace kerfline::machine
