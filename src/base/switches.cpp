#include "base/switches.h"

#include <algorithm>

namespace kerfline {
namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part)
{
    if (part.empty())
        return true;
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [](char x, char y) { return upper(x) == upper(y); });
    return it != text.end();
}

std::string toUpperAscii(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

CommandLine CommandLine::fromArgv(int argc, const char* const* argv)
{
    std::vector<std::string> parameters;
    for (int i = 1; i < argc; ++i)
        parameters.emplace_back(argv[i]);
    return CommandLine(std::move(parameters));
}

bool CommandLine::HasSwitch(std::string_view name) const
{
    return std::any_of(m_parameters.begin(), m_parameters.end(),
                       [&](const std::string& p) { return equalsIgnoringCase(p, name); });
}

std::optional<std::string> CommandLine::SwitchValue(std::string_view name) const
{
    for (const std::string& p : m_parameters) {
        // name'value' and a closing character: a parameter that merely contains the name (a
        // design's path, say) or carries no value is not the switch
        if (p.size() < name.size() + 3 || p[name.size()] != '\'' ||
            !equalsIgnoringCase(std::string_view(p).substr(0, name.size()), name))
            continue;
        return p.substr(name.size() + 1, p.size() - name.size() - 2);
    }
    return std::nullopt;
}

bool CommandLine::firstParameterIs(std::string_view text) const
{
    return !m_parameters.empty() && m_parameters.front() == text;
}

}  // namespace kerfline
