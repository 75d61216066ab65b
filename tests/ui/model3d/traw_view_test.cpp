// The 3D view on a real X server: what its framebuffer shows, and a lock that keeps it still.
#include "model3d/model_fixtures.h"
#include "model3d/ui/traw_view.h"
#include "support/screenshot.h"

#include <QImage>
#include <QWheelEvent>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <vector>
#include <numbers>

namespace kerfline::ui {
namespace {

model3d::ModelHandle boxModel(float x, float y, float z)
{
    auto model = std::make_shared<model3d::LoadedModel>();
    model->triangles = testing::boxTriangles({0, 0, 0}, {x, y, z});
    model->model = model3d::boundsOf(model->triangles, "box.raw");
    return model;
}

// Where the projection of the view (20 degree field, eye 12 units away) puts a model point.
QPointF projected(const model3d::ViewState& s, double x, double y, double z, int w, int h)
{
    const double ex = s.scale * (x + s.centring[0]);
    const double ey = s.scale * (y + s.centring[1]);
    const double ez = s.scale * (z + s.centring[2]) - 12.0;
    const double f = 1.0 / std::tan(10.0 * std::numbers::pi / 180.0);
    const double aspect = static_cast<double>(w) / h;
    return {(f / aspect * ex / -ez + 1.0) / 2.0 * w, (1.0 - f * ey / -ez) / 2.0 * h};
}

TEST(TRAWview, FramebufferShowsTheBoundingBoxWhereTheProjectionPutsIt)
{
    TRAWview view;
    view.settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.LadujListeRAW(boxModel(200, 150, 60));
    view.waitForModelAnalysis();
    const QImage image = view.grabFramebuffer();
    testing::saveScreenshot(view, "traw_view_box");
    ASSERT_EQ(image.width(), 400);

    QRect drawn;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0)
                drawn |= QRect(x, y, 1, 1);
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (int i = 0; i < 8; ++i) {
        const QPointF p = projected(view.state(), i & 1 ? 200 : 0, i & 2 ? 150 : 0, i & 4 ? 60 : 0, 400, 300);
        left = std::min(left, p.x());
        right = std::max(right, p.x());
        top = std::min(top, p.y());
        bottom = std::max(bottom, p.y());
    }
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_NEAR(drawn.left(), left, 2.0);
    EXPECT_NEAR(drawn.right() + 1, right, 2.0);
    EXPECT_NEAR(drawn.top(), top, 2.0);
    EXPECT_NEAR(drawn.bottom() + 1, bottom, 2.0);
}

int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

// Of a closed model seen from outside, the view skips the faces turned away from the eye. The
// same box with an open face hidden inside it is drawn with all faces: the pictures must be the
// same, also when zoomed so far that the near plane cuts the box open and its inside shows.
TEST(TRAWview, SkippingHiddenFacesChangesNoPixel)
{
    const model3d::ModelHandle closed = boxModel(200, 150, 60);
    auto open = std::make_shared<model3d::LoadedModel>(*closed);
    open->triangles.push_back({{50, 50, 30, 150, 50, 30, 100, 100, 30}});
    TRAWview closedView, openView;
    for (auto [view, model] : {std::pair{&closedView, closed}, std::pair{&openView, model3d::ModelHandle(open)}}) {
        view->settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
        view->LadujListeRAW(model);
        view->waitForModelAnalysis();
    }
    const double fitted = closedView.state().scale;
    struct Case {
        const char* name;
        double turnY;
        double turnX;
        double zoom;
    };
    const Case cases[] = {{"fitted", 0, 0, 1}, {"turned", 30, -20, 1}, {"zoomed into the box", 10, 0, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (TRAWview* view : {&closedView, &openView}) {
            view->state().turnY = c.turnY;
            view->state().turnX = c.turnX;
            view->state().scale = fitted * c.zoom;
        }
        const QImage image = closedView.grabFramebuffer();
        // Where a face turned away ties in depth with the one in front of it, on the outline, a
        // pixel may take the colour of either.
        EXPECT_LE(differingPixels(image, openView.grabFramebuffer()), 4);
        EXPECT_NE(image.pixel(200, 150) & 0xffffff, 0u);  // the box, from outside or from inside
    }
    testing::saveScreenshot(closedView, "traw_view_inside_box");
}

// Faces that share corners are drawn from shared vertices: each must still be lit by its own
// normal alone, from whichever side it is seen. A fan of faces leaning every way, some seen from
// behind, must show every pixel in the colour of a face that covers it when drawn on its own, in
// every way of drawing.
TEST(TRAWview, FacesSharingCornersShowTheirOwnShade)
{
    const model3d::TriangleList fan = testing::fanTriangles(12);
    const model3d::TModel bounds = model3d::boundsOf(fan, "fan.raw");
    const auto viewOf = [&](TRAWview& view, model3d::TriangleList triangles) {
        auto model = std::make_shared<model3d::LoadedModel>();
        model->triangles = std::move(triangles);
        model->model = bounds;
        view.settings.TrybPracy = model3d::TTrybPracy::tpPrzegladRAWtermSeryjne;
        view.settings.Model_Material = 1.0;
        view.resize(300, 300);
        view.show();
        view.LadujListeRAW(model);
        view.waitForModelAnalysis();
        view.state().turnX = -25;
        view.state().turnY = 15;
    };
    TRAWview whole;
    viewOf(whole, fan);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&whole));
    std::vector<std::unique_ptr<TRAWview>> alone;
    for (const model3d::Triangle& face : fan) {
        alone.push_back(std::make_unique<TRAWview>());
        viewOf(*alone.back(), {face});
    }
    const std::pair<const char*, model3d::TSposobKreslenia> ways[] = {
        {"filled", model3d::TSposobKreslenia::skWypelnienie},
        {"edges", model3d::TSposobKreslenia::skKontur},
        {"corner points", model3d::TSposobKreslenia::skPunkty}};
    // The shades of each face alone, per way of drawing.
    std::vector<std::vector<std::set<QRgb>>> shadesAlone;
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        whole.settings.Model_SposobKreslenia = way;
        const QImage image = whole.grabFramebuffer();
        std::vector<QImage> faces;
        auto& faceShades = shadesAlone.emplace_back();
        for (auto& view : alone) {
            view->settings.Model_SposobKreslenia = way;
            faces.push_back(view->grabFramebuffer());
            auto& shadesOfFace = faceShades.emplace_back();
            for (int y = 0; y < faces.back().height(); ++y)
                for (int x = 0; x < faces.back().width(); ++x)
                    if (const QRgb pixel = faces.back().pixel(x, y) & 0xffffff; pixel != 0)
                        shadesOfFace.insert(pixel);
        }
        int drawn = 0, wrong = 0;
        std::set<QRgb> shades;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & 0xffffff;
                if (pixel == 0)
                    continue;
                ++drawn;
                shades.insert(pixel);
                wrong += std::none_of(faces.begin(), faces.end(),
                                      [&](const QImage& f) { return (f.pixel(x, y) & 0xffffff) == pixel; });
            }
        EXPECT_GT(drawn, static_cast<int>(fan.size()));  // at least the corners
        EXPECT_GE(shades.size(), 6u);  // the faces lean apart, so their shades differ
        EXPECT_EQ(wrong, 0);
        if (way == model3d::TSposobKreslenia::skWypelnienie)
            testing::saveScreenshot(whole, "traw_view_fan");
    }
    // Each face shows one shade, the same filled, as edges and as corner points.
    for (std::size_t f = 0; f < fan.size(); ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(shadesAlone[0][f].size(), 1u);
        EXPECT_EQ(shadesAlone[1][f], shadesAlone[0][f]);
        EXPECT_EQ(shadesAlone[2][f], shadesAlone[0][f]);
    }
}

