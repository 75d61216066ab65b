#include "config/parameters.h"
#include "cutting/job_rig.h"
#include "cutting/cutting_session.h"
#include "cutting/project_windows.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "shell/after_configuration.h"
#include "shell/app_context.h"
#include "shell/documents.h"
#include "shell/main_window_rules.h"
#include "base/scripted_host.h"

#include <gtest/gtest.h>

#include <set>

namespace kerfline {
namespace {

TEST(MenuRules, ProjectCommandsDuplicationAndSerialPasses)
{
    struct Case {
        int windows;
        const char* caption;
        int mode;
        bool start, duplicate, serialPasses, serialCutting;
    };
    const Case cases[] = {
        {0, "", Mode2D, false, false, false, false},
        {1, "/d/gear.plt", Mode2D, true, true, false, false},
        {1, "/d/gear.DPL", Mode2D, true, false, false, false},
        {1, "/d/gear.plt", ModeRotary, true, false, false, false},
        {2, "/d/1.plt", ModeSerial, true, false, true, true},
        // The serial cutting begins with the choice of the folder, before any window is open.
        {0, "", ModeSerial, false, false, false, true},
    };
    for (const Case& c : cases) {
        const MenuState state = menuState({c.windows, c.caption, c.mode});
        EXPECT_EQ(state.enabled.at("Start1"), c.start) << c.caption;
        EXPECT_EQ(state.enabled.at("Window1"), c.start);
        EXPECT_EQ(state.enabled.at("FileSaveAsDXF"), c.start);
        EXPECT_EQ(state.enabled.at("miDuplikujPlt"), c.duplicate) << c.caption << " mode " << c.mode;
        EXPECT_EQ(state.enabled.at("miSaveSerial"), c.serialPasses);
        EXPECT_EQ(state.enabled.at("miCiecieSeryjne"), c.serialCutting) << c.caption << " mode " << c.mode;
    }
    const MenuState documents = menuState({0, "", 0, true, false, true});
    EXPECT_TRUE(documents.visible.at("miInstrObslugi"));
    EXPECT_FALSE(documents.visible.at("miPrzyklady"));
    EXPECT_TRUE(documents.visible.at("miKatalog"));
}

// Documents looked up in a set of present paths.
DocumentPaths documentsWith(std::set<std::string> present, std::string language, std::string dealer)
{
    return DocumentPaths{"/p/", std::move(language), std::move(dealer),
                         [present](const std::string& path) { return present.contains(path); }};
}

TEST(Documents, ManualOfTheDealerInTheLanguageThenInEnglish)
{
    EXPECT_EQ(documentsWith({"/p/Kerfline_manual_PL_ACME.pdf"}, "PL", "ACME").manual(),
              "/p/Kerfline_manual_PL_ACME.pdf");
    EXPECT_EQ(documentsWith({}, "PL", "ACME").manual(), "/p/Kerfline_manual_US_ACME.pdf");
    EXPECT_EQ(documentsWith({"/p/Kerfline_manual_PL.pdf"}, "PL", "QUORVANT").manual(), "/p/Kerfline_manual_PL.pdf");
    EXPECT_EQ(documentsWith({}, "PL", "").manual(), "/p/Kerfline_manual_US.pdf");
    EXPECT_FALSE(documentsWith({}, "PL", "").manualPresent());
}

TEST(Documents, CatalogueOfTheDealerOrThePlainOne)
{
    EXPECT_EQ(documentsWith({}, "PL", "ACME").catalogue(), "/p/Catalogue_US_ACME.pdf");
    EXPECT_EQ(documentsWith({"/p/Catalogue_PL_ACME.pdf"}, "PL", "ACME").catalogue(), "/p/Catalogue_PL_ACME.pdf");
    EXPECT_EQ(documentsWith({"/p/Catalogue_PL.pdf"}, "PL", "").catalogue(), "/p/Catalogue_PL.pdf");
    EXPECT_EQ(documentsWith({}, "PL", "").dealerCatalogue(), std::nullopt);
    // QUORVANT has a dealer catalogue of its own but keeps the plain catalogue for the menu.
    const DocumentPaths quorvant = documentsWith({"/p/Catalogue_US_QUORVANT.pdf"}, "US", "QUORVANT");
    EXPECT_TRUE(quorvant.dealerCataloguePresent());
    EXPECT_EQ(quorvant.catalogue(), "/p/Catalogue_US.pdf");
}

TEST(Documents, PolishSamplesFolderWhenItExists)
{
    EXPECT_EQ(documentsWith({"/p/Projekty probne"}, "PL", "").samples(), "/p/Projekty probne");
    EXPECT_EQ(documentsWith({}, "PL", "").samples(), "/p/Samples");
    EXPECT_EQ(documentsWith({"/p/Projekty probne"}, "US", "").samples(), "/p/Samples");
}

TEST(UpdateNotice, VersionAfterTheTitleComparedNumberByNumber)
{
    EXPECT_EQ(announcedVersion("Other 9.9\nKerfline \t 5.6. 1.0 (stable)", "Kerfline"), "5.6.1.0");
    EXPECT_EQ(announcedVersion("Kerfline beta", "Kerfline"), "");
    EXPECT_EQ(announcedVersion("nothing here", "Kerfline"), std::nullopt);

    EXPECT_TRUE(isNewerVersion("5.6.0.0", "5.5.0.0"));
    EXPECT_TRUE(isNewerVersion("5.10", "5.5.0.0"));
    EXPECT_TRUE(isNewerVersion("5.5.0.1", "5.5.0.0"));
    EXPECT_FALSE(isNewerVersion("5.5", "5.5.0.0"));
    EXPECT_FALSE(isNewerVersion("5.4.9.9", "5.5.0.0"));
    EXPECT_FALSE(isNewerVersion("", "5.5.0.0"));
}

class AfterConfigurationTest : public ::testing::Test {
protected:
    AfterConfigurationTest() : app(host, clock, CommandLine{})
    {
        app.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
        cutter.followClock(clock);
    }

