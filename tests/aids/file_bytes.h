#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace kerfline::testing {

// The whole file as bytes; empty when it cannot be read.
inline std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace kerfline::testing
