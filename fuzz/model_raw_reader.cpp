// libFuzzer target: any bytes as a RAW triangle file. The first byte chooses the drawing unit and
// the pass angle. Besides crashes and sanitizer reports it traps on a model with an infinite
// corner and on a line taken that is not nine numbers.
#include "model_promises.h"

#include "model3d/raw_reader.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static constexpr double kUnits[] = {1.0, 25.4, 304.8, 1e30};
    kerfline::model3d::TriangleList triangles;
    kerfline::model3d::ModelBounds bounds;
    kerfline::model3d::ReadRawText(text, kUnits[choice % 4], triangles, bounds);
    // Nine numbers need at least seventeen characters with their separators.
    kerfline::fuzz::check(triangles.size() <= text.size() / 17 + 1);
    kerfline::fuzz::check(bounds.empty() == triangles.empty());
    kerfline::fuzz::checkModel(std::move(triangles), -static_cast<double>(choice / 4 % 45) * 4.0);
    return 0;
}
