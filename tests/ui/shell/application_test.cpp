#include "config/parameters.h"
#include "geometry/segments.h"
#include "cutting/cutting_session.h"
#include "machine/hid_platform_choice.h"
#include "machine/machine_state.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "shell/after_configuration.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "cutting/ui/job_status_panel.h"
#include "cutting/ui/serial_dialog.h"
#include "designfiles/cut_program_decoder.h"
#include "config/ui/numeric_edit.h"
#include "shell/ui/application.h"
#include "shell/ui/main_window.h"
#include "shell/ui/mdi_project_windows.h"
#include "support/screenshot.h"
#include "support/square_dxf.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace kerfline::ui {
namespace {

// A scripted operator whose status texts also reach the main window's panels.
class StatusHost : public ScriptedHost {
public:
    void setStatus(int panel, const std::string& text) override
    {
        ScriptedHost::setStatus(panel, text);
        statusHistory.push_back(text);
        if (sink)
            sink(panel, text);
    }
    std::function<void(int, const std::string&)> sink;
    std::vector<std::string> statusHistory;
};

std::string sample(const char* name)
{
    return std::string(KERFLINE_SOURCE_DIR) + "samples/" + name;
}

// The whole program on the virtual cutter, in simulated time.
class ApplicationTest : public ::testing::Test {
protected:
    void start(std::vector<std::string> switches = {})
    {
        switches.push_back("--virtual-machine");
        context = kerfline::testing::startedContext(host, clock, home, std::move(switches));
        ASSERT_NE(context, nullptr);
        machine::PlatformChoice platform = machine::createHidPlatform(context->commandLine, host, clock, false);
        platform.virtualCutter->followClock(clock);
        app = std::make_unique<Application>(*context, std::move(platform));
        host.sink = app->statusSink();
        host.messages.clear();  // the first start reports the configuration file it creates
        form().resize(1000, 700);
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }

    TMainForm& form() { return app->mainForm(); }
    int projectCount() { return form().projectWindows().windowCount(); }

    // Lets simulated time pass while the timers of the program run.
    template <typename Done>
    bool runUntil(Done done, int steps = 4000)
    {
        for (int i = 0; i < steps && !done(); ++i) {
            clock.advance(100);
            QTest::qWait(2);
        }
        return done();
    }

