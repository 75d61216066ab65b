#pragma once

#include "config/numpad_entry.h"

#include <QDialog>
#include <QFont>

#include <string>

class QLabel;
class QPushButton;

namespace kerfline::ui {

// The on-screen keypad of the numeric fields, for touch screens. Its caption (and the line
// above the keys) shows the entry, which starts empty; OK hands the entry to the field. The
// physical keyboard works too: digits, either separator, "-", Backspace (CE), Delete (C),
// Enter (OK) and Escape.
class TNumPadForm : public QDialog {
    Q_OBJECT
public:
    TNumPadForm(char separator, bool bigNumPad, const KeypadTexts& texts, QWidget* parent = nullptr);

    const std::string& entry() const { return m_entry.text(); }
    // Puts the keypad at the field's top-left corner, moved to stay on that screen.
    void placeAt(const QPoint& fieldTopLeft);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPushButton* addKey(const QString& name, const QString& caption, int row, int column);
    void refresh();

    NumPadEntry m_entry;
    QLabel* m_display = nullptr;
    int m_button = 0;
    QFont m_keyFont;
};

}  // namespace kerfline::ui
