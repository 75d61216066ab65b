#include "config/configuration.h"
#include "config/configuration_lifecycle.h"
#include "config/ui/config_dialog.h"
#include "config/ui/numeric_edit.h"
#include "cutting/project_windows.h"
#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/motion_operations.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "support/screenshot.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace kerfline::ui {
namespace {

class ConfigDialogTest : public ::testing::Test {
protected:
    kerfline::testing::TempDir home;
    ScriptedHost host;
    SimulatedClock clock;
    std::unique_ptr<AppContext> context;

    void start(std::vector<std::string> switches = {"US"})
    {
        context = kerfline::testing::startedContext(host, clock, home, std::move(switches));
        ASSERT_NE(context, nullptr);
        startConfiguration(*context);  // creates the missing configuration file
        host.messages.clear();
    }

    Configuration& model() { return context->configuration; }

    static void click(TDlgkonfig& dialog, const char* name)
    {
        auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    static QWidget* widget(TDlgkonfig& dialog, const char* name)
    {
        return dialog.findChild<QWidget*>(QString::fromLatin1(name));
    }
    static bool checked(TDlgkonfig& dialog, const char* name)
    {
        return dialog.findChild<QRadioButton*>(QString::fromLatin1(name))->isChecked();
    }
    static void type(TDlgkonfig& dialog, const char* field, const char* text)
    {
        auto* edit = dialog.findChild<NumericSpinBox*>(QString::fromLatin1(field));
        edit->lineEdit()->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(ConfigDialogTest, SerialModeForcesItsChoicesAndOkReportsTheChange)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_FALSE(model().modeChanged);
    // 2D: no rotary device, and it cannot be chosen
    EXPECT_TRUE(checked(dialog, "StolikSwitchItem2"));
    EXPECT_FALSE(widget(dialog, "StolikSwitch")->isEnabled());
    click(dialog, "CatDirItem0");
    click(dialog, "PowerOutputItem1");

    click(dialog, "ModeItem2");
    EXPECT_TRUE(checked(dialog, "CatDirItem2"));
    EXPECT_FALSE(widget(dialog, "CatDir")->isEnabled());
    EXPECT_TRUE(checked(dialog, "StolikSwitchItem1"));
    EXPECT_TRUE(widget(dialog, "StolikSwitch")->isEnabled());
    EXPECT_TRUE(checked(dialog, "PowerOutputItem0"));
    EXPECT_FALSE(widget(dialog, "PowerOutput")->isEnabled());
    EXPECT_TRUE(dialog.PageControl1()->isTabEnabled(2));  // tabSeryjne
    EXPECT_TRUE(widget(dialog, "Srednicamaterialu")->isEnabled());
    EXPECT_FALSE(widget(dialog, "ilosckrokow")->isEnabled());

    click(dialog, "Button1");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(model().modeChanged);
    EXPECT_EQ(model().choice(Param::Mode), ModeSerial);
}

TEST_F(ConfigDialogTest, OkReadsTheMachineAgainOnlyAfterTheCalibrationChanged)
{
    start();
    TDlgkonfig dialog(*context);
    int rereads = 0;
    dialog.setRereadMachine([&rereads] { ++rereads; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Typed and left unconfirmed: OK takes what the fields show.
    auto typeOnly = [&dialog](const char* field, const char* text) {
        auto* edit = dialog.findChild<NumericSpinBox*>(QString::fromLatin1(field));
        edit->lineEdit()->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    };
    typeOnly("skala", "120");
    click(dialog, "Button1");
    EXPECT_EQ(rereads, 0);
    EXPECT_EQ(model().number(Param::skala), 120);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    typeOnly("feKalibracjaX", "2");
    click(dialog, "Button1");
    EXPECT_EQ(rereads, 1);
    EXPECT_EQ(model().number(Param::feKalibracjaX), 2);
}

TEST_F(ConfigDialogTest, CancelBringsTheShownValuesBack)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    type(dialog, "skala", "150");
    EXPECT_EQ(model().number(Param::skala), 150);
    click(dialog, "ModeItem1");
    click(dialog, "Heavy");
    EXPECT_TRUE(model().isChecked(Param::Heavy));

    click(dialog, "cancel");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(model().number(Param::skala), 100);
    EXPECT_EQ(model().choice(Param::Mode), Mode2D);
    EXPECT_FALSE(model().isChecked(Param::Heavy));
    EXPECT_FALSE(model().modeChanged);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("skala")->text(), "100");
    EXPECT_TRUE(checked(dialog, "ModeItem0"));
    EXPECT_FALSE(dialog.findChild<QCheckBox*>("Heavy")->isChecked());
}

TEST_F(ConfigDialogTest, UnitChangeRelabelsAndRedisplaysTheLengths)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelszybkoscObrobki")->text(), "[mm/min]");
    click(dialog, "radiounitItem1");
    EXPECT_EQ(model().displayUnit, UnitInch);
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelszybkoscObrobki")->text().toStdString(),
              "[in" + context->Text("Configuration", "naMinute"));
    EXPECT_EQ(dialog.findChild<QLabel*>("Labelprzespeed")->text(), "[in/min]");
    EXPECT_EQ(dialog.findChild<QLabel*>("Xwrzecionaunit")->text(), "[in]");
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("Srednicamaterialu")->text(), "19.69");  // 500 mm
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("fuPlt_accuracy")->text(), "0.010");

    // A length typed in inches is kept in millimetres
    type(dialog, "Xstolika", "10");
    EXPECT_DOUBLE_EQ(model().number(Param::Xstolika), 254);
    // and the model's range holds whatever the field lets through
    type(dialog, "szybkoscObrobki", "1000");
    EXPECT_EQ(model().number(Param::szybkoscObrobki), 5000);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("szybkoscObrobki")->text(), "196.85");
}