    kerfline::testing::TempDir home;
    StatusHost host;
    SimulatedClock clock;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<Application> app;
};

TEST_F(ApplicationTest, OpensEverySampleIntoItsOwnProjectWindow)
{
    start();
    int expected = 0;
    for (const char* name : {"gear.plt", "letter_in_frame.dxf", "star.ai"}) {
        form().Open("", sample(name), true);
        ++expected;
        ASSERT_EQ(projectCount(), expected) << name;
        TMDIChild* project = form().projectWindows().active();
        ASSERT_NE(project, nullptr);
        EXPECT_FALSE(project->figures.empty()) << name;
        // The project keeps its caption; the sub-window shows the file name first.
        const QMdiSubWindow* sub = form().mdiArea()->currentSubWindow();
        EXPECT_EQ(sub->widget()->windowTitle().toStdString(), sample(name));
        EXPECT_EQ(sub->windowTitle().toStdString(), std::string(name) + "  (" + KERFLINE_SOURCE_DIR + "samples)");
    }
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
    EXPECT_TRUE(form().action("Start1")->isEnabled());
    EXPECT_TRUE(form().action("FileSaveAsDXF")->isEnabled());
    EXPECT_EQ(context->configuration.settings.lastOpenDir, std::string(KERFLINE_SOURCE_DIR) + "samples");
    form().mdiArea()->tileSubWindows();
    kerfline::testing::saveScreenshot(form(), "main_window_with_projects");
}

TEST_F(ApplicationTest, NewModeAfterTheConfigurationClosesTheProjects)
{
    start();
    form().Open("", sample("gear.plt"), false);
    form().Open("", sample("star.ai"), false);
    ASSERT_EQ(projectCount(), 2);

    context->configuration.setChoice(Param::Mode, ModeRotary);
    ASSERT_TRUE(context->configuration.modeChanged);
    afterConfiguration(*context, app->session(), form().projectWindows(), {[this] { form().CloseAll(); }, {}});
    EXPECT_EQ(projectCount(), 0);
    EXPECT_FALSE(form().action("Start1")->isEnabled());
}

TEST_F(ApplicationTest, StartCutsTheSampleOnTheVirtualCutterWithProgressInTheStatusBar)
{
    start();
    form().Open("", sample("gear.plt"), true);
    host.answers.assign(4, AnswerYes);
    form().action("Start1")->trigger();
    CuttingSession& session = app->session();
    ASSERT_TRUE(session.transmission.active()) << (host.messages.empty() ? "" : host.messages.back().text);

    const std::string sent = context->Text("Transmission", "przeslano");
    ASSERT_TRUE(runUntil([&] { return form().statusPanel(0)->text().startsWith(QString::fromStdString(sent)); }));
    kerfline::testing::saveScreenshot(form(), "main_window_during_job");

    ASSERT_TRUE(runUntil([&] {
        return !session.transmission.active() && !context->job.jobActive && !context->machine.programRunning();
    }, 40000));
    EXPECT_EQ(form().statusPanel(0)->text().toStdString(), context->Text("Transmission", "koniecTransmisji"));
    EXPECT_TRUE(std::any_of(host.statusHistory.begin(), host.statusHistory.end(),
                            [&](const std::string& text) { return text.starts_with(sent + " 100% "); }));
    // The wire went round the gear: far more moves than the 17 that start the program.
    EXPECT_GT(app->virtualCutter()->controller().path().size(), 17u);
    // The project window followed it from the start point of the design.
    const WireTrail& trail = app->wireTrail();
    ASSERT_TRUE(trail.active());
    ASSERT_GT(trail.path().size(), 2u);
    TMDIChild* project = form().projectWindows().active();
    const tfigura& start = project->figures[static_cast<std::size_t>(project->startFigure)];
    EXPECT_EQ(trail.path().front(), start.points[static_cast<std::size_t>(start.startVertex)]);
    for (const Point& p : trail.path()) {
        double nearest = 1e18;
        for (const tfigura& figure : project->figures)
            for (std::size_t i = 1; i < figure.points.size(); ++i)
                nearest = std::min(nearest, nearestOnSegment(p, {figure.points[i - 1], figure.points[i]}).distance);
        EXPECT_LE(nearest, 2.0) << p.x << "," << p.y;
    }
    kerfline::testing::saveScreenshot(form(), "main_window_after_job");
}

// The job's own trail is what counts once Start is pressed: a finished simulation's red trail
// is taken away.
TEST_F(ApplicationTest, StartClearsTheTrailOfAFinishedSimulation)
{
    start();
    form().Open("", sample("gear.plt"), true);
    TMDIChild* project = form().projectWindows().active();
    ASSERT_NE(project, nullptr);
    ProjectWindow* window = form().projectWindowOf(*project);
    ASSERT_NE(window, nullptr);
    form().action("Symulacja")->trigger();
    ASSERT_TRUE(window->hasSimulationTrail());
    host.answers.assign(4, AnswerYes);
    form().action("Start1")->trigger();
    ASSERT_TRUE(app->session().transmission.active());
    EXPECT_TRUE(runUntil([&] { return !window->hasSimulationTrail(); }, 200));
    // The job's figures read whole, whatever the status panels beside them take.
    const auto* panel = form().findChild<JobStatusPanel*>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(runUntil([&] { return panel->isVisible(); }, 200));
    QCoreApplication::processEvents();
    for (const QLabel* label : {panel->phaseLabel, panel->positionLabel, panel->timeLabel}) {
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
        EXPECT_FALSE(label->geometry().intersects(panel->progressBar->geometry())) << label->text().toStdString();
    }
    kerfline::testing::saveScreenshot(form(), "main_window_job_after_simulation");
}

TEST_F(ApplicationTest, ClosingDuringATransmissionWaitsForStop)
{
    start();
    form().Open("", sample("gear.plt"), true);
    host.answers.assign(4, AnswerYes);
    form().action("Start1")->trigger();
    CuttingSession& session = app->session();
    // One tick of the transmission: the first batch and "G" go out, the rest waits.
    session.transmission.Timer1Timer();
    ASSERT_TRUE(session.transmission.active());
    ASSERT_TRUE(context->job.jobActive);

    host.messages.clear();
    EXPECT_FALSE(form().close());
    EXPECT_TRUE(form().isVisible());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, context->Text("Main_window", "wyjscieNiemozliwe"));
    EXPECT_EQ(host.messages[0].caption, context->Text("Universal", "uwaga"));
    EXPECT_FALSE(host.messages[0].isError);

    form().action("Wstrzymaj1")->trigger();
    ASSERT_TRUE(context->job.stoppedByOperator);
    EXPECT_TRUE(form().close());
    // The transmission ended with the close, while the link is still there.
    EXPECT_FALSE(session.transmission.active());
    EXPECT_TRUE(session.link.connected());
}

TEST_F(ApplicationTest, UpdateNoticeSitsAtTheRightEndOfTheStatusBar)
{
    start();
    form().showUpdateNotice("Kerfline 5.4.0.0");
    EXPECT_FALSE(form().updateButton()->isVisible());
    form().showUpdateNotice("Kerfline\t 9.0.0.0");
    ASSERT_TRUE(form().updateButton()->isVisible());
    form().resize(900, 600);
    QTest::qWait(20);
    const QRect r = form().updateButton()->geometry();
    EXPECT_EQ(r.width(), 250);
    EXPECT_EQ(r.right() + 1, form().updateButton()->parentWidget()->width() - 15);
    form().updateButton()->click();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages.back().text.find("9.0.0.0"), std::string::npos);
}

