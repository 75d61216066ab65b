#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kerfline {

class tInterfejs;

// Why reading a design stopped part-way. The reader only describes the fault; whoever shows it
// turns it into the operator's language with message().
struct DesignError {
    enum class Kind {
        NotInteger,  // a number where a whole number is required
        NotNumber,   // a number token that is no number at all ("+-..", ".")
        ReadFailed,  // the system could not read the file on
        OutOfRange,  // a number beyond the plotter-unit range, infinite or undefined; without a
                     // token, a point the drawing computes lies there
        TooManyPoints,  // a curve would need more points than a design may have
        TooFewKnots,    // a spline with fewer knots than control points + degree + 1
        BadCurve,       // a curve whose values describe nothing that can be drawn
        TooComplex,     // a path whose simplification would take unbounded time
    };

    Kind kind = Kind::NotInteger;
    std::string file;
    std::uint64_t offset = 0;  // byte offset in the file, counted from 0
    std::uint64_t line = 0;    // line of a DXF or EPS file, counted from 1; 0 names the offset
    std::string token;         // the offending token as it stands (shortened when very long)
    int systemCode = 0;        // ReadFailed: the system's error code

    std::string message(const tInterfejs& language) const;
};

// The outcome of reading one figure: empty when it was read (the figure's `valid` tells whether
// it holds anything), otherwise the fault that ended the load.
struct ReadResult {
    std::optional<DesignError> error;

    explicit operator bool() const { return !error.has_value(); }
};

}  // namespace kerfline
