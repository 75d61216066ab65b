#pragma once

#include "aids/barcode_sheet.h"

#include <string>

namespace kerfline::ui {

// Prints the A4 summary of a barcode project to a PDF file through QPrinter; false when the
// file could not be written.
bool printBarcodeSheet(const BarcodeSheet& sheet, const std::string& pdfPath);

}  // namespace kerfline::ui
