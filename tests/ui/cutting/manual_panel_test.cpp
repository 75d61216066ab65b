// The manual control panel's widgets on the virtual cutter: keys, jog buttons, homing, what each
// machine shows, and the heartbeat.
#include "cutting/ui/panel_keys.h"
#include "base/ui/qt_host.h"
#include "support/screenshot.h"
#include "ui/cutting/panel_rig.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

using testing::child;
using testing::PanelRig;

bool lastCommandIs(const PanelRig& rig, char letter)
{
    const auto commands = rig.commands();
    return !commands.empty() && commands.back()[0] == letter;
}

TEST(PanelKeyTable, MapsQtKeysToThePanelCodes)
{
    const struct {
        int qtKey;
        bool keypad;
        int code;
    } cases[] = {
        {Qt::Key_Left, false, machine::KeyLeft},   {Qt::Key_Down, true, machine::KeyDown},
        {Qt::Key_8, true, machine::KeyPad8},       {Qt::Key_8, false, 0},
        {Qt::Key_1, true, machine::KeyPad1},       {Qt::Key_5, true, KeyPad5},
        {Qt::Key_Clear, true, KeyPad5},            {Qt::Key_0, true, KeyPad0},
        {Qt::Key_Insert, false, KeyInsert},        {Qt::Key_Plus, true, KeyPadPlus},
        {Qt::Key_Plus, false, 0},                  {Qt::Key_Minus, true, KeyPadMinus},
        {Qt::Key_PageUp, false, machine::KeyPageUp}, {Qt::Key_Home, false, KeyHome},
        {Qt::Key_Comma, false, machine::KeyComma}, {Qt::Key_Period, false, machine::KeyFullStop},
        {Qt::Key_Control, false, KeyCtrl},         {Qt::Key_F12, false, KeyF12},
        {Qt::Key_E, false, KeyE},                  {Qt::Key_Space, false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(panelKeyCode(c.qtKey, c.keypad), c.code) << c.qtKey << (c.keypad ? " keypad" : "");
}

TEST(ManualPanel, ArrowKeyJogsUntilReleasedAndTheCoordinatesFollow)
{
    PanelRig rig;
    rig.home();
    ASSERT_TRUE(rig.showActive());
    rig.panel->heartbeat();
    auto* wmxf = child<QLabel>(*rig.panel, "wmxf");
    EXPECT_EQ(wmxf->text(), "0.00");
    rig.cutter.clearReports();

    // Pressed on a control of the panel: the panel previews the key, the bar does not move.
    auto* speedBar = child<QSlider>(*rig.panel, "VScroll");
    const int speed = speedBar->value();
    QTest::keyPress(speedBar, Qt::Key_Right);
    EXPECT_EQ(speedBar->value(), speed);
    EXPECT_TRUE(rig.session->panel.jogActive());
    rig.clock.sleepMs(500);
    // Auto-repeat arrives as release and press pairs; neither stops nor starts a jog.
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(speedBar, &repeatUp);
    QApplication::sendEvent(speedBar, &repeatDown);
    EXPECT_FALSE(lastCommandIs(rig, 'Y'));
    rig.clock.sleepMs(500);
    QTest::keyRelease(speedBar, Qt::Key_Right);
    EXPECT_TRUE(lastCommandIs(rig, 'Y'));
    EXPECT_FALSE(rig.session->panel.jogActive());
    EXPECT_EQ(rig.panel->focusWidget(), rig.panel.get());  // a release takes the focus off the controls

    // The tick after the operator's key leaves the polling to the next one.
    EXPECT_TRUE(rig.panel->inputSinceLastTick());
    rig.panel->heartbeat();
    EXPECT_EQ(wmxf->text(), "0.00");
    EXPECT_FALSE(rig.panel->inputSinceLastTick());
    rig.panel->heartbeat();
    EXPECT_GT(wmxf->text().toDouble(), 0.0);
    EXPECT_EQ(child<QLabel>(*rig.panel, "wmxb")->text(), wmxf->text());  // both arms were selected
    EXPECT_EQ(child<QLabel>(*rig.panel, "wmyf")->text(), "0.00");
}

// The operator watches the wire from the main window, also during a job: the panel's
// coordinates follow without the focus, and before any read they show a dash, not zeros.
TEST(ManualPanel, CoordinatesStayLiveWithoutTheFocus)
{
    PanelRig rig;
    auto* wmxf = child<QLabel>(*rig.panel, "wmxf");
    auto* wmyb = child<QLabel>(*rig.panel, "wmyb");
    EXPECT_EQ(wmxf->text(), "-");
    rig.home();
    rig.session->motion.gotopoint(true, 0, 12.5, 12.5, 30.0, 30.0, 0, 0);
    QWidget elsewhere;  // the main window, say
    rig.panel->show();
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    ASSERT_FALSE(rig.panel->isActiveWindow());
    rig.panel->heartbeat();
    EXPECT_EQ(wmxf->text(), "12.50");
    EXPECT_EQ(wmyb->text(), "30.00");
    testing::saveScreenshot(*rig.panel, "manual_panel_inactive");
}

// Homing stops the heartbeat; the coordinates still run down to the switches with it.
TEST(ManualPanel, CoordinatesFollowTheAxesWhileHoming)
{
    PanelRig rig;
    rig.session->motion.JogByKey(machine::KeyRight, true, true);
    rig.clock.sleepMs(2000);
    rig.session->motion.StopMotion();
    rig.session->protocol.WaitWhileBusy();
    ASSERT_TRUE(rig.showActive());
    auto* wmxf = child<QLabel>(*rig.panel, "wmxf");
    std::vector<QString> shown;
    rig.clock.setListener([&](std::int64_t, std::int64_t) {
        if (shown.empty() || shown.back() != wmxf->text())
            shown.push_back(wmxf->text());
    });
    QTest::mouseClick(child<QPushButton>(*rig.panel, "Bazuj"), Qt::LeftButton);
    rig.clock.setListener({});
    EXPECT_GE(shown.size(), 4u) << "the heartbeat's value, then the way to the switch";
    EXPECT_EQ(wmxf->text(), "0.00");
}

TEST(ManualPanel, CtrlSendsATenthOfTheSpeedWhileHeld)
{
    PanelRig rig;
    ASSERT_TRUE(rig.showActive());
    child<QSlider>(*rig.panel, "VScroll")->setValue(1234);  // as the operator drags it
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(1234));
    QTest::keyPress(rig.panel.get(), Qt::Key_Control);
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(123));
    QTest::keyRelease(rig.panel.get(), Qt::Key_Control);
    EXPECT_EQ(rig.speedPeriod(), rig.periodOf(1234));
}

