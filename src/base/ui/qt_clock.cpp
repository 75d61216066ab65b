#include "base/ui/qt_host.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace kerfline::ui {

std::int64_t QtClock::nowMs()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void QtClock::sleepMs(std::int64_t ms)
{
    const std::int64_t deadline = nowMs() + ms;
    for (std::int64_t now = nowMs(); now < deadline; now = nowMs()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(static_cast<unsigned long>(std::min<std::int64_t>(deadline - now, 5)));
    }
}

}  // namespace kerfline::ui
