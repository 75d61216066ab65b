// Reading speed and memory of the DXF importer, flattening included, on a generated drawing of
// about 100 MB; and, on the same file, dxflib's parser with a do-nothing receiver, for the ratio.
//
// Peak memory is set against the size of the figures the importer returned: the figure records
// plus their points.
#include "designfiles/design_type.h"
#include "support/design_read.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

// A drawing as CAD programs write them (R2000 entities, CR LF, codes right-aligned, six
// decimals): lightweight polylines of 10 to 200 vertices, a third of them with bulges, arcs,
// circles and cubic splines of 6 to 12 control points, in several colours.
class GeneratedDrawing {
public:
    GeneratedDrawing()
    {
        std::mt19937 random(20240612);
        std::uniform_real_distribution<double> place(0.0, 2000.0);
        std::uniform_real_distribution<double> step(-15.0, 15.0);
        std::uniform_real_distribution<double> bulge(-1.0, 1.0);
        std::uniform_real_distribution<double> radius(2.0, 120.0);
        std::uniform_real_distribution<double> angle(0.0, 360.0);
        std::uniform_int_distribution<int> vertices(10, 200);
        std::uniform_int_distribution<int> controls(6, 12);
        std::uniform_int_distribution<int> kind(0, 9);
        std::uniform_int_distribution<int> colour(0, 7);

        std::string chunk;
        const auto group = [&](const char* code, const std::string& value) {
            chunk += code;
            chunk += "\r\n";
            chunk += value;
            chunk += "\r\n";
        };
        const auto number = [](double v) {
            char text[32];
            std::snprintf(text, sizeof text, "%.6f", v);
            return std::string(text);
        };
        const auto header = [&](const char* name, int handle) {
            group("  0", name);
            group("  5", std::to_string(handle));
            group("100", "AcDbEntity");
            group("  8", "0");
            if (const int c = colour(random); c <= 3)
                group(" 62", std::to_string(c));
        };
        group("  0", "SECTION");
        group("  2", "ENTITIES");
        constexpr std::size_t kTarget = 100u * 1000u * 1000u;
        for (int handle = 100; m_file.bytes() + chunk.size() < kTarget; ++handle) {
            const int k = kind(random);
            if (k < 6) {
                header("LWPOLYLINE", handle);
                group("100", "AcDbPolyline");
                const int n = vertices(random);
                const bool bulges = k < 2;
                group(" 90", std::to_string(n));
                group(" 70", k % 2 == 0 ? "1" : "0");
                group(" 43", "0.0");
                double x = place(random);
                double y = place(random);
                for (int i = 0; i < n; ++i) {
                    x += step(random);
                    y += step(random);
                    group(" 10", number(x));
                    group(" 20", number(y));
                    if (bulges && i % 2 == 0)
                        group(" 42", number(bulge(random)));
                }
            } else if (k < 8) {
                header(k == 6 ? "ARC" : "CIRCLE", handle);
                group("100", "AcDbCircle");
                group(" 10", number(place(random)));
                group(" 20", number(place(random)));
                group(" 30", "0.0");
                group(" 40", number(radius(random)));
                if (k == 6) {
                    group("100", "AcDbArc");
                    group(" 50", number(angle(random)));
                    group(" 51", number(angle(random)));
                }
            } else {
                header("SPLINE", handle);
                group("100", "AcDbSpline");
                const int n = controls(random);
                group(" 70", "8");
                group(" 71", "3");
                group(" 72", std::to_string(n + 4));
                group(" 73", std::to_string(n));
                group(" 74", "0");
                for (int i = 0; i < n + 4; ++i)
                    group(" 40", number(i < 4 ? 0.0 : i >= n ? 1.0 : static_cast<double>(i - 3) / (n - 3)));
                double x = place(random);
                double y = place(random);
                for (int i = 0; i < n; ++i) {
                    x += 3.0 * step(random);
                    y += 3.0 * step(random);
                    group(" 10", number(x));
                    group(" 20", number(y));
                    group(" 30", "0.0");
                }
            }
            m_file.flush(chunk);
        }
        group("  0", "ENDSEC");
        group("  0", "EOF");
        m_file.close(chunk);
    }
    const std::string& path() const { return m_file.path(); }
    std::size_t bytes() const { return m_file.bytes(); }

private:
    kerfline::bench::GeneratedFile m_file{"drawing.dxf"};
};

const GeneratedDrawing& drawing()
{
    static const GeneratedDrawing generated;
    return generated;
}

void DxfReadDrawing(benchmark::State& state)
{
    const GeneratedDrawing& file = drawing();
    kerfline::bench::readDesign(state, file.path(), file.bytes(), kerfline::kDesignDxf);
}

// Parses every entity and hands it to a receiver that keeps nothing: the parser's own speed.
class Receiver final : public DL_CreationAdapter {
public:
    void addArc(const DL_ArcData&) override { ++entities; }
    void addCircle(const DL_CircleData&) override { ++entities; }
    void addPolyline(const DL_PolylineData&) override { ++entities; }
    void addVertex(const DL_VertexData&) override { ++vertices; }
    void addSpline(const DL_SplineData&) override { ++entities; }
    void addControlPoint(const DL_ControlPointData&) override { ++vertices; }
    void addKnot(const DL_KnotData&) override {}

    std::size_t entities = 0;
    std::size_t vertices = 0;
};

void DxflibParseDrawing(benchmark::State& state)
{
    const GeneratedDrawing& file = drawing();
    std::size_t entities = 0;
    for (auto _ : state) {
        Receiver receiver;
        DL_Dxf dxf;
        if (!dxf.in(file.path(), &receiver)) {
            state.SkipWithError("dxflib cannot read the generated drawing");
            break;
        }
        entities = receiver.entities;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes()));
    state.counters["entities"] = static_cast<double>(entities);
}

BENCHMARK(DxfReadDrawing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(DxflibParseDrawing)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

// The ratio of the two speeds (of the medians, with repetitions) is printed after the
// benchmarks' own table.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    class RatioReporter final : public benchmark::ConsoleReporter {
    public:
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            for (const Run& run : runs) {
                // With repetitions, the median stands for them; other aggregates are no speeds.
                if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                    continue;
                const auto found = run.counters.find("bytes_per_second");
                if (found == run.counters.end())
                    continue;
                if (run.benchmark_name().rfind("DxfReadDrawing", 0) == 0)
                    ours = found->second;
                else if (run.benchmark_name().rfind("DxflibParseDrawing", 0) == 0)
                    theirs = found->second;
            }
        }
        double ours = 0.0;
        double theirs = 0.0;
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ours > 0.0 && reporter.theirs > 0.0)
        std::printf("DXF import %.1f MB/s with flattening; dxflib parse only %.1f MB/s; ratio %.2f\n",
                    reporter.ours / 1e6, reporter.theirs / 1e6, reporter.ours / reporter.theirs);
    benchmark::Shutdown();
    return 0;
}
