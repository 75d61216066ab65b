#pragma once

#include "base/waiting.h"
#include "project/cut_preview.h"
#include "project/project_view.h"
#include "project/view_legend.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QPainter;
class QSlider;
class QStatusBar;

namespace kerfline {
struct AppContext;
class TMDIChild;
class WireTrail;
}  // namespace kerfline

namespace kerfline::ui {

// A project window: one opened design drawn into the window, its selection and the animated
// simulation of its cut path. The model (TMDIChild) holds all state; this widget shows it.
class ProjectWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProjectWindow(AppContext& context, QWidget* parent = nullptr);
    ~ProjectWindow() override;

    TMDIChild& model() { return *m_model; }
    const TMDIChild& model() const { return *m_model; }

    // Runs the animated simulation of the cut path now; returns when it ends or the operator
    // stops it with a key or a left click. Its red trail stays until the next simulation, a
    // change of the window's size or a click that selects.
    void simulate();
    bool simulationRunning() const { return m_animating; }

    // Shows the wire's route of a running job over the design (nullptr hides it). The trail is
    // read at every paint; call update() on this window after the trail changed.
    void setWireTrail(const WireTrail* trail);
    // Takes away a finished or stopped simulation's red trail; a running one keeps it.
    void clearSimulationTrail();
    bool hasSimulationTrail() const { return !m_trail.isNull(); }
    // Marks what a cut of part of the project covers and the start vertex where the wire must
    // stand; nullptr takes the marks away.
    void setCutPreview(const CutPreview* preview);
    // The entries of the legend drawn in the view's corner.
    std::vector<LegendItem> legend() const;
    // The simulation's progress, its end or its stop, as the status bar shows it.
    QString simulationStatus() const;

    // The mapping of the current window size and zoom, as the painting and the mouse use it.
    ViewMapping viewMapping() const;
    // The mapping that fits the project into the window, before the operator's zoom.
    ViewMapping fittedMapping() const;
    const ViewZoom& zoom() const { return m_zoom; }
    // Sets the zoom and pan; the default ViewZoom fits the project to the window.
    void setZoom(const ViewZoom& zoom);
    QStatusBar* statusBar() const { return m_statusBar; }

signals:
    // The right button was pressed: the project information window is to be shown.
    void informationRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class TrailCanvas;
    void showStatusText();
    void drawWireTrail(QPainter& painter, const ViewMapping& mapping) const;
    void drawCutPreview(QPainter& painter, const ViewMapping& mapping) const;
    void drawLegend(QPainter& painter) const;
    void showSimulationProgress(double fraction);
    void setSimulationText(const QString& text);

    AppContext& m_context;
    std::unique_ptr<TMDIChild> m_model;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusText = nullptr;
    QLabel* m_sizeText = nullptr;
    QLabel* m_simulationText = nullptr;
    QSlider* m_simulationSpeed = nullptr;
    std::optional<CutPreview> m_cutPreview;
    SimulationPacer m_pacer;
    QImage m_trail;  // the simulation's trail, in window pixels
    const WireTrail* m_wireTrail = nullptr;
    ViewZoom m_zoom;
    bool m_spaceHeld = false;
    bool m_panning = false;
    QPoint m_panFrom;
    bool m_animating = false;
    bool m_simulationQueued = false;
    bool m_closeRequested = false;
};

}  // namespace kerfline::ui
