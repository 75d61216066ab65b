// The project window on screen: the samples drawn in their colours inside the margins, picking a
// figure with the mouse, and the animated simulation that a key press stops.
#include "config/configuration.h"
#include "project/cut_preview.h"
#include "project/simulation_replay.h"
#include "project/view_legend.h"
#include "machine/machine_state.h"
#include "project/tmdichild.h"
#include "project/ui/project_window.h"
#include "project/wire_trail.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"
#include "base/ui/qt_host.h"
#include "base/ui/text.h"
#include "support/screenshot.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QImage>
#include <QKeyEvent>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kerfline::ui {
namespace {

const QColor kBackground(212, 208, 200);

QColor colourOf(FigureColour colour)
{
    switch (colour) {
    case FigureColour::Black: return QColor(0, 0, 0);
    case FigureColour::Blue: return QColor(0, 0, 255);
    case FigureColour::Red: return QColor(255, 0, 0);
    case FigureColour::Green: return QColor(0, 128, 0);
    case FigureColour::Yellow: return QColor(255, 255, 0);
    case FigureColour::White: return QColor(255, 255, 255);
    }
    return {};
}

// Whether the colour appears within one pixel of p (a line's pixels may sit beside the exact
// rounded position).
bool colourNear(const QImage& image, PixelPoint p, QColor colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (image.pixelColor(p.x + dx, p.y + dy) == colour)
                return true;
    return false;
}

int countColour(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

// The middle of a figure's longest segment, where no connector sits.
Point middleOfLongestSegment(const tfigura& figure)
{
    std::size_t best = 1;
    double bestLength = -1.0;
    for (std::size_t i = 1; i < figure.points.size(); ++i) {
        const double dx = static_cast<double>(figure.points[i].x) - figure.points[i - 1].x;
        const double dy = static_cast<double>(figure.points[i].y) - figure.points[i - 1].y;
        if (dx * dx + dy * dy > bestLength) {
            bestLength = dx * dx + dy * dy;
            best = i;
        }
    }
    const Point a = figure.points[best - 1];
    const Point b = figure.points[best];
    return {static_cast<std::int32_t>((std::int64_t{a.x} + b.x) / 2), static_cast<std::int32_t>((std::int64_t{a.y} + b.y) / 2)};
}

// The first figure of the design itself (not a connector or an entry line); -1 for none.
std::int32_t firstDesignFigure(const TMDIChild& model)
{
    for (std::size_t f = 0; f < model.figures.size(); ++f)
        if (model.figures[f].isDesign != 0)
            return static_cast<std::int32_t>(f);
    return -1;
}

class ProjectWindowTest : public ::testing::Test {
protected:
    kerfline::testing::TempDir home;
    SimulatedClock clock;

    std::unique_ptr<AppContext> start(Host& host) { return start(host, clock); }

    std::unique_ptr<AppContext> start(Host& host, Clock& time)
    {
        auto context = kerfline::testing::startedContext(host, time, home, {"US"});
        EXPECT_NE(context, nullptr);
        return context;
    }

    static void open(ProjectWindow& window, const std::string& sample, int fileType)
    {
        window.model().fileType = fileType;
        ASSERT_EQ(window.model().Load(std::string(KERFLINE_SOURCE_DIR) + "samples/" + sample, 255),
                  LoadOutcome::Opened);
        window.resize(640, 480);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

TEST_F(ProjectWindowTest, EachSampleIsDrawnInItsColoursInsideTheMargins)
{
    struct Sample {
        const char* file;
        int fileType;
    };
    ScriptedHost host;
    auto context = start(host);
    for (const Sample sample : {Sample{"gear.plt", 1}, Sample{"letter_in_frame.dxf", 2}, Sample{"star.ai", 3}}) {
        SCOPED_TRACE(sample.file);
        ProjectWindow window(*context);
        open(window, sample.file, sample.fileType);
        const QImage image = window.grab().toImage();
        const TMDIChild& model = window.model();
        const ViewMapping mapping = window.viewMapping();
        ASSERT_TRUE(mapping.drawable);
        EXPECT_EQ(window.statusBar()->findChild<QLabel*>()->text().toStdString(), model.StatusBar);

        const std::vector<FigureColour> colours = figureColours(model);
        int designFigures = 0;
        for (std::size_t f = 0; f < model.figures.size(); ++f) {
            if (model.figures[f].isDesign == 0)
                continue;
            ++designFigures;
            EXPECT_EQ(colours[f], FigureColour::Black) << "a connected closed figure, figure " << f;
            const PixelPoint p = mapping.toWindow(middleOfLongestSegment(model.figures[f]));
            EXPECT_TRUE(colourNear(image, p, colourOf(colours[f]))) << "figure " << f << " at " << p.x << "," << p.y;
        }
        EXPECT_GE(designFigures, 1);

        // Seven pixels of margin on the left and below, background beyond them.
        const int baseline = window.height() - window.statusBar()->height() - 7;
        EXPECT_EQ(mapping.baseline, baseline);
        bool leftColumn = false;
        bool bottomRow = false;
        for (int y = 0; y <= baseline; ++y) {
            leftColumn = leftColumn || image.pixelColor(7, y) != kBackground;
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(image.pixelColor(x, y), kBackground) << x << "," << y;
        }
        for (int x = 7; x < window.width(); ++x) {
            bottomRow = bottomRow || image.pixelColor(x, baseline) != kBackground;
            for (int y = baseline + 1; y < baseline + 7; ++y)
                ASSERT_EQ(image.pixelColor(x, y), kBackground) << x << "," << y;
        }
        EXPECT_TRUE(leftColumn);
        EXPECT_TRUE(bottomRow);
        if (std::string(sample.file) == "gear.plt")
            kerfline::testing::saveScreenshot(window, "project_drawn");
    }
}

TEST_F(ProjectWindowTest, AClickSelectsAFigureWhichTurnsWhiteOnADarkEdgeAndStaysNamed)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "letter_in_frame.dxf", 2);
    TMDIChild& model = window.model();
    const auto* status = window.statusBar()->findChild<QLabel*>();

    // The letter is the last design figure, drawn above the frame in the list order.
    std::int32_t target = -1;
    for (std::size_t f = 0; f < model.figures.size(); ++f)
        if (model.figures[f].isDesign != 0 && model.figures[f].nestLevel > 1)
            target = static_cast<std::int32_t>(f);
    ASSERT_GE(target, 0);
    const PixelPoint p = window.viewMapping().toWindow(middleOfLongestSegment(model.figures[static_cast<std::size_t>(target)]));

    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(p.x, p.y));
    EXPECT_EQ(model.selectedFigure, target);
    EXPECT_EQ(status->text().toStdString(), "Selected figure no. " + std::to_string(target));
    const QImage selected = window.grab().toImage();
    EXPECT_TRUE(colourNear(selected, p, Qt::white));
    // The white line is wider than a pixel and edged in a dark colour, so it shows on the face.
    const int whiteBefore = countColour(window.grab().toImage(), Qt::white);
    EXPECT_GT(whiteBefore, 0);
    EXPECT_GT(countColour(selected, QColor(40, 40, 40)), whiteBefore / 2);
    kerfline::testing::saveScreenshot(window, "project_selection");
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(p.x, p.y));
    EXPECT_EQ(status->text().toStdString(), "Selected figure no. " + std::to_string(target)) << "named until another click";
    EXPECT_EQ(model.selectedFigure, target) << "the selection stays";

