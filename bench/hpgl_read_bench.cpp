// Reading speed and memory of the HPGL importer on a generated plot of about 50 MB.
//
// Peak memory is taken from a count of the heap bytes in use (the global allocation functions
// are replaced below) and set against the size of the figures the importer returned: the
// figure records plus their points.
#include "designfiles/thpgl.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <new>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::atomic<std::size_t> g_heapInUse{0};
std::atomic<std::size_t> g_heapPeak{0};

void* allocate(std::size_t size)
{
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    const std::size_t now = g_heapInUse += malloc_usable_size(p);
    std::size_t peak = g_heapPeak.load();
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void release(void* p) noexcept
{
    if (p == nullptr)
        return;
    g_heapInUse -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace {

// A plot as CAD programs write them: many contours of 20 to 400 points with five- and six-digit
// coordinates, a pen change now and then, one instruction per line.
class GeneratedPlot {
public:
    GeneratedPlot()
    {
        m_directory = std::filesystem::temp_directory_path() /
                      ("kerfline-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_directory);
        m_path = (m_directory / "plot.plt").string();
        std::ofstream out(m_path, std::ios::binary);
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> coordinate(0, 400000);
        std::uniform_int_distribution<int> step(-600, 600);
        std::uniform_int_distribution<int> length(20, 400);
        std::string chunk = "IN;PW0.35,1;SP1;\n";
        constexpr std::size_t kTarget = 50u * 1000u * 1000u;
        for (int figure = 0; m_bytes + chunk.size() < kTarget; ++figure) {
            if (figure % 50 == 49)
                chunk += "SP" + std::to_string(1 + figure / 50 % 8) + ";\n";
            int x = coordinate(random);
            int y = coordinate(random);
            chunk += "PU" + std::to_string(x) + "," + std::to_string(y) + ";\nPD";
            const int points = length(random);
            for (int i = 0; i < points; ++i) {
                x += step(random);
                y += step(random);
                chunk += std::to_string(x) + "," + std::to_string(y) + (i + 1 < points ? "," : ";\n");
            }
            if (chunk.size() > (1u << 20)) {
                out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                m_bytes += chunk.size();
                chunk.clear();
            }
        }
        chunk += "PU;\n";
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        m_bytes += chunk.size();
    }
    ~GeneratedPlot()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_directory, ec);
    }

    const std::string& path() const { return m_path; }
    std::size_t bytes() const { return m_bytes; }

private:
    std::filesystem::path m_directory;
    std::string m_path;
    std::size_t m_bytes = 0;
};

const GeneratedPlot& plot()
{
    static const GeneratedPlot generated;
    return generated;
}

void HpglReadPlot(benchmark::State& state)
{
    const GeneratedPlot& file = plot();
    std::size_t figureBytes = 0;
    std::size_t points = 0;
    std::size_t figureCount = 0;
    std::size_t peakDuringRead = 0;
    for (auto _ : state) {
        const std::size_t before = g_heapInUse.load();
        g_heapPeak = before;
        // The loader keeps its figures in a list; a deque never moves the ones it holds.
        std::deque<kerfline::tfigura> figures;
        kerfline::Thpgl importer;
        if (importer.OpenDesign(file.path(), kerfline::kDesignHpgl) != 0) {
            state.SkipWithError("cannot open the generated plot");
            break;
        }
        while (!importer.endOfFile()) {
            kerfline::tfigura figure;
            if (!importer.ReadFigure(figure)) {
                state.SkipWithError("the generated plot did not read");
                break;
            }
            if (figure.valid)
                figures.push_back(std::move(figure));
        }
        importer.CloseDesign();
        peakDuringRead = g_heapPeak.load() - before;
        figureBytes = 0;
        points = 0;
        for (const auto& figure : figures) {
            figureBytes += sizeof(kerfline::tfigura) + figure.points.size() * sizeof(kerfline::Point);
            points += figure.points.size();
        }
        figureCount = figures.size();
        benchmark::DoNotOptimize(figures);
        state.PauseTiming();
        figures.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes()));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_MB"] = static_cast<double>(file.bytes()) / 1e6;
    state.counters["figures"] = static_cast<double>(figureCount);
    state.counters["points"] = static_cast<double>(points);
    state.counters["figures_MB"] = static_cast<double>(figureBytes) / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peakDuringRead) / 1e6;
    state.counters["peak_per_figures"] =
        figureBytes != 0 ? static_cast<double>(peakDuringRead) / static_cast<double>(figureBytes) : 0.0;
    state.counters["max_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}

BENCHMARK(HpglReadPlot)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
