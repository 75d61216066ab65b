#pragma once

// Reads the barcodes of a picture with zbarimg (Debian's zbar-tools), a reader that knows
// nothing of how the program drew them.
#include <cstdio>
#include <string>

namespace kerfline::testing {

// "EAN-13:5900000123455\n" for each symbol found; empty when none is.
inline std::string decodedBarcodes(const std::string& picture)
{
    std::string quoted = "'";
    for (const char c : picture)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    std::string out;
    FILE* pipe = ::popen(("zbarimg -q " + quoted + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

}  // namespace kerfline::testing
