// The folder dialog: a new folder under the selected one, names it refuses, and a confirmation
// that takes only an existing folder.
#include "aids/ui/folder_dialog.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "support/screenshot.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QPushButton>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace kerfline::ui {
namespace {

TEST(TfDlgDir, NewFolderThenConfirm)
{
    ScriptedHost host;
    SimulatedClock clock;
    testing::TempDir home;
    auto context = testing::startedContext(host, clock, home, {"US"});
    testing::TempDir root;
    TfDlgDir dialog(*context, "Choose the folder", "Save passes", root.path().string(), "vase");
    std::deque<std::string> names{"a:b", "vase"};
    std::vector<std::string> proposals;
    dialog.askName = [&](const std::string& proposed) -> std::optional<std::string> {
        proposals.push_back(proposed);
        if (names.empty())
            return std::nullopt;
        const std::string name = names.front();
        names.pop_front();
        return name;
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.selectedFolder(), root.path().string());

    dialog.btnNewFolderClick();
    ASSERT_EQ(host.messages.size(), 1u);  // "a:b" refused, asked again with what was typed
    EXPECT_EQ(proposals, (std::vector<std::string>{"vase", "a:b"}));
    EXPECT_TRUE(std::filesystem::is_directory(root.path() / "vase"));
    EXPECT_EQ(dialog.selectedFolder(), (root.path() / "vase").string());
    testing::saveScreenshot(dialog, "folder_dialog");

    // Nothing selected: no confirmation, the dialog stays.
    dialog.ShellTreeView1->setCurrentIndex(QModelIndex());
    dialog.btnZapiszClick();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.folder().empty());
    EXPECT_EQ(host.messages.size(), 2u);

    dialog.selectFolder((root.path() / "vase").string());
    dialog.btnZapiszClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.folder(), (root.path() / "vase").string());
}

}  // namespace
}  // namespace kerfline::ui
