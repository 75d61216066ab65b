// The virtual cutter's tool window: its state follows the cutter, and its buttons act as the
// machine's own: stop pauses a running job, continue lets it finish; wire and cable faults.
#include "cutting/job_rig.h"
#include "machine/ui/virtual_cutter_window.h"
#include "support/screenshot.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

using kerfline::testing::JobRig;
using kerfline::testing::saveScreenshot;

// A zigzag of many short cuts, so that the job runs long enough to be stopped in the middle.
std::string zigzag(int points)
{
    std::string hpgl = "IN;SP1;PU0,0;PD";
    for (int i = 0; i < points; ++i)
        hpgl += (i ? "," : "") + std::to_string(i * 60) + "," + std::to_string((i % 2) * 400);
    return hpgl + ";PU;";
}

void click(VirtualCutterWindow& window, const char* button)
{
    QPushButton* b = window.button(button);
    ASSERT_TRUE(b != nullptr) << button;
    ASSERT_TRUE(b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton);
}

TEST(VirtualCutterWindow, StopAndContinueAJobWithTheMachinesButtons)
{
    JobRig rig;
    rig.host.answers = {AnswerYes, AnswerYes, AnswerYes};
    rig.open("zigzag.plt", zigzag(120));
    VirtualCutterWindow window(rig.cutter, rig.context.language);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const JobState& job = rig.context.job;
    bool stopped = false;
    std::size_t pathAtStop = 0;
    rig.beforeTick = [&] {
        // Some way into the cut, a person presses the machine's stop button.
        if (!stopped && job.jobActive && rig.controller().path().size() > 20) {
            click(window, "btnStop");
            stopped = true;
            pathAtStop = rig.controller().path().size();
        }
    };
    rig.done = [&] { return stopped && job.stoppedByOperator; };
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active()) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);
    ASSERT_TRUE(rig.runJob());

    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.paused());
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_FALSE(job.jobActive);
    window.refresh();
    saveScreenshot(window, "virtual_cutter_paused");
    // The wire stands still while paused.
    const auto standing = rig.controller().positions();
    rig.clock.advance(5000);
    EXPECT_EQ(rig.controller().positions(), standing);

    click(window, "btnContinue");
    bool resumed = false;
    rig.beforeTick = [&] { resumed = resumed || job.jobActive; };
    rig.done = [&] { return resumed && !job.jobActive && !rig.session->transmission.active(); };
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(resumed);
    EXPECT_FALSE(job.stoppedByOperator);
    EXPECT_GT(rig.controller().path().size(), pathAtStop);
    EXPECT_EQ(rig.controller().bufferedCommands(), 0u);
    rig.protocol().ReadStatus();
    EXPECT_FALSE(rig.context.machine.programRunning());
    EXPECT_FALSE(rig.context.machine.paused());
    EXPECT_TRUE(rig.host.messages.empty()) << rig.host.messages[0].text;
}

TEST(VirtualCutterWindow, ShowsTheStateAndInjectsFaults)
{
    JobRig rig;
    rig.home();
    rig.moveTo(100, 50);
    VirtualCutterWindow window(rig.cutter, rig.context.language);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle().toStdString(), rig.context.Text("Virtual_machine", "Caption") + " Qd 1200");
    const QString texts = [&] {
        QString all;
        for (const QLabel* label : window.findChildren<QLabel*>())
            all += label->text() + "|";
        return all;
    }();
    EXPECT_TRUE(texts.contains("|100.00 mm|")) << texts.toStdString();
    EXPECT_TRUE(texts.contains("|50.00 mm|")) << texts.toStdString();
    EXPECT_TRUE(texts.contains(QString::fromStdString(rig.context.Text("Virtual_machine", "plugged"))));
    EXPECT_FALSE(window.button("btnReplug")->isEnabled());
    EXPECT_FALSE(window.button("btnMendWire")->isEnabled());
    saveScreenshot(window, "virtual_cutter");

    click(window, "btnBreakWire");
    rig.protocol().ReadStatus();
    EXPECT_TRUE(rig.context.machine.wireBreak());
    EXPECT_TRUE(window.button("btnMendWire")->isEnabled());
    click(window, "btnMendWire");
    rig.protocol().ReadStatus();
    EXPECT_FALSE(rig.context.machine.wireBreak());

    click(window, "btnUnplug");
    rig.host.runPosted();
    EXPECT_FALSE(rig.session->link.connected());
    EXPECT_TRUE(window.button("btnReplug")->isEnabled());
    click(window, "btnReplug");
    rig.host.runPosted();
    EXPECT_TRUE(rig.session->link.connected());

    // The window reads the cutter by its own timer.
    rig.moveTo(20, 50);
    QTest::qWait(VirtualCutterWindow::kRefreshMs * 2);
    bool seen = false;
    for (const QLabel* label : window.findChildren<QLabel*>())
        seen = seen || label->text() == "20.00 mm";
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace kerfline::ui
