// The production aids in the whole program on the virtual cutter: a scanned number replaces the
// project windows only when it names a stored project and no job runs; storing the state and
// the support page from the file menu.
#include "aids/barcode_project.h"
#include "aids/file_bytes.h"
#include "aids/support_report.h"
#include "base/scripted_host.h"
#include "config/parameters.h"
#include "machine/hid_platform_choice.h"
#include "machine/virtual_cutter.h"
#include "project/tmdichild.h"
#include "shell/app_context.h"
#include "shell/ui/application.h"
#include "shell/ui/main_window.h"
#include "shell/ui/mdi_project_windows.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QAction>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

std::string sample(const char* name)
{
    return std::string(KERFLINE_SOURCE_DIR) + "samples/" + name;
}

class ProductionAidsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        context = kerfline::testing::startedContext(host, clock, home, {"US", "--virtual-machine"});
        ASSERT_NE(context, nullptr);
        machine::PlatformChoice platform = machine::createHidPlatform(context->commandLine, host, clock, false);
        platform.virtualCutter->followClock(clock);
        app = std::make_unique<Application>(*context, std::move(platform));
        host.messages.clear();
        form().resize(1000, 700);
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }

    TMainForm& form() { return app->mainForm(); }
    std::vector<std::string> openDesigns()
    {
        std::vector<std::string> paths;
        for (TMDIChild* window : form().projectWindows().windows())
            paths.push_back(window->fileName);
        return paths;
    }
    void scan(const std::string& digits)
    {
        for (const char c : digits)
            QTest::keyClick(form().windowHandle(), static_cast<Qt::Key>(Qt::Key_0 + (c - '0')));
    }

    kerfline::testing::TempDir home;
    ScriptedHost host;
    SimulatedClock clock;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<Application> app;
};

TEST_F(ProductionAidsTest, AScanReplacesTheWindowsOnlyWhenTheNumberNamesAProject)
{
    form().Open("", sample("gear.plt"), false);
    host.answers = {AnswerCancel};
    form().action("KodyKreskoweZapis")->trigger();
    const std::string stored = barcodeProjectPath(context->dataDirectory, "5900000000015");
    ASSERT_TRUE(readBarcodeProject(stored)) << "stored under the first number";
    EXPECT_EQ(readBarcodeProject(stored)->designs, std::vector<std::string>{sample("gear.plt")});

    form().Open("", sample("star.ai"), false);
    form().Open("", sample("letter_in_frame.dxf"), false);
    // A number without a project: the windows, maybe unsaved, stay open.
    scan("5900000000022");
    EXPECT_EQ(openDesigns().size(), 3u);

    // A stored number, while a job is cut: the scan waits.
    context->job.jobActive = true;
    scan("5900000000015");
    EXPECT_EQ(openDesigns().size(), 3u);
    context->job.jobActive = false;

    scan("5900000000015");
    EXPECT_EQ(openDesigns(), std::vector<std::string>{sample("gear.plt")});
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
}

TEST_F(ProductionAidsTest, TheSupportPageNamesTheOpenDesignsAndTheMachine)
{
    form().Open("", sample("gear.plt"), false);
    form().action("miZgloszenieBledu")->trigger();
    const std::string page = context->dataDirectory + kSupportReportFile;
    ASSERT_EQ(host.openedUrls, std::vector<std::string>{fileUrl(page)});
    const std::string html = kerfline::testing::fileBytes(page);
    EXPECT_NE(html.find("value=\"gear.plt\""), std::string::npos);
    EXPECT_NE(html.find("name=\"ploterManufacturer\" size=\"30\" readonly value=\"Quorvant\""), std::string::npos) << html;
    EXPECT_NE(html.find(", Qt "), std::string::npos);
}

}  // namespace
}  // namespace kerfline::ui
