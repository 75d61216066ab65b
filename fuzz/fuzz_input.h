#pragma once

// What every reader's fuzz target shares: the input goes through one temporary file of the
// process (the readers read files), and a broken promise traps like a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace kerfline::fuzz {

inline const std::string& inputPath()
{
    static const std::string path = [] {
        const char* directory = std::getenv("TMPDIR");
        std::string pattern = std::string(directory != nullptr ? directory : "/tmp") + "/kerfline-fuzz-XXXXXX";
        const int descriptor = ::mkstemp(pattern.data());
        if (descriptor < 0)
            std::abort();
        ::close(descriptor);
        std::atexit([] { std::remove(inputPath().c_str()); });
        return pattern;
    }();
    return path;
}

// Writes the input to the temporary file and returns its path.
inline const std::string& writeInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

inline void check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

}  // namespace kerfline::fuzz
