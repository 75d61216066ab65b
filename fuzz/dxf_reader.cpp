// libFuzzer target: any bytes as a DXF drawing, read to the end. The first byte chooses the
// display unit and the curve step, the rest is the file. Besides crashes and sanitizer reports it
// traps on figures and errors that break the importer's promises.
#include "designfiles/thpgl.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// The importer reads files, so every input goes through one temporary file of this process.
const std::string& inputPath()
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

void check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    ++data;
    --size;
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);

    kerfline::CurveSettings settings;
    static constexpr double kUnits[] = {1.0, 25.4, 304.8};
    settings.mmPerDrawingUnit = kUnits[choice % 3];
    settings.dxfCurveStep = (8 - static_cast<int>(choice / 3 % 8)) * 0.25;

    kerfline::Thpgl importer;
    importer.setCurveSettings(settings);
    check(importer.OpenDesign(path, kerfline::kDesignDxf) == 0);
    check(importer.endOfFile() == (size == 0));
    while (!importer.endOfFile()) {
        kerfline::tfigura figure;
        const kerfline::ReadResult result = importer.ReadFigure(figure);
        if (!result) {
            check(importer.endOfFile() && figure.valid == 0);
            check(result.error->line >= 1);
            break;
        }
        check((figure.valid != 0) == !figure.points.empty());
        check(figure.pen == 0 || figure.pen == 1 || figure.pen == 3 || figure.pen == 4 || figure.pen == 6);
        for (const kerfline::Point& p : figure.points)
            check(p.x >= figure.minX && p.x <= figure.maxX && p.y >= figure.minY && p.y <= figure.maxY);
    }
    check(importer.angleValue() == 0.0);
    importer.CloseDesign();
    return 0;
}
