#pragma once

#include "base/language.h"

#include <string>

namespace kerfline {

// The entry of the on-screen keypad (TNumPadForm). It starts empty; its caption shows it; OK
// hands it to the field, which reads it as on leaving the field.
class NumPadEntry {
public:
    explicit NumPadEntry(char separator) : m_separator(separator) {}

    const std::string& text() const { return m_text; }
    char separator() const { return m_separator; }  // also the caption of the decimal button

    void digit(int d);          // buttons 0 … 9
    void decimalSeparator();
    void minus();               // in front, unless the entry already starts with one
    void clear();               // "C"
    void clearLast();           // "CE": the last character

private:
    char m_separator;
    std::string m_text;
};

// The texts of the keypad's keys that are words, not digits. A field gets them from the dialog
// that owns it, which knows the language.
struct KeypadTexts {
    std::string ok = "OK";
};
inline constexpr TextKey kKeypadOkText = TextKey{"Configuration", "NumPad.OK"};
KeypadTexts keypadTexts(const tInterfejs& language);

// The keypad opens at the field's top-left corner and is moved to stay on the screen: to the
// left of that point when it would leave the right edge, above it when it would leave the
// bottom.
struct KeypadPlacement {
    int x;
    int y;
};
KeypadPlacement placeKeypad(int fieldLeft, int fieldTop, int width, int height, int screenRight, int screenBottom);

// The same on a screen that need not start at 0 (a second monitor); after the move the keypad
// is also kept off the screen's left and top edges, so its buttons can always be reached.
struct ScreenRect {
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
};
KeypadPlacement placeKeypad(int fieldLeft, int fieldTop, int width, int height, const ScreenRect& screen);

// The small keypad of the fields without BigNumPad.
inline constexpr int kSmallNumPadWidth = 194;
inline constexpr int kSmallNumPadHeight = 220;
inline constexpr int kSmallNumPadButton = 38;

// The large keypad (BigNumPad).
inline constexpr int kBigNumPadWidth = 298;
inline constexpr int kBigNumPadHeight = 318;
inline constexpr int kBigNumPadButton = 57;

}  // namespace kerfline
