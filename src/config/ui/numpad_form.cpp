#include "config/ui/numpad_form.h"

#include "base/ui/dialog_placement.h"
#include "base/ui/text.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kerfline::ui {
namespace {

struct KeypadSize {
    int width;
    int height;
    int button;
};

KeypadSize keypadSize(bool big)
{
    return big ? KeypadSize{kBigNumPadWidth, kBigNumPadHeight, kBigNumPadButton}
               : KeypadSize{kSmallNumPadWidth, kSmallNumPadHeight, kSmallNumPadButton};
}

}  // namespace

TNumPadForm::TNumPadForm(char separator, bool bigNumPad, const KeypadTexts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_entry(separator)
{
    setObjectName(QStringLiteral("NumPadForm"));
    placesItself(*this);
    const KeypadSize size = keypadSize(bigNumPad);
    setFixedSize(size.width, size.height);

    // Four columns and four rows of keys under the entry line; what the size leaves goes into
    // the margins.
    const int gap = bigNumPad ? 8 : 6;
    const int displayHeight = bigNumPad ? 36 : 28;
    const int sideMargin = (size.width - 4 * size.button - 3 * gap) / 2;
    const int topMargin = (size.height - 4 * size.button - 4 * gap - displayHeight) / 2;
    m_button = size.button;
    m_keyFont = font();
    if (bigNumPad)
        m_keyFont.setPointSizeF(m_keyFont.pointSizeF() * 1.5);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(sideMargin, topMargin, sideMargin, topMargin);
    grid->setHorizontalSpacing(gap);
    grid->setVerticalSpacing(gap);

    m_display = new QLabel(this);
    m_display->setObjectName(QStringLiteral("entry"));
    m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_display->setFrameShape(QFrame::StyledPanel);
    m_display->setFixedHeight(displayHeight);
    m_display->setAutoFillBackground(true);
    m_display->setBackgroundRole(QPalette::Base);
    QFont displayFont = m_display->font();
    displayFont.setPointSizeF(displayFont.pointSizeF() * (bigNumPad ? 1.6 : 1.2));
    m_display->setFont(displayFont);
    m_display->setLayoutDirection(Qt::LeftToRight);
    grid->addWidget(m_display, 0, 0, 1, 4);

    const int rows[10] = {4, 3, 3, 3, 2, 2, 2, 1, 1, 1};
    const int columns[10] = {0, 0, 1, 2, 0, 1, 2, 0, 1, 2};
    for (int d = 0; d <= 9; ++d) {
        QPushButton* key = addKey(QStringLiteral("btn%1").arg(d), QString::number(d), rows[d], columns[d]);
        connect(key, &QPushButton::clicked, this, [this, d] {
            m_entry.digit(d);
            refresh();
        });
    }
    connect(addKey(QStringLiteral("btnSeparator"), QString(QChar(separator)), 4, 1), &QPushButton::clicked, this,
            [this] {
                m_entry.decimalSeparator();
                refresh();
            });
    connect(addKey(QStringLiteral("btnMinus"), QStringLiteral("-"), 4, 2), &QPushButton::clicked, this, [this] {
        m_entry.minus();
        refresh();
    });
    connect(addKey(QStringLiteral("btnC"), QStringLiteral("C"), 1, 3), &QPushButton::clicked, this, [this] {
        m_entry.clear();
        refresh();
    });
    connect(addKey(QStringLiteral("btnCE"), QStringLiteral("CE"), 2, 3), &QPushButton::clicked, this, [this] {
        m_entry.clearLast();
        refresh();
    });
    QPushButton* ok = new QPushButton(qs(texts.ok), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setFocusPolicy(Qt::NoFocus);
    ok->setFixedSize(size.button, 2 * size.button + gap);
    ok->setFont(m_keyFont);
    grid->addWidget(ok, 3, 3, 2, 1);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Digits read left to right whatever the language's direction.
    setLayoutDirection(Qt::LeftToRight);
    refresh();
}

QPushButton* TNumPadForm::addKey(const QString& name, const QString& caption, int row, int column)
{
    auto* key = new QPushButton(caption, this);
    key->setObjectName(name);
    // The keyboard stays with the form, so Enter means OK and not the last key pressed.
    key->setFocusPolicy(Qt::NoFocus);
    key->setFixedSize(m_button, m_button);
    key->setFont(m_keyFont);
    static_cast<QGridLayout*>(layout())->addWidget(key, row, column);
    return key;
}

void TNumPadForm::refresh()
{
    setWindowTitle(qs(m_entry.text()));
    m_display->setText(qs(m_entry.text()));
}

void TNumPadForm::placeAt(const QPoint& fieldTopLeft)
{
    const QScreen* screen = QGuiApplication::screenAt(fieldTopLeft);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    QRect area(0, 0, 1 << 20, 1 << 20);
    if (screen != nullptr)
        area = screen->availableGeometry();
    // The frame of the window counts as part of the keypad when it has to stay on the screen.
    const QSize outer = frameGeometry().size().expandedTo(size());
    const KeypadPlacement placement =
        placeKeypad(fieldTopLeft.x(), fieldTopLeft.y(), outer.width(), outer.height(),
                    ScreenRect{area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    move(placement.x, placement.y);
}

void TNumPadForm::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        m_entry.digit(key - Qt::Key_0);
    } else if (key == Qt::Key_Period || key == Qt::Key_Comma) {
        m_entry.decimalSeparator();
    } else if (key == Qt::Key_Minus) {
        m_entry.minus();
    } else if (key == Qt::Key_Backspace) {
        m_entry.clearLast();
    } else if (key == Qt::Key_Delete || key == Qt::Key_C) {
        m_entry.clear();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return;
    } else {
        QDialog::keyPressEvent(event);
        return;
    }
    refresh();
}

}  // namespace kerfline::ui
