#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

// The command-line parameters of the program (without the program's own name). Switches are not
// parsed into a table: each is looked up where it is used, with the matching rules below.
class CommandLine {
public:
    CommandLine() = default;
    explicit CommandLine(std::vector<std::string> parameters) : m_parameters(std::move(parameters)) {}
    static CommandLine fromArgv(int argc, const char* const* argv);

    const std::vector<std::string>& parameters() const { return m_parameters; }
    bool empty() const { return m_parameters.empty(); }

    // A plain switch: a whole parameter equals the name, ignoring case.
    bool HasSwitch(std::string_view name) const;
    // A valued switch name'value': the first parameter that is the name (ignoring case), an
    // apostrophe, a value of at least one character and a closing character (which is dropped).
    // Nothing when no parameter has that form: a switch without a value is no switch.
    std::optional<std::string> SwitchValue(std::string_view name) const;
    // The first parameter exactly "test" makes the cut run without the controller handshake.
    bool firstParameterIs(std::string_view text) const;

private:
    std::vector<std::string> m_parameters;
};

bool equalsIgnoringCase(std::string_view a, std::string_view b);
bool containsIgnoringCase(std::string_view text, std::string_view part);
std::string toUpperAscii(std::string_view text);

}  // namespace kerfline
