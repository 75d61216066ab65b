#include "project_rig.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::TempDir;

// HPGL for a polyline in one pen: "SP<pen>;PU<first>;PD<rest>;PU;".
std::string polyline(int pen, const std::vector<Point>& points)
{
    std::string text = "SP" + std::to_string(pen) + ";PU" + std::to_string(points[0].x) + "," +
                       std::to_string(points[0].y) + ";PD";
    for (std::size_t k = 1; k < points.size(); ++k)
        text += (k > 1 ? "," : "") + std::to_string(points[k].x) + "," + std::to_string(points[k].y);
    return text + ";PU;";
}

struct Loaded {
    LoadOutcome outcome;
    std::vector<std::string> messages;
    std::string path;
};

Loaded load(ProjectRig& rig, const std::string& content, std::uint8_t penFilter = 255)
{
    TempDir dir;
    const std::string path = dir.write("design.plt", content);
    const LoadOutcome outcome = rig.project.Load(path, penFilter);
    Loaded loaded{outcome, {}, path};
    for (const auto& message : rig.host.messages)
        loaded.messages.push_back(message.text);
    return loaded;
}

std::vector<int> pensOf(const TMDIChild& project)
{
    std::vector<int> pens;
    for (const tfigura& f : project.figures)
        pens.push_back(f.pen);
    return pens;
}

// With no mode chosen nothing is prepared, so the loaded figures stay as the loader left them.
void keepAsLoaded(ProjectRig& rig)
{
    rig.config().setChoice(Param::Mode, -1);
    ASSERT_EQ(rig.project.mode(), -1);
}

TEST(ProjectLoad, PenFilterKeepsItsPenAndPenSix)
{
    const std::string design = polyline(1, {{0, 0}, {100, 0}}) + polyline(2, {{0, 200}, {100, 200}}) +
                               polyline(6, {{0, 400}, {100, 400}}) + polyline(3, {{0, 600}, {100, 600}});
    const struct {
        std::uint8_t filter;
        std::vector<int> pens;
    } cases[] = {{255, {1, 2, 6, 3}}, {2, {2, 6}}, {3, {6, 3}}, {6, {6}}};
    for (const auto& c : cases) {
        ProjectRig rig;
        keepAsLoaded(rig);
        EXPECT_EQ(load(rig, design, c.filter).outcome, LoadOutcome::Opened);
        EXPECT_EQ(pensOf(rig.project), c.pens) << "filter " << int{c.filter};
    }
}

TEST(ProjectLoad, NothingLeftAfterThePenFilterReportsAnEmptyFile)
{
    ProjectRig rig;
    const Loaded loaded = load(rig, polyline(1, {{0, 0}, {100, 0}}) + polyline(2, {{0, 9}, {100, 9}}), 4);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Closed);
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0], rig.app.Text("Project_window", "zbiorPusty") + "\nFile: " + loaded.path +
                                      "\nIts figures are drawn in colours that this cutting mode does not take.");
    EXPECT_TRUE(rig.host.messages[0].isError);
    EXPECT_EQ(rig.host.busyDepth, 0);
}

TEST(ProjectLoad, IdenticalPolylinesLoadAsOne)
{
    ProjectRig rig;
    keepAsLoaded(rig);
    const std::string square = polyline(1, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    load(rig, square + square + polyline(1, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}));
    ASSERT_EQ(rig.project.figures.size(), 2u);
    EXPECT_EQ(rig.project.figures[1].points.size(), 4u);
}

