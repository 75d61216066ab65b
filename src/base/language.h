#pragma once

#include "base/host.h"
#include "base/text_key.h"

#include <pugixml.hpp>

#include <functional>
#include <string>
#include <string_view>

namespace kerfline {

class CommandLine;

// The language chosen at start-up.
struct LanguageChoice {
    std::string languageCode = "US";
    int countryCode = 1;
    bool dealerTalmor = false;  // the system's country is 1: the dealer edition "TALMOR"
};

// The country code of a territory the table does not know, and of the C locale.
inline constexpr int kUnknownCountry = 0;

// Reads the system's country code from the locale: the territory of LC_ALL, LC_MESSAGES or LANG
// (the first that is set) as an international telephone code; kUnknownCountry for a territory
// not in the table, a locale without a territory and the C locale.
int countryCodeFromLocale(const std::function<const char*(const char*)>& getenv);
int countryCodeOfTerritory(std::string_view territory);

// Maps the system's country code, then applies the language switches (the last row that
// matches wins).
LanguageChoice chooseLanguage(int systemCountryCode, const CommandLine& commandLine);

// The language object: loads the language file beside the executable and answers lookups. It
// also shows the program's message boxes through the Host.
class tInterfejs {
public:
    explicit tInterfejs(Host& host) : m_host(host) {}

    // Loads programDirectory + "Kerfline_" + code + ".xml", falling back to the US file. Shows a
    // fixed English message and returns false when no acceptable file is found.
    bool load(const std::string& programDirectory, const LanguageChoice& choice);

    bool loaded() const { return m_loaded; }
    const std::string& path() const { return m_path; }
    const std::string& languageCode() const { return m_choice.languageCode; }
    int countryCode() const { return m_choice.countryCode; }
    bool dealerTalmor() const { return m_choice.dealerTalmor; }
    bool rightToLeft() const { return m_choice.countryCode == 966; }

    // The text of a key; "error" for anything missing.
    std::string Text(std::string_view section, std::string_view key) const;
    std::string Text(const TextKey& key) const { return Text(key.section, key.key); }

    // Modal message with OK; an empty caption takes "blad" or "informacja" of "Universal".
    void ShowMessageBox(const std::string& text, bool isError, const std::string& caption = {}) const;
    // The same with fixed English captions, for when the language file may be missing.
    void ShowPlainMessageBox(const std::string& text, bool isError, const std::string& caption = {}) const;
    // Returns AnswerOk, AnswerCancel, AnswerYes or AnswerNo.
    int AskQuestion(const std::string& text, Buttons buttons, const std::string& caption = {}) const;

private:
    bool fail(const std::string& what, const std::string& path);

    Host& m_host;
    LanguageChoice m_choice;
    pugi::xml_document m_document;
    bool m_loaded = false;
    std::string m_path;
};

// Replaces %1, %2, ... in a text from the language file by the arguments, so translations can
// put the variable parts where their grammar wants them.
std::string formatText(std::string_view text, std::initializer_list<std::string_view> arguments);

}  // namespace kerfline