    ScriptedHost host;
    SimulatedClock clock;
    AppContext app;
    machine::VirtualCutter cutter{host, clock};
    ProjectWindowList windows;
    CuttingSession session{app, cutter, windows};
};

TEST_F(AfterConfigurationTest, NewModeClosesTheProjectsAndPowerOutputGoesToAnIdleController)
{
    windows.add(std::make_unique<TMDIChild>(app));
    app.configuration.modeChanged = true;
    app.configuration.powerOutputPending = true;
    int closed = 0;
    int repainted = 0;
    afterConfiguration(app, session, windows, {[&] { ++closed; }, [&] { ++repainted; }});
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(repainted, 1);
    EXPECT_FALSE(app.configuration.powerOutputPending);
}

// A rotary project prepared again for a table finds no vertical axis: it says so and closes.
TEST_F(AfterConfigurationTest, ARotaryProjectThatLosesItsAxisCloses)
{
    app.configuration.setChoice(Param::Mode, ModeRotary);
    TMDIChild& project = windows.add(std::make_unique<TMDIChild>(app));
    for (const std::vector<Point>& points : {std::vector<Point>{{0, 0}, {8000, 0}}, std::vector<Point>{{0, 400}, {4000, 1200}, {8000, 400}}}) {
        tfigura figure;
        figure.points = points;
        project.AddFigure(std::move(figure));
    }
    project.Ustaw_PPiPK();
    ASSERT_EQ(project.ciecie_obrotowe(), LoadOutcome::Opened);
    std::vector<TMDIChild*> closed;
    app.configuration.setChoice(Param::StolikSwitch, DeviceSpindle);
    afterConfiguration(app, session, windows, {{}, {}, [&](TMDIChild& p) { closed.push_back(&p); }});
    EXPECT_TRUE(closed.empty());
    app.configuration.setChoice(Param::StolikSwitch, DeviceTable);
    afterConfiguration(app, session, windows, {{}, {}, [&](TMDIChild& p) { closed.push_back(&p); }});
    EXPECT_EQ(closed, std::vector<TMDIChild*>{&project});
    EXPECT_EQ(host.messages.back().text, app.Text("Project_window", "projektBrakOsiObrotuPionProsta"));
}

TEST_F(AfterConfigurationTest, PowerOutputWaitsWhileTheControllerIsAway)
{
    cutter.unplug();
    session.link.DeviceChanged();
    app.configuration.powerOutputPending = true;
    afterConfiguration(app, session, windows, {});
    EXPECT_TRUE(app.configuration.powerOutputPending);
}

TEST_F(AfterConfigurationTest, FeedDirectionFollowsTheConfigurationAndAPreparedPathStays)
{
    TMDIChild& project = windows.add(std::make_unique<TMDIChild>(app));
    project.pathReady = 1;
    // Drawn right to left and entered at its middle vertex: reversing it would break the path.
    tfigura figure;
    figure.points = {{4000, 0}, {2000, 1000}, {0, 0}};
    figure.startVertex = 1;
    project.figures.push_back(figure);
    app.configuration.setChoice(Param::CatDir, 1);
    afterConfiguration(app, session, windows, {});
    EXPECT_EQ(project.directionX, (std::array<std::uint8_t, 2>{255, 255}));
    EXPECT_EQ(project.figures[0].points, figure.points);
    EXPECT_EQ(project.figures[0].startVertex, 1);
}

}  // namespace
}  // namespace kerfline

