#include "base/language.h"

#include "base/switches.h"
#include "base/version.h"

#include <array>
#include <filesystem>

namespace kerfline {
namespace {

struct CountryLanguage {
    int countryCode;
    const char* languageCode;
};

// The countries with a language of their own; every other country reads English.
constexpr std::array<CountryLanguage, 12> kCountryLanguages{{
    {1, "US"}, {7, "RU"}, {33, "FR"}, {34, "ES"}, {36, "HU"}, {39, "IT"},
    {40, "RO"}, {48, "PL"}, {49, "DE"}, {86, "CN"}, {421, "SK"}, {966, "SA"},
}};

struct SwitchRow {
    std::array<const char*, 3> switches;
    const char* languageCode;
    int countryCode;
};

// Tested in this order; a later match overrides an earlier one.
constexpr std::array<SwitchRow, 12> kLanguageSwitches{{
    {{"USA", "US", "GB"}, "US", 1},
    {{"POLSKA", "PL", nullptr}, "PL", 48},
    {{"DE", nullptr, nullptr}, "DE", 49},
    {{"RU", nullptr, nullptr}, "RU", 7},
    {{"CN", nullptr, nullptr}, "CN", 86},
    {{"SK", nullptr, nullptr}, "SK", 421},
    {{"ITALY", "IT", nullptr}, "IT", 39},
    {{"SPAIN", "ESPANOL", "ES"}, "ES", 34},
    {{"SA", nullptr, nullptr}, "SA", 966},
    {{"HU", nullptr, nullptr}, "HU", 36},
    {{"RO", nullptr, nullptr}, "RO", 40},
    {{"FR", nullptr, nullptr}, "FR", 33},
}};

struct TerritoryCode {
    const char* territory;
    int countryCode;
};

// ISO territories of the locale to international telephone codes.
constexpr std::array<TerritoryCode, 30> kTerritories{{
    {"US", 1},   {"CA", 1},   {"RU", 7},   {"FR", 33},  {"ES", 34},  {"HU", 36},
    {"IT", 39},  {"RO", 40},  {"CH", 41},  {"AT", 43},  {"GB", 44},  {"DK", 45},
    {"SE", 46},  {"NO", 47},  {"PL", 48},  {"DE", 49},  {"MX", 52},  {"BR", 55},
    {"AU", 61},  {"JP", 81},  {"KR", 82},  {"CN", 86},  {"TR", 90},  {"IN", 91},
    {"PT", 351}, {"IE", 353}, {"FI", 358}, {"CZ", 420}, {"SK", 421}, {"SA", 966},
}};

const char* const kConfigurationError = "Configuration error";

}  // namespace

int countryCodeOfTerritory(std::string_view territory)
{
    const std::string upper = toUpperAscii(territory);
    for (const auto& row : kTerritories)
        if (upper == row.territory)
            return row.countryCode;
    // An unknown country: the language rules give it English without the one country's dealer
    // edition.
    return kUnknownCountry;
}

int countryCodeFromLocale(const std::function<const char*(const char*)>& getenv)
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        // language[_territory][.codeset][@modifier]
        std::string_view locale(value);
        const auto underscore = locale.find('_');
        if (underscore == std::string_view::npos)
            return kUnknownCountry;  // "C", "POSIX" or a language without a territory
        std::string_view territory = locale.substr(underscore + 1);
        territory = territory.substr(0, territory.find_first_of(".@"));
        return countryCodeOfTerritory(territory);
    }
    return kUnknownCountry;  // no locale set: the C locale
}

LanguageChoice chooseLanguage(int systemCountryCode, const CommandLine& commandLine)
{
    LanguageChoice choice;
    choice.countryCode = 1;
    choice.languageCode = "US";
    for (const auto& row : kCountryLanguages) {
        if (row.countryCode == systemCountryCode) {
            choice.countryCode = row.countryCode;
            choice.languageCode = row.languageCode;
        }
    }
    choice.dealerTalmor = systemCountryCode == 1;

    for (const auto& row : kLanguageSwitches) {
        for (const char* name : row.switches) {
            if (name != nullptr && commandLine.HasSwitch(name)) {
                choice.languageCode = row.languageCode;
                choice.countryCode = row.countryCode;
            }
        }
    }
    return choice;
}

bool tInterfejs::fail(const std::string& what, const std::string& path)
{
    m_host.showMessage(what + "\r\n" + path, true, kConfigurationError);
    m_loaded = false;
    m_document.reset();
    return false;
}

bool tInterfejs::load(const std::string& programDirectory, const LanguageChoice& choice)
{
    m_choice = choice;
    m_loaded = false;
    const auto fileOf = [&](const std::string& code) {
        return programDirectory + kProgramTitle + "_" + code + ".xml";
    };
    std::error_code ec;
    m_path = fileOf(choice.languageCode);
    if (!std::filesystem::is_regular_file(m_path, ec)) {
        m_path = fileOf("US");
        if (!std::filesystem::is_regular_file(m_path, ec))
            return fail("Application could't work without file: ", m_path);
    }

    const pugi::xml_parse_result parsed = m_document.load_file(m_path.c_str());
    const pugi::xml_node root = m_document.document_element();
    if (!parsed || !root)
        return fail("Corruption detected in file: ", m_path);
    if (std::string_view(root.name()) != "interface")
        return fail("Invalid file structure: ", m_path);
    const pugi::xml_attribute name = root.attribute("name");
    const pugi::xml_attribute version = root.attribute("version");
    if (!name || !version)
        return fail("Invalid file structure: ", m_path);
    if (toUpperAscii(name.value()) != toUpperAscii(kProgramTitle) ||
        std::string_view(version.value()) != kProgramVersion.majorMinor())
        return fail("Incompatibile file version: ", m_path);

    m_loaded = true;
    return true;
}

std::string tInterfejs::Text(std::string_view section, std::string_view key) const
{
    const pugi::xml_node root = m_document.document_element();
    if (!m_loaded || !root)
        return "error";
    for (const pugi::xml_node s : root.children()) {
        if (s.type() != pugi::node_element || section != s.name())
            continue;
        for (const pugi::xml_node k : s.children()) {
            if (k.type() != pugi::node_element || key != k.name())
                continue;
            const pugi::xml_attribute text = k.attribute("str");
            return text ? std::string(text.value()) : std::string("error");
        }
        return "error";
    }
    return "error";
}

void tInterfejs::ShowMessageBox(const std::string& text, bool isError, const std::string& caption) const
{
    const std::string shown =
        !caption.empty() ? caption : Text("Universal", isError ? "blad" : "informacja");
    m_host.showMessage(text, isError, shown);
}

void tInterfejs::ShowPlainMessageBox(const std::string& text, bool isError, const std::string& caption) const
{
    m_host.showMessage(text, isError, !caption.empty() ? caption : (isError ? "Error" : "Information"));
}

int tInterfejs::AskQuestion(const std::string& text, Buttons buttons, const std::string& caption) const
{
    return m_host.ask(text, buttons, caption);
}

std::string formatText(std::string_view text, std::initializer_list<std::string_view> arguments)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < arguments.size()) {
                result += *(arguments.begin() + index);
                ++i;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

}  // namespace kerfline