TEST(ManualPanel, JogButtonMovesWhileHeld)
{
    PanelRig rig;
    rig.home();
    ASSERT_TRUE(rig.showActive());
    rig.cutter.clearReports();
    auto* up = child<QToolButton>(*rig.panel, "ku");
    QTest::mousePress(up, Qt::LeftButton);
    rig.clock.sleepMs(300);
    EXPECT_FALSE(lastCommandIs(rig, 'Y'));
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_TRUE(lastCommandIs(rig, 'Y'));
    EXPECT_GT(rig.context.machine.frontY, 0);
    EXPECT_EQ(rig.context.machine.frontX, 0);
}

// The desktop host takes the input that comes while the program waits for a moving machine; the
// release of a jog key or button that comes then must still stop the jog.
TEST(ManualPanel, AReleaseTakenByAWaitStillStopsTheJog)
{
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "key" : "button");
        QtHost desktopHost;  // made first, as in the program: the panel sees input before it
        PanelRig rig(machine::kDefaultVirtualProduct, {}, &desktopHost);
        rig.home();
        ASSERT_TRUE(rig.showActive());
        rig.session->motion.gotopoint(false, 0, 200, 200, 100, 100, 0, 0);  // still moving
        rig.session->protocol.ReadStatus();
        ASSERT_TRUE(rig.context.machine.busy());
        rig.cutter.clearReports();
        auto* up = child<QToolButton>(*rig.panel, "ku");
        if (byKey) {
            QCoreApplication::postEvent(rig.panel.get(), new QKeyEvent(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier));
            QTest::keyPress(rig.panel.get(), Qt::Key_Up);
        } else {
            const QPoint centre = up->rect().center();
            QCoreApplication::postEvent(up, new QMouseEvent(QEvent::MouseButtonRelease, centre, up->mapToGlobal(centre),
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
            QTest::mousePress(up, Qt::LeftButton);
        }
        EXPECT_TRUE(lastCommandIs(rig, 'Y'));
        EXPECT_FALSE(rig.session->panel.jogActive());
        EXPECT_FALSE(up->isDown());
        EXPECT_FALSE(rig.context.machine.busy());
    }
}

