#include "aids/ui/scanner_hook.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace kerfline::ui {

ScannerHook::ScannerHook(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

ScannerHook::~ScannerHook()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

ScannerKeyEvent ScannerHook::scannerKey(const QKeyEvent& event)
{
    ScannerKeyEvent key;
    const int code = event.key();
    if (code == Qt::Key_Insert || (code >= Qt::Key_F1 && code <= Qt::Key_F12)) {
        key.kind = ScannerKeyEvent::Kind::Ignored;
        return key;
    }
    key.altHeld = event.modifiers().testFlag(Qt::AltModifier);
    // The number pad's digits carry the keypad modifier: they are no scanner's.
    if (code >= Qt::Key_0 && code <= Qt::Key_9 && !event.modifiers().testFlag(Qt::KeypadModifier)) {
        key.kind = ScannerKeyEvent::Kind::Digit;
        key.digit = static_cast<char>('0' + (code - Qt::Key_0));
    }
    return key;
}

bool ScannerHook::eventFilter(QObject* watched, QEvent* event)
{
    // A key press reaches its window first and then each widget that passes it on; the window
    // sees it once.
    if (event->type() != QEvent::KeyPress || !watched->isWindowType())
        return false;
    if (suspended && suspended())
        return false;
    if (const auto number = m_scanner.ScannerKey(scannerKey(*static_cast<QKeyEvent*>(event))); number && numberScanned)
        numberScanned(*number);
    return false;
}

}  // namespace kerfline::ui
