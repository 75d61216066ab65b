// libFuzzer target: any bytes as a 3D DXF drawing, converted into a model with small caps on
// its faces and the pairs walked, so that inserts multiplying inserts stay quick. The first byte
// chooses the drawing unit and the pass angle. Besides crashes and sanitizer reports it traps on
// a model with an infinite corner and on refusals that name no line.
#include "model_promises.h"

#include "model3d/dxf3d_reader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    ++data;
    --size;
    const std::string& path = kerfline::fuzz::writeInput(data, size);

    static constexpr double kUnits[] = {1.0, 25.4, 304.8, 1e30};
    constexpr std::size_t kFaces = 20'000;
    kerfline::model3d::TDxf2RawConverter converter(path);
    converter.setUnitFactor(kUnits[choice % 4]);
    converter.setTriangleLimit(kFaces);
    converter.setWorkLimit(2'000'000);
    const kerfline::ReadResult read = converter.Convert();
    if (!read)
        kerfline::fuzz::check(read.error->line >= 1 && read.error->file == path);
    kerfline::fuzz::check(converter.triangles().size() <= kFaces);
    kerfline::fuzz::check(converter.truncated() || converter.triangles().size() < kFaces || !read);
    kerfline::fuzz::checkModel(converter.takeTriangles(), -static_cast<double>(choice / 4 % 45) * 4.0);
    return 0;
}
