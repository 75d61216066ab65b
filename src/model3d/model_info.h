#pragma once

#include "model3d/triangle_model.h"

#include <cstdint>
#include <string>

namespace kerfline {
class tInterfejs;
}

namespace kerfline::model3d {

// The file size as the model properties show it: bytes below 1024 ("512b"), then kilobytes up to
// 1048575 bytes, then megabytes, each rounded half to even ("2KB" for 1536 and for 2560 bytes).
std::string fileSizeText(std::uintmax_t bytes);

// A length in millimetres in the display unit: fixed notation with 1, 2 or 3 decimals for mm,
// inch and foot, followed by a space.
std::string modelLengthText(double millimetres, int displayUnit);

// What the model properties window shows.
struct ModelInfoTexts {
    std::string source;      // the file name without its directory
    std::string sourceHint;  // the full path
    std::string size;
    std::string width, length, height;  // X, Y, Z
    std::string minX, maxX, minY, maxY, minZ, maxZ;
    std::string unit;        // " [mm]"
};
ModelInfoTexts modelInfoTexts(const TModel& model, int displayUnit, const tInterfejs& language);

}  // namespace kerfline::model3d
