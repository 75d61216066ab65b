#include "project/ui/project_window.h"

#include "project/simulation_animation.h"
#include "project/tmdichild.h"
#include "project/wire_trail.h"
#include "base/app_context.h"
#include "base/ui/text.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <QCloseEvent>
#include <QSlider>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPolygon>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kerfline::ui {
namespace {

// The classic face colour of a window, on which white (the selection) and yellow stay visible.
const QColor kBackground(212, 208, 200);
const QColor kWireTrail(200, 0, 200);
// The path offset by half the kerf, drawn over the design as drawn.
const QColor kKerfPath(230, 110, 0);
// The machine's working area, behind the design.
const QColor kWorkingArea(120, 120, 120);
// The dark edge around the selected figure's white line, so it stands out on the light face.
const QColor kSelectionEdge(40, 40, 40);
// One notch of the wheel or one press of + or -.
constexpr double kZoomStep = 1.25;
// What a cut of the selected figure covers, under the figures, and where the wire must stand.
const QColor kCutPreview(0, 170, 220, 110);
const QColor kStartPoint(0, 110, 160);
// The legend's box: pale enough to read through, small enough to leave the design in view.
const QColor kLegendBox(255, 255, 255, 200);

struct LegendStyle {
    QColor colour;
    enum Kind { Line, Dashed, Dots, Wide, Mark } kind;
    const char* key;  // section "Project_window"
};

LegendStyle legendStyle(LegendItem item)
{
    switch (item) {
    case LegendItem::ClosedFigure: return {Qt::black, LegendStyle::Line, "legendZamknieta"};
    case LegendItem::OpenFigure: return {QColor(0, 0, 255), LegendStyle::Line, "legendOtwarta"};
    case LegendItem::Unconnected: return {QColor(255, 0, 0), LegendStyle::Line, "legendNiepolaczona"};
    case LegendItem::RotaryAxis: return {QColor(0, 128, 0), LegendStyle::Line, "legendOs"};
    case LegendItem::RotaryProfile: return {Qt::black, LegendStyle::Line, "legendProfil"};
    case LegendItem::FrontShape: return {QColor(0, 128, 0), LegendStyle::Line, "legendPrzod"};
    case LegendItem::BackShape: return {QColor(255, 0, 0), LegendStyle::Line, "legendTyl"};
    case LegendItem::PairMark: return {QColor(255, 255, 0), LegendStyle::Line, "legendPioro6"};
    case LegendItem::Selected: return {Qt::white, LegendStyle::Wide, "legendWybrana"};
    case LegendItem::KerfPath: return {kKerfPath, LegendStyle::Line, "legendKerf"};
    case LegendItem::WorkingArea: return {kWorkingArea, LegendStyle::Dashed, "legendObszar"};
    case LegendItem::SimulationTrail: return {Qt::red, LegendStyle::Dots, "legendSymulacja"};
    case LegendItem::WireTrail: return {kWireTrail, LegendStyle::Wide, "legendDrut"};
    case LegendItem::CutCovered: return {kCutPreview, LegendStyle::Wide, "legendDoCiecia"};
    case LegendItem::StartPoint: return {kStartPoint, LegendStyle::Mark, "legendStart"};
    }
    return {Qt::black, LegendStyle::Line, "legendZamknieta"};
}

QColor toQColor(FigureColour colour)
{
    switch (colour) {
    case FigureColour::Black: return Qt::black;
    case FigureColour::Blue: return QColor(0, 0, 255);
    case FigureColour::Red: return QColor(255, 0, 0);
    case FigureColour::Green: return QColor(0, 128, 0);
    case FigureColour::Yellow: return QColor(255, 255, 0);
    case FigureColour::White: return Qt::white;
    }
    return Qt::black;
}

QPoint toQPoint(PixelPoint p)
{
    return {p.x, p.y};
}

}  // namespace

// Draws the simulation into the window's trail image and moves the real mouse cursor.
class ProjectWindow::TrailCanvas : public SimulationCanvas {
public:
    explicit TrailCanvas(ProjectWindow& window) : m_window(&window) {}

    void placeCursor(PixelPoint position) override
    {
        if (m_window)
            QCursor::setPos(m_window->mapToGlobal(toQPoint(position)));
    }

