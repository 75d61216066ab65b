#include "aids/barcode_label.h"

#include "aids/display_length.h"
#include "aids/windows_1250.h"
#include "base/language.h"
#include "config/number_text.h"
#include "config/parameters.h"

#include <fstream>

namespace kerfline {
namespace {

// A configuration file is a few dozen short lines; more is not read.
constexpr std::streamsize kLargestConfigFile = 1 << 20;

// Blanks and control characters at either end go, as the operator does not see them.
std::string_view trimmedBlanks(std::string_view text)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string caption(const tInterfejs& language, const char* key)
{
    return withoutAccelerator(language.Text("Configuration", key)) + ": ";
}

}  // namespace

std::string konfigValueText(std::string_view text, std::string_view name)
{
    std::optional<std::string> found;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t nameEnd = line.find_first_of(" :=");
        if (line.substr(0, nameEnd) != name || nameEnd == std::string_view::npos)
            continue;
        std::string value;
        for (const char c : line.substr(nameEnd))
            if (c != ' ' && c != ':' && c != '=')
                value += c;
        found = std::move(value);  // a later line for the same name wins
    }
    return found.value_or("");
}

DefaultLabelLines defaultLabelLines(const std::string& configFilePath, const tInterfejs& language)
{
    DefaultLabelLines lines;
    std::ifstream in(configFilePath, std::ios::binary);
    if (!in)
        return lines;
    std::string text(static_cast<std::size_t>(kLargestConfigFile), '\0');
    in.read(text.data(), kLargestConfigFile);
    text.resize(static_cast<std::size_t>(in.gcount()));

    const auto line = [&](const char* key, const char* captionKey, const std::string& unit) {
        const std::string value = konfigValueText(text, key);
        return value.empty() ? std::string() : caption(language, captionKey) + value + unit;
    };
    const std::string mode = konfigValueText(text, "Mode");
    if (!mode.empty()) {
        // The file may hold any number: only an index of the list names a mode.
        const auto index = parseInteger(mode);
        const ParameterInfo& info = parameterInfo(Param::Mode);
        const bool listed = index && *index >= 0 && *index < info.choiceCount;
        lines[0] = caption(language, "Mode.caption") +
                   (listed ? language.Text(info.dialog.items[static_cast<std::size_t>(*index)]) : mode);
    }
    lines[1] = line("szybkoscObrobki", "Labelspeed.caption", " [mm/min]");
    lines[2] = line("work_power", "Labelpower.caption", " [A]");
    lines[3] = line("CzasRozgrzewania", "Labelstarttime.caption", " [ms]");
    lines[4] = line("Pauza_w_kacie", "Labelpauza.caption", " [ms]");
    return lines;
}

std::string epl2Quoted(std::string_view utf8)
{
    std::string field = "\"";
    for (const char c : toWindows1250(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            continue;
        if (c == '"' || c == '\\')
            field += '\\';
        field += c;
    }
    return field + "\"";
}

std::string labelBytes(const std::string& number, const DefaultLabelLines& defaults,
                       const OperatorLabelLines& operatorLines, int copies)
{
    static constexpr int kDefaultRows[] = {140, 175, 210, 245, 280};
    static constexpr int kOperatorRows[] = {325, 360, 395, 430};
    std::string bytes = "\n\r\n";
    bytes += "N\r\n";
    bytes += "B50,10,0,E30,3,7,100,B," + epl2Quoted(number) + "\r\n";
    bytes += "I8,B,001\r\n";
    for (std::size_t i = 0; i < defaults.size(); ++i)
        bytes += "A0," + std::to_string(kDefaultRows[i]) + ",0,4,1,1,N," + epl2Quoted(defaults[i]) + "\r\n";
    for (std::size_t i = 0; i < operatorLines.size(); ++i)
        bytes += "A0," + std::to_string(kOperatorRows[i]) + ",0,4,1,1,N," +
                 epl2Quoted(withoutPolishLetters(trimmedBlanks(operatorLines[i]))) + "\r\n";
    bytes += "P" + std::to_string(copies) + "\r\n";
    return bytes;
}

}  // namespace kerfline
