// libFuzzer target: any bytes as an HPGL plot file, read to the end. Besides crashes and
// sanitizer reports it traps on figures that break the importer's promises.
#include "designfiles/thpgl.h"
#include "fuzz_input.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = kerfline::fuzz::writeInput(data, size);

    kerfline::Thpgl importer;
    check(importer.OpenDesign(path, kerfline::kDesignHpgl) == 0);
    check(importer.endOfFile() == (size == 0));
    while (!importer.endOfFile()) {
        kerfline::tfigura figure;
        const kerfline::ReadResult result = importer.ReadFigure(figure);
        if (!result) {
            check(importer.endOfFile() && figure.valid == 0);
            check(result.error->offset < size);
            break;
        }
        check((figure.valid != 0) == !figure.points.empty());
        for (const kerfline::Point& p : figure.points)
            check(p.x >= figure.minX && p.x <= figure.maxX && p.y >= figure.minY && p.y <= figure.maxY);
    }
    importer.CloseDesign();
    return 0;
}
