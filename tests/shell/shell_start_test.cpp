#include "shell/app_context.h"
#include "shell/caption.h"
#include "base/directories.h"
#include "base/scripted_host.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace kerfline {
namespace {

using testing::TempDir;

struct Env {
    std::map<std::string, std::string> values;
    const char* operator()(const char* name) const
    {
        const auto it = values.find(name);
        return it == values.end() ? nullptr : it->second.c_str();
    }
};

TEST(DataDirectory, SwitchWinsAndGetsItsTrailingSlash)
{
    const Env env{{{"HOME", "/home/op"}}};
    EXPECT_EQ(dataDirectoryFor(CommandLine({"dataDir'/srv/cut'"}), env), "/srv/cut/");
    EXPECT_EQ(dataDirectoryFor(CommandLine({"dataDir'/srv/cut/'"}), env), "/srv/cut/");
    EXPECT_EQ(dataDirectoryFor(CommandLine(), env), "/home/op/.local/share/Quorvant/Kerfline/");
    // a design whose path holds the name, or the switch without a value, leaves the default
    for (const char* parameter : {"/home/op/datadir/wing.dxf", "dataDir'", "dataDir''"})
        EXPECT_EQ(dataDirectoryFor(CommandLine({parameter}), env), "/home/op/.local/share/Quorvant/Kerfline/")
            << parameter;
    const Env xdg{{{"HOME", "/home/op"}, {"XDG_DATA_HOME", "/data"}}};
    EXPECT_EQ(dataDirectoryFor(CommandLine(), xdg), "/data/Quorvant/Kerfline/");
}

class StartShellTest : public ::testing::Test {
protected:
    TempDir program;
    TempDir home;
    ScriptedHost host;
    SimulatedClock clock;

    void SetUp() override
    {
        std::filesystem::copy_file(std::string(KERFLINE_LANG_DIR) + "Kerfline_US.xml",
                                   program.path() / "Kerfline_US.xml");
        std::filesystem::copy_file(std::string(KERFLINE_LANG_DIR) + "Kerfline_PL.xml",
                                   program.path() / "Kerfline_PL.xml");
    }
};

TEST_F(StartShellTest, CreatesTheDataDirectoryWithItsParents)
{
    AppContext context(host, clock, CommandLine({"PL"}));
    context.programDirectory = program.str();
    const Env env{{{"HOME", home.path().string()}}};
    ASSERT_TRUE(startShell(context, env));
    EXPECT_EQ(context.language.languageCode(), "PL");
    EXPECT_EQ(context.dataDirectory, home.str() + ".local/share/Quorvant/Kerfline/");
    EXPECT_TRUE(std::filesystem::is_directory(context.dataDirectory));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(StartShellTest, EndsWithAMessageWhenTheDataDirectoryCannotBeMade)
{
    const std::string blocker = home.write("file", "not a directory");
    AppContext context(host, clock, CommandLine({"dataDir'" + blocker + "/sub'"}));
    context.programDirectory = program.str();
    EXPECT_FALSE(startShell(context, Env{}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              context.Text("Universal", "nieMoznaUtworzycKatalogu") + "\n\r" + blocker + "/sub/");
    EXPECT_TRUE(host.messages[0].isError);
}

TEST_F(StartShellTest, EndsWhenNoLanguageFileIsFound)
{
    AppContext context(host, clock, CommandLine());
    context.programDirectory = home.str();
    EXPECT_FALSE(startShell(context, Env{{{"HOME", home.path().string()}}}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Configuration error");
}

TEST_F(StartShellTest, CaptionNamesVersionRepeatAndTheOnlyMachine)
{
    AppContext context(host, clock, CommandLine({"US", "repeat", "OnlyMachine'Qd 1200'"}));
    context.programDirectory = program.str();
    ASSERT_TRUE(startShell(context, Env{{{"HOME", home.path().string()}}}));
    EXPECT_EQ(mainWindowCaption(context), "Kerfline   " + context.Text("Universal", "txtWer") +
                                              " 5.5.0.0   >> UWAGA! Aktywna opcja REPEAT <<      " +
                                              context.Text("Main_window", "pracujeTylkoZploterem") + " Qd 1200");
}

TEST_F(StartShellTest, ADesignNamedAfterTheOnlyMachineSwitchLeavesTheCaptionAlone)
{
    AppContext context(host, clock, CommandLine({"US", "/designs/OnlyMachine/wing.dxf"}));
    context.programDirectory = program.str();
    ASSERT_TRUE(startShell(context, Env{{{"HOME", home.path().string()}}}));
    EXPECT_EQ(mainWindowCaption(context), "Kerfline   " + context.Text("Universal", "txtWer") + " 5.5.0.0");
}

TEST(ProjectWindowTitle, TheFileNameAndTagComeBeforeTheFolder)
{
    const struct {
        const char* caption;
        const char* title;
    } cases[] = {
        {"/home/op/designs/gear.plt", "gear.plt  (/home/op/designs)"},
        {"/home/op/my designs/wing.dxf FRONT", "wing.dxf FRONT  (/home/op/my designs)"},
        {"/wing.plt   Side wire", "wing.plt   Side wire  (/)"},
        {"C:\\Projekty\\3.plt", "3.plt  (C:\\Projekty)"},
        {"wing.dxf Mix", "wing.dxf Mix"},
        {"/home/op/", "/home/op/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(projectWindowTitle(c.caption), c.title) << c.caption;
}

TEST(DealerEdition, TalmorOrTheLastDealerSwitch)
{
    EXPECT_EQ(dealerEditionFor(CommandLine({"D:acme"}), false), "ACME");
    EXPECT_EQ(dealerEditionFor(CommandLine({"d:one", "x", "D:two"}), false), "TWO");
    EXPECT_EQ(dealerEditionFor(CommandLine({"D:"}), false), "");
    EXPECT_EQ(dealerEditionFor(CommandLine({"D:acme"}), true), "TALMOR");
}

TEST(StatusPanel, FirstPanelLeavesAnEighthRoundedHalfToEven)
{
    EXPECT_EQ(firstStatusPanelWidth(800), 700);
    EXPECT_EQ(firstStatusPanelWidth(20), 18);  // 2.5 rounds to 2
    EXPECT_EQ(firstStatusPanelWidth(28), 24);  // 3.5 rounds to 4
}

TEST(Clocks, SimulatedTimeMovesOnlyWhenSlept)
{
    SimulatedClock clock;
    std::int64_t seenFrom = -1, seenTo = -1;
    clock.setListener([&](std::int64_t from, std::int64_t to) {
        seenFrom = from;
        seenTo = to;
    });
    EXPECT_EQ(clock.nowMs(), 0);
    clock.sleepMs(250);
    EXPECT_EQ(clock.nowMs(), 250);
    EXPECT_EQ(seenFrom, 0);
    EXPECT_EQ(seenTo, 250);
    clock.sleepMs(-5);
    EXPECT_EQ(clock.nowMs(), 250);
}

}  // namespace
}  // namespace kerfline
