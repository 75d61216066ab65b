#include "base/language.h"

#include "base/scripted_host.h"
#include "base/switches.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace kerfline {
namespace {

using testing::TempDir;

struct ChoiceCase {
    int systemCountry;
    std::vector<std::string> switches;
    const char* languageCode;
    int countryCode;
    bool talmor;
};

class ChooseLanguageTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseLanguageTest, MapsCountryThenAppliesSwitches)
{
    const ChoiceCase& c = GetParam();
    const LanguageChoice choice = chooseLanguage(c.systemCountry, CommandLine(c.switches));
    EXPECT_EQ(choice.languageCode, c.languageCode);
    EXPECT_EQ(choice.countryCode, c.countryCode);
    EXPECT_EQ(choice.dealerTalmor, c.talmor);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseLanguageTest,
    ::testing::Values(ChoiceCase{48, {}, "PL", 48, false},
                      // the last row that matches wins, whatever the order on the command line
                      ChoiceCase{48, {"de", "FR"}, "FR", 33, false},
                      ChoiceCase{48, {"FR", "de"}, "FR", 33, false},
                      ChoiceCase{45, {}, "US", 1, false},
                      ChoiceCase{1, {}, "US", 1, true},
                      // a switch chooses the language but never the dealer edition
                      ChoiceCase{49, {"usa"}, "US", 1, false},
                      ChoiceCase{1, {"Polska"}, "PL", 48, true},
                      ChoiceCase{48, {"ESPANOL"}, "ES", 34, false},
                      ChoiceCase{1, {"SA"}, "SA", 966, true},
                      ChoiceCase{7, {"DEX"}, "RU", 7, false}));

struct LocaleCase {
    std::map<std::string, std::string> env;
    int countryCode;
};

class CountryCodeTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(CountryCodeTest, ComesFromTheTerritoryOfTheFirstLocaleVariableSet)
{
    const auto& env = GetParam().env;
    std::string variables;
    for (const auto& [name, value] : env)
        variables += name + "=" + value + " ";
    SCOPED_TRACE(variables);
    const auto getenv = [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(countryCodeFromLocale(getenv), GetParam().countryCode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountryCodeTest,
    ::testing::Values(LocaleCase{{{"LANG", "pl_PL.UTF-8"}}, 48},
                      LocaleCase{{{"LANG", "pl_PL.UTF-8"}, {"LC_MESSAGES", "de_DE@euro"}}, 49},
                      LocaleCase{{{"LC_ALL", "sk_SK"}, {"LANG", "pl_PL"}}, 421},
                      LocaleCase{{{"LANG", "en_US.UTF-8"}}, 1},
                      LocaleCase{{{"LANG", ""}, {"LC_MESSAGES", "ru_RU"}}, 7},
                      // what the table does not know is an unknown country, not the United States
                      LocaleCase{{}, kUnknownCountry},
                      LocaleCase{{{"LC_ALL", "C"}, {"LANG", "pl_PL"}}, kUnknownCountry},
                      LocaleCase{{{"LANG", "C.UTF-8"}}, kUnknownCountry},
                      LocaleCase{{{"LANG", "POSIX"}}, kUnknownCountry},
                      LocaleCase{{{"LANG", "en"}}, kUnknownCountry},
                      LocaleCase{{{"LANG", "es_AR.UTF-8"}}, kUnknownCountry},
                      LocaleCase{{{"LANG", "nl_NL.UTF-8"}}, kUnknownCountry}));

TEST(CountryCode, AnUnknownCountryReadsEnglishWithoutTheDealerEdition)
{
    for (const char* locale : {"C", "es_AR.UTF-8", "nl_NL"}) {
        const auto getenv = [&](const char* name) -> const char* {
            return std::string_view(name) == "LANG" ? locale : nullptr;
        };
        const LanguageChoice choice = chooseLanguage(countryCodeFromLocale(getenv), CommandLine());
        EXPECT_EQ(choice.languageCode, "US") << locale;
        EXPECT_EQ(choice.countryCode, 1) << locale;
        EXPECT_FALSE(choice.dealerTalmor) << locale;
    }
}

const char* const kGoodFile =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<interface name="Kerfline" version="5.5">
  <Universal><blad str="Fehler"/><informacja str="Info"/><pusty/></Universal>
  <Main_window><File1.Caption str="Datei"/></Main_window>
  <Universal><blad str="second section is never read"/></Universal>
</interface>)";

struct LoadCase {
    const char* name;
    std::map<std::string, std::string> files;  // file name -> content
    const char* language;
    bool loaded;
    const char* messageStart;  // nullptr: no message
    const char* loadedFile;
};

class LanguageLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LanguageLoadTest, ChecksTheFileBeforeAcceptingIt)
{
    const LoadCase& c = GetParam();
    TempDir dir;
    for (const auto& [name, content] : c.files)
        dir.write(name, content);
    ScriptedHost host;
    tInterfejs language(host);
    LanguageChoice choice;
    choice.languageCode = c.language;
    EXPECT_EQ(language.load(dir.str(), choice), c.loaded);
    EXPECT_EQ(language.loaded(), c.loaded);
    if (c.messageStart == nullptr) {
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(language.path(), dir.str() + c.loadedFile);
    } else {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, std::string(c.messageStart) + "\r\n" + dir.str() + c.loadedFile);
        EXPECT_EQ(host.messages[0].caption, "Configuration error");
        EXPECT_TRUE(host.messages[0].isError);
        EXPECT_EQ(language.Text("Universal", "blad"), "error");
    }
}

