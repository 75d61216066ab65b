#include "config/cutting_mode.h"
#include "config/parameters.h"
#include "model3d/model_reading.h"
#include "model3d/pass_window_list.h"
#include "model3d/serial_generator.h"
#include "model_fixtures.h"
#include "project/tmdichild.h"
#include "support/started_context.h"
#include "support/temp_dir.h"

#include "base/scripted_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>

namespace kerfline::model3d {
namespace {

using testing::modelFixture;

struct Rig {
    ScriptedHost host;
    SimulatedClock clock;
    testing::TempDir home;
    std::unique_ptr<AppContext> context = testing::startedContext(host, clock, home, {});
    PassWindowList windows{*context};
    SerialGenerator generator{context->services(), context->configuration, context->machine, windows};

    // Lets the worker threads finish and runs their completions, pass after pass.
    void settle()
    {
        for (int i = 0; i < 1000 && (generator.reading() || generator.locked()); ++i) {
            generator.waitForWorkers();
            host.runPosted();
        }
        host.runPosted();
    }
};

LoadedModel loaded(const std::string& path)
{
    ModelReadResult read = ReadModel(path, 1.0);
    return {std::move(read.triangles), read.model};
}

TriangleList boxTriangles(double x, double y, double z)
{
    const auto corner = [&](int i) { return std::array<float, 3>{float(i & 1 ? x : 0), float(i & 2 ? y : 0), float(i & 4 ? z : 0)}; };
    const int faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    TriangleList triangles;
    for (const auto& f : faces)
        for (const auto& [a, b, c] : {std::array<int, 3>{f[0], f[1], f[2]}, std::array<int, 3>{f[0], f[2], f[3]}}) {
            Triangle t;
            for (int k = 0; k < 3; ++k) {
                const auto p = corner(k == 0 ? a : k == 1 ? b : c);
                t.v[static_cast<std::size_t>(k * 3)] = p[0];
                t.v[static_cast<std::size_t>(k * 3 + 1)] = p[1];
                t.v[static_cast<std::size_t>(k * 3 + 2)] = p[2];
            }
            triangles.push_back(t);
        }
    return triangles;
}

struct Xy {
    double x, y;
};

// The pass profile in millimetres: x about the turning axis, y as in the model.
std::vector<Xy> profileMm(const PassResult& pass, const RasterGeometry& geometry, const TModel& model)
{
    std::vector<Xy> points;
    for (const Point& p : pass.figures.at(0).points)
        points.push_back({p.x / 40.0 - geometry.width * geometry.step / 2.0,
                          p.y / 40.0 - geometry.height * geometry.step / 2.0 + model.centreY()});
    return points;
}

double segmentDistance(Xy p, Xy a, Xy b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double polylineDistance(Xy p, const std::vector<Xy>& line)
{
    double best = 1e300;
    for (std::size_t i = 0; i + 1 < line.size(); ++i)
        best = std::min(best, segmentDistance(p, line[i], line[i + 1]));
    return best;
}

double hausdorff(const std::vector<Xy>& a, const std::vector<Xy>& b)
{
    // Both ways, each polyline sampled every 0.05 mm.
    const auto oneWay = [](const std::vector<Xy>& from, const std::vector<Xy>& to) {
        double worst = 0;
        for (std::size_t i = 0; i + 1 < from.size(); ++i) {
            const int n = std::max(1, static_cast<int>(std::hypot(from[i + 1].x - from[i].x, from[i + 1].y - from[i].y) / 0.05));
            for (int k = 0; k <= n; ++k) {
                const double t = static_cast<double>(k) / n;
                worst = std::max(worst, polylineDistance({from[i].x + t * (from[i + 1].x - from[i].x),
                                                          from[i].y + t * (from[i + 1].y - from[i].y)}, to));
            }
        }
        return worst;
    };
    return std::max(oneWay(a, b), oneWay(b, a));
}

TEST(SerialGenerator, EveryPassOfABodyOfRevolutionIsItsProfile)
{
    const LoadedModel model = loaded(modelFixture("revolution.raw"));
    ASSERT_FALSE(model.triangles.empty());
    std::vector<Xy> expected;
    std::istringstream profile(testing::fileText(modelFixture("revolution.profile.txt")));
    std::vector<Xy> right;
    for (double r, y; profile >> r >> y;)
        right.push_back({r, y});
    for (auto it = right.begin(); it != right.end(); ++it)
        expected.push_back({-it->x, it->y});
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        expected.push_back(*it);

    const RasterGeometry geometry = rasterGeometry(model.model);
    for (int k = 1; k <= 18; ++k) {
        const double angle = passAngle(k, 18);
        SCOPED_TRACE(angle);
        const PassResult pass = computePass(model, angle, geometry, false);
        ASSERT_EQ(pass.figures.size(), 1u);
        EXPECT_LE(hausdorff(profileMm(pass, geometry, model.model), expected), 0.5);
    }
}

TEST(SerialGenerator, ATurnedBoxReachesItsTurnedHalfWidth)
{
    // At 45 degrees this box reaches 63.6 mm from its axis; a raster as wide as the box alone
    // (100 mm) clamped that flat at 50 mm.
    const double X = 100, Y = 60, Z = 80;
    LoadedModel model;
    model.triangles = boxTriangles(X, Y, Z);
    model.model = boundsOf(model.triangles, "box.raw");
    const RasterGeometry geometry = rasterGeometry(model.model);
    for (int k = 1; k <= 4; ++k) {
        const double angle = passAngle(k, 4);
        SCOPED_TRACE(angle);
        const PassResult pass = computePass(model, angle, geometry, false);
        ASSERT_EQ(pass.figures.size(), 1u);
        double low = 1e300, high = -1e300;
        for (const Xy& p : profileMm(pass, geometry, model.model)) {
            low = std::min(low, p.x);
            high = std::max(high, p.x);
        }
        const double a = angle * std::numbers::pi / 180.0;
        const double halfWidth = X / 2 * std::fabs(std::cos(a)) + Z / 2 * std::fabs(std::sin(a));
        EXPECT_NEAR((high - low) / 2, halfWidth, 0.5);
    }
}

TEST(SerialGenerator, GeneratesOneCaptionedWindowPerPassAndSetsSerialMode)
{
    Rig rig;
    ASSERT_TRUE(rig.context);
    rig.context->configuration.setChoice(Param::Mode, Mode2D);
    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.raw")));
    EXPECT_TRUE(rig.generator.locked());
    rig.settle();
    ASSERT_TRUE(rig.generator.hasModel());
    int closes = 0;
    rig.generator.view.close = [&] { ++closes; };
    ASSERT_TRUE(rig.generator.generate());
    rig.settle();

    const std::vector<TMDIChild*> windows = rig.windows.windows();
    ASSERT_EQ(windows.size(), 18u);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "revolution [%zu.00 st]", i * 10);
        EXPECT_EQ(rig.windows.caption(*windows[i]), caption);
        EXPECT_EQ(windows[i]->seriesIndex, static_cast<int>(i) + 1);
        EXPECT_FALSE(windows[i]->figures.empty());
        EXPECT_EQ(windows[i]->cutOffAfterSeries, 1);
    }
    EXPECT_EQ(rig.context->configuration.choice(Param::Mode), ModeSerial);
    EXPECT_EQ(rig.windows.tiles, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(rig.generator.locked());
    // The cut-off belongs to the generated series, not to a series opened later from files.
    EXPECT_EQ(TMDIChild(*rig.context).cutOffAfterSeries, 0);
}

TEST(SerialGenerator, CancelStopsAndJoinsThePassBeforeAnythingIsReused)
{
    Rig rig;
    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.dxf")));
    rig.settle();
    rig.generator.settings.passes = 6;
    ASSERT_TRUE(rig.generator.generate());
    // Cancel while the first pass runs: the pass is stopped and joined, the window stays open.
    EXPECT_FALSE(rig.generator.cancel());
    EXPECT_FALSE(rig.generator.locked());
    EXPECT_EQ(rig.generator.passNumber(), 1);
    rig.host.runPosted();
    EXPECT_TRUE(rig.windows.windows().empty());

    // A new model and a new generation right away use nothing of the cancelled run.
    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.raw")));
    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.dxf")));
    rig.settle();
    ASSERT_TRUE(rig.generator.generate());
    rig.settle();
    EXPECT_EQ(rig.windows.windows().size(), 6u);
    EXPECT_TRUE(rig.generator.cancel());  // nothing runs: the window closes
}

TEST(SerialGenerator, ClosingDuringAReadStopsItAndARunningPassRefuses)
{
    Rig rig;
    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.dxf")));
    EXPECT_TRUE(rig.generator.closeRequested());
    EXPECT_FALSE(rig.generator.reading());
    rig.host.runPosted();
    EXPECT_FALSE(rig.generator.hasModel());

    ASSERT_TRUE(rig.generator.loadModel(modelFixture("revolution.raw")));
    rig.settle();
    ASSERT_TRUE(rig.generator.generate());
    EXPECT_FALSE(rig.generator.closeRequested());
    EXPECT_EQ(rig.host.messages.back().text, rig.context->Text("SerialCutFrom3D", "zakonczGenPlikowWy"));
}

TEST(SerialGenerator, ADestroyedGeneratorJoinsItsThreadsAndDropsTheirCompletions)
{
    Rig rig;
    auto generator = std::make_unique<SerialGenerator>(rig.context->services(), rig.context->configuration,
                                                       rig.context->machine, rig.windows);
    ASSERT_TRUE(generator->loadModel(modelFixture("revolution.raw")));
    generator->waitForWorkers();
    rig.host.runPosted();
    ASSERT_TRUE(generator->generate());
    generator->waitForWorkers();  // the pass has posted its completion
    generator.reset();
    rig.host.runPosted();
    EXPECT_TRUE(rig.windows.windows().empty());
}

// A model file that gave no face says which file and what a model is read from; one that could
// not be read says only why.
TEST(SerialGenerator, AnEmptyModelSaysWhatAModelIsReadFrom)
{
    const struct {
        const char* name;
        const char* content;
        const char* cause;  // key in "SerialCutFrom3D", or none for the reader's own message
    } cases[] = {
        {"lines.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n0\nENDSEC\n0\nEOF\n",
         "modelPustyDXF"},
        {"text.raw", "Object1\nnot a face\n", "modelPustyRAW"},
        {"broken.dxf", "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n10\nnan\n0\nENDSEC\n0\nEOF\n", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        const std::string path = rig.home.write(c.name, c.content);
        ASSERT_TRUE(rig.generator.loadModel(path));
        rig.settle();
        ASSERT_EQ(rig.host.messages.size(), 1u);
        const std::string& text = rig.host.messages[0].text;
        if (c.cause == nullptr) {
            EXPECT_EQ(text.find(rig.context->Text("Project_window", "zbiorPusty")), std::string::npos) << text;
            continue;
        }
        EXPECT_EQ(text.rfind(rig.context->Text("Project_window", "zbiorPusty"), 0), 0u) << text;
        EXPECT_NE(text.find(path), std::string::npos) << text;
        EXPECT_NE(text.find(rig.context->Text("SerialCutFrom3D", c.cause)), std::string::npos) << text;
    }
}

TEST(SerialGenerator, SizeCheckUsesTheHorizontalDiagonal)
{
    Rig rig;
    rig.context->machine.limitX = 1200;
    rig.context->machine.limitY = 2400;
    TModel model;
    model.maxX = 1000;
    model.maxY = 100;
    model.maxZ = 1000;  // turned, it sweeps 1414 mm
    const auto message = sizeCheckMessage(model, rig.context->configuration, rig.context->machine, rig.context->language);
    ASSERT_TRUE(message.has_value());
    // It says by how much: the turned width against the working area.
    EXPECT_EQ(message->rfind(rig.context->Text("Main_window", "projektZaDuzy"), 0), 0u);
    EXPECT_NE(message->find("1414.2 x 100.0 mm"), std::string::npos) << *message;
    EXPECT_NE(message->find("1200.0 x 2400.0 mm"), std::string::npos) << *message;
    model.maxZ = 100;
    EXPECT_FALSE(sizeCheckMessage(model, rig.context->configuration, rig.context->machine, rig.context->language));
}

TEST(SerialGenerator, SavedPassesAreNumberedFilesInAnExistingFolder)
{
    Rig rig;
    std::vector<TMDIChild*> windows;
    std::vector<std::unique_ptr<TMDIChild>> owned;
    for (int i = 1; i <= 12; ++i) {
        owned.push_back(std::make_unique<TMDIChild>(*rig.context));
        tfigura square;
        square.points = {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}};
        owned.back()->figures.push_back(square);
        owned.back()->seriesIndex = i;
        windows.push_back(owned.back().get());
    }
    testing::TempDir folder;
    ASSERT_TRUE(saveSerialPasses(windows, folder.path().string(), UnitMillimetre, rig.context->services()));
    for (int i = 1; i <= 12; ++i)
        EXPECT_TRUE(std::filesystem::exists(folder.path() / serialPassFileName(i))) << i;
    EXPECT_EQ(serialPassFileName(7), "007.dxf");

    // DXF files present: the operator is asked; Cancel writes nothing.
    std::filesystem::remove(folder.path() / "001.dxf");
    EXPECT_FALSE(saveSerialPasses(windows, folder.path().string(), UnitMillimetre, rig.context->services()));
    EXPECT_EQ(rig.host.questions.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "001.dxf"));

    // No folder chosen: nothing is written at the root as "/001.dxf".
    EXPECT_FALSE(saveSerialPasses(windows, "", UnitMillimetre, rig.context->services()));
    EXPECT_TRUE(rig.host.messages.back().isError);
}

}  // namespace
}  // namespace kerfline::model3d
