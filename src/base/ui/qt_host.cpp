#include "base/ui/qt_host.h"

#include "base/ui/dialog_placement.h"
#include "base/ui/text.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QScreen>
#include <QSpacerItem>
#include <QMessageBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <utility>

namespace kerfline::ui {

void widenForCaption(QMessageBox& box)
{
    // A message box sizes itself to its text; a title bar cut short over a short text ("Selected
    // figure no. 1" over a list of points) would hide what the box is about. The title bar's
    // buttons and icon take about this much beside the caption.
    constexpr int kTitleBarExtras = 140;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

QtHost::QtHost()
{
    qApp->installEventFilter(this);
}

QtHost::~QtHost()
{
    if (qApp != nullptr)
        qApp->removeEventFilter(this);
}

void QtHost::showMessage(const std::string& text, bool isError, const std::string& caption)
{
    QMessageBox box(isError ? QMessageBox::Critical : QMessageBox::Information, qs(caption), qs(text),
                    QMessageBox::Ok, m_window);
    widenForCaption(box);
    box.exec();
}

int QtHost::ask(const std::string& text, Buttons buttons, const std::string& caption)
{
    QMessageBox::StandardButtons standard = QMessageBox::Ok | QMessageBox::Cancel;
    if (buttons == Buttons::YesNoCancel)
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    else if (buttons == Buttons::YesNo)
        standard = QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(QMessageBox::Question, caption.empty() ? qApp->applicationName() : qs(caption), qs(text),
                    standard, m_window);
    widenForCaption(box);
    // A question stands in the middle of the screen, whatever the main window covers.
    placesItself(box);
    box.adjustSize();
    if (const QScreen* screen = box.screen())
        box.move(centredPosition(screen->availableGeometry(), box.size(), screen->availableGeometry()));
    switch (box.exec()) {
    case QMessageBox::Ok: return AnswerOk;
    case QMessageBox::Yes: return AnswerYes;
    case QMessageBox::No: return AnswerNo;
    default: return AnswerCancel;
    }
}

void QtHost::setStatus(int panel, const std::string& text)
{
    if (m_statusSink)
        m_statusSink(panel, text);
}

void QtHost::beginBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtHost::endBusy()
{
    QApplication::restoreOverrideCursor();
}

PendingInput QtHost::takePendingInput()
{
    // Deliver what is queued with the filter recording, so presses are taken, not acted on. A
    // key's shortcut check and its press come in one delivery: none is left over from before.
    m_overriddenKey = 0;
    m_recording = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_recording = false;
    if (m_inputs.empty())
        return PendingInput::None;
    const PendingInput input = m_inputs.front();
    m_inputs.pop_front();
    return input;
}

void QtHost::keepPainting()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool QtHost::openUrl(const std::string& url)
{
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url)));
}

void QtHost::post(std::function<void()> callback)
{
    QMetaObject::invokeMethod(qApp, std::move(callback), Qt::QueuedConnection);
}

bool QtHost::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_recording)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
        // A key that is some command's shortcut (Space for Stop) reaches the wait only as the
        // shortcut check before its press: taken there, the shortcut is kept from firing and
        // the press that follows is the same key. A key held since before the wait repeats:
        // only a new press is the operator's.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool override = event->type() == QEvent::ShortcutOverride;
        const bool seen = !override && key->key() == std::exchange(m_overriddenKey, 0);
        if (override) {
            m_overriddenKey = key->key();
            event->accept();
        }
        if (!key->isAutoRepeat() && !seen)
            m_inputs.push_back(PendingInput::KeyDown);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_inputs.push_back(static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
                               ? PendingInput::LeftButtonDown
                               : PendingInput::Other);
        return true;
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
        return true;  // input during a wait belongs to the wait
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace kerfline::ui
