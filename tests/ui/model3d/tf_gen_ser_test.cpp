// The serial generator window on a real X server: a model read in the background, the controls
// locked meanwhile, and the passes made as windows.
#include "model3d/pass_window_list.h"
#include "model3d/ui/tf_gen_ser.h"
#include "model3d/ui/traw_view.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "support/screenshot.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

struct Rig {
    ScriptedHost host;
    SimulatedClock clock;
    testing::TempDir home;
    std::unique_ptr<AppContext> context = testing::startedContext(host, clock, home, {"US"});
    model3d::PassWindowList windows{*context};
};

// Runs the workers' completions until the generator is idle.
void settle(Rig& rig, TfGenSer& window)
{
    for (int i = 0; i < 1000 && window.generator().locked(); ++i) {
        window.generator().waitForWorkers();
        rig.host.runPosted();
        QCoreApplication::processEvents();
    }
}

TEST(TfGenSer, ReadsTheModelGeneratesThePassesAndCloses)
{
    Rig rig;
    ASSERT_TRUE(rig.context);
    TfGenSer window(*rig.context, rig.windows);
    window.chooseModelFile = [] { return std::string(KERFLINE_TEST_DATA_DIR) + "model3d/revolution.dxf"; };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.btnGeneruj->isEnabled());
    EXPECT_FALSE(window.btnModelInfo->isEnabled());

    window.btnPlikRawClick();
    // While the model is read nothing that feeds the thread can be used.
    EXPECT_FALSE(window.btnPlikRaw->isEnabled());
    EXPECT_TRUE(window.RAWview1->Locked);
    settle(rig, window);
    EXPECT_TRUE(window.btnGeneruj->isEnabled());
    EXPECT_TRUE(window.btnModelInfo->isEnabled());
    EXPECT_FALSE(window.RAWview1->Locked);
    EXPECT_EQ(window.ePlik->text().toStdString(), std::string(KERFLINE_TEST_DATA_DIR) + "model3d/revolution.dxf");
    testing::saveScreenshot(window, "tf_gen_ser_model");

    window.feIloscObrotow->setValue(3);
    window.btnGenerujClick();
    EXPECT_FALSE(window.btnGeneruj->isEnabled());
    settle(rig, window);
    ASSERT_EQ(rig.windows.windows().size(), 3u);
    EXPECT_EQ(rig.windows.caption(*rig.windows.windows()[2]), "revolution [120.00 st]");
    // The view turned by Round(2 * 60) units of half a degree after each pass.
    EXPECT_DOUBLE_EQ(window.RAWview1->state().turnY, 3 * 60.0);
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST(TfGenSer, CancelDuringAPassKeepsTheWindowAndClosesThePasses)
{
    Rig rig;
    TfGenSer window(*rig.context, rig.windows);
    window.chooseModelFile = [] { return std::string(KERFLINE_TEST_DATA_DIR) + "model3d/revolution.raw"; };
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.btnPlikRawClick();
    settle(rig, window);
    window.btnGenerujClick();
    window.btnAnulujClick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.btnGeneruj->isEnabled());
    rig.host.runPosted();
    EXPECT_TRUE(rig.windows.windows().empty());
    // With nothing running Cancel closes the window.
    window.btnAnulujClick();
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace kerfline::ui
