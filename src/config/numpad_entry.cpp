#include "config/numpad_entry.h"

namespace kerfline {

void NumPadEntry::digit(int d)
{
    if (d >= 0 && d <= 9)
        m_text += static_cast<char>('0' + d);
}

void NumPadEntry::decimalSeparator()
{
    m_text += m_separator;
}

void NumPadEntry::minus()
{
    if (m_text.empty() || m_text.front() != '-')
        m_text.insert(m_text.begin(), '-');
}

void NumPadEntry::clear()
{
    m_text.clear();
}

void NumPadEntry::clearLast()
{
    if (!m_text.empty())
        m_text.pop_back();
}

KeypadTexts keypadTexts(const tInterfejs& language)
{
    return KeypadTexts{language.Text(kKeypadOkText)};
}

KeypadPlacement placeKeypad(int fieldLeft, int fieldTop, int width, int height, int screenRight, int screenBottom)
{
    KeypadPlacement placement{fieldLeft, fieldTop};
    if (fieldLeft + width > screenRight)
        placement.x = fieldLeft - width;
    if (fieldTop + height > screenBottom)
        placement.y = fieldTop - height;
    return placement;
}

KeypadPlacement placeKeypad(int fieldLeft, int fieldTop, int width, int height, const ScreenRect& screen)
{
    KeypadPlacement placement = placeKeypad(fieldLeft, fieldTop, width, height, screen.right, screen.bottom);
    if (placement.x < screen.left)
        placement.x = screen.left;
    if (placement.y < screen.top)
        placement.y = screen.top;
    return placement;
}

}  // namespace kerfline
