// File › Export G-code…: the dialog's choices, and the command that writes the file and
// remembers them.
#include "base/scripted_host.h"
#include "designfiles/gcode_settings_file.h"
#include "designfiles/ui/gcode_export_dialog.h"
#include "shell/app_context.h"
#include "shell/ui/main_window.h"
#include "support/screenshot.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline::ui {
namespace {

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class GcodeExportTest : public ::testing::Test {
protected:
    kerfline::testing::TempDir home;
    ScriptedHost host;
    SimulatedClock clock;
};

TEST_F(GcodeExportTest, DialogOffersEachProfileWithItsOwnRules)
{
    auto context = kerfline::testing::startedContext(host, clock, home, {"US"});
    ASSERT_NE(context, nullptr);
    GcodeExportSettings saved;
    saved.options = {GcodeProfileId::GrblHal, "XYUZ", GcodeFeedMode::InverseTime, 5.0};
    saved.file = home.str() + "wing.ngc";
    GcodeExportDialog dialog(context->language, saved);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export G-code"));
    kerfline::testing::saveScreenshot(dialog, "gcode_export_dialog");

    auto* profile = dialog.findChild<QComboBox*>("profile");
    auto* axes = dialog.findChild<QComboBox*>("axes");
    auto* feed = dialog.findChild<QComboBox*>("feed");
    auto* scale = dialog.findChild<QDoubleSpinBox*>("heatScale");
    auto* file = dialog.findChild<QLineEdit*>("file");
    auto* exportButton = dialog.findChild<QPushButton*>("eksportuj");
    ASSERT_TRUE(profile && axes && feed && scale && file && exportButton);
    // The saved choices come back as they were.
    EXPECT_EQ(axes->currentText(), QStringLiteral("XYUZ"));
    EXPECT_EQ(scale->value(), 5.0);
    EXPECT_EQ(dialog.settings().options.feedMode, GcodeFeedMode::InverseTime);

    // Marlin: its own letters and scale, and no inverse time to choose.
    profile->setCurrentIndex(profile->findText(QStringLiteral("Marlin foam cutter")));
    EXPECT_EQ(axes->currentText(), QStringLiteral("XYUV"));
    EXPECT_EQ(scale->value(), 1.0);
    EXPECT_FALSE(feed->isEnabled());
    EXPECT_EQ(dialog.settings().options.feedMode, GcodeFeedMode::UnitsPerMinute);

    // Letters that name an axis twice, or no file, cannot be exported.
    axes->setCurrentText(QStringLiteral("XYXV"));
    EXPECT_FALSE(exportButton->isEnabled());
    axes->setCurrentText(QStringLiteral("XYUV"));
    EXPECT_TRUE(exportButton->isEnabled());
    dialog.chooseFile = [&](const std::string& start) -> std::optional<std::string> {
        EXPECT_EQ(start, saved.file);
        return home.str() + "other.ngc";
    };
    QTest::mouseClick(dialog.findChild<QPushButton*>("wybierz"), Qt::LeftButton);
    EXPECT_EQ(dialog.settings().file, home.str() + "other.ngc");
    file->clear();
    EXPECT_FALSE(exportButton->isEnabled());
}

TEST_F(GcodeExportTest, CommandWritesTheFileAndRemembersTheChoices)
{
    auto context = kerfline::testing::startedContext(host, clock, home, {"US"});
    ASSERT_NE(context, nullptr);
    TMainForm window(*context);
    QAction* item = window.action("miEksportGcode");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Export &G-code..."));
    EXPECT_FALSE(item->isEnabled());

    window.Open("", std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.plt", false);
    ASSERT_TRUE(item->isEnabled());
    const std::string out = home.str() + "square.ngc";
    GcodeExportSettings offered;
    window.gcodeDialog = [&](const GcodeExportSettings& settings) -> std::optional<GcodeExportSettings> {
        offered = settings;
        GcodeExportSettings chosen = settings;
        chosen.options.profile = GcodeProfileId::Marlin;
        chosen.file = out;
        return chosen;
    };
    item->trigger();
    // The design's own name is offered, and the file holds the square's G-code.
    EXPECT_EQ(std::filesystem::path(offered.file).filename(), "closed_square.ngc");
    const std::string text = contentOf(out);
    EXPECT_EQ(text.rfind("; Kerfline G-code for marlin", 0), 0u) << text;
    EXPECT_NE(text.find("G1 X0.000 Y100.000 U0.000 V100.000 F1000.000"), std::string::npos);
    // The choices are kept for the next time, in the dialog's own file.
    const GcodeExportSettings remembered = readGcodeSettings(context->dataDirectory);
    EXPECT_EQ(remembered.options.profile, GcodeProfileId::Marlin);
    EXPECT_EQ(remembered.file, out);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace kerfline::ui