TEST_F(ApplicationTest, ExportsTheActiveProject)
{
    start();
    form().Open("", sample("gear.plt"), false);
    const std::string out = home.str() + "gear_out";
    std::string title;
    form().saveDialog = [&](const std::string& t, const QString&, const std::string&) -> std::optional<std::string> {
        title = t;
        return out;
    };
    form().action("FileSaveAsHPGL")->trigger();
    EXPECT_EQ(title, context->Text("Main_window", "zapiszJakoHPGL"));
    EXPECT_TRUE(std::filesystem::exists(out + ".plt"));
    form().action("FileSaveAsDXF")->trigger();
    EXPECT_TRUE(std::filesystem::exists(out + ".dxf"));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ApplicationTest, SerialCuttingOpensAFolderTakesItsAnglesAndCutsTheDesignsInTurn)
{
    start();
    EXPECT_FALSE(form().action("miCiecieSeryjne")->isEnabled());
    context->configuration.setChoice(Param::Mode, ModeSerial);
    context->configuration.setChoice(Param::StolikSwitch, DeviceTable);
    context->configuration.setChoice(Param::rgKatObrotu, 1);
    form().UpdateMenuItems();
    ASSERT_TRUE(form().action("miCiecieSeryjne")->isEnabled());
    CuttingSession& session = app->session();
    session.homing.bazujClick();

    kerfline::testing::TempDir folder;
    for (const char* name : {"001.dxf", "002.dxf", "003.dxf"})
        folder.write(name, kerfline::testing::kSquareDxf);
    form().chooseSerialFolder = [&](const std::string&, const std::string&) {
        return std::pair<bool, std::string>{true, folder.path().string()};
    };
    int shown = 0;
    // The dialog runs modally: it is driven from inside its own event loop.
    form().serialDialogShown = [&](TfDlgSeryjne& dialog) {
        ++shown;
        QTimer::singleShot(0, &dialog, [&] {
            QTableWidget* grid = dialog.sgKatyObrotu;
            EXPECT_EQ(grid->rowCount(), 0);
            EXPECT_FALSE(dialog.btnZatwierdz->isEnabled());
            dialog.btnFolder->click();
            ASSERT_EQ(grid->rowCount(), 3);
            EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("003.dxf"));
            EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("60"));
            EXPECT_EQ(grid->horizontalHeaderItem(1)->text().toStdString(), context->Text("Serial_cut", "kat"));

            // Enter ends an edit and goes on to the next row's angle.
            grid->setCurrentCell(0, 1);
            grid->editItem(grid->item(0, 1));
            QLineEdit* editor = nullptr;
            for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
                editor = e->isVisible() ? e : editor;
            ASSERT_NE(editor, nullptr);
            editor->clear();
            QTest::keyClicks(editor, QStringLiteral("45"));
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();  // the view takes the edit in from its queue
            EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("45"));
            EXPECT_EQ(grid->currentRow(), 1);

            // A bad angle in the last row: refused with its row number, nothing stored.
            grid->item(2, 1)->setText(QStringLiteral("400"));
            host.messages.clear();
            dialog.btnZatwierdz->click();
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].text, context->Text("Serial_cut", "poprawKat") + "3");
            EXPECT_EQ(grid->currentRow(), 2);
            EXPECT_TRUE(dialog.isVisible());
            for (TMDIChild* window : dialog.windows())
                EXPECT_NE(window->rotationAngle, 45.0);

            dialog.btnParDomyslne->click();
            EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("60"));
            grid->item(1, 1)->setText(QStringLiteral("90"));
            kerfline::testing::saveScreenshot(dialog, "serial_dialog");
            dialog.btnZatwierdz->click();
        });
    };
    host.messages.clear();
    form().action("miCiecieSeryjne")->trigger();
    EXPECT_EQ(shown, 1);  // Start did not ask again
    ASSERT_EQ(projectCount(), 3);
    ASSERT_TRUE(session.transmission.active()) << (host.messages.empty() ? "" : host.messages.back().text);
    std::map<int, double> angles;
    for (TMDIChild* window : form().projectWindows().windows())
        angles[window->seriesIndex] = window->rotationAngle;
    EXPECT_EQ(angles, (std::map<int, double>{{1, 60.0}, {2, 90.0}, {3, 60.0}}));

    ASSERT_TRUE(runUntil([&] {
        return !session.transmission.active() && !context->job.jobActive && !context->machine.programRunning();
    }, 40000));
    // The table turned by 60, 90 and 60 degrees after the three designs (8000 steps a turn).
    const DecodedProgram program =
        readCutProgram(session.driver.programPath(), DecodeSettings::forMachine(context->machine));
    ASSERT_FALSE(program.error);
    std::vector<std::int32_t> turns;
    for (const DecodedMove& move : program.moves)
        if (move.steps[AxisTable] != 0)
            turns.push_back(move.steps[AxisTable]);
    EXPECT_EQ(turns, (std::vector<std::int32_t>{1333, 2000, 1333}));
}

}  // namespace
}  // namespace kerfline::ui