    // Shift+Ctrl+Alt lists the points; nothing is listed for a click beside every figure.
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    QTest::mouseClick(&window, Qt::LeftButton, all, QPoint(p.x, p.y));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Selected figure no. " + std::to_string(target));
    EXPECT_EQ(host.messages[0].text.rfind("[mm]\n\np0:(", 0), 0u);
    QTest::mouseClick(&window, Qt::LeftButton, all, QPoint(2, 2));
    EXPECT_EQ(model.selectedFigure, -1);
    EXPECT_EQ(host.messages.size(), 1u);

    QSignalSpy information(&window, &ProjectWindow::informationRequested);
    QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(p.x, p.y));
    EXPECT_EQ(information.count(), 1);
}

// Tiled windows are narrow: the name of the selected figure must still read whole, the design's
// size giving way first.
TEST_F(ProjectWindowTest, TheSelectedFigureIsNamedWholeInANarrowWindow)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "letter_in_frame.dxf", 2);
    const auto* status = window.statusBar()->findChild<QLabel*>();
    for (const int width : {640, 300, 220}) {
        SCOPED_TRACE(width);
        window.resize(width, 240);
        QTest::qWait(20);
        const PixelPoint p = window.viewMapping().toWindow(middleOfLongestSegment(window.model().figures.back()));
        QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(p.x, p.y));
        QCoreApplication::processEvents();
        ASSERT_EQ(status->text().toStdString(),
                  "Selected figure no. " + std::to_string(window.model().figures.size() - 1));
        EXPECT_GE(status->contentsRect().width(), status->fontMetrics().horizontalAdvance(status->text()));
    }
    kerfline::testing::saveScreenshot(window, "project_selection_narrow");
}

