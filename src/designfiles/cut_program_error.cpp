#include "designfiles/cut_program_error.h"

#include "base/language.h"

#include <cstring>

namespace kerfline {

std::string ProgramWriteError::message(const tInterfejs& language) const
{
    if (rotaryOverflow)
        return formatText(language.Text("Main_window", "obrotPozaZakresem"), {file});
    return formatText(language.Text("Main_window", "bladZapisuProgramu"), {file, std::strerror(systemCode)});
}

}  // namespace kerfline
