#include "aids/barcode_scanner.h"

namespace kerfline {

std::optional<std::string> BarcodeScanner::ScannerKey(const ScannerKeyEvent& key)
{
    if (key.kind == ScannerKeyEvent::Kind::Ignored)
        return std::nullopt;
    if (key.kind != ScannerKeyEvent::Kind::Digit || key.altHeld || key.digit < '0' || key.digit > '9') {
        m_buffer.clear();
        return std::nullopt;
    }
    // Nothing else happens before the number is complete: whether it names a project is known
    // only then, and the open windows stay until it does.
    m_buffer += key.digit;
    if (m_buffer.size() < 13)
        return std::nullopt;
    std::string number;
    number.swap(m_buffer);
    return number;
}

}  // namespace kerfline