TEST_F(ProjectWindowTest, TheWheelZoomsAboutThePointerTheMiddleButtonPansAndHomeFits)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "gear.plt", 1);
    const TMDIChild& model = window.model();
    const ViewMapping fitted = window.viewMapping();
    const Point probe = middleOfLongestSegment(model.figures.front());
    const PixelPoint anchor = fitted.toWindow(probe);

    // Two notches of the wheel over a point of the outline: larger, the point stays put.
    for (int notch = 0; notch < 2; ++notch) {
        QWheelEvent wheel(QPointF(anchor.x, anchor.y), window.mapToGlobal(QPointF(anchor.x, anchor.y)), {}, {0, 120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &wheel);
    }
    const ViewMapping zoomed = window.viewMapping();
    EXPECT_GT(zoomed.k, fitted.k * 1.5);
    const PixelPoint stayed = zoomed.toWindow(probe);
    EXPECT_NEAR(stayed.x, anchor.x, 2);
    EXPECT_NEAR(stayed.y, anchor.y, 2);
    EXPECT_NE(window.grab().toImage().pixelColor(stayed.x, stayed.y), kBackground);
    kerfline::testing::saveScreenshot(window, "project_zoomed");

    // A drag with the middle button moves the picture by the drag; a left drag with Space held too.
    QTest::mousePress(&window, Qt::MiddleButton, {}, QPoint(300, 200));
    QMouseEvent move(QEvent::MouseMove, QPointF(340, 170), window.mapToGlobal(QPointF(340, 170)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::MiddleButton, {}, QPoint(340, 170));
    EXPECT_EQ(window.viewMapping().toWindow(probe), (PixelPoint{stayed.x + 40, stayed.y - 30}));
    QTest::keyPress(&window, Qt::Key_Space);
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(300, 200));
    QMouseEvent drag(QEvent::MouseMove, QPointF(290, 210), window.mapToGlobal(QPointF(290, 210)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drag);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(290, 210));
    QTest::keyRelease(&window, Qt::Key_Space);
    EXPECT_EQ(window.viewMapping().toWindow(probe), (PixelPoint{stayed.x + 30, stayed.y - 20}));
    EXPECT_EQ(model.selectedFigure, -1) << "a drag to pan selects nothing";
    kerfline::testing::saveScreenshot(window, "project_panned");

    // - zooms out, Home fits the whole project again.
    const double before = window.viewMapping().k;
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_LT(window.viewMapping().k, before);
    QTest::keyClick(&window, Qt::Key_Home);
    EXPECT_EQ(window.zoom(), ViewZoom{});
    EXPECT_EQ(window.viewMapping().toWindow(probe), anchor);

    // The design's size stands in the status bar in the display unit.
    const QList<QLabel*> labels = window.statusBar()->findChildren<QLabel*>();
    bool sized = false;
    for (const QLabel* label : labels)
        sized = sized || label->text().endsWith(" mm");
    EXPECT_TRUE(sized);
}