// Three pieces of one outline, delivered in every order and direction, join into one figure.
TEST(ProjectLoad, OpenEndsJoinInEveryOrderAndDirection)
{
    // Ends meet within the default tolerance (10 units), not exactly.
    const std::vector<Point> a{{0, 0}, {100, 0}, {100, 50}};
    const std::vector<Point> b{{103, 52}, {100, 100}, {50, 100}};
    const std::vector<Point> c{{48, 104}, {0, 100}, {2, 3}};
    const auto reversed = [](std::vector<Point> p) { return std::vector<Point>(p.rbegin(), p.rend()); };
    const std::vector<std::vector<std::vector<Point>>> orders{
        {a, b, c}, {c, b, a}, {b, a, c}, {a, c, b}, {reversed(b), a, c}, {a, reversed(c), reversed(b)},
        {reversed(a), reversed(b), reversed(c)}, {c, reversed(a), b}};
    for (std::size_t k = 0; k < orders.size(); ++k) {
        ProjectRig rig;
        keepAsLoaded(rig);
        std::string design;
        for (const auto& piece : orders[k])
            design += polyline(1, piece);
        load(rig, design);
        ASSERT_EQ(rig.project.figures.size(), 1u) << "order " << k;
        const tfigura& joined = rig.project.figures[0];
        EXPECT_EQ(joined.points.size(), 7u) << "order " << k;
        EXPECT_EQ(joined.open, 0) << "order " << k;
        EXPECT_EQ(joined.closed, 1) << "order " << k;
    }
}

TEST(ProjectLoad, JoinedPiecesStayOpenWhenTheOutlineDoesNotClose)
{
    ProjectRig rig;
    keepAsLoaded(rig);
    load(rig, polyline(1, {{0, 0}, {100, 0}}) + polyline(1, {{300, 0}, {200, 0}}) + polyline(1, {{105, 0}, {195, 0}}));
    ASSERT_EQ(rig.project.figures.size(), 1u);
    EXPECT_EQ(rig.project.figures[0].points.front(), (Point{0, 0}));
    EXPECT_EQ(rig.project.figures[0].points.back(), (Point{300, 0}));
    EXPECT_EQ(rig.project.figures[0].open, 1);
}

TEST(ProjectLoad, TwoPointFigureWithCoincidentEndsIsOpen)
{
    ProjectRig rig;
    tfigura figure;
    figure.points = {{5, 5}, {5, 5}};
    rig.project.licz_parametry(figure);
    EXPECT_EQ(figure.open, 1);
    EXPECT_EQ(figure.closed, 0);
    EXPECT_EQ(figure.parent, -1);
    EXPECT_EQ(figure.attachVertex, -1);
}

TEST(ProjectLoad, FigureParametersKeepTheFirstExtremeVertex)
{
    ProjectRig rig;
    tfigura figure;
    figure.points = {{-3, 4}, {7, -2}, {7, 9}, {-3, -2}, {0, 9}};
    rig.project.licz_parametry(figure);
    EXPECT_EQ(figure.minXVertex, 0);
    EXPECT_EQ(figure.maxXVertex, 1);
    EXPECT_EQ(figure.minYVertex, 1);
    EXPECT_EQ(figure.maxYVertex, 2);
    EXPECT_EQ(figure.width, 10);
    EXPECT_EQ(figure.height, 11);
    // (-3 + 7) div 2 and (-2 + 9) div 2, truncating toward zero.
    EXPECT_EQ(figure.centreX, 2);
    EXPECT_EQ(figure.centreY, 3);
    EXPECT_EQ(figure.isDesign, 1);
    EXPECT_EQ(figure.unconnected, 1);

    tfigura negative;
    negative.points = {{-7, -7}, {0, -7}, {0, 0}};
    rig.project.licz_parametry(negative);
    EXPECT_EQ(negative.centreX, -3);  // -7 div 2
}

TEST(ProjectLoad, ClosedWhenTheEndsLieStrictlyWithinTheTolerance)
{
    // The default tolerance is 0.25 mm, 10 units.
    const struct {
        Point last;
        int closed;
    } cases[] = {{{9, 9}, 1}, {{10, 0}, 0}, {{0, -10}, 0}, {{-9, 0}, 1}};
    for (const auto& c : cases) {
        ProjectRig rig;
        tfigura figure;
        figure.points = {{0, 0}, {500, 0}, {500, 500}, c.last};
        rig.project.licz_parametry(figure);
        EXPECT_EQ(figure.closed, c.closed) << c.last.x << "," << c.last.y;
    }
}

