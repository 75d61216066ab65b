// Every key the sources look up literally must exist in every language file that ships.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

using KeySet = std::set<std::pair<std::string, std::string>>;

KeySet keysInSources()
{
    // Text("Section", "key") and TextKey{"Section", "key"}
    static const std::regex lookup(
        R"re((?:\bText\s*\(|\bTextKey\s*\{)\s*"([^"\\]+)"\s*,\s*"([^"\\]+)"\s*[)}])re");
    KeySet keys;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(KERFLINE_SOURCE_DIR) + "src")) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        std::ifstream in(entry.path());
        std::stringstream content;
        content << in.rdbuf();
        const std::string text = content.str();
        for (std::sregex_iterator it(text.begin(), text.end(), lookup), end; it != end; ++it)
            keys.insert({(*it)[1].str(), (*it)[2].str()});
    }
    return keys;
}

TEST(LanguageKeys, EveryLookedUpKeyIsInEveryLanguageFile)
{
    const KeySet keys = keysInSources();
    ASSERT_FALSE(keys.empty()) << "the scan found no lookups: is the pattern still right?";
    for (const char* file : {"Kerfline_US.xml", "Kerfline_PL.xml"}) {
        pugi::xml_document document;
        const std::string path = std::string(KERFLINE_LANG_DIR) + file;
        ASSERT_TRUE(document.load_file(path.c_str())) << path;
        const pugi::xml_node root = document.child("interface");
        for (const auto& [section, key] : keys) {
            const pugi::xml_node node = root.child(section.c_str()).child(key.c_str());
            EXPECT_TRUE(node && node.attribute("str")) << file << " lacks " << section << "/" << key;
        }
    }
}

}  // namespace
