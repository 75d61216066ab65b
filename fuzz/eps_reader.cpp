// libFuzzer target: any bytes as an EPS or Illustrator file, read to the end. Besides crashes
// and sanitizer reports it traps on figures and errors that break the importer's promises.
#include "designfiles/thpgl.h"
#include "fuzz_input.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = kerfline::fuzz::writeInput(data, size);

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