TEST(ProjectLoad, SizeCheckWarnsOnlyBeyondTheWorkingArea)
{
    // limitX 100 mm = 4000 units. Scaled widths: exactly the limit passes, one unit more warns.
    const struct {
        double skala;
        std::int32_t width;
        bool warns;
    } cases[] = {{100, 4000, false}, {100, 4001, true}, {50, 8000, false}, {50, 8002, true}, {200, 2000, false},
                 {200, 2001, true}};
    for (const auto& c : cases) {
        ProjectRig rig;
        keepAsLoaded(rig);
        rig.app.machine.limitX = 100;
        rig.app.machine.limitY = 100;
        rig.config().setNumber(Param::skala, c.skala);
        const Loaded loaded = load(rig, polyline(1, {{0, 0}, {c.width, 0}, {c.width, 10}}));
        EXPECT_EQ(loaded.outcome, LoadOutcome::Opened);
        EXPECT_EQ(!loaded.messages.empty(), c.warns) << "skala " << c.skala << " width " << c.width;
        if (c.warns) {
            EXPECT_EQ(loaded.messages[0].rfind(rig.app.Text("Main_window", "projektZaDuzy") + "\nProject: ", 0), 0u)
                << loaded.messages[0];
        }
    }
}

TEST(ProjectLoad, CoordinatesBeyondThirtyTwoBitsAreRefused)
{
    ProjectRig rig;
    keepAsLoaded(rig);
    const Loaded loaded = load(rig, polyline(1, {{-2100000000, 0}, {2100000000, 0}, {0, 5}}));
    EXPECT_EQ(loaded.outcome, LoadOutcome::Closed);
    ASSERT_EQ(loaded.messages.size(), 1u);
    EXPECT_EQ(loaded.messages[0].rfind(rig.app.Text("Main_window", "projektZaDuzy") + "\n", 0), 0u);
    EXPECT_TRUE(rig.project.figures.empty());
}

TEST(ProjectLoad, ConversionErrorReportsTheReadersMessageAndCloses)
{
    ProjectRig rig;
    TempDir dir;
    const std::string path = dir.write("broken.plt", "IN;SP1;PU0,0;PD10,5.5;PU;");
    EXPECT_EQ(rig.project.Load(path, 255), LoadOutcome::Closed);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_NE(rig.host.messages[0].text.find(path), std::string::npos);
    EXPECT_NE(rig.host.messages[0].text.find("5.5"), std::string::npos);
    EXPECT_TRUE(rig.project.figures.empty());
    EXPECT_EQ(rig.project.importer, nullptr);
    EXPECT_EQ(rig.host.busyDepth, 0);
}

TEST(ProjectLoad, MissingFileCannotBeOpened)
{
    ProjectRig rig;
    TempDir dir;
    const std::string path = dir.str() + "missing.plt";
    EXPECT_EQ(rig.project.Load(path, 255), LoadOutcome::Closed);
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, rig.app.Text("Universal", "zbioruNieMoznaOtworzyc") + path);
}