// A view on the screen with a small box loaded.
void showBox(TRAWview& view)
{
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.LadujListeRAW(boxModel(10, 10, 10));
}

// The model is laid out for drawing beside the window, which goes on meanwhile; the view shows it
// by itself once it is ready.
TEST(TRAWview, AModelShowsByItselfOnceLaidOut)
{
    TRAWview view;
    showBox(view);
    const auto modelShown = [&view] {
        const QImage image = view.grabFramebuffer();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) > 64 && qGreen(image.pixel(x, y)) < 32)
                    return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(modelShown(), 5000);
}

TEST(TRAWview, LockedViewIgnoresWheelAndMouse)
{
    TRAWview view;
    showBox(view);
    const double scale = view.state().scale;
    view.Locked = true;
    QTest::mousePress(&view, Qt::RightButton, {}, QPoint(50, 50));
    QTest::mouseMove(&view, QPoint(80, 90));
    QWheelEvent wheel(QPointF(50, 50), view.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_EQ(view.state().scale, scale);
    EXPECT_FALSE(view.state().turning);

    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.state().turnY, 0.0);

    view.Locked = false;
    QApplication::sendEvent(&view, &wheel);
    EXPECT_GT(view.state().scale, scale);
}

// Arrows turn and Home fits the model to the view again; Esc is left to the dialog.
TEST(TRAWview, KeysNavigateAndHomeFitsTheModelAgain)
{
    TRAWview view;
    showBox(view);
    const double fit = view.state().scale;
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Plus);
    EXPECT_GT(view.state().turnY, 0.0);
    EXPECT_GT(view.state().scale, fit);
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.state().turnY, 0.0);
    EXPECT_EQ(view.state().scale, fit);

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(escape.isAccepted());
}

}  // namespace
}  // namespace kerfline::ui