TEST_F(ProjectWindowTest, AKeyStopsTheSimulationAndItsPartialTrailStays)
{
    QtHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "gear.plt", 1);
    const int redBefore = countColour(window.grab().toImage(), Qt::red);

    // The key arrives through the window system while the animation waits, 400 ms into it.
    bool pressed = false;
    clock.setListener([&](std::int64_t, std::int64_t to) {
        if (to < 400 || pressed)
            return;
        pressed = true;
        kerfline::testing::saveScreenshot(window, "project_simulating");
        QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    const std::int64_t begun = clock.nowMs();
    window.simulate();
    clock.setListener({});

    EXPECT_TRUE(pressed);
    EXPECT_EQ(window.model().simulationStopped, 1);
    EXPECT_FALSE(window.simulationRunning());
    EXPECT_LT(clock.nowMs() - begun, 1000) << "stopped soon after the key";
    QCoreApplication::processEvents();
    const int redAfter = countColour(window.grab().toImage(), Qt::red);
    EXPECT_GT(redAfter, redBefore + 20) << "the trail cut so far stays on screen";
    kerfline::testing::saveScreenshot(window, "project_simulation_stopped");

    // Run to the end: the whole trail is longer than the stopped one.
    window.simulate();
    EXPECT_EQ(window.model().simulationStopped, 0);
    EXPECT_GT(countColour(window.grab().toImage(), Qt::red), redAfter);
    kerfline::testing::saveScreenshot(window, "project_simulated");

    // Picking a figure afterwards shows it white, not hidden under the trail.
    const TMDIChild& model = window.model();
    const std::int32_t target = firstDesignFigure(model);
    ASSERT_GE(target, 0);
    const PixelPoint p =
        window.viewMapping().toWindow(middleOfLongestSegment(model.figures[static_cast<std::size_t>(target)]));
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(p.x, p.y));
    ASSERT_EQ(model.selectedFigure, target);
    const QImage picked = window.grab().toImage();
    EXPECT_TRUE(colourNear(picked, p, Qt::white));
    EXPECT_EQ(countColour(picked, Qt::red), redBefore) << "the trail is wiped like any repaint of the design";
    kerfline::testing::saveScreenshot(window, "project_selected_after_simulation");
}

// A rotary design: the axis line in green, the profile in black, and the simulated path of the
// wire from the project's corner along the profile.
TEST_F(ProjectWindowTest, ARotaryProjectShowsItsAxisAndItsPath)
{
    QtHost host;
    auto context = start(host);
    context->configuration.setChoice(Param::Mode, ModeRotary);
    context->configuration.setChoice(Param::StolikSwitch, DeviceSpindle);
    const std::string design =
        home.write("rotary.plt", "IN;SP1;PU0,0;PD8000,0;PU0,400;PD2000,2400,6000,2400,8000,400;PU;");
    ProjectWindow window(*context);
    window.model().fileType = 1;
    ASSERT_EQ(window.model().Load(design, 255), LoadOutcome::Opened);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const TMDIChild& model = window.model();
    ASSERT_EQ(model.axisIndex, 0);
    const ViewMapping mapping = window.viewMapping();
    const QImage drawn = window.grab().toImage();
    EXPECT_TRUE(colourNear(drawn, mapping.toWindow({4000, 0}), colourOf(FigureColour::Green)));
    EXPECT_TRUE(colourNear(drawn, mapping.toWindow(middleOfLongestSegment(model.figures[1])), Qt::black));

    window.simulate();
    const QImage simulated = window.grab().toImage();
    EXPECT_GT(countColour(simulated, Qt::red), countColour(drawn, Qt::red) + 100);
    EXPECT_TRUE(colourNear(simulated, mapping.toWindow(middleOfLongestSegment(model.figures[1])), Qt::red))
        << "the wire's path runs along the profile";
    kerfline::testing::saveScreenshot(window, "project_rotary_simulated");
}

