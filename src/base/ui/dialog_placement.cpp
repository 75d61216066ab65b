#include "base/ui/dialog_placement.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace kerfline::ui {
namespace {

constexpr const char* kPlacesItself = "kerflinePlacesItself";

class DialogCentring : public QObject {
public:
    explicit DialogCentring(QWidget& mainWindow) : QObject(&mainWindow), m_mainWindow(&mainWindow) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The Show event comes before the window is mapped: a move here is where it opens.
        if (event->type() == QEvent::Show && m_mainWindow && m_mainWindow->isVisible())
            if (auto* dialog = qobject_cast<QDialog*>(watched);
                dialog != nullptr && dialog->isWindow() && !dialog->property(kPlacesItself).toBool()) {
                const QSize used = centre(*dialog);
                // Some dialogs (a message box) take their final size only in their own Show
                // handling, after this one: centre them again on that size.
                QTimer::singleShot(0, dialog, [this, dialog = QPointer<QDialog>(dialog), used] {
                    if (dialog && dialog->isVisible() && dialog->frameGeometry().size() != used)
                        centre(*dialog);
                });
            }
        return QObject::eventFilter(watched, event);
    }

private:
    // Returns the size the dialog was centred for.
    QSize centre(QDialog& dialog) const
    {
        const QScreen* screen = m_mainWindow->screen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
        // Before the first showing the frame is not known; the window manager adds little.
        const QSize frame = dialog.frameGeometry().size().expandedTo(dialog.size()).expandedTo(dialog.sizeHint());
        dialog.move(centredPosition(m_mainWindow->frameGeometry(), frame, area));
        return frame;
    }

    QPointer<QWidget> m_mainWindow;
};

}  // namespace

QPoint centredPosition(const QRect& over, const QSize& frame, const QRect& screen)
{
    QPoint corner(over.center().x() - frame.width() / 2 + 1, over.center().y() - frame.height() / 2 + 1);
    if (!screen.isEmpty()) {
        corner.setX(std::max(screen.left(), std::min(corner.x(), screen.right() + 1 - frame.width())));
        corner.setY(std::max(screen.top(), std::min(corner.y(), screen.bottom() + 1 - frame.height())));
    }
    return corner;
}

void centreDialogsOn(QWidget& mainWindow)
{
    qApp->installEventFilter(new DialogCentring(mainWindow));
}

void placesItself(QWidget& dialog)
{
    dialog.setProperty(kPlacesItself, true);
}

}  // namespace kerfline::ui
