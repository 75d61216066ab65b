#include "config/configuration.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "shell/ui/main_window.h"
#include "shell/ui/mdi_project_windows.h"
#include "model3d/ui/tf_gen_ser.h"
#include "config/cutting_mode.h"
#include "support/started_context.h"
#include "support/temp_dir.h"
#include "support/screenshot.h"
#include "base/ui/qt_translations.h"
#include "base/ui/text.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace kerfline::ui {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    kerfline::testing::TempDir home;
    ScriptedHost host;
    SimulatedClock clock;

    std::unique_ptr<AppContext> start(std::vector<std::string> switches)
    {
        auto context = kerfline::testing::startedContext(host, clock, home, std::move(switches));
        EXPECT_NE(context, nullptr);
        return context;
    }
};

TEST_F(MainWindowTest, ShowsCaptionAndMenusFromTheLanguageFile)
{
    auto context = start({"PL"});
    TMainForm window(*context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(window.windowTitle().toStdString(), "Kerfline   " + context->Text("Universal", "txtWer") + " 5.5.0.0");
    const QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text().toStdString(), context->Text("Main_window", "File1.Caption"));
    EXPECT_EQ(top[0]->text(), QString::fromUtf8("&Plik"));
    EXPECT_EQ(window.action("Start1")->text().toStdString(), context->Text("Main_window", "Start1.Caption"));
    EXPECT_TRUE(window.statusPanel(0) != nullptr && window.statusPanel(1) != nullptr);
}