TEST(ManualPanel, HomesANotHomedMachineByButtonOrHomeKey)
{
    const struct {
        const char* product;
        bool byKey;
        std::vector<int> steps;
    } cases[] = {
        {"Qd 1200", false, {17, 34}},
        {"Qd 1200", true, {17, 34}},
        {"KK45", true, {1, 16, 'Y', 2, 32, 'Y'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.product) + (c.byKey ? " Home key" : " Bazuj"));
        PanelRig rig(c.product);
        rig.cutter.clearReports();
        if (c.byKey)
            QTest::keyClick(rig.panel.get(), Qt::Key_Home);
        else
            QTest::mouseClick(child<QPushButton>(*rig.panel, "Bazuj"), Qt::LeftButton);
        EXPECT_EQ(rig.homingSteps(), c.steps);
        EXPECT_TRUE(rig.panel->heartbeatTimer().isActive());  // back on after homing
    }
}

TEST(ManualPanel, ShowsTheControlsOfEachMachine)
{
    const struct {
        const char* product;
        std::vector<std::string> switches;
        bool arms, align, table, tension;
        const char* screenshot;
    } cases[] = {
        {"Qd 1200", {}, true, true, true, true, "manual_panel_qd"},
        {"Pr 1200", {"MachineName'Pr 1200'"}, true, false, true, false, "manual_panel_two_wire"},
        {"KK45", {}, false, false, false, false, "manual_panel_kk45"},
        {"KK45", {"TEST"}, true, false, false, false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.product);
        PanelRig rig(c.product, c.switches);
        ASSERT_TRUE(rig.showActive());
        rig.panel->heartbeat();
        TsterWindow& panel = *rig.panel;
        EXPECT_EQ(child<QCheckBox>(panel, "KeyBack")->isVisible(), c.arms);
        EXPECT_EQ(child<QLabel>(panel, "wmxb")->isVisible(), c.arms);
        EXPECT_EQ(child<QPushButton>(panel, "sbWyrownajBackToFront")->isVisible(), c.align);
        EXPECT_EQ(child<QGroupBox>(panel, "GroupStolik")->isVisible(), c.table);
        EXPECT_EQ(child<QWidget>(panel, "pNaciagDrutu")->isVisible(), c.tension);
        EXPECT_TRUE(panel.windowTitle().startsWith(qs(rig.context.Text("Control", "caption"))));
        EXPECT_EQ(child<QGroupBox>(panel, "GroupBox1")->title(),
                  qs(rig.context.Text("Control", "groupBox1.caption") + "  [ mm ]"));
        if (c.screenshot != nullptr)
            testing::saveScreenshot(panel, c.screenshot);
    }
}

