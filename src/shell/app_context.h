#pragma once

// The application context with every subsystem's part complete, and the start-up steps the
// executables share.
#include "base/app_context.h"
#include "config/configuration.h"
#include "cutting/job_state.h"
#include "designfiles/cut_program_job.h"
#include "machine/machine_state.h"

#include <functional>
#include <string>

namespace kerfline {

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
