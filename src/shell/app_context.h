#pragma once

#include "base/clock.h"
#include "base/host.h"
#include "base/language.h"
#include "base/services.h"
#include "base/switches.h"
#include "config/configuration.h"
#include "cutting/job_state.h"
#include "designfiles/cut_program_job.h"
#include "machine/machine_state.h"

#include <string>

namespace kerfline {

// The program-wide state, owned by main() (or a test) and passed by reference. Two contexts in
// one process never see each other.
struct AppContext {
    AppContext(Host& host, Clock& clock, CommandLine commandLine)
        : host(host), clock(clock), commandLine(std::move(commandLine)), language(host)
    {
    }
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
    MachineState machine;                               // the controller as last read
    Configuration configuration{machine, commandLine};  // the configuration model
    JobState job;                                       // the cutting job shared by its parts

    // The few services a low layer takes instead of the whole context.
    Services services() { return {host, clock, commandLine, language}; }
    operator Services() { return services(); }  // NOLINT: a context serves wherever services do
    operator WriterSettings() const { return {configuration, machine, commandLine}; }  // NOLINT: likewise

    // Shortcut for the lookups every Part makes.
    std::string Text(std::string_view section, std::string_view key) const
    {
        return language.Text(section, key);
    }
};

// The start-up steps every executable shares: language from the locale and switches, then the
// data directory. Shows the messages of their failures; false means the program must end.
bool startShell(AppContext& context, const std::function<const char*(const char*)>& getenv);

// Takes the locale of the environment, remembers its decimal separator and keeps numbers in the
// "C" locale for the rest of the process.
char adoptEnvironmentLocale();

// The dealer edition: "TALMOR" when the language chose it; otherwise the last parameter longer
// than two characters that starts with "D:" (ignoring case), upper-cased, without the "D:".
std::string dealerEditionFor(const CommandLine& commandLine, bool dealerTalmor);

}  // namespace kerfline
