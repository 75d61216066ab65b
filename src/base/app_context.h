#pragma once

#include "base/clock.h"
#include "base/host.h"
#include "base/language.h"
#include "base/services.h"
#include "base/switches.h"

#include <memory>
#include <string>

namespace kerfline {

// The state of the subsystems lives with them; the context only owns it. Include the subsystem's
// header where its part of the context is used.
class Configuration;
struct MachineState;
struct JobState;
struct WriterSettings;
namespace machine {
class MotionSettingsSource;
}

// The program-wide state, owned by main() (or a test) and passed by reference. Two contexts in
// one process never see each other. Built by the shell, which alone sees every subsystem.
struct AppContext {
    AppContext(Host& host, Clock& clock, CommandLine commandLine);
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Host& host;
    Clock& clock;
    CommandLine commandLine;
    std::string programDirectory;  // with a trailing slash
    std::string dataDirectory;     // with a trailing slash
    tInterfejs language;
    std::string dealerEdition;     // upper-case dealer edition identifier, empty by default
    // The decimal separator of the operator's locale. The process itself keeps the "C" numeric
    // locale so that every file format and the JSON of the tool read and write points.
    char decimalSeparator = '.';

private:
    // Built after the command line, which the configuration reads.
    struct Parts;
    std::unique_ptr<Parts> m_parts;

public:
    MachineState& machine;         // the controller as last read
    Configuration& configuration;  // the configuration model
    JobState& job;                 // the cutting job shared by its parts
    // What the machine's motion reads of the configuration, which sits above it.
    const machine::MotionSettingsSource& motionSettings;

    // The few services a low layer takes instead of the whole context.
    Services services() { return {host, clock, commandLine, language}; }
    operator Services() { return services(); }  // NOLINT: a context serves wherever services do
    operator WriterSettings() const;             // NOLINT: likewise

    // Shortcut for the lookups every Part makes.
    std::string Text(std::string_view section, std::string_view key) const
    {
        return language.Text(section, key);
    }
};

}  // namespace kerfline