std::string withRoot(const std::string& root)
{
    return "<?xml version=\"1.0\"?>" + root;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageLoadTest,
    ::testing::Values(
        LoadCase{"Chosen", {{"Kerfline_PL.xml", kGoodFile}, {"Kerfline_US.xml", kGoodFile}}, "PL", true, nullptr,
                 "Kerfline_PL.xml"},
        LoadCase{"FallsBackToUs", {{"Kerfline_US.xml", kGoodFile}}, "PL", true, nullptr, "Kerfline_US.xml"},
        LoadCase{"Missing", {}, "PL", false, "Application could't work without file: ", "Kerfline_US.xml"},
        LoadCase{"Malformed", {{"Kerfline_US.xml", "<interface name=\"Kerfline\""}}, "US", false,
                 "Corruption detected in file: ", "Kerfline_US.xml"},
        LoadCase{"Empty", {{"Kerfline_US.xml", ""}}, "US", false, "Corruption detected in file: ",
                 "Kerfline_US.xml"},
        LoadCase{"WrongRoot", {{"Kerfline_US.xml", withRoot("<lang name=\"Kerfline\" version=\"5.5\"/>")}}, "US",
                 false, "Invalid file structure: ", "Kerfline_US.xml"},
        LoadCase{"NoVersion", {{"Kerfline_US.xml", withRoot("<interface name=\"Kerfline\"/>")}}, "US", false,
                 "Invalid file structure: ", "Kerfline_US.xml"},
        LoadCase{"NoName", {{"Kerfline_US.xml", withRoot("<interface version=\"5.5\"/>")}}, "US", false,
                 "Invalid file structure: ", "Kerfline_US.xml"},
        LoadCase{"NameInAnyCase", {{"Kerfline_US.xml", withRoot("<interface name=\"kerfline\" version=\"5.5\"/>")}},
                 "US", true, nullptr, "Kerfline_US.xml"},
        LoadCase{"ForeignName", {{"Kerfline_US.xml", withRoot("<interface name=\"Other\" version=\"5.5\"/>")}},
                 "US", false, "Incompatibile file version: ", "Kerfline_US.xml"},
        LoadCase{"VersionIsCompared AsText",
                 {{"Kerfline_US.xml", withRoot("<interface name=\"Kerfline\" version=\"5.50\"/>")}}, "US", false,
                 "Incompatibile file version: ", "Kerfline_US.xml"}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::erase(name, ' ');
        return name;
    });

TEST(LanguageText, FirstSectionAndKeyWinAndAnythingMissingIsError)
{
    TempDir dir;
    dir.write("Kerfline_US.xml", kGoodFile);
    ScriptedHost host;
    tInterfejs language(host);
    ASSERT_TRUE(language.load(dir.str(), LanguageChoice{}));
    EXPECT_EQ(language.Text("Universal", "blad"), "Fehler");
    EXPECT_EQ(language.Text(TextKey{"Main_window", "File1.Caption"}), "Datei");
    EXPECT_EQ(language.Text("Universal", "nothing"), "error");
    EXPECT_EQ(language.Text("Nowhere", "blad"), "error");
    EXPECT_EQ(language.Text("Universal", "pusty"), "error");
    EXPECT_EQ(language.Text("universal", "blad"), "error");
}

TEST(LanguageMessages, CaptionsDefaultByKind)
{
    TempDir dir;
    dir.write("Kerfline_US.xml", kGoodFile);
    ScriptedHost host;
    host.answers = {AnswerYes};
    tInterfejs language(host);
    ASSERT_TRUE(language.load(dir.str(), LanguageChoice{}));

    language.ShowMessageBox("a", true);
    language.ShowMessageBox("b", false);
    language.ShowMessageBox("c", false, "Own");
    language.ShowPlainMessageBox("d", true);
    language.ShowPlainMessageBox("e", false);
    ASSERT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(host.messages[0].caption, "Fehler");
    EXPECT_EQ(host.messages[1].caption, "Info");
    EXPECT_EQ(host.messages[2].caption, "Own");
    EXPECT_EQ(host.messages[3].caption, "Error");
    EXPECT_EQ(host.messages[4].caption, "Information");

    EXPECT_EQ(language.AskQuestion("q", Buttons::YesNoCancel), AnswerYes);
    EXPECT_EQ(language.AskQuestion("q", Buttons::OkCancel), AnswerCancel);
}

TEST(FormatText, PlacesArgumentsWhereTheTranslationWants)
{
    EXPECT_EQ(formatText("%2 of %1, %3%", {"a", "b"}), "b of a, %3%");
    EXPECT_EQ(formatText("100%", {}), "100%");
}

}  // namespace
}  // namespace kerfline