// A typed value beyond the field's range is taken clamped, and the line under the pages says so;
// a text that is no number keeps the value the field had and says that instead.
TEST_F(ConfigDialogTest, AClampedOrUnreadableEntryIsToldUnderThePages)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QLabel* notice = dialog.fieldNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->text().isEmpty());
    const double before = model().number(Param::CzasRozgrzewania);
    const double maximum = model().maximum(Param::CzasRozgrzewania);
    const struct {
        const char* typed;
        double value;
        std::string notice;
    } cases[] = {
        {"99999", maximum,
         "The value in the field  \u00bbHeat-up time\u00ab  was limited to its range (min= 0; max= 10000 )."},
        {"abc", maximum, "The field  \u00bbHeat-up time\u00ab  requires a number.\nThe previous value is kept."},
        {"1500", 1500, ""},
    };
    ASSERT_NE(before, maximum);
    auto* edit = dialog.findChild<NumericSpinBox*>(QStringLiteral("CzasRozgrzewania"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        // Leaving the field, not Enter, which also presses the dialog's OK.
        edit->lineEdit()->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        edit->commit();
        EXPECT_EQ(model().number(Param::CzasRozgrzewania), c.value);
        if (!c.notice.empty()) {
            EXPECT_EQ(notice->text().toStdString(), c.notice);
            EXPECT_TRUE(notice->isVisible());
        }
        if (std::string(c.typed) == "abc")
            kerfline::testing::saveScreenshot(dialog, "config_field_notice");
    }
}

