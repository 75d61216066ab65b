// Reading speed and memory of the HPGL importer on a generated plot of about 50 MB.
//
// Peak memory is set against the size of the figures the importer returned: the figure records
// plus their points.
#include "designfiles/design_type.h"
#include "support/design_read.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

// A plot as CAD programs write them: many contours of 20 to 400 points with five- and six-digit
// coordinates, a pen change now and then, one instruction per line.
class GeneratedPlot {
public:
    GeneratedPlot()
    {
        std::mt19937 random(20240611);
        std::uniform_int_distribution<int> coordinate(0, 400000);
        std::uniform_int_distribution<int> step(-600, 600);
        std::uniform_int_distribution<int> length(20, 400);
        std::string chunk = "IN;PW0.35,1;SP1;\n";
        constexpr std::size_t kTarget = 50u * 1000u * 1000u;
        for (int figure = 0; m_file.bytes() + chunk.size() < kTarget; ++figure) {
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
            m_file.flush(chunk);
        }
        chunk += "PU;\n";
        m_file.close(chunk);
    }
    const std::string& path() const { return m_file.path(); }
    std::size_t bytes() const { return m_file.bytes(); }

private:
    kerfline::bench::GeneratedFile m_file{"plot.plt"};
};

const GeneratedPlot& plot()
{
    static const GeneratedPlot generated;
    return generated;
}

void HpglReadPlot(benchmark::State& state)
{
    const GeneratedPlot& file = plot();
    kerfline::bench::readDesign(state, file.path(), file.bytes(), kerfline::kDesignHpgl);
}

BENCHMARK(HpglReadPlot)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
