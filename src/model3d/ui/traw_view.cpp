#include "model3d/ui/traw_view.h"

#include "model3d/flat_shaded_mesh.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <chrono>
#include <optional>
#include <cstdint>

namespace kerfline::ui {
namespace {

model3d::Modifiers modifiersOf(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

void colourOf(int colour, float (&rgb)[3])
{
    for (int i = 0; i < 3; ++i)
        rgb[i] = static_cast<float>((colour >> (8 * i)) & 0xff) / 256.0f;
}

}  // namespace

void TRAWview::requestCompatibilityContext()
{
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
}

TRAWview::TRAWview(QWidget* parent) : QOpenGLWidget(parent)
{
    setCursor(Qt::SizeAllCursor);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 200);
    // The layout of a large model takes a moment: the view looks for it now and then and shows
    // the model as soon as it is there.
    m_layoutWatch.setInterval(20);
    connect(&m_layoutWatch, &QTimer::timeout, this, [this] {
        if (!m_layout.valid() || m_layout.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
            m_layoutWatch.stop();
            update();
        }
    });
}

TRAWview::~TRAWview()
{
    makeCurrent();
    if (m_buffer.isCreated())
        m_buffer.destroy();
    if (m_indexBuffer.isCreated())
        m_indexBuffer.destroy();
    doneCurrent();
}

void TRAWview::LadujListeRAW(model3d::ModelHandle model)
{
    m_model = std::move(model);
    // The old model is not drawn any more; the new one once it is laid out for drawing.
    m_uploadedIndices = 0;
    m_closedOutward = false;
    m_readyLayout = model3d::DrawingLayout{};
    m_layout = {};
    if (m_model && !m_model->triangles.empty()) {
        m_readyLayout.reset();
        m_layout = std::async(std::launch::async, [model = m_model] { return model3d::drawingLayout(model->triangles); });
        m_layoutWatch.start();
    }
    ResetujPrzeksztalcenia();
}

void TRAWview::waitForModelAnalysis()
{
    if (m_layout.valid())
        m_readyLayout = m_layout.get();
}

void TRAWview::takeLayoutWhenReady()
{
    if (m_layout.valid() && m_layout.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        m_readyLayout = m_layout.get();
    if (!m_readyLayout)
        return;
    uploadModel(m_readyLayout->mesh);
    m_closedOutward = m_readyLayout->closedOutward;
    m_readyLayout.reset();
}

void TRAWview::ResetujPrzeksztalcenia()
{
    const model3d::TModel bounds = m_model ? m_model->model : model3d::TModel{};
    m_state.reset(bounds, settings, frameGeometry().width(), frameGeometry().height());
    PokazScene();
}

void TRAWview::PokazScene()
{
    m_drawRequested = true;
    update();
}

void TRAWview::paintEvent(QPaintEvent* event)
{
    // The widget's own repaints (exposure, resize) draw nothing new while locked; the last
    // frame stays.
    if (Locked && !m_drawRequested)
        return;
    m_drawRequested = false;
    QOpenGLWidget::paintEvent(event);
}

void TRAWview::initializeGL()
{
    glEnable(GL_DEPTH_TEST);
}

void TRAWview::resizeGL(int, int) {}

void TRAWview::uploadModel(const model3d::FlatShadedMesh& mesh)
{
    for (QOpenGLBuffer* buffer : {&m_buffer, &m_indexBuffer})
        if (!buffer->isCreated())
            buffer->create();
    m_buffer.bind();
    m_buffer.allocate(mesh.vertices.data(), static_cast<int>(mesh.vertices.size() * sizeof(float)));
    m_buffer.release();
    m_indexBuffer.bind();
    m_indexBuffer.allocate(mesh.indices.data(), static_cast<int>(mesh.indices.size() * sizeof(std::uint32_t)));
    m_indexBuffer.release();
    m_uploadedIndices = static_cast<int>(mesh.indices.size());
}

void TRAWview::paintGL()
{
    takeLayoutWhenReady();
    const qreal ratio = devicePixelRatio();
    const int w = static_cast<int>(width() * ratio);
    const int h = static_cast<int>(height() * ratio);

    float background[3];
    colourOf(panelColour, background);
    glClearColor(background[0], background[1], background[2], 1.0f);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_NORMALIZE);
    // Each face is lit by its own normal alone, which its last corner carries: flat shading gives
    // the picture of smooth shading over three equal normals, and lets faces share corners.
    glShadeModel(GL_FLAT);
    const GLenum polygonMode = settings.Model_SposobKreslenia == model3d::TSposobKreslenia::skKontur  ? GL_LINE
                               : settings.Model_SposobKreslenia == model3d::TSposobKreslenia::skPunkty ? GL_POINT
                                                                                                       : GL_FILL;
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    glViewport(0, 0, w, h);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(20.0, model3d::aspectRatio(w, h), 1.0, 100.0);
    glTranslated(0.0, 0.0, -12.0);

    // Lights and material, set in eye space before the model transform.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat position[] = {-8.0f, 8.0f, 16.0f, 0.0f};
    const GLfloat ambient[] = {0.1f, 0.1f, 0.1f, 1.0f};
    const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    // The faces turned away from the eye cost half the drawing. Of a closed, outward-turned model
    // seen from outside, filled, each lies behind a face turned towards the eye: skipping them
    // changes the picture at most in a pixel of the outline where the two tie in depth, and the
    // light then needs no second side.
    const bool hidesBackFaces = m_closedOutward && polygonMode == GL_FILL && m_model &&
                                model3d::beyondNearPlane(m_model->model, m_state);
    if (hidesBackFaces) {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, hidesBackFaces ? GL_FALSE : GL_TRUE);
    const auto m = static_cast<GLfloat>(settings.Model_Material);
    const GLfloat specular[] = {m, m, m, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 128.0f);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    float colour[3];
    colourOf(settings.Model_Kolor, colour);
    glColor3f(colour[0], colour[1], colour[2]);

    glTranslated(m_state.moveX, m_state.moveY, 0.0);
    glRotated(m_state.turnY, 0.0, 1.0, 0.0);
    glRotated(m_state.turnX, 1.0, 0.0, 0.0);
    glScaled(m_state.scale, m_state.scale, m_state.scale);

    const bool drawsModel = settings.TrybPracy == model3d::TTrybPracy::tpPrzegladRAW ||
                            settings.TrybPracy == model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
    if (!drawsModel)
        return;
    if (settings.UkladWsp)
        drawAxes();
    glTranslated(m_state.centring[0], m_state.centring[1], m_state.centring[2]);
    if (m_uploadedIndices > 0) {
        m_buffer.bind();
        m_indexBuffer.bind();
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glNormalPointer(GL_FLOAT, 6 * sizeof(float), nullptr);
        glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), reinterpret_cast<const void*>(3 * sizeof(float)));
        glDrawElements(GL_TRIANGLES, m_uploadedIndices, GL_UNSIGNED_INT, nullptr);
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        m_indexBuffer.release();
        m_buffer.release();
    }
}