TEST_F(ConfigDialogTest, TakesTheAxisPositionFromTheControllerOfAHomedMachine)
{
    start();
    machine::VirtualCutter cutter(host, clock, machine::kDefaultVirtualProduct);
    cutter.followClock(clock);
    machine::TfUsb link(*context, cutter);
    machine::ControllerProtocol protocol(*context, link);
    machine::MotionOperations motion(protocol);
    protocol.ReadMachineInfo();
    protocol.ReadStatus();
    TDlgkonfig dialog(*context);
    dialog.setProtocol(&protocol);
    dialog.show();

    click(dialog, "btnPobierzXYwrzeciona");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, context->Text("Configuration", "wykonajBazowaniePrzed"));
    EXPECT_TRUE(host.messages[0].isError);
    EXPECT_EQ(model().number(Param::Xwrzeciona), 12);

    protocol.SendCommand(std::string{'B', static_cast<char>(0xFF)});
    protocol.WaitWhileBusy();
    protocol.ReadStatus();
    ASSERT_TRUE(motion.gotopoint(true, 0, 12.34, 12.34, 567.89, 567.89, 0, 0));
    context->machine.frontX = 0;  // what the panel saw before the move
    host.messages.clear();
    click(dialog, "btnPobierzXYstolika");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_DOUBLE_EQ(model().number(Param::Xstolika), 12.34);
    EXPECT_DOUBLE_EQ(model().number(Param::Ystolika), 567.89);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("Ystolika")->text(), "567.9");

    // A read that fails changes nothing and says the machine does not answer.
    cutter.unplug();
    click(dialog, "btnPobierzXYwrzeciona");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, context->Text("Control", "ploterBrakLacznosci"));
    EXPECT_TRUE(host.messages[0].isError);
    EXPECT_EQ(model().number(Param::Xwrzeciona), 12);
    EXPECT_EQ(model().number(Param::Ywrzeciona), 730);
}

TEST_F(ConfigDialogTest, ThePowerFieldTakesTheShapedWiresRange)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    type(dialog, "work_power", "10");
    EXPECT_EQ(model().number(Param::work_power), 4);  // the straight wire's maximum
    click(dialog, "PowerOutputItem1");
    EXPECT_EQ(dialog.findChild<QLabel*>("LabelPowerJM")->text(), "[A]");
    type(dialog, "work_power", "10");
    EXPECT_EQ(model().number(Param::work_power), 10);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("work_power")->text(), "10");

    // and Cancel brings the snapshot's power back with its output
    click(dialog, "Button1");
    dialog.show();
    click(dialog, "PowerOutputItem0");
    EXPECT_EQ(model().number(Param::work_power), 4);
    click(dialog, "cancel");
    EXPECT_EQ(model().choice(Param::PowerOutput), 1);
    EXPECT_EQ(model().number(Param::work_power), 10);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("work_power")->text(), "10");
}

TEST_F(ConfigDialogTest, CuttingDirectionSetsTheFeedSignOfEveryProjectWindow)
{
    start();
    ProjectWindowList windows;
    TMDIChild& first = windows.add(std::make_unique<TMDIChild>(*context));
    TMDIChild& second = windows.add(std::make_unique<TMDIChild>(*context));
    TDlgkonfig dialog(*context);
    dialog.setProjectWindows(&windows);
    dialog.show();
    click(dialog, "CatDirItem1");
    EXPECT_EQ(first.directionX[0], 255);
    EXPECT_EQ(second.directionX[1], 255);
    click(dialog, "CatDirItem2");
    EXPECT_EQ(first.directionX[0], 1);
    EXPECT_EQ(second.directionX[1], 1);
}

TEST_F(ConfigDialogTest, SaveAsAndOpenMakeTheFileCurrent)
{
    start();
    TDlgkonfig dialog(*context);
    dialog.show();
    const std::string saved = home.str() + "shop.kcc";
    type(dialog, "CzasRozgrzewania", "2500");
    ASSERT_TRUE(dialog.saveAs(saved));
    EXPECT_EQ(dialog.windowTitle().toStdString(), saved);
    EXPECT_EQ(model().settings.configPath, saved);

    const std::string other = home.write("other.kcc", "skala := 150\r\nradiounit := 1\r\n");
    ASSERT_TRUE(dialog.open(other));
    EXPECT_EQ(dialog.windowTitle().toStdString(), other);
    EXPECT_EQ(dialog.findChild<NumericSpinBox*>("skala")->text(), "150");
    EXPECT_TRUE(checked(dialog, "radiounitItem1"));
    EXPECT_EQ(dialog.findChild<QLabel*>("Labelsrednicaunit")->text(), "[in]");

    EXPECT_FALSE(dialog.open(home.str() + "missing/none.kcc"));
    EXPECT_EQ(model().settings.configPath, other);
    EXPECT_FALSE(host.messages.empty());
}