TEST_F(ProjectWindowTest, InRealTimeTheWindowStaysResponsiveAndAKeyFromATimerStopsIt)
{
    QtHost host;
    QtClock realTime;
    auto context = start(host, realTime);
    ProjectWindow window(*context);
    open(window, "star.ai", 3);
    // The whole star takes seconds at the normal speed; a timer only fires while events are served.
    QTimer::singleShot(300, &window, [&window] { QTest::keyClick(&window, Qt::Key_Space); });
    QElapsedTimer elapsed;
    elapsed.start();
    window.simulate();
    EXPECT_EQ(window.model().simulationStopped, 1);
    EXPECT_LT(elapsed.elapsed(), 1500);
    EXPECT_GT(countColour(window.grab().toImage(), Qt::red), 0);
}

TEST_F(ProjectWindowTest, PaintingWithSimulatingSetRunsTheSimulationAfterThePaint)
{
    QtHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "star.ai", 3);
    window.model().simulating = 1;
    window.repaint();
    window.model().simulating = 0;
    for (int i = 0; i < 50 && countColour(window.grab().toImage(), Qt::red) == 0; ++i)
        QTest::qWait(10);
    EXPECT_GT(countColour(window.grab().toImage(), Qt::red), 0);
}

TEST_F(ProjectWindowTest, WithAKerfTheDesignIsDrawnAsDrawnAndThePathOverItInItsOwnColour)
{
    ScriptedHost host;
    auto context = start(host);
    context->configuration.setNumber(Param::kerf, 1.5);
    ProjectWindow window(*context);
    open(window, "gear.plt", 1);
    const TMDIChild& model = window.model();
    const QImage image = window.grab().toImage();
    const ViewMapping mapping = window.viewMapping();
    const QColor path(230, 110, 0);
    int compensated = 0;
    for (const tfigura& figure : model.figures) {
        if (figure.designPoints.empty())
            continue;
        ++compensated;
        EXPECT_TRUE(colourNear(image, mapping.toWindow(middleOfLongestSegment(figure)), path));
        tfigura drawn;
        drawn.points = figure.designPoints;
        EXPECT_TRUE(colourNear(image, mapping.toWindow(middleOfLongestSegment(drawn)), QColor(0, 0, 0)));
    }
    EXPECT_GE(compensated, 1);
    kerfline::testing::saveScreenshot(window, "project_kerf");
}

TEST_F(ProjectWindowTest, TheWireTrailOfAJobIsDrawnOverTheDesign)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "star.ai", 3);
    MachineState& machine = context->machine;
    machine.frontX = 10000;
    machine.frontY = 10000;
    WireTrail trail;
    trail.begin(window.model(), machine, 100.0);
    machine.frontX += 2000;  // 20 mm to the right
    trail.update(machine);
    window.setWireTrail(&trail);
    const QImage image = window.grab().toImage();
    const ViewMapping mapping = window.viewMapping();
    const QColor wire(200, 0, 200);
    EXPECT_TRUE(colourNear(image, mapping.toWindow(*trail.current()), wire));
    const Point first = trail.path().front();
    EXPECT_TRUE(colourNear(image, mapping.toWindow({first.x + 400, first.y}), wire)) << "the route cut so far";
    kerfline::testing::saveScreenshot(window, "project_wire_trail");
    window.setWireTrail(nullptr);
    EXPECT_FALSE(colourNear(window.grab().toImage(), mapping.toWindow(*trail.current()), wire));
}

// After a gap (the cable out, a pause) the route goes on without a line across the design, and
// the legend names the trail's colour.
TEST_F(ProjectWindowTest, TheWireTrailLeavesAGapAndTheLegendNamesIt)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "star.ai", 3);
    MachineState& machine = context->machine;
    machine.frontX = 10000;
    machine.frontY = 10000;
    machine.statusFlags = statusBit(StatusFlag::programRunning);
    WireTrail trail;
    trail.begin(window.model(), machine, 100.0);
    machine.frontX += 2000;
    trail.follow(machine, true);
    trail.follow(machine, false);  // a read that failed
    machine.frontY += 3000;
    trail.follow(machine, true);
    machine.frontY += 1000;
    trail.follow(machine, true);
    ASSERT_EQ(trail.segmentStarts().size(), 2u);
    window.setWireTrail(&trail);
    const QImage image = window.grab().toImage();
    const ViewMapping mapping = window.viewMapping();
    const QColor wire(200, 0, 200);
    const std::vector<Point>& path = trail.path();
    // Along each segment, not across the gap between them.
    EXPECT_TRUE(colourNear(image, mapping.toWindow({(path[0].x + path[1].x) / 2, path[0].y}), wire));
    EXPECT_TRUE(colourNear(image, mapping.toWindow({path[2].x, (path[2].y + path[3].y) / 2}), wire));
    EXPECT_FALSE(colourNear(image, mapping.toWindow({path[1].x, (path[1].y + path[2].y) / 2}), wire));
    const std::vector<LegendItem> legend = window.legend();
    EXPECT_NE(std::find(legend.begin(), legend.end(), LegendItem::WireTrail), legend.end());
    kerfline::testing::saveScreenshot(window, "project_wire_trail_gap");
}

