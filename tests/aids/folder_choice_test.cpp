#include "aids/folder_choice.h"

#include "base/language.h"
#include "base/scripted_host.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kerfline {
namespace {

struct Rig {
    ScriptedHost host;
    SimulatedClock clock;
    testing::TempDir home;
    std::unique_ptr<AppContext> context = testing::startedContext(host, clock, home, {});
};

TEST(FolderChoice, NamesWithForbiddenCharactersAreRefused)
{
    Rig rig;
    for (const char* name : {"a:b", "", "x/y", "q?", "p|"})
        EXPECT_FALSE(validFolderName(name)) << name;
    EXPECT_TRUE(validFolderName("model 7"));
    const std::string message = invalidFolderNameMessage(rig.context->language, "a:b");
    EXPECT_NE(message.find("a:b"), std::string::npos);
    EXPECT_EQ(message.substr(message.size() - 13), " :  \\/:*?\"<>|");
}

TEST(FolderChoice, NewFolderAndConfirmNeedAnExistingFolder)
{
    Rig rig;
    testing::TempDir root;
    const tInterfejs& language = rig.context->language;
    const FolderOutcome created = createNewFolder(root.path().string(), "passes", language);
    ASSERT_TRUE(created.ok()) << created.message;
    EXPECT_TRUE(std::filesystem::is_directory(root.path() / "passes"));

    const FolderOutcome again = createNewFolder(root.path().string(), "passes", language);
    EXPECT_FALSE(again.ok());
    EXPECT_TRUE(again.beep);

    // Without a selection nothing is created at the root, and nothing empty is confirmed.
    for (const std::string& selection : {std::string(), (root.path() / "missing").string()}) {
        SCOPED_TRACE(selection);
        EXPECT_FALSE(createNewFolder(selection, "passes", language).ok());
        EXPECT_FALSE(confirmFolder(selection, language).ok());
    }
    EXPECT_EQ(confirmFolder(created.path, language).path, created.path);
}

}  // namespace
}  // namespace kerfline
