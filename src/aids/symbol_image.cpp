#include "aids/symbol_image.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kerfline {
namespace {

std::uint32_t crc32(const std::string& bytes, std::size_t from)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<std::uint8_t>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putBigEndian(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out += type;
    out += data;
    putBigEndian(out, crc32(out, start));
}

}  // namespace

GreyImage rasteriseSymbol(const Ean13Symbol& symbol, int pixelsPerModule)
{
    GreyImage image;
    const double scale = pixelsPerModule;
    image.width = static_cast<int>(std::ceil(symbol.width * scale));
    image.height = static_cast<int>(std::ceil(symbol.height * scale));
    image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height), 255);
    const auto fill = [&](const SymbolRect& r) {
        // Pixel p covers [p, p + 1); it is filled when its centre lies inside the rectangle.
        const int x0 = static_cast<int>(std::ceil(r.x * scale - 0.5));
        const int x1 = static_cast<int>(std::ceil((r.x + r.width) * scale - 0.5));
        const int y0 = static_cast<int>(std::ceil(r.y * scale - 0.5));
        const int y1 = static_cast<int>(std::ceil((r.y + r.height) * scale - 0.5));
        for (int y = std::max(0, y0); y < std::min(image.height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(image.width, x1); ++x)
                image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                             static_cast<std::size_t>(x)] = 0;
    };
    for (const SymbolRect& r : symbol.bars)
        fill(r);
    for (const SymbolRect& r : symbol.digits)
        fill(r);
    return image;
}

std::string pngBytes(const GreyImage& image)
{
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(image.width));
    putBigEndian(header, static_cast<std::uint32_t>(image.height));
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);

    // The rows, each after its filter byte 0, in stored deflate blocks of at most 65535 bytes.
    std::string raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (static_cast<std::size_t>(image.width) + 1));
    for (int y = 0; y < image.height; ++y) {
        raw += '\0';
        const auto* row = image.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        raw.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(image.width));
    }
    std::string zlib = "\x78\x01";
    std::size_t offset = 0;
    do {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - offset);
        const bool last = offset + size == raw.size();
        zlib += static_cast<char>(last ? 1 : 0);
        zlib += static_cast<char>(size & 0xFF);
        zlib += static_cast<char>(size >> 8);
        zlib += static_cast<char>(~size & 0xFF);
        zlib += static_cast<char>((~size >> 8) & 0xFF);
        zlib.append(raw, offset, size);
        offset += size;
    } while (offset < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(zlib, (b << 16) | a);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", "");
    return png;
}

}  // namespace kerfline
