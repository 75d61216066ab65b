#pragma once

// What the design reader benchmarks share: a count of the heap in use (the global allocation
// functions are replaced in design_read.cpp), a directory for the generated input, and the timed
// read of a whole design with its speed and memory counters.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <string>

namespace kerfline::bench {

// A temporary directory of this process for a generated input, removed with the object.
class BenchDirectory {
public:
    BenchDirectory();
    ~BenchDirectory();
    BenchDirectory(const BenchDirectory&) = delete;
    BenchDirectory& operator=(const BenchDirectory&) = delete;

    std::string file(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Reads the design figure by figure as the loader does, once per iteration, and reports the
// bytes per second, the figures and points read, and the peak heap of the read set against the
// size of the figures it returned (records plus points).
void readDesign(benchmark::State& state, const std::string& path, std::size_t bytes, int designType);

}  // namespace kerfline::bench
