// Runs kerfline-cli plan and decode the way a script does.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using kerfline::testing::TempDir;

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;

CliRun run(const TempDir& dir, const std::string& command, const std::vector<std::string>& arguments)
{
    return kerfline::testing::runCli(dir, command, arguments);
}

const std::string kSquare = std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.plt";

TEST(PlanCommand, WritesTheProgramOfTheVirtualMachineAndDescribesTheTree)
{
    TempDir dir;
    const std::string output = dir.str() + "square.cn";
    const CliRun plan = run(dir, "plan", {kSquare, "--machine", "Qd 1200", "-o", output});
    ASSERT_EQ(plan.exitCode, 0) << plan.err;
    EXPECT_EQ(contentOf(output), contentOf(std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.cn"));
    EXPECT_EQ(plan.out,
              "{\"mode\":0,\"outputKind\":32,\"startFigure\":0,\"cutLength\":16000,\"frameAdded\":false,"
              "\"figures\":[{\"kind\":0,\"isDesign\":true,\"nestLevel\":0,\"container\":-1,\"parent\":-1,"
              "\"attachVertex\":-1,\"startVertex\":0,\"unconnected\":false,"
              "\"points\":[[0,0],[4000,0],[4000,4000],[0,4000],[0,0]]}],\"bytes\":148,\"commands\":37}\n");

    const CliRun decode = run(dir, "decode", {output, "--machine=Qd 1200"});
    ASSERT_EQ(decode.exitCode, 0) << decode.err;
    EXPECT_EQ(decode.out.rfind("{\"commands\":[{\"offset\":0,\"letter\":\"v\",\"args\":[0,150]},", 0), 0u)
        << decode.out.substr(0, 200);
    EXPECT_NE(decode.out.find("\"moves\":[{\"steps\":[0,25000,0,0,0,25000,0,0],\"count\":50000}"), std::string::npos);
    EXPECT_NE(decode.out.find("\"trace\":[[0,10000,0,0,0,10000,0,0],[10000,10000,0,0,10000,10000,0,0],"),
              std::string::npos);
}

TEST(PlanCommand, RefusesWhatItCannotPlan)
{
    TempDir dir;
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    };
    const std::string unwritable = dir.str() + "missing/out.cn";
    const Case cases[] = {
        {"no output", {kSquare}, 2, "-o OUT.cn is required"},
        {"another mode", {kSquare, "--set", "Mode=2", "-o", dir.str() + "out.cn"}, 1, "Mode 2"},
        {"a rotary design without its axis", {kSquare, "--set", "Mode=1", "-o", dir.str() + "out.cn"}, 1,
         "no rotation axis"},
        {"an output that cannot be created", {kSquare, "-o", unwritable}, 1, "could not be written"},
        {"a design that is not there", {dir.str() + "none.plt", "-o", dir.str() + "out.cn"}, 1, "none.plt"},
    };
    for (const Case& c : cases) {
        const CliRun plan = run(dir, "plan", c.arguments);
        EXPECT_EQ(plan.exitCode, c.exitCode) << c.what << ": " << plan.err;
        EXPECT_NE(plan.err.find(c.message), std::string::npos) << c.what << ": " << plan.err;
        EXPECT_TRUE(plan.out.empty()) << c.what;
    }
}

TEST(PlanCommand, WritesRotaryAndTurningPrograms)
{
    TempDir dir;
    const std::string onSpindle = dir.write("spindle.plt", "IN;SP1;PU0,0;PD8000,0;PU0,400;PD2000,1200,6000,1200,8000,400;PU;");
    const std::string onTable = dir.write("table.plt", "IN;SP1;PU0,0;PD0,8000;PU-400,0;PD-1200,2000,-1200,6000,-400,8000;PU;");
    struct Case {
        std::string design;
        std::vector<std::string> settings;
        int outputKind;
    };
    const Case cases[] = {
        {onSpindle, {"Mode=1"}, 31},
        {onTable, {"Mode=1", "StolikSwitch=1"}, 311},
        {onSpindle, {"Mode=3"}, 30},
        {onTable, {"Mode=3", "StolikSwitch=1"}, 301},
        {onSpindle, {"Mode=3", "StolikSwitch=2"}, 32},  // no rotary device: a plain program
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{c.design, "--machine", "Qd 1200", "-o", dir.str() + "out.cn"};
        for (const std::string& setting : c.settings) {
            arguments.push_back("--set");
            arguments.push_back(setting);
        }
        SCOPED_TRACE(c.outputKind);
        const CliRun plan = run(dir, "plan", arguments);
        ASSERT_EQ(plan.exitCode, 0) << plan.err;
        EXPECT_NE(plan.out.find("\"outputKind\":" + std::to_string(c.outputKind) + ","), std::string::npos) << plan.out;
        const CliRun decode = run(dir, "decode", {dir.str() + "out.cn", "--machine=Qd 1200"});
        EXPECT_EQ(decode.exitCode, 0) << decode.err;
        // The trailer switches the heating off.
        EXPECT_NE(decode.out.find("\"letter\":\"r\",\"args\":[0,2]}"), std::string::npos);
    }
}

TEST(DecodeCommand, ABrokenProgramIsRefusedWithItsOffset)
{
    TempDir dir;
    const std::string broken = dir.write("broken.cn", std::string("p\x01\x07", 3));
    const CliRun decode = run(dir, "decode", {broken});
    EXPECT_EQ(decode.exitCode, 1);
    EXPECT_NE(decode.err.find("the byte 0x07 at offset 2"), std::string::npos) << decode.err;
    EXPECT_TRUE(decode.out.empty());
}

}  // namespace
