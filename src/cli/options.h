#pragma once

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace kerfline::cli {

// Prints "kerfline-cli COMMAND: PROBLEM" and the command's usage text on stderr; returns the exit
// code of a usage error.
int usageError(std::string_view command, std::string_view usage, std::string_view problem);

// One command's usage, so that every refusal of its parser reads `return usage("...")`. `text`
// begins with "usage: kerfline-cli COMMAND" and ends with a line break.
struct CommandUsage {
    std::string_view command;
    std::string text;

    int operator()(std::string_view problem) const { return usageError(command, text, problem); }
};

// "--name VALUE" or "--name=VALUE" at argv[i]; false when the parameter is not this option. A
// missing value after "--name" leaves `value` empty for the caller to refuse.
inline bool takeValue(std::string_view name, int argc, char** argv, int& i, std::optional<std::string>& value)
{
    const std::string_view argument = argv[i];
    if (argument == name) {
        value = i + 1 < argc ? std::optional<std::string>(argv[++i]) : std::nullopt;
        return true;
    }
    if (argument.size() > name.size() && argument.substr(0, name.size()) == name && argument[name.size()] == '=') {
        value = std::string(argument.substr(name.size() + 1));
        return true;
    }
    return false;
}

// The whole text as a number of type Int; nothing when any of it does not convert.
template <typename Int>
std::optional<Int> wholeNumberArgument(std::string_view text)
{
    Int value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The whole text as a finite real number; nothing when it is missing, empty or more than a number.
inline std::optional<double> realNumberArgument(const std::optional<std::string>& text)
{
    if (!text || text->empty())
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text->c_str(), &end);
    if (end != text->c_str() + text->size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace kerfline::cli