TEST(ManualPanel, HiddenPanelsOpenWithTheirKeys)
{
    PanelRig rig;
    ASSERT_TRUE(rig.showActive());
    auto* upgrade = child<QWidget>(*rig.panel, "pUpgradeFirmware");
    auto* service = child<QWidget>(*rig.panel, "pSerwis");
    EXPECT_FALSE(upgrade->isVisible());
    EXPECT_FALSE(service->isVisible());
    QTest::keyClick(rig.panel.get(), Qt::Key_E, Qt::AltModifier);
    QTest::keyClick(rig.panel.get(), Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(upgrade->isVisible());
    EXPECT_TRUE(service->isVisible());
    rig.panel->heartbeat();
    testing::saveScreenshot(*rig.panel, "manual_panel_service");

    bool upgradeShown = false;
    rig.windowHooks.showUpgrade = [&] { upgradeShown = true; };
    QTest::mouseClick(child<QPushButton>(*rig.panel, "btnUpgrade"), Qt::LeftButton);
    EXPECT_TRUE(upgradeShown);

    QTest::keyClick(rig.panel.get(), Qt::Key_E, Qt::AltModifier);
    EXPECT_FALSE(upgrade->isVisible());

    QTest::keyClick(rig.panel.get(), Qt::Key_Escape);
    EXPECT_FALSE(rig.panel->isVisible());
    EXPECT_TRUE(rig.panel->heartbeatTimer().isActive());
}

TEST(ManualPanel, HeartbeatRunsHiddenAndSlowsWithoutAController)
{
    PanelRig rig;
    EXPECT_FALSE(rig.panel->isVisible());
    EXPECT_TRUE(rig.panel->heartbeatTimer().isActive());
    EXPECT_EQ(rig.panel->heartbeatTimer().interval(), 100);

    // The job logic runs in the tick of a hidden panel: the end of a job is seen.
    rig.context.job.jobActive = true;
    rig.panel->heartbeat();
    EXPECT_FALSE(rig.context.job.jobActive);

    rig.cutter.unplug();
    rig.panel->heartbeat();
    EXPECT_TRUE(rig.panel->heartbeatTimer().isActive());
    EXPECT_EQ(rig.panel->heartbeatTimer().interval(), 3000);
}

TEST(ManualPanel, LosingTheControllerClosesTheActivePanel)
{
    PanelRig rig;
    ASSERT_TRUE(rig.showActive());
    rig.cutter.unplug();
    rig.panel->heartbeat();
    EXPECT_FALSE(rig.panel->isVisible());
}

TEST(ManualPanel, ArmBoxesAndHeatingForwardToTheMachine)
{
    PanelRig rig;
    ASSERT_TRUE(rig.showActive());
    auto* back = child<QCheckBox>(*rig.panel, "KeyBack");
    EXPECT_TRUE(back->isChecked());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_FALSE(rig.context.machine.KeyBack);
    EXPECT_FALSE(back->isChecked());

    auto* heating = child<QPushButton>(*rig.panel, "k_zalwyl");
    QTest::mouseClick(heating, Qt::LeftButton);
    EXPECT_TRUE(rig.context.machine.heatingOn());
    EXPECT_TRUE(heating->isChecked());
    QTest::keyClick(rig.panel.get(), Qt::Key_Insert);
    EXPECT_FALSE(rig.context.machine.heatingOn());
    EXPECT_FALSE(heating->isChecked());
}

TEST(ManualPanel, RightToLeftMirrorsThePanelsButNotTheJogArrows)
{
    PanelRig rig;
    rig.context.language.load(KERFLINE_LANG_DIR, LanguageChoice{"US", 966, false});
    rig.makePanel();
    ASSERT_TRUE(rig.showActive());
    rig.panel->heartbeat();
    EXPECT_EQ(rig.panel->layoutDirection(), Qt::RightToLeft);
    auto* coordinates = child<QGroupBox>(*rig.panel, "GroupBox1");
    auto* speed = child<QGroupBox>(*rig.panel, "Szybkosc");
    EXPECT_GT(coordinates->x(), speed->x());
    for (const auto& [left, right] : {std::pair{"kl", "kr"}, std::pair{"ksl", "ksr"}, std::pair{"kwd", "kwu"}}) {
        const QPoint l = child<QToolButton>(*rig.panel, left)->mapTo(rig.panel.get(), QPoint());
        const QPoint r = child<QToolButton>(*rig.panel, right)->mapTo(rig.panel.get(), QPoint());
        EXPECT_LT(l.x(), r.x()) << left;
    }
    testing::saveScreenshot(*rig.panel, "manual_panel_rtl");
}

}  // namespace
}  // namespace kerfline::ui
