#include "aids/ini_file.h"

#include "aids/windows_1250.h"
#include "base/atomic_file.h"
#include "base/switches.h"

#include <fstream>
#include <iterator>

namespace kerfline {
namespace {

// A project file names a configuration, some designs and four label lines.
constexpr std::streamsize kLargestFile = 1 << 20;

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool quoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string oneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return line;
}

}  // namespace

IniDocument IniDocument::parse(std::string_view text)
{
    IniDocument document;
    document.m_sections.push_back({});
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view raw = text.substr(start, end - start);
        const bool last = end == text.size();
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        if (last && raw.empty())
            break;

        const std::string_view line = trimmed(raw);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            document.m_sections.push_back({std::string(trimmed(line.substr(1, close == std::string_view::npos
                                                                                    ? std::string_view::npos
                                                                                    : close - 1))),
                                           {}});
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.front() == ';') {
            document.m_sections.back().lines.push_back({false, {}, std::string(raw)});
            continue;
        }
        std::string_view value = trimmed(line.substr(equals + 1));
        if (quoted(value))
            value = value.substr(1, value.size() - 2);
        document.m_sections.back().lines.push_back({true, std::string(trimmed(line.substr(0, equals))), std::string(value)});
    }
    return document;
}

std::string IniDocument::text() const
{
    std::string out;
    for (const Section& section : m_sections) {
        if (&section != &m_sections.front())
            out += "[" + oneLine(section.name) + "]\r\n";
        for (const Line& line : section.lines) {
            if (!line.isPair) {
                out += oneLine(line.value) + "\r\n";
                continue;
            }
            const std::string value = oneLine(line.value);
            const bool needsQuotes = value != trimmed(value) || quoted(value);
            out += oneLine(line.key) + "=" + (needsQuotes ? "\"" + value + "\"" : value) + "\r\n";
        }
    }
    return out;
}

IniDocument::Section* IniDocument::find(std::string_view section)
{
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        if (equalsIgnoringCase(m_sections[i].name, section))
            return &m_sections[i];
    return nullptr;
}

const IniDocument::Section* IniDocument::find(std::string_view section) const
{
    return const_cast<IniDocument*>(this)->find(section);
}

bool IniDocument::hasSection(std::string_view section) const
{
    return find(section) != nullptr;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const
{
    if (const Section* s = find(section))
        for (const Line& line : s->lines)
            if (line.isPair && equalsIgnoringCase(line.key, key))
                return line.value;
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value)
{
    if (m_sections.empty())
        m_sections.push_back({});
    Section* s = find(section);
    if (s == nullptr) {
        m_sections.push_back({std::string(section), {}});
        s = &m_sections.back();
    }
    for (Line& line : s->lines) {
        if (line.isPair && equalsIgnoringCase(line.key, key)) {
            line.value = value;
            return;
        }
    }
    s->lines.push_back({true, std::string(key), std::string(value)});
}

void IniDocument::eraseSection(std::string_view section)
{
    for (std::size_t i = 1; i < m_sections.size();) {
        if (equalsIgnoringCase(m_sections[i].name, section))
            m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

std::optional<IniDocument> readIniFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(kLargestFile) + 1);
    in.read(bytes.data(), kLargestFile + 1);
    if (in.bad() || in.gcount() > kLargestFile)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return IniDocument::parse(fromWindows1250(bytes));
}

bool writeIniFile(const std::string& path, const IniDocument& document)
{
    return writeFileAtomically(path, toWindows1250(document.text()));
}

}  // namespace kerfline
