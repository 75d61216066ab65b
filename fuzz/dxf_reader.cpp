// libFuzzer target: any bytes as a DXF drawing, read to the end. The first byte chooses the
// display unit and the curve step, the rest is the file. Besides crashes and sanitizer reports it
// traps on figures and errors that break the importer's promises.
#include "designfiles/thpgl.h"
#include "fuzz_input.h"

#include <cstdint>
#include <string>

using kerfline::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    ++data;
    --size;
    const std::string& path = kerfline::fuzz::writeInput(data, size);

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
