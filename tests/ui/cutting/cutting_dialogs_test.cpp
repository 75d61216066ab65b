// The base points and wire move dialogs on the virtual cutter.
#include "config/ui/numeric_edit.h"
#include "cutting/ui/base_points_dialog.h"
#include "cutting/ui/wire_move_dialog.h"
#include "support/screenshot.h"
#include "ui/cutting/panel_rig.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace kerfline::ui {
namespace {

using testing::child;
using testing::PanelRig;

void clickItem(QListWidget* list, int row, bool twice = false)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    // A double click is a click and then the second press.
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void waitForMachine(PanelRig& rig)
{
    rig.session->protocol.WaitWhileBusy();
    rig.session->protocol.ReadPositions();
}

TEST(BasePointsDialog, AddsStoresReloadsAndGoesToAPoint)
{
    PanelRig rig;
    rig.home();
    rig.session->motion.gotopoint(true, 0, 100, 100, 50, 50, 0, 0);
    {
        TPunkty_bazoweDialog dialog(rig.context, *rig.session);
        dialog.show();
        auto* list = child<QListWidget>(dialog, "lista");
        EXPECT_EQ(list->count(), 0);
        EXPECT_FALSE(child<QPushButton>(dialog, "ustaw")->isEnabled());
        QTest::mouseClick(child<QPushButton>(dialog, "Dodaj"), Qt::LeftButton);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->item(0)->text(), "X=  100.000   Y=   50.000");
        EXPECT_EQ(list->currentRow(), 0);
        // A new point is selected, but delete and go wait for a click on it.
        EXPECT_FALSE(child<QPushButton>(dialog, "usun")->isEnabled());
        clickItem(list, 0);
        EXPECT_TRUE(child<QPushButton>(dialog, "usun")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(dialog, "ustaw")->isEnabled());
        EXPECT_EQ(dialog.windowTitle(), qs(rig.context.Text("Base_points", "caption")));
        testing::saveScreenshot(dialog, "base_points");
    }
    ASSERT_TRUE(std::filesystem::exists(rig.dir.path() / "base.txt"));

    rig.session->motion.gotopoint(true, 0, 300, 300, 200, 200, 0, 0);
    TPunkty_bazoweDialog reloaded(rig.context, *rig.session);
    reloaded.show();
    auto* list = child<QListWidget>(reloaded, "lista");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "X=  100.000   Y=   50.000");
    clickItem(list, 0);
    QTest::mouseClick(child<QPushButton>(reloaded, "ustaw"), Qt::LeftButton);
    EXPECT_EQ(reloaded.result(), QDialog::Accepted);
    waitForMachine(rig);
    EXPECT_EQ(rig.context.machine.frontX, 10000);
    EXPECT_EQ(rig.context.machine.frontY, 5000);
    EXPECT_EQ(rig.context.machine.backX, 10000);
}

// The lines hold bare numbers; the dialog names the unit they are read in, which follows the
// configuration while the dialog lives.
TEST(BasePointsDialog, NamesTheUnitOfItsPositions)
{
    PanelRig rig;
    rig.dir.write("base.txt", "X=   20.000   Y=   10.000\r\n");
    TPunkty_bazoweDialog dialog(rig.context, *rig.session);
    for (const auto& [unit, text] : {std::pair{UnitMillimetre, "Front arm positions [mm]"},
                                     std::pair{UnitInch, "Front arm positions [in]"}}) {
        rig.context.configuration.displayUnit = unit;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QLabel* label = child<QLabel>(dialog, "unit");
        EXPECT_EQ(label->text().toStdString(), text);
        EXPECT_TRUE(label->isVisible());
        dialog.hide();
    }
    dialog.show();
    testing::saveScreenshot(dialog, "base_points_unit");
}

TEST(BasePointsDialog, DoubleClickGoesAndDeletingTheLastPointDisablesTheActions)
{
    PanelRig rig;
    rig.home();
    rig.dir.write("base.txt", "X=   20.000   Y=   10.000\r\nX=   40.000   Y=   30.000\r\n");
    TPunkty_bazoweDialog dialog(rig.context, *rig.session);
    dialog.show();
    auto* list = child<QListWidget>(dialog, "lista");
    ASSERT_EQ(list->count(), 2);
    clickItem(list, 1, true);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    waitForMachine(rig);
    EXPECT_EQ(rig.context.machine.frontX, 4000);
    EXPECT_EQ(rig.context.machine.frontY, 3000);

    dialog.show();
    auto* remove = child<QPushButton>(dialog, "usun");
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(child<QPushButton>(dialog, "ustaw")->isEnabled());
}

TEST(WireMoveDialog, MovesTheSelectedArmsByTheValues)
{
    PanelRig rig;
    rig.home();
    TprzesunDialog dialog(rig.context, *rig.session);
    dialog.FormActivate(true, true);
    dialog.show();
    EXPECT_TRUE(dialog.windowTitle().endsWith(qs(rig.context.Text("Control", "KeyFront.caption") + " & " +
                                                 rig.context.Text("Control", "QdKeyBack.caption"))));
    EXPECT_EQ(child<QLabel>(dialog, "Label4")->text(), "[mm]");
    EXPECT_TRUE(child<QRadioButton>(dialog, "przesunItem1")->isChecked());
    child<TFltEditU>(dialog, "delta_x")->SetValue(25);
    child<TFltEditU>(dialog, "delta_y")->SetValue(10);
    testing::saveScreenshot(dialog, "wire_move");
    QTest::mouseClick(child<QPushButton>(dialog, "Wykonaj"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    waitForMachine(rig);
    EXPECT_EQ(rig.context.machine.frontX, 2500);
    EXPECT_EQ(rig.context.machine.frontY, 1000);
    EXPECT_EQ(rig.context.machine.backX, 2500);

    // The front arm alone, to a machine point.
    dialog.FormActivate(true, false);
    dialog.show();
    QTest::mouseClick(child<QRadioButton>(dialog, "przesunItem0"), Qt::LeftButton);
    child<TFltEditU>(dialog, "delta_x")->SetValue(60);
    child<TFltEditU>(dialog, "delta_y")->SetValue(40);
    QTest::mouseClick(child<QPushButton>(dialog, "Wykonaj"), Qt::LeftButton);
    waitForMachine(rig);
    EXPECT_EQ(rig.context.machine.frontX, 6000);
    EXPECT_EQ(rig.context.machine.frontY, 4000);
    EXPECT_EQ(rig.context.machine.backX, 2500);
}

TEST(WireMoveDialog, ServiceKeysShowTheTestsWhichRunUntilAKey)
{
    PanelRig rig;
    rig.home();
    TprzesunDialog dialog(rig.context, *rig.session);
    dialog.FormActivate(true, true);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* service = child<QWidget>(dialog, "pSerwis");
    EXPECT_FALSE(service->isVisible());
    QTest::keyClick(&dialog, Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_TRUE(service->isVisible());
    testing::saveScreenshot(dialog, "wire_move_service");

    child<TFltEditU>(dialog, "delta_x")->SetValue(10);
    rig.host.pendingInputs.push_back(PendingInput::KeyDown);
    rig.cutter.clearReports();
    QTest::mouseClick(child<QPushButton>(dialog, "test"), Qt::LeftButton);
    EXPECT_FALSE(rig.commands().empty());
    EXPECT_EQ(child<QPushButton>(dialog, "Wykonaj")->text(), qs(rig.session->link.countersText()));
    waitForMachine(rig);
    EXPECT_EQ(rig.context.machine.frontX, 0);  // forth and back

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace kerfline::ui
