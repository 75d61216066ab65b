#pragma once

#include "config/config_file_result.h"

#include <memory>
#include <string>
#include <string_view>

namespace kerfline {

class Configuration;
class tInterfejs;

// The configuration file (".kcc"): one line "name := value" per stored parameter, in file
// order, ending with CR LF. Numbers use the given decimal separator (the locale's).
std::string KonfigText(const Configuration& configuration, char decimalSeparator);

// Writes KonfigText to `path`, replacing the file as a whole.
ConfigFileResult SaveKonfig(const Configuration& configuration, const std::string& path, char decimalSeparator);

// How one "name := value" pair applies to the model.
enum class ApplyOutcome { Applied, UnknownName, BadValue };

// Applies one value to the parameter of that exact name, converted as the file converts it:
// numbers from their leading run of sign, digits and separator ("." or ","), choices and
// positions as integers, check states by name (anything else unchecks), radio buttons from
// "0", "-1" (or another non-zero integer), "True" or "False". Used for file lines and for the
// command line's overrides.
ApplyOutcome applyParameterText(Configuration& configuration, std::string_view name, std::string_view value);

// Reads configuration text incrementally, so a file of any size is read in bounded memory.
// Lines end at CR, at LF or at the end of the text; a later line for a name wins; unknown names
// and empty lines are ignored. A value that does not convert leaves its parameter as it was and
// is reported (the first one in the file); every other line is still applied. work_power is
// applied after the whole file, once PowerOutput has set its maximum.
class KonfigReader {
public:
    KonfigReader(Configuration& configuration, std::string path);
    ~KonfigReader();
    KonfigReader(const KonfigReader&) = delete;
    KonfigReader& operator=(const KonfigReader&) = delete;

    // Feeds more text; false once the load has finished.
    bool feed(std::string_view text);
    // Applies the last line and the values kept for the end, and ends the load: the lathe-speed
    // default is set, constantLatheSpeed follows and powerOutputPending is set. BadValue names
    // the first line whose value did not convert.
    ConfigFileResult finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Applies configuration text as LoadKonfig applies a file's content.
ConfigFileResult applyKonfigText(Configuration& configuration, std::string_view text, const std::string& path = {});

// Applies a configuration file. A missing file is reported to the operator ("brakKonfiga" and the
// path) and created with the current values. Failures come back in the result; the
// caller shows messageFor(result).
ConfigFileResult LoadKonfig(Configuration& configuration, const std::string& path, char decimalSeparator,
                            const tInterfejs& language);

}  // namespace kerfline