namespace kerfline {
namespace {

// Everything has been sent, but the controller still cuts: closing asks first.
struct StillCutting : ::testing::Test {
    void SetUp() override
    {
        rig.host.answers.assign(4, AnswerYes);
        rig.open("square.plt", "IN;SP1;PU0,0;PD8000,0,8000,8000,0,8000,0,0;PU;");
        rig.session->driver.Start1Click();
        rig.done = [this] { return !rig.session->transmission.active(); };
        ASSERT_TRUE(rig.runJob());
        rig.protocol().ReadStatus();
        ASSERT_TRUE(rig.context.machine.programRunning());
        rig.host.questions.clear();
    }
    testing::JobRig rig;
};

TEST_F(StillCutting, CancelKeepsTheProgramOpen)
{
    rig.host.answers = {AnswerCancel};
    EXPECT_FALSE(mayCloseMainWindow(rig.context, *rig.session));
    ASSERT_EQ(rig.host.questions.size(), 1u);
    EXPECT_NE(rig.host.questions[0].text.find(rig.context.Text("Main_window", "maszynaWciazTnie")), std::string::npos);
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
}

TEST_F(StillCutting, NoLeavesTheMachineCutting)
{
    rig.host.answers = {AnswerNo};
    EXPECT_TRUE(mayCloseMainWindow(rig.context, *rig.session));
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.programRunning());
}

TEST_F(StillCutting, YesStopsTheJobWithTheHeatingOffBeforeClosing)
{
    rig.host.answers = {AnswerYes};
    EXPECT_TRUE(mayCloseMainWindow(rig.context, *rig.session));
    rig.protocol().ReadStatus();
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_TRUE(rig.context.job.stoppedByOperator);
    for (int output = 0; output < kAxisCount; ++output)
        EXPECT_FALSE(rig.controller().outputOn(output)) << output;
}

TEST(CloseRule, AnIdleMachineClosesWithoutAQuestion)
{
    testing::JobRig rig;
    EXPECT_TRUE(mayCloseMainWindow(rig.context, *rig.session));
    EXPECT_TRUE(rig.host.questions.empty());
}

}  // namespace
}  // namespace kerfline
