#pragma once

// What the design reader benchmarks share: a count of the heap in use (the global allocation
// functions are replaced in design_read.cpp), the generated input file, and the timed
// read of a whole design with its speed and memory counters.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace kerfline::bench {

// A generated input in a temporary directory of this process, written in chunks and removed
// with the object.
class GeneratedFile {
public:
    explicit GeneratedFile(const char* name);
    ~GeneratedFile();
    GeneratedFile(const GeneratedFile&) = delete;
    GeneratedFile& operator=(const GeneratedFile&) = delete;

    // Writes the chunk out once it has grown past a megabyte, so the text never sits in memory whole.
    void flush(std::string& chunk);
    // Writes what is left and closes the file.
    void close(std::string& chunk);

    const std::string& path() const { return m_path; }
    // Bytes written so far.
    std::size_t bytes() const { return m_bytes; }

private:
    void write(std::string& chunk);

    std::filesystem::path m_directory;
    std::string m_path;
    std::ofstream m_out;
    std::size_t m_bytes = 0;
};

// Reads the design figure by figure as the loader does, once per iteration, and reports the
// bytes per second, the figures and points read, and the peak heap of the read set against the
// size of the figures it returned (records plus points).
void readDesign(benchmark::State& state, const std::string& path, std::size_t bytes, int designType);

}  // namespace kerfline::bench
