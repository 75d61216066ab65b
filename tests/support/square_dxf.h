#pragma once

// A closed square of 20 mm drawn as four DXF lines: the numbered design of a serial folder.

namespace kerfline::testing {

inline constexpr const char* kSquareDxf =
    "0\nSECTION\n2\nENTITIES\n"
    "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n20\n21\n0\n"
    "0\nLINE\n8\n0\n10\n20\n20\n0\n11\n20\n21\n20\n"
    "0\nLINE\n8\n0\n10\n20\n20\n20\n11\n0\n21\n20\n"
    "0\nLINE\n8\n0\n10\n0\n20\n20\n11\n0\n21\n0\n"
    "0\nENDSEC\n0\nEOF\n";

}  // namespace kerfline::testing
