#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kerfline::cli {

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

}  // namespace kerfline::cli
