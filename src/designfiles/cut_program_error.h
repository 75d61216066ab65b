#pragma once

#include <optional>
#include <string>

namespace kerfline {

class tInterfejs;

// Why a cut program could not be written: the file could not be created, written or flushed.
// The writer only describes the fault; the job shows it in the operator's language.
struct ProgramWriteError {
    std::string file;
    int systemCode = 0;  // errno of the failed call
    // A rotary axis would have turned beyond what its 32-bit step register holds: the program
    // is refused rather than sent with a wrapped or clipped rotation.
    bool rotaryOverflow = false;

    std::string message(const tInterfejs& language) const;
};

// Empty when the whole program reached the file; otherwise the first fault, after which the
// writer wrote nothing more. A job transmits nothing from a program that failed.
struct ProgramWriteResult {
    std::optional<ProgramWriteError> error;

    explicit operator bool() const { return !error.has_value(); }
};

}  // namespace kerfline