TEST_F(ConfigDialogTest, RotaryTabOnlyWithItsSwitchAndTheSchemeNamesAMissingPicture)
{
    start();
    {
        TDlgkonfig dialog(*context);
        EXPECT_FALSE(dialog.PageControl1()->isTabVisible(3));
    }
    start({"US", "RotaryCutExt"});
    TDlgkonfig dialog(*context);
    EXPECT_TRUE(dialog.PageControl1()->isTabVisible(3));
    auto* scheme = dialog.findChild<QLabel*>("iObrotoweSchemat");
    EXPECT_TRUE(scheme->pixmap().isNull());
    EXPECT_NE(scheme->toolTip().toStdString().find("Images/RotaryCut1.bmp"), std::string::npos);
    click(dialog, "rgAlgorytmObrotowegoItem1");
    EXPECT_NE(scheme->toolTip().toStdString().find("Images/RotaryCut2.bmp"), std::string::npos);
}

TEST_F(ConfigDialogTest, TextsComeFromTheLanguageAndRightToLeftFollowsIt)
{
    start({"PL"});
    {
        TDlgkonfig dialog(*context);
        EXPECT_EQ(dialog.PageControl1()->tabText(0).toStdString(), context->Text("Configuration", "Tabsheet2.caption"));
        EXPECT_EQ(dialog.findChild<QRadioButton*>("ModeItem3")->text().toStdString(),
                  context->Text("Configuration", "mode.Toczenie"));
        EXPECT_EQ(dialog.findChild<QRadioButton*>("rbStalaPredkosc")->toolTip().toStdString(),
                  context->Text("Configuration", "rbStalaPredkosc.hint"));
        for (const NumericSpinBox* field : dialog.findChildren<NumericSpinBox*>())
            EXPECT_EQ(field->keypadTexts().ok, context->language.Text(TextKey{"Configuration", "NumPad.OK"}));
        EXPECT_EQ(dialog.layoutDirection(), Qt::LeftToRight);
        EXPECT_EQ(dialog.windowTitle().toStdString(), model().settings.configPath);
    }
    start({"SA"});
    TDlgkonfig dialog(*context);
    EXPECT_EQ(dialog.layoutDirection(), Qt::RightToLeft);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    kerfline::testing::saveScreenshot(dialog, "config_right_to_left");
}

TEST_F(ConfigDialogTest, EveryTabFitsOnASmallScreen)
{
    start({"PL", "RotaryCutExt"});
    TDlgkonfig dialog(*context);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.adjustSize();
    EXPECT_LE(dialog.width(), 1024);
    EXPECT_LE(dialog.height(), 700);  // 768 less a task bar and the title bar
    const char* names[] = {"config_cutting", "config_machine", "config_serial", "config_rotary", "config_other"};
    for (int tab = 0; tab < dialog.PageControl1()->count(); ++tab) {
        dialog.PageControl1()->setCurrentIndex(tab);
        QTest::qWait(20);
        kerfline::testing::saveScreenshot(dialog, names[tab]);
    }
    click(dialog, "ModeItem1");
    click(dialog, "radiounitItem1");
    dialog.PageControl1()->setCurrentIndex(0);
    kerfline::testing::saveScreenshot(dialog, "config_rotary_mode_inch");
}

}  // namespace
}  // namespace kerfline::ui
