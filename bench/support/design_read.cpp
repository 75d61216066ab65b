#include "support/design_read.h"

#include "designfiles/thpgl.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <malloc.h>
#include <new>
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

namespace kerfline::bench {

GeneratedFile::GeneratedFile(const char* name)
    : m_directory(std::filesystem::temp_directory_path() / ("kerfline-bench-" + std::to_string(::getpid())))
{
    std::filesystem::create_directories(m_directory);
    m_path = (m_directory / name).string();
    m_out.open(m_path, std::ios::binary);
}

GeneratedFile::~GeneratedFile()
{
    m_out.close();
    std::error_code ec;
    std::filesystem::remove_all(m_directory, ec);
}

void GeneratedFile::flush(std::string& chunk)
{
    if (chunk.size() > (1u << 20))
        write(chunk);
}

void GeneratedFile::close(std::string& chunk)
{
    write(chunk);
    m_out.close();
}

void GeneratedFile::write(std::string& chunk)
{
    m_out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    m_bytes += chunk.size();
    chunk.clear();
}

void readDesign(benchmark::State& state, const std::string& path, std::size_t bytes, int designType)
{
    std::size_t figureBytes = 0;
    std::size_t points = 0;
    std::size_t figureCount = 0;
    std::size_t peakDuringRead = 0;
    for (auto _ : state) {
        const std::size_t before = g_heapInUse.load();
        g_heapPeak = before;
        // The loader keeps its figures in a list; a deque never moves the ones it holds.
        std::deque<tfigura> figures;
        Thpgl importer;
        if (importer.OpenDesign(path, designType) != 0) {
            state.SkipWithError("cannot open the generated design");
            break;
        }
        while (!importer.endOfFile()) {
            tfigura figure;
            if (!importer.ReadFigure(figure)) {
                state.SkipWithError("the generated design did not read");
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
            figureBytes += sizeof(tfigura) + figure.points.size() * sizeof(Point);
            points += figure.points.size();
        }
        figureCount = figures.size();
        benchmark::DoNotOptimize(figures);
        state.PauseTiming();
        figures.clear();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["figures"] = static_cast<double>(figureCount);
    state.counters["points"] = static_cast<double>(points);
    state.counters["figures_MB"] = static_cast<double>(figureBytes) / 1e6;
    state.counters["peak_heap_MB"] = static_cast<double>(peakDuringRead) / 1e6;
    state.counters["peak_per_figures"] =
        figureBytes != 0 ? static_cast<double>(peakDuringRead) / static_cast<double>(figureBytes) : 0.0;
    state.counters["max_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1e3;
}

}  // namespace kerfline::bench
