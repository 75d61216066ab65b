#pragma once

#include "model3d/flat_shaded_mesh.h"
#include "model3d/serial_passes.h"
#include "model3d/view_state.h"

#include <QOpenGLBuffer>
#include <QOpenGLWidget>
#include <QTimer>

#include <future>
#include <optional>

namespace kerfline::ui {

// The 3D model view: a lit, shaded triangle model drawn with fixed-function OpenGL, turned,
// zoomed and moved with the mouse or the keys (Home fits it to the view again). The model is shared, not owned: a worker reading it keeps it
// alive. While Locked, nothing draws by itself and mouse input is ignored.
class TRAWview : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TRAWview(QWidget* parent = nullptr);
    ~TRAWview() override;

    // The fixed-function pipeline needs a compatibility context: asked for before the
    // application exists, by every program that shows the view.
    static void requestCompatibilityContext();

    model3d::ViewSettings settings;
    bool Locked = false;

    // Keeps the model and its bounds, then resets the view.
    void LadujListeRAW(model3d::ModelHandle model);
    void ResetujPrzeksztalcenia();
    void Nawigacja(int kind, int a, int b) { m_state.Nawigacja(kind, a, b, settings); }
    // Draws now, even while locked.
    void PokazScene();
    // Waits until the model is laid out for drawing; the view works that out beside the user
    // interface after every load and shows the model once it is done.
    void waitForModelAnalysis();

    const model3d::ViewState& state() const { return m_state; }
    model3d::ViewState& state() { return m_state; }
    // The panel colour behind the model, red in the low byte.
    int panelColour = 0;

signals:
    void doubleClicked();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeLayoutWhenReady();
    void uploadModel(const model3d::FlatShadedMesh& mesh);
    void drawAxes();

    model3d::ModelHandle m_model;
    model3d::ViewState m_state;
    QOpenGLBuffer m_buffer{QOpenGLBuffer::VertexBuffer};
    QOpenGLBuffer m_indexBuffer{QOpenGLBuffer::IndexBuffer};
    int m_uploadedIndices = 0;
    std::future<model3d::DrawingLayout> m_layout;  // of the model, on a thread of its own
    std::optional<model3d::DrawingLayout> m_readyLayout;  // to upload at the next drawing
    QTimer m_layoutWatch;
    bool m_closedOutward = false;
    bool m_drawRequested = false;
};

}  // namespace kerfline::ui
