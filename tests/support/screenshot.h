#pragma once

// Widget tests save what they show when KERFLINE_SCREENSHOT_DIR is set (scripts/screenshots
// sets it), so a person can look at every window without clicking through the program.

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <cstdlib>

namespace kerfline::testing {

inline void saveScreenshot(QWidget& widget, const char* name)
{
    const char* dir = std::getenv("KERFLINE_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0')
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    widget.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name) + ".png"));
}

}  // namespace kerfline::testing
