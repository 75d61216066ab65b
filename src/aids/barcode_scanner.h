#pragma once

#include <optional>
#include <string>

namespace kerfline {

// A key-down as the barcode scanner's hook sees it.
struct ScannerKeyEvent {
    enum class Kind {
        Ignored,  // Insert and F1 ... F12 pass the hook untouched
        Digit,    // 0 ... 9 of the main keyboard
        Other,    // any other key, the number pad's digits included
    };
    Kind kind = Kind::Other;
    char digit = 0;        // Digit: '0' ... '9'
    bool altHeld = false;  // left or right Alt
};

// The scanner buffer: the digits typed since the last other key. A keyboard-emulating scanner
// types its thirteen digits; a person typing digits and a letter clears it.
class BarcodeScanner {
public:
    // Feeds one key-down; the thirteen digits when the buffer just became complete (it is then
    // empty again).
    std::optional<std::string> ScannerKey(const ScannerKeyEvent& key);
    const std::string& buffer() const { return m_buffer; }

private:
    std::string m_buffer;
};

}  // namespace kerfline
