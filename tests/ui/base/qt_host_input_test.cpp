// What a blocking wait hears of the operator: every new key press once, shortcut keys included,
// and no command fires meanwhile.
#include "base/ui/qt_host.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace kerfline::ui {
namespace {

TEST(QtHostInput, AWaitTakesEveryNewKeyPressOnceAndKeepsShortcutsFromFiring)
{
    QtHost host;
    QWidget window;
    auto* stop = new QAction(&window);
    stop->setShortcut(Qt::Key_Space);
    window.addAction(stop);
    int stops = 0;
    QObject::connect(stop, &QAction::triggered, [&] { ++stops; });
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Pressed while the wait takes the queued input, as in a wait for the machine.
    const auto pressDuringWait = [&](Qt::Key key, bool autoRepeat) {
        QTimer::singleShot(0, &window, [&window, key, autoRepeat] {
            QTest::sendKeyEvent(QTest::Press, &window, key, QString(), Qt::NoModifier);
            if (autoRepeat)
                QTest::simulateEvent(&window, true, key, Qt::NoModifier, QString(), true);
        });
        std::vector<PendingInput> taken;
        for (PendingInput input = host.takePendingInput(); input != PendingInput::None; input = host.takePendingInput())
            taken.push_back(input);
        return taken;
    };
    EXPECT_EQ(pressDuringWait(Qt::Key_Space, false), std::vector<PendingInput>{PendingInput::KeyDown});
    EXPECT_EQ(stops, 0);
    EXPECT_EQ(pressDuringWait(Qt::Key_A, true), std::vector<PendingInput>{PendingInput::KeyDown});

    // Outside a wait the shortcut works as ever.
    QTest::keyClick(&window, Qt::Key_Space);
    EXPECT_EQ(stops, 1);
}

}  // namespace
}  // namespace kerfline::ui