TEST_F(MainWindowTest, SharedAndHiddenShortcutsGoWhereTheMenuOrderSays)
{
    auto context = start({"US"});
    TMainForm window(*context);
    EXPECT_EQ(window.action("miGenSeryjnego3D")->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_TRUE(window.action("Konfiguracja")->shortcut().isEmpty());
    // a key shown beside the configuration would open the serial generator
    EXPECT_FALSE(window.action("Konfiguracja")->text().contains(QStringLiteral("F6")));
    EXPECT_EQ(window.action("FileSaveAsHPGL")->shortcut(), QKeySequence(Qt::Key_F11));
    EXPECT_EQ(window.action("FileSaveAsDXF")->shortcut(), QKeySequence(Qt::Key_F12));
    // hidden items live on the window itself, not in a menu, so their keys still reach them
    EXPECT_TRUE(window.actions().contains(window.action("FileSaveAsHPGL")));
    EXPECT_EQ(window.action("Wstrzymaj1")->shortcut(), QKeySequence(Qt::Key_Space));
}

TEST_F(MainWindowTest, NoAccessLetterServesTwoItemsOfOneMenu)
{
    for (const char* language : {"US", "PL"}) {
        auto context = start({language});
        TMainForm window(*context);
        std::vector<QList<QAction*>> menus{window.menuBar()->actions()};
        for (QAction* top : window.menuBar()->actions())
            menus.push_back(top->menu()->actions());
        for (const QList<QAction*>& items : menus) {
            std::map<QChar, QString> taken;
            for (const QAction* item : items) {
                const QString text = item->text();
                const int amp = text.indexOf(QLatin1Char('&'));
                if (item->isSeparator() || amp < 0 || amp + 1 >= text.size())
                    continue;
                const QChar letter = text.at(amp + 1).toLower();
                const auto [at, fresh] = taken.emplace(letter, text);
                EXPECT_TRUE(fresh) << language << ": " << ss(text) << " and " << ss(at->second);
            }
        }
    }
}

TEST_F(MainWindowTest, PolishFaceTranslatesQtsOwnTextsAndTheStopButtonMatchesTheMenu)
{
    auto context = start({"PL"});
    ASSERT_TRUE(installQtTranslations(context->language.languageCode()));
    TMainForm window(*context);
    window.resize(900, 500);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_NE(QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText), QStringLiteral("Space"));
    EXPECT_EQ(window.action("SpeedStop")->text(), QString(window.action("Wstrzymaj1")->text()).remove(QLatin1Char('&')));

    QFileDialog dialog(&window, QStringLiteral("Otwórz"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const auto* cancel = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
    EXPECT_NE(cancel->text(), QStringLiteral("Cancel"));
    kerfline::testing::saveScreenshot(dialog, "open_dialog_pl");
    kerfline::testing::saveScreenshot(window, "main_window_pl");
    dialog.close();
    installQtTranslations("US");
    EXPECT_EQ(QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText), QStringLiteral("Space"));
}

TEST_F(MainWindowTest, OpenDialogStartsOnTheFilterChosenLastTime)
{
    auto context = start({"US"});
    TMainForm window(*context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    context->configuration.settings.openFilterIndex = 3;  // the DXF drawings
    QString shownFilter;
    QTimer::singleShot(0, &window, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFilter = dialog->selectedNameFilter();
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        dialog->selectFile(QString::fromStdString(std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt"));
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    window.Open(std::string(KERFLINE_SOURCE_DIR) + "samples", "", false);
    EXPECT_TRUE(shownFilter.contains(QStringLiteral("*.dxf")) && !shownFilter.contains(QStringLiteral("*.plt")))
        << ss(shownFilter);
    EXPECT_EQ(context->configuration.settings.openFilterIndex, 2);
    EXPECT_EQ(window.mdiArea()->subWindowList().size(), 1);
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenProjectWindows)
{
    auto context = start({"US"});
    TMainForm window(*context);
    window.resize(900, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.Open("", std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt", false);
    window.Open("", std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt", false);
    QMenu* menu = window.menuBar()->actions().at(2)->menu();
    const auto entries = [menu] {
        QList<QAction*> found;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->text().startsWith(QLatin1Char('&')) && a->text().at(1).isDigit())
                found << a;
        return found;
    };
    emit menu->aboutToShow();
    ASSERT_EQ(entries().size(), 2);
    EXPECT_TRUE(entries().at(1)->isChecked());  // the window opened last is the active one
    entries().at(0)->trigger();
    EXPECT_EQ(window.mdiArea()->currentSubWindow(), window.mdiArea()->subWindowList(QMdiArea::CreationOrder).at(0));
    emit menu->aboutToShow();  // listing again replaces the entries
    ASSERT_EQ(entries().size(), 2);
    EXPECT_TRUE(entries().at(0)->isChecked());
    window.CloseAll();
    QCoreApplication::processEvents();
    emit menu->aboutToShow();
    EXPECT_TRUE(entries().isEmpty());
}

// Tiled windows are narrow: their titles begin with the file name. The project keeps the caption
// the commands read (the independent mode's tag, the duplication's ".dpl" test).
TEST_F(MainWindowTest, TiledProjectWindowsShowTheFileNameFirst)
{
    auto context = start({"US"});
    TMainForm window(*context);
    window.resize(1000, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::string samples = std::string(KERFLINE_SOURCE_DIR) + "samples";
    for (const char* name : {"gear.plt", "letter_in_frame.dxf", "star.ai"})
        window.Open("", samples + "/" + name, false);
    window.mdiArea()->tileSubWindows();
    QTest::qWait(50);
    const QList<QMdiSubWindow*> subs = window.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 3);
    for (QMdiSubWindow* sub : subs) {
        const std::string caption = sub->widget()->windowTitle().toStdString();
        const std::string name = caption.substr(samples.size() + 1);
        EXPECT_EQ(caption, samples + "/" + name);
        EXPECT_EQ(sub->windowTitle().toStdString(), name + "  (" + samples + ")");
    }
    EXPECT_TRUE(window.action("miDuplikujPlt")->isEnabled());
    kerfline::testing::saveScreenshot(window, "tiled_project_windows");
}

TEST_F(MainWindowTest, RightToLeftReversesTheTopLevelMenu)
{
    auto context = start({"SA"});
    TMainForm window(*context);
    const QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->objectName(), "Window1");
    EXPECT_EQ(top[2]->objectName(), "File1");
    EXPECT_EQ(window.layoutDirection(), Qt::RightToLeft);
    qApp->setLayoutDirection(Qt::LeftToRight);
}

TEST_F(MainWindowTest, ProjectCommandsFollowTheNumberOfWindows)
{
    auto context = start({"US"});
    TMainForm window(*context);
    EXPECT_FALSE(window.action("FileCloseItem")->isEnabled());
    EXPECT_FALSE(window.action("WindowTileItem")->isEnabled());
    EXPECT_FALSE(window.action("miInstrObslugi")->isVisible());  // no manual installed here

    window.Open("", std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt", false);
    EXPECT_TRUE(window.action("FileCloseItem")->isEnabled());
    EXPECT_TRUE(window.action("WindowTileItem")->isEnabled());

    window.CloseAll();
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(window.action("FileCloseItem")->isEnabled());
}

TEST_F(MainWindowTest, NewProjectWindowTakesItsShareOfTheAreaTheOperatorSees)
{
    auto context = start({"US"});
    TMainForm window(*context);
    // A design named on the command line opens before the main window has its final size.
    window.Open("", std::string(KERFLINE_SOURCE_DIR) + "samples/gear.plt", false);
    window.resize(1000, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QMdiSubWindow* sub = window.mdiArea()->subWindowList().front();
    const QSize area = window.mdiArea()->viewport()->size();
    ASSERT_GT(area.width(), 800);
    EXPECT_EQ(sub->size(), QSize(area.width() * 3 / 4, area.height() * 3 / 4));

    // A window the operator has sized keeps its size when the main window changes.
    sub->resize(300, 200);
    window.resize(1100, 800);
    QTest::qWait(20);
    EXPECT_EQ(sub->size(), QSize(300, 200));
}

TEST_F(MainWindowTest, OpenCommandAsksWithTheFiltersAndTheLastDirectory)
{
    auto context = start({"US"});
    TMainForm window(*context);
    context->configuration.settings.lastOpenDir = "/designs";
    std::string asked;
    QString filter;
    window.projectWindows().openDialog = [&](const std::string& directory, const std::string& title,
                                             const std::vector<FileFilter>& filters) -> std::optional<std::string> {
        asked = title + " in " + directory;
        filter = qtFilter(filters);
        return std::nullopt;
    };
    window.action("FileOpenItem")->trigger();
    EXPECT_EQ(asked, context->Text("Main_window", "otworz") + " in /designs");
    EXPECT_EQ(filter, QString::fromStdString(context->Text("Universal", "wszystkiePliki")) +
                          " (*.plt *.dxf *.ai *.eps);;" + QString::fromStdString(context->Text("Universal", "plikPLT")) +
                          " (*.plt);;" + QString::fromStdString(context->Text("Universal", "plikDXF2D")) +
                          " (*.dxf);;" + QString::fromStdString(context->Text("Universal", "plikEPS")) +
                          " (*.ai *.eps)");
    EXPECT_TRUE(window.mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, SerialGeneratorMakesPassWindowsThatSaveAsNumberedDrawings)
{
    auto context = start({"US"});
    TMainForm window(*context);
    window.UpdateMenuItems();
    EXPECT_TRUE(window.action("miGenSeryjnego3D")->isEnabled());
    EXPECT_FALSE(window.action("miSaveSerial")->isEnabled());

    // The generator runs modally: it is driven from inside its own event loop.
    window.generatorShown = [&](TfGenSer& generator) {
        generator.chooseModelFile = [] { return std::string(KERFLINE_TEST_DATA_DIR) + "model3d/revolution.raw"; };
        QTimer::singleShot(0, &generator, [&] {
            generator.btnPlikRawClick();
            while (generator.generator().locked()) {
                generator.generator().waitForWorkers();
                host.runPosted();
            }
            generator.feIloscObrotow->setValue(4);
            generator.btnGenerujClick();
            while (generator.generator().locked()) {
                generator.generator().waitForWorkers();
                host.runPosted();
            }
        });
    };
    window.action("miGenSeryjnego3D")->trigger();
    ASSERT_EQ(window.mdiArea()->subWindowList().size(), 4);
    EXPECT_EQ(context->configuration.choice(Param::Mode), ModeSerial);
    EXPECT_TRUE(window.action("miSaveSerial")->isEnabled());

    kerfline::testing::TempDir folder;
    std::string proposed;
    window.chooseSerialFolder = [&](const std::string&, const std::string& name) {
        proposed = name;
        return std::pair<bool, std::string>{true, folder.path().string()};
    };
    window.action("miSaveSerial")->trigger();
    EXPECT_EQ(proposed, "revolution");
    for (const char* name : {"001.dxf", "002.dxf", "003.dxf", "004.dxf"})
        EXPECT_TRUE(std::filesystem::exists(folder.path() / name)) << name;
}

}  // namespace
}  // namespace kerfline::ui