    void drawCutDot(PixelPoint centre) override
    {
        if (!m_window)
            return;
        QPainter painter(&m_window->m_trail);
        painter.setPen(QPen(Qt::red, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(toQPoint(centre), 1, 1);
    }

    void drawPairLine(PixelPoint front, PixelPoint back) override
    {
        if (!m_window)
            return;
        QPainter painter(&m_window->m_trail);
        painter.setPen(QPen(QColor(255, 255, 0), 1));
        painter.drawLine(toQPoint(front), toQPoint(back));
    }

    void refresh() override
    {
        if (m_window)
            m_window->update();
    }

    void progress(double fraction) override
    {
        if (m_window)
            m_window->showSimulationProgress(fraction);
    }

private:
    QPointer<ProjectWindow> m_window;
};

ProjectWindow::ProjectWindow(AppContext& context, QWidget* parent)
    : QWidget(parent), m_context(context), m_model(std::make_unique<TMDIChild>(context)), m_pacer(context.clock)
{
    setMinimumSize(120, 90);
    setMouseTracking(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(false);
    m_statusText = new QLabel(m_statusBar);
    m_statusBar->addWidget(m_statusText, 1);
    m_sizeText = new QLabel(m_statusBar);
    m_simulationText = new QLabel(m_statusBar);
    m_simulationText->setObjectName(QStringLiteral("simulationText"));
    // The speed of the simulation, as the configuration keeps it (0 normal .. 60 fast); it may
    // change while the simulation runs.
    m_simulationSpeed = new QSlider(Qt::Horizontal, m_statusBar);
    m_simulationSpeed->setObjectName(QStringLiteral("simulationSpeed"));
    m_simulationSpeed->setRange(0, 60);
    m_simulationSpeed->setPageStep(10);
    m_simulationSpeed->setFixedWidth(90);
    m_simulationSpeed->setFocusPolicy(Qt::NoFocus);
    m_simulationSpeed->setToolTip(qs(context.Text("Project_window", "symulacjaSzybkosc")));
    m_simulationSpeed->setValue(context.configuration.position(Param::sbWspSymulacji));
    connect(m_simulationSpeed, &QSlider::valueChanged, this,
            [this](int value) { m_context.configuration.setPosition(Param::sbWspSymulacji, value); });
    m_statusBar->addPermanentWidget(m_simulationText);
    m_statusBar->addPermanentWidget(m_simulationSpeed);
    // In a narrow (tiled) window the design's size gives way, so the status text, which names
    // the selected figure, reads whole.
    m_sizeText->setMinimumWidth(1);
    m_statusBar->addPermanentWidget(m_sizeText);
    setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(m_statusBar);

    m_model->repaintRequested = [this] {
        showStatusText();
        update();
    };
}

ProjectWindow::~ProjectWindow()
{
    m_model->repaintRequested = nullptr;
}

void ProjectWindow::showStatusText()
{
    m_statusText->setText(qs(m_model->StatusBar));
    m_sizeText->setText(m_model->figures.empty()
                            ? QString()
                            : qs(designSizeText(*m_model, m_context.configuration.displayUnit, m_context.decimalSeparator)));
}

ViewMapping ProjectWindow::fittedMapping() const
{
    const int statusHeight = m_statusBar->isVisible() ? m_statusBar->height() : m_statusBar->sizeHint().height();
    return mapProjectView(*m_model, width(), height(), statusHeight);
}

ViewMapping ProjectWindow::viewMapping() const
{
    return zoomedMapping(fittedMapping(), m_zoom);
}

void ProjectWindow::setZoom(const ViewZoom& zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    // The simulation's trail was drawn for the old scale.
    if (!m_animating)
        m_trail = QImage();
    update();
}

void ProjectWindow::setWireTrail(const WireTrail* trail)
{
    m_wireTrail = trail;
    update();
}

void ProjectWindow::clearSimulationTrail()
{
    if (m_animating || m_trail.isNull())
        return;
    m_trail = QImage();
    setSimulationText({});
    update();
}

void ProjectWindow::setCutPreview(const CutPreview* preview)
{
    if (preview != nullptr)
        m_cutPreview = *preview;
    else
        m_cutPreview.reset();
    // Painted now: the question that follows holds the event loop.
    repaint();
}

std::vector<LegendItem> ProjectWindow::legend() const
{
    LegendExtras extras;
    extras.simulationTrail = !m_trail.isNull();
    extras.wireTrail = m_wireTrail != nullptr && m_wireTrail->active();
    extras.cutPreview = m_cutPreview.has_value();
    return viewLegend(*m_model, extras);
}

QString ProjectWindow::simulationStatus() const
{
    return m_simulationText->text();
}

void ProjectWindow::setSimulationText(const QString& text)
{
    m_simulationText->setText(text);
    // The status bar gives its permanent widgets no more than they ask for.
    m_simulationText->setMinimumWidth(m_simulationText->sizeHint().width());
}

void ProjectWindow::showSimulationProgress(double fraction)
{
    const QString percent = QString::number(static_cast<int>(fraction * 100.0));
    setSimulationText(qs(formatText(m_context.Text("Project_window", "symulacjaPostep"), {ss(percent)})));
}

void ProjectWindow::paintEvent(QPaintEvent* /*event*/)
{
    if (m_statusText->text() != qs(m_model->StatusBar) || m_sizeText->text().isEmpty() != m_model->figures.empty())
        showStatusText();
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const ViewMapping mapping = viewMapping();
    if (mapping.drawable) {
        const MachineState& machine = m_context.machine;
        const WorkingArea area = workingAreaUnits(machine.limitX, machine.limitY);
        painter.setPen(QPen(kWorkingArea, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        // Each edge cut to the window: dashing the whole of a far larger outline is slow.
        const QRect outline = QRect(toQPoint(mapping.toWindow(area.low)), toQPoint(mapping.toWindow(area.high))).normalized();
        const QRect shown = rect().adjusted(-1, -1, 1, 1);
        const int left = std::max(outline.left(), shown.left());
        const int right = std::min(outline.right(), shown.right());
        const int top = std::max(outline.top(), shown.top());
        const int bottom = std::min(outline.bottom(), shown.bottom());
        for (const int y : {outline.top(), outline.bottom()})
            if (y >= shown.top() && y <= shown.bottom() && left <= right)
                painter.drawLine(left, y, right, y);
        for (const int x : {outline.left(), outline.right()})
            if (x >= shown.left() && x <= shown.right() && top <= bottom)
                painter.drawLine(x, top, x, bottom);
        drawCutPreview(painter, mapping);
        const std::vector<FigureColour> colours = figureColours(*m_model);
        QPolygon polyline;
        const auto draw = [&](const std::vector<Point>& points, const QColor& colour) {
            polyline.resize(static_cast<int>(points.size()));
            for (std::size_t i = 0; i < points.size(); ++i)
                polyline[static_cast<int>(i)] = toQPoint(mapping.toWindow(points[i]));
            painter.setPen(QPen(colour, 0));
            painter.drawPolyline(polyline);
        };
        for (std::size_t f = 0; f < m_model->figures.size(); ++f) {
            const tfigura& figure = m_model->figures[f];
            if (colours[f] == FigureColour::White) {
                // The selection: its white line, two pixels wide, on a dark edge.
                const std::vector<Point>& outline = figure.designPoints.empty() ? figure.points : figure.designPoints;
                // Points landing on the pixel before them are left out: a wide pen's cost grows
                // with the points, and a large outline has many per pixel.
                polyline.clear();
                for (const Point p : outline) {
                    const QPoint at = toQPoint(mapping.toWindow(p));
                    if (polyline.isEmpty() || polyline.back() != at)
                        polyline << at;
                }
                // Hairlines side by side: a wide pen's stroking is many times slower.
                painter.setPen(QPen(kSelectionEdge, 0));
                for (const QPoint offset : {QPoint(-1, -1), QPoint(2, -1), QPoint(-1, 2), QPoint(2, 2)})
                    painter.drawPolyline(polyline.translated(offset));
                painter.setPen(QPen(Qt::white, 0));
                for (const QPoint offset : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                    painter.drawPolyline(polyline.translated(offset));
                if (!figure.designPoints.empty())
                    draw(figure.points, Qt::white);
                continue;
            }
            if (figure.designPoints.empty()) {
                draw(figure.points, toQColor(colours[f]));
                continue;
            }
            // The figure as drawn in the colour of its role, the path the wire takes over it.
            draw(figure.designPoints, toQColor(colours[f]));
            draw(figure.points, colours[f] == FigureColour::White ? Qt::white : kKerfPath);
        }
        drawWireTrail(painter, mapping);
    }
    if (!m_trail.isNull())
        painter.drawImage(0, 0, m_trail);
    if (mapping.drawable)
        drawLegend(painter);

    // The main window asks for the simulation by painting with `simulating` set; the animation
    // runs after this paint, outside of it.
    if (m_model->simulating != 0 && !m_animating && !m_simulationQueued) {
        m_simulationQueued = true;
        QMetaObject::invokeMethod(this, &ProjectWindow::simulate, Qt::QueuedConnection);
    }
}

void ProjectWindow::drawWireTrail(QPainter& painter, const ViewMapping& mapping) const
{
    if (m_wireTrail == nullptr || !m_wireTrail->active())
        return;
    // Segment by segment: a gap is what the wire did not cut while the job was not followed.
    const std::vector<Point>& path = m_wireTrail->path();
    const std::vector<std::size_t>& starts = m_wireTrail->segmentStarts();
    painter.setPen(QPen(kWireTrail, 2));
    for (std::size_t segment = 0; segment < starts.size(); ++segment) {
        const std::size_t end = segment + 1 < starts.size() ? starts[segment + 1] : path.size();
        QPolygon route;
        for (std::size_t i = starts[segment]; i < end; ++i)
            route << toQPoint(mapping.toWindow(path[i]));
        if (route.size() == 1)
            painter.drawPoint(route.front());
        else
            painter.drawPolyline(route);
    }
    if (const auto wire = m_wireTrail->current()) {
        const QPoint at = toQPoint(mapping.toWindow(*wire));
        painter.setPen(QPen(kWireTrail, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(at, 5, 5);
        painter.drawLine(at - QPoint(8, 0), at + QPoint(8, 0));
        painter.drawLine(at - QPoint(0, 8), at + QPoint(0, 8));
    }
}

void ProjectWindow::drawCutPreview(QPainter& painter, const ViewMapping& mapping) const
{
    if (!m_cutPreview)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kCutPreview, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (std::size_t f = 0; f < m_model->figures.size() && f < m_cutPreview->figures.size(); ++f) {
        if (!m_cutPreview->figures[f])
            continue;
        QPolygon outline;
        for (const Point p : m_model->figures[f].points)
            outline << toQPoint(mapping.toWindow(p));
        painter.drawPolyline(outline);
    }
    const QPoint at = toQPoint(mapping.toWindow(m_cutPreview->start));
    painter.setPen(QPen(kStartPoint, 3));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 9, 9);
    painter.drawLine(at - QPoint(14, 0), at + QPoint(14, 0));
    painter.drawLine(at - QPoint(0, 14), at + QPoint(0, 14));
    painter.restore();
}

void ProjectWindow::drawLegend(QPainter& painter) const
{
    const std::vector<LegendItem> items = legend();
    if (items.empty())
        return;
    // One row along the top edge: the fitted view leaves a band as high as the status bar there
    // (the mapping takes the status bar's height twice), so the legend never hides the design.
    const int band = m_statusBar->isVisible() ? m_statusBar->height() : m_statusBar->sizeHint().height();
    painter.save();
    QFont font = painter.font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    while (metrics.height() > band - 2 && font.pointSizeF() > 5.0) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        painter.setFont(font);
    }
    const QFontMetrics fitted(font);
    constexpr int kSwatch = 18;
    constexpr int kPad = 4;
    const int height = std::min(band - 2, fitted.height() + 2);
    const int y = 1 + height / 2;
    // Right of the seven pixels of margin the view keeps clear.
    constexpr int kLeft = 8;
    int x = kLeft + kPad;
    int right = x;
    std::vector<std::pair<int, QString>> placed;
    for (const LegendItem item : items) {
        const QString text = qs(m_context.Text("Project_window", legendStyle(item).key));
        placed.emplace_back(x, text);
        x += kSwatch + kPad + fitted.horizontalAdvance(text) + 3 * kPad;
        right = x - 2 * kPad;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLegendBox);
    painter.drawRect(QRect(kLeft, 0, std::min(right + kPad, width()) - kLeft, height + 2));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const LegendStyle style = legendStyle(items[i]);
        const QPoint from(placed[i].first, y);
        const QPoint to(placed[i].first + kSwatch, y);
        switch (style.kind) {
        case LegendStyle::Line:
        case LegendStyle::Wide:
            if (style.colour == Qt::white || style.colour == QColor(255, 255, 0)) {
                // Light colours on their dark edge, as the view draws the selection.
                painter.setPen(QPen(kSelectionEdge, 5));
                painter.drawLine(from, to);
            }
            painter.setPen(QPen(style.colour, style.kind == LegendStyle::Wide ? 3 : 1));
            painter.drawLine(from, to);
            break;
        case LegendStyle::Dashed:
            painter.setPen(QPen(style.colour, 0, Qt::DashLine));
            painter.drawLine(from, to);
            break;
        case LegendStyle::Dots:
            painter.setPen(QPen(style.colour, 1));
            painter.setBrush(Qt::NoBrush);
            for (int dot = from.x() + 1; dot <= to.x(); dot += 4)
                painter.drawEllipse(QPoint(dot, y), 1, 1);
            break;
        case LegendStyle::Mark: {
            const QPoint centre((from.x() + to.x()) / 2, y);
            painter.setPen(QPen(style.colour, 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(centre, 4, 4);
            painter.drawLine(centre - QPoint(7, 0), centre + QPoint(7, 0));
            break;
        }
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(to.x() + kPad, 1, fitted.horizontalAdvance(placed[i].second) + kPad, height),
                         Qt::AlignLeft | Qt::AlignVCenter, placed[i].second);
    }
    painter.restore();
}

void ProjectWindow::simulate()
{
    m_simulationQueued = false;
    if (m_animating)
        return;
    m_animating = true;
    m_trail = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_trail.fill(Qt::transparent);
    update();
    const QPointer<ProjectWindow> alive(this);
    TrailCanvas canvas(*this);
    m_simulationSpeed->setValue(m_context.configuration.position(Param::sbWspSymulacji));
    showSimulationProgress(0.0);
    const SimulationOutcome outcome = animateSimulation(*m_model, viewMapping(), canvas, m_pacer);
    if (!alive)
        return;
    m_animating = false;
    // A key or a click anywhere (a menu among them) stops the simulation: the operator is told.
    const QString percent = QString::number(static_cast<int>(outcome.fraction * 100.0));
    const std::string text = outcome.stopped
                                 ? formatText(m_context.Text("Project_window", "symulacjaPrzerwana"), {ss(percent)})
                                 : m_context.Text("Project_window", "symulacjaKoniec");
    setSimulationText(qs(text));
    m_context.host.setStatus(0, text);
    update();
    if (m_closeRequested) {
        m_closeRequested = false;
        close();
    }
}

void ProjectWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // In a narrow (tiled) window the speed control gives way too, so the status text reads whole.
    m_simulationSpeed->setVisible(width() >= 400);
    // The trail was drawn for the old scale.
    if (!m_animating)
        m_trail = QImage();
    update();
}

void ProjectWindow::mousePressEvent(QMouseEvent* event)
{
    if (!m_animating && (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && m_spaceHeld))) {
        m_panning = true;
        m_panFrom = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() == Qt::RightButton) {
        emit informationRequested();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    // The click repaints the design, which wipes the finished simulation's trail: the figure
    // picked out in white would otherwise stay hidden under it.
    if (!m_animating)
        m_trail = QImage();
    const QPoint at = event->position().toPoint();
    const std::int32_t selected = selectFigureAt(*m_model, viewMapping(), {at.x(), at.y()});
    update();
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if ((event->modifiers() & all) == all && selected >= 0)
        m_context.host.showMessage(pointListing(m_model->figures[static_cast<std::size_t>(selected)],
                                                m_context.decimalSeparator),
                                   false, selectedFigureText(*m_model, selected));
}

void ProjectWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_panning) {
        const QPoint at = event->position().toPoint();
        const QPoint delta = at - m_panFrom;
        m_panFrom = at;
        setZoom(panBy(m_zoom, delta.x(), delta.y()));
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && m_model->selectedFigure >= 0)
        update();
}

void ProjectWindow::mouseReleaseEvent(QMouseEvent* /*event*/)
{
    // The selected figure stays named in the status bar until another click.
    if (m_panning) {
        m_panning = false;
        unsetCursor();
    }
}

void ProjectWindow::wheelEvent(QWheelEvent* event)
{
    if (m_animating || event->angleDelta().y() == 0)
        return;
    const QPoint at = event->position().toPoint();
    const double factor = std::pow(kZoomStep, event->angleDelta().y() / 120.0);
    setZoom(zoomAbout(m_zoom, fittedMapping(), {at.x(), at.y()}, factor));
    event->accept();
}

void ProjectWindow::keyPressEvent(QKeyEvent* event)
{
    if (m_animating) {
        QWidget::keyPressEvent(event);
        return;
    }
    const PixelPoint centre{width() / 2, height() / 2};
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: setZoom(zoomAbout(m_zoom, fittedMapping(), centre, kZoomStep)); break;
    case Qt::Key_Minus: setZoom(zoomAbout(m_zoom, fittedMapping(), centre, 1.0 / kZoomStep)); break;
    case Qt::Key_Home: setZoom(ViewZoom{}); break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat()) {
            m_spaceHeld = true;
            setCursor(Qt::OpenHandCursor);
        }
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void ProjectWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        m_spaceHeld = false;
        m_panning = false;
        unsetCursor();
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ProjectWindow::closeEvent(QCloseEvent* event)
{
    // The animation holds the model: closing stops it, and the window closes once it has ended.
    if (m_animating) {
        m_model->simulationStopped = 1;
        m_closeRequested = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace kerfline::ui
