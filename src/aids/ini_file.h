#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

// The INI text of the barcode project files: sections in brackets, "key=value" lines. Section
// and key names compare ignoring ASCII case; keys may hold spaces. Lines that are neither (comments,
// blank lines) and sections nobody asks for are kept as they were, so a rewrite loses nothing
// the program does not own.
class IniDocument {
public:
    // Any text parses. Lines end at CR LF, LF or CR. Keys and values are trimmed; a value
    // enclosed in double quotes loses them.
    static IniDocument parse(std::string_view text);
    // The document with CR LF line ends. A value that would not read back as itself (leading or
    // trailing blanks, enclosing quotes) is written in quotes; CR and LF in a value become blanks.
    std::string text() const;

    bool hasSection(std::string_view section) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    // Sets the value, adding the key at the end of its section and the section at the end.
    void set(std::string_view section, std::string_view key, std::string_view value);
    void eraseSection(std::string_view section);

private:
    struct Line {
        bool isPair = false;
        std::string key;    // isPair
        std::string value;  // isPair; otherwise the line as it was
    };
    struct Section {
        std::string name;  // empty for the lines before the first section
        std::vector<Line> lines;
    };
    Section* find(std::string_view section);
    const Section* find(std::string_view section) const;

    std::vector<Section> m_sections;
};

// Reads an INI file stored in Windows-1250; nothing when it cannot be read or is larger than any
// project file could be.
std::optional<IniDocument> readIniFile(const std::string& path);
// Writes the document in Windows-1250, replacing the file as a whole.
bool writeIniFile(const std::string& path, const IniDocument& document);

}  // namespace kerfline
