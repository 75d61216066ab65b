#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

// EAN-13 numbers of the barcode projects: "590", a serial number of nine digits, a check digit.

inline constexpr const char* kBarcodePrefix = "590";
inline constexpr std::int64_t kLargestBarcodeSerial = 999'999'999;

// The check digit of twelve digits (weights 1 and 3 from the first); nothing for other text.
std::optional<int> ean13CheckDigit(std::string_view twelveDigits);
// Thirteen digits whose last is their check digit.
bool isValidEan13(std::string_view code);
// "590", the serial with leading zeros, the check digit; nothing for a serial out of 1..999999999.
std::optional<std::string> barcodeNumber(std::int64_t serial);

// The symbol as filled rectangles on a grid of modules (one module is the narrowest bar):
// the bars with the longer guard bars, and the human-readable digits drawn as segments, so
// every painter draws the same picture from the same list.
struct SymbolRect {
    double x, y, width, height;  // modules, y downwards
};
struct Ean13Symbol {
    double width = 0;   // modules, quiet zones included
    double height = 0;  // modules, digits included
    std::vector<SymbolRect> bars;
    std::vector<SymbolRect> digits;
};
// Nothing for a code that is not a valid EAN-13 number.
std::optional<Ean13Symbol> ean13Symbol(std::string_view code);

// The 95 modules of the symbol, true for a dark one.
std::vector<bool> ean13Modules(std::string_view validCode);

}  // namespace kerfline
