// libFuzzer target: any bytes as an EPS or Illustrator file, read to the end. Besides crashes
// and sanitizer reports it traps on figures and errors that break the importer's promises.
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
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        std::abort();
    if (size != 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);

    kerfline::Thpgl importer;
    const int opened = importer.OpenDesign(path, kerfline::kDesignEps);
    check(opened == 0 || opened == kerfline::kOpenWrongKind);
    check(opened == 0 || importer.endOfFile());
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