TEST(ProjectLoad, FillsTheProjectFields)
{
    ProjectRig rig;
    keepAsLoaded(rig);
    rig.config().setChoice(Param::CatDir, 1);
    const Loaded loaded = load(rig, "PW0.5,1;" + polyline(1, {{100, 200}, {300, 200}, {300, 500}}) +
                                        polyline(2, {{50, 250}, {60, 260}}));
    ASSERT_EQ(loaded.outcome, LoadOutcome::Opened);
    const TMDIChild& p = rig.project;
    EXPECT_EQ(p.rotationAngle, 50.0);
    EXPECT_EQ(p.directionX, (std::array<std::uint8_t, 2>{255, 255}));
    EXPECT_EQ(p.minX, 50);
    EXPECT_EQ(p.minY, 200);
    EXPECT_EQ(p.width, 250);
    EXPECT_EQ(p.height, 300);
    EXPECT_EQ(p.selectedFigure, -1);
    EXPECT_EQ(p.pathReady, 0);
    for (std::size_t i = 0; i < p.figures.size(); ++i) {
        EXPECT_EQ(p.figures[i].number, static_cast<std::int32_t>(i));
        EXPECT_EQ(p.figures[i].originX, 50);
        EXPECT_EQ(p.figures[i].originY, 200);
        EXPECT_EQ(p.figures[i].sourceFigure, -1);
    }
    EXPECT_EQ(p.StatusBar, rig.app.Text("Project_window", "iloscFigur") + "2");
    ASSERT_FALSE(rig.host.statusPanels.empty());
    EXPECT_EQ(rig.host.statusPanels[0], "");
    EXPECT_EQ(rig.host.busyDepth, 0);
}

TEST(ProjectLoad, FeedDirectionFollowsTheConfiguration)
{
    for (const auto& [catDir, sign] : {std::pair{0, 1}, {1, 255}, {2, 1}}) {
        ProjectRig rig;
        keepAsLoaded(rig);
        rig.config().setChoice(Param::CatDir, catDir);
        load(rig, polyline(1, {{0, 0}, {10, 0}}));
        EXPECT_EQ(rig.project.directionX[0], sign) << "CatDir " << catDir;
        EXPECT_EQ(rig.project.directionX[1], sign) << "CatDir " << catDir;
    }
}

TEST(ProjectLoad, ModeDecidesWhetherThe2DPreparationRuns)
{
    const struct {
        int mode;
        int selector;
        bool prepared;
    } cases[] = {{Mode2D, 0, true},      {ModeRotary, 1, false}, {ModeSerial, 0, false}, {ModeSerial, 1, true},
                 {ModeSerial, 2, true},  {ModeTurning, 2, true}, {ModeTurning, 0, false}, {ModeTurning, 1, false},
                 {ModeIndependent, 0, true}, {ModePerpendicular, 2, true}};
    for (const auto& c : cases) {
        ProjectRig rig;
        rig.config().setChoice(Param::Mode, c.mode);
        rig.config().setChoice(Param::StolikSwitch, c.selector);
        load(rig, polyline(1, {{0, 0}, {400, 0}, {400, 400}, {0, 400}, {0, 0}}) +
                      polyline(1, {{1000, 0}, {1400, 0}, {1400, 400}, {1000, 400}, {1000, 0}}));
        const bool prepared = rig.project.figures.size() > 2;
        EXPECT_EQ(prepared, c.prepared) << "mode " << c.mode << " selector " << c.selector;
    }
}

TEST(ProjectModel, AddedFiguresAndRenumbering)
{
    ProjectRig rig;
    tfigura line;
    line.points = {{0, 0}, {50, 0}, {50, 50}, {0, 0}};
    EXPECT_EQ(rig.project.AddLacznik(line, 0), 0);
    EXPECT_EQ(rig.figure(0).isDesign, 0);
    EXPECT_EQ(rig.figure(0).closed, 0);
    EXPECT_EQ(rig.figure(0).open, 0);
    tfigura design;
    design.points = {{-20, 10}, {5, 70}};
    EXPECT_EQ(rig.project.AddFigure(design), 1);
    EXPECT_EQ(rig.figure(1).isDesign, 1);

    rig.figure(0).number = 7;
    rig.project.Ustaw_PPiPK();
    EXPECT_EQ(rig.figure(0).number, 0);
    EXPECT_EQ(rig.project.minX, -20);
    EXPECT_EQ(rig.project.maxY, 70);
    EXPECT_EQ(rig.project.width, 70);
}

}  // namespace
}  // namespace kerfline