void TRAWview::drawAxes()
{
    const double h = std::nearbyint(height() / 2.0);
    const double w = std::nearbyint(width() / 2.0);
    glBegin(GL_LINES);
    const double lines[][6] = {
        {0, -h, 0, 0, h, 0},         {-w, 0, 0, w, 0, 0},          {-5, h - 10, 0, 0, h, 0},
        {5, h - 10, 0, 0, h, 0},     {w - 10, 5, 0, w, 0, 0},      {w - 10, -5, 0, w, 0, 0},
        {0, 0, -h, 0, 0, h},
    };
    for (const auto& l : lines) {
        glVertex3d(l[0], l[1], l[2]);
        glVertex3d(l[3], l[4], l[5]);
    }
    glEnd();
}

void TRAWview::mousePressEvent(QMouseEvent* event)
{
    if (Locked)
        return;
    setFocus();
    const model3d::MouseButton button = event->button() == Qt::LeftButton    ? model3d::MouseButton::Left
                                        : event->button() == Qt::RightButton ? model3d::MouseButton::Right
                                                                             : model3d::MouseButton::Middle;
    const QPoint p = event->position().toPoint();
    m_state.press(button, modifiersOf(event->modifiers()), p.x(), p.y());
}

void TRAWview::mouseMoveEvent(QMouseEvent* event)
{
    if (Locked)
        return;
    const QPoint p = event->position().toPoint();
    if (m_state.move(p.x(), p.y(), modifiersOf(event->modifiers()), settings))
        PokazScene();
}

void TRAWview::mouseReleaseEvent(QMouseEvent*)
{
    if (!Locked)
        m_state.release();
}

void TRAWview::mouseDoubleClickEvent(QMouseEvent*)
{
    if (!Locked)
        emit doubleClicked();
}

void TRAWview::keyPressEvent(QKeyEvent* event)
{
    const auto viewKey = [](int key) -> std::optional<model3d::ViewKey> {
        switch (key) {
        case Qt::Key_Left: return model3d::ViewKey::Left;
        case Qt::Key_Right: return model3d::ViewKey::Right;
        case Qt::Key_Up: return model3d::ViewKey::Up;
        case Qt::Key_Down: return model3d::ViewKey::Down;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
        case Qt::Key_PageUp: return model3d::ViewKey::ZoomIn;
        case Qt::Key_Minus:
        case Qt::Key_PageDown: return model3d::ViewKey::ZoomOut;
        default: return std::nullopt;
        }
    };
    if (Locked || (event->key() != Qt::Key_Home && !viewKey(event->key()))) {
        // Esc, Enter and the dialog's shortcuts are the dialog's.
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->key() == Qt::Key_Home) {
        ResetujPrzeksztalcenia();
        return;
    }
    m_state.key(*viewKey(event->key()), modifiersOf(event->modifiers()), settings);
    PokazScene();
}

void TRAWview::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (Locked)
        return;
    m_state.wheel(event->angleDelta().y(), settings);
    PokazScene();
}

}  // namespace kerfline::ui
