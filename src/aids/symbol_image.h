#pragma once

#include "aids/ean13.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kerfline {

// A grey picture, one byte a pixel, 0 black and 255 white, rows from the top.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// The symbol on a white ground at `pixelsPerModule`, each rectangle filled where it covers a
// pixel's centre, as a painter without smoothing fills it.
GreyImage rasteriseSymbol(const Ean13Symbol& symbol, int pixelsPerModule);

// The picture as a PNG file (8-bit greyscale, stored without compression: a barcode picture is
// small and the file needs no library).
std::string pngBytes(const GreyImage& image);

}  // namespace kerfline
