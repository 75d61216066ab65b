// Where the program's windows open and how much of their captions they show: dialogs centred on
// the main window, message boxes wide enough for their caption.
#include "base/ui/dialog_placement.h"
#include "base/ui/qt_host.h"
#include "support/screenshot.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace kerfline::ui {
namespace {

TEST(DialogPlacement, CentredPositionStaysOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const struct {
        QRect over;
        QSize frame;
        QPoint corner;
    } cases[] = {
        {QRect(0, 0, 1280, 1024), QSize(400, 300), QPoint(440, 362)},
        {QRect(100, 50, 600, 400), QSize(200, 100), QPoint(300, 200)},
        {QRect(-300, -200, 400, 300), QSize(300, 200), QPoint(0, 0)},      // the main window half off the screen
        {QRect(1100, 900, 400, 300), QSize(300, 200), QPoint(980, 824)},   // pushed back from the far edges
        {QRect(0, 0, 1280, 1024), QSize(1500, 1100), QPoint(0, 0)},        // larger than the screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(centredPosition(c.over, c.frame, screen), c.corner) << c.over.x() << "," << c.over.y();
}

// Each showing centres the dialog on the main window where it is now; a dialog with a place of
// its own keeps it.
TEST(DialogPlacement, DialogsOpenCentredOnTheMainWindowEachTime)
{
    QWidget main;
    main.setWindowTitle(QStringLiteral("main"));
    main.resize(700, 500);
    main.move(60, 40);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    centreDialogsOn(main);

    QDialog dialog(&main);
    dialog.setFixedSize(240, 120);
    QDialog keypad(&main);
    keypad.setFixedSize(100, 100);
    placesItself(keypad);
    const auto centreOf = [](const QWidget& w) { return w.frameGeometry().center(); };
    for (const QPoint at : {QPoint(60, 40), QPoint(300, 200)}) {
        SCOPED_TRACE(at.x());
        main.move(at);
        QTest::qWait(50);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::qWait(50);
        const QPoint offset = centreOf(dialog) - centreOf(main);
        // The window manager's frame may shift a dialog by its border.
        EXPECT_LE(offset.manhattanLength(), 40) << offset.x() << "," << offset.y();
        dialog.hide();
    }
    keypad.move(5, 5);
    keypad.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&keypad));
    EXPECT_LE((keypad.pos() - QPoint(5, 5)).manhattanLength(), 40);
}

// The point listing is short; its caption, the selected figure's name, must still show whole.
TEST(MessageBoxes, AreWideEnoughForTheirCaption)
{
    QtHost host;
    const std::string caption = "Selected figure no. 12 — a caption longer than its text";
    int width = 0;
    int wanted = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
        QFont bold = box->font();
        bold.setBold(true);
        wanted = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        width = box->width();
        kerfline::testing::saveScreenshot(*box, "message_box_caption");
        box->accept();
    });
    host.showMessage("[mm]\n\np0:(0.00 ; 0.00)", false, caption);
    EXPECT_GT(wanted, 0);
    EXPECT_GE(width, wanted + 100);
}

// Shows a main window at `at` of `size`, centres dialogs on it, and gives the frame centre of the
// modal message box that `open` shows (once it is exposed and settled), pressing `answer` on it.
QPoint centreOfMessageBox(QWidget& main, const std::function<void(QtHost&)>& open, QMessageBox::StandardButton answer)
{
    main.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    centreDialogsOn(main);
    QtHost host;
    host.setWindow(&main);
    QPoint centre(10000, 10000);
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
        QTest::qWait(50);
        centre = box->frameGeometry().center();
        box->button(answer)->click();
    });
    open(host);
    return centre;
}

// A message box takes its size only as it is shown; it still opens centred on the main window.
TEST(MessageBoxes, AMessageIsCentredOnTheMainWindow)
{
    QWidget main;
    main.resize(900, 700);
    main.move(0, 0);
    const QPoint centre = centreOfMessageBox(
        main,
        [](QtHost& host) {
            host.showMessage("The wire broke during the job. The machine paused the job and switched the heating "
                             "off. Mend the wire, then choose Continue to resume the job from where it stopped.",
                             true, "Error");
        },
        QMessageBox::Ok);
    const QPoint offset = centre - main.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 60) << offset.x() << "," << offset.y();
}

// A question stands in the middle of the screen, wherever the main window is.
TEST(MessageBoxes, AQuestionIsCentredOnTheScreen)
{
    QWidget main;
    main.resize(300, 200);
    main.move(10, 10);
    int answer = -1;
    const QPoint centre = centreOfMessageBox(
        main, [&](QtHost& host) { answer = host.ask("Close all project windows?", Buttons::YesNo, "Question"); },
        QMessageBox::No);
    EXPECT_EQ(answer, AnswerNo);
    const QPoint offset = centre - main.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 60) << offset.x() << "," << offset.y();
}

}  // namespace
}  // namespace kerfline::ui