// The speed set in the window's status bar is the configuration's and holds while the simulation
// runs; its progress is shown, a stop says so, and the trail is cleared when a job starts.
TEST_F(ProjectWindowTest, TheSimulationShowsItsProgressItsSpeedAndItsStop)
{
    QtHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "gear.plt", 1);
    auto* speed = window.findChild<QSlider*>(QStringLiteral("simulationSpeed"));
    ASSERT_NE(speed, nullptr);
    speed->setValue(30);
    EXPECT_EQ(context->configuration.position(Param::sbWspSymulacji), 30);

    // A click on a menu reaches the program as a left click: the simulation stops at it.
    std::vector<QString> shown;
    bool pressed = false;
    clock.setListener([&](std::int64_t, std::int64_t to) {
        if (shown.empty() || shown.back() != window.simulationStatus())
            shown.push_back(window.simulationStatus());
        if (to < 200 || pressed)
            return;
        pressed = true;
        QCoreApplication::postEvent(&window, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                                             Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    });
    window.simulate();
    clock.setListener({});
    ASSERT_TRUE(pressed);
    EXPECT_GE(shown.size(), 3u) << "the percentage grows while it runs";
    const QString stopped = window.simulationStatus();
    const QString stoppedText = qs(context->Text("Project_window", "symulacjaPrzerwana"));
    EXPECT_TRUE(stopped.startsWith(stoppedText.left(stoppedText.indexOf(QStringLiteral("%1"))))) << stopped.toStdString();
    EXPECT_FALSE(stopped.contains(QStringLiteral("100 %")));
    EXPECT_EQ(speed->value(), 30);
    EXPECT_TRUE(window.hasSimulationTrail());
    kerfline::testing::saveScreenshot(window, "project_simulation_progress");

    window.clearSimulationTrail();
    EXPECT_FALSE(window.hasSimulationTrail());
    EXPECT_TRUE(window.simulationStatus().isEmpty());
}

// Before a cut of the selected figure the view marks what will be cut and where the wire must
// stand.
TEST_F(ProjectWindowTest, TheCutOfASelectedFigureIsMarkedWithItsStartPoint)
{
    ScriptedHost host;
    auto context = start(host);
    ProjectWindow window(*context);
    open(window, "gear.plt", 1);
    const TMDIChild& model = window.model();
    const std::int32_t target = firstDesignFigure(model);
    ASSERT_GE(target, 0);
    const CutPreview preview = cutPreview(model, target, target);
    const QColor start(0, 110, 160);
    const PixelPoint at = window.viewMapping().toWindow(preview.start);
    EXPECT_FALSE(colourNear(window.grab().toImage(), {at.x + 12, at.y}, start));
    window.setCutPreview(&preview);
    const QImage marked = window.grab().toImage();
    EXPECT_TRUE(colourNear(marked, {at.x + 12, at.y}, start)) << "the cross over the start vertex";
    const std::vector<LegendItem> legend = window.legend();
    EXPECT_NE(std::find(legend.begin(), legend.end(), LegendItem::StartPoint), legend.end());
    kerfline::testing::saveScreenshot(window, "project_cut_preview");
    window.setCutPreview(nullptr);
    EXPECT_FALSE(colourNear(window.grab().toImage(), {at.x + 12, at.y}, start));
}

}  // namespace
}  // namespace kerfline::ui
