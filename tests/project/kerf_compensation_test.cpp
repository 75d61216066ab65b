// The kerf offset of the 2D preparation: which way each outline moves, that it always starts
// from the outlines as drawn, what it reports, and how an open lead-in follows the offset.
#include "project_generator.h"
#include "project_rig.h"

#include "project/kerf_compensation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::square;

struct Extents {
    std::int32_t minX, minY, maxX, maxY;
};

Extents extentsOf(const tfigura& f)
{
    return {f.minX, f.minY, f.maxX, f.maxY};
}

// Each side of the figure moved outward by `by` plotter units (inward when negative), within the
// rounding of the offset's vertices to whole units.
void expectMoved(const tfigura& figure, Extents drawn, double by)
{
    EXPECT_NEAR(figure.minX, drawn.minX - by, 1.0);
    EXPECT_NEAR(figure.minY, drawn.minY - by, 1.0);
    EXPECT_NEAR(figure.maxX, drawn.maxX + by, 1.0);
    EXPECT_NEAR(figure.maxY, drawn.maxY + by, 1.0);
}

// A 50 mm part with a 20 mm hole holding a 5 mm island (plotter units, 40 per mm).
std::vector<std::vector<Point>> partWithHoleAndIsland()
{
    return {square(0, 0, 2000), square(600, 600, 800), square(900, 900, 200)};
}

class KerfOffset : public ::testing::TestWithParam<double> {};

TEST_P(KerfOffset, OuterContoursGrowHolesShrinkIslandsGrowByHalfTheKerf)
{
    const double kerf = GetParam();
    ProjectRig rig;
    rig.config().setNumber(Param::kerf, kerf);
    const auto contours = partWithHoleAndIsland();
    rig.design(contours);
    std::vector<Extents> drawn;
    for (const tfigura& f : rig.project.figures)
        drawn.push_back(extentsOf(f));

    rig.project.ciecie();

    const double half = kerf * 20.0;
    expectMoved(rig.figure(0), drawn[0], half);
    expectMoved(rig.figure(1), drawn[1], -half);
    expectMoved(rig.figure(2), drawn[2], half);
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.figure(i).designPoints, contours[static_cast<std::size_t>(i)]) << "figure " << i;
        EXPECT_EQ(rig.figure(i).closed, 1);
    }
    // The entry line starts at the corner of the offset project, outside the grown part.
    EXPECT_NEAR(rig.project.minX, -half, 1.0);
    EXPECT_NEAR(rig.project.minY, -half, 1.0);
    EXPECT_DOUBLE_EQ(rig.project.kerfInUse, kerf);
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_EQ(rig.project.pathReady, 1);
}

INSTANTIATE_TEST_SUITE_P(Kerfs, KerfOffset, ::testing::Values(0.3, 1.0, 1.5, 5.0));

TEST(KerfOffset, EveryPreparationStartsFromTheOutlinesAsDrawn)
{
    ProjectRig rig;
    const auto contours = partWithHoleAndIsland();
    rig.design(contours);
    const Extents drawn = extentsOf(rig.figure(0));

    rig.config().setNumber(Param::kerf, 1.0);
    rig.project.applyKerf();
    const std::vector<Point> firstPath = rig.figure(0).points;
    // The same kerf again leaves the figures exactly as they are, state and all.
    rig.figure(0).unconnected = 0;
    rig.project.applyKerf();
    EXPECT_EQ(rig.figure(0).points, firstPath);
    EXPECT_EQ(rig.figure(0).unconnected, 0);

    rig.config().setNumber(Param::kerf, 0.5);
    rig.project.applyKerf();
    expectMoved(rig.figure(0), drawn, 10.0);

    rig.config().setNumber(Param::kerf, 0.0);
    rig.project.applyKerf();
    for (std::int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.figure(i).points, contours[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(rig.figure(i).designPoints.empty());
    }
    EXPECT_EQ(rig.project.minX, 0);
    EXPECT_EQ(rig.project.maxX, 2000);
    EXPECT_DOUBLE_EQ(rig.project.kerfInUse, 0.0);
}

TEST(KerfOffset, ANewKerfPlansTheProjectAsIfItHadBeenOpenedWithIt)
{
    const std::vector<std::vector<Point>> contours{square(0, 0, 4000), square(6000, 0, 4000), square(1000, 1000, 2000)};
    ProjectRig fresh;
    fresh.config().setNumber(Param::kerf, 0.5);
    fresh.design(contours);
    fresh.project.ciecie();

    ProjectRig changed;
    changed.config().setNumber(Param::kerf, 1.2);
    changed.design(contours);
    changed.project.ciecie();
    EXPECT_FALSE(changed.project.kerfOutOfDate());
    changed.config().setNumber(Param::kerf, 0.5);
    ASSERT_TRUE(changed.project.kerfOutOfDate());
    changed.project.replanForKerf();

    EXPECT_FALSE(changed.project.kerfOutOfDate());
    ASSERT_EQ(changed.project.figures.size(), fresh.project.figures.size());
    for (std::size_t i = 0; i < fresh.project.figures.size(); ++i) {
        const tfigura& want = fresh.project.figures[i];
        const tfigura& got = changed.project.figures[i];
        EXPECT_EQ(got.points, want.points) << "figure " << i;
        EXPECT_EQ(got.kind, want.kind) << "figure " << i;
        EXPECT_EQ(got.parent, want.parent) << "figure " << i;
        EXPECT_EQ(got.attachVertex, want.attachVertex) << "figure " << i;
        EXPECT_EQ(got.startVertex, want.startVertex) << "figure " << i;
    }
    EXPECT_EQ(changed.project.startFigure, fresh.project.startFigure);
    EXPECT_EQ(changed.project.minX, fresh.project.minX);
}

struct IssueCase {
    const char* name;
    std::vector<std::vector<Point>> contours;
    std::vector<KerfIssue> issues;
    std::vector<const char*> lines;        // the message's lines after its first
    std::vector<std::int32_t> keptAsDrawn;  // figures cut without compensation
};

void PrintTo(const IssueCase& c, std::ostream* out)
{
    *out << c.name;
}

class KerfIssues : public ::testing::TestWithParam<IssueCase> {};

TEST_P(KerfIssues, AreReportedWithTheFiguresNamedAndNothingIsDropped)
{
    const IssueCase& c = GetParam();
    ProjectRig rig;
    rig.project.fileName = "part.plt";
    rig.config().setNumber(Param::kerf, 1.0);  // 40 plotter units; 20 on each side
    rig.design(c.contours);
    rig.project.ciecie();

    EXPECT_EQ(rig.project.kerfIssues, c.issues);
    if (c.lines.empty()) {
        EXPECT_TRUE(rig.host.messages.empty());
    } else {
        ASSERT_EQ(rig.host.messages.size(), 1u);
        std::string expected = "The kerf compensation of part.plt is not complete:";
        for (const char* line : c.lines)
            expected += std::string("\n") + line;
        EXPECT_EQ(rig.host.messages[0].text, expected);
    }
    for (const std::int32_t i : c.keptAsDrawn) {
        EXPECT_EQ(rig.figure(i).points, c.contours[static_cast<std::size_t>(i)]) << "figure " << i;
        EXPECT_TRUE(rig.figure(i).designPoints.empty());
    }
    // Every figure is still cut.
    for (const tfigura& f : rig.project.figures)
        EXPECT_EQ(f.unconnected, 0);
}

// A hole whose two halves meet through a neck narrower than the kerf.
std::vector<Point> dumbbellHole()
{
    return {{500, 500}, {900, 500}, {900, 690}, {1100, 690}, {1100, 500}, {1500, 500}, {1500, 900},
            {1100, 900}, {1100, 710}, {900, 710}, {900, 900}, {500, 900}, {500, 500}};
}

const IssueCase kIssueCases[] = {
    {"clear", {square(0, 0, 2000), square(2080, 0, 2000), square(600, 600, 800)}, {}, {}, {}},
    {"hole_smaller_than_the_kerf",
     {square(0, 0, 2000), square(990, 990, 20)},
     {{KerfIssueKind::Vanished, 1}},
     {"Figure 1 is smaller than the kerf: it is cut as drawn."},
     {1}},
    {"parts_closer_than_the_kerf",
     {square(0, 0, 2000), square(2030, 0, 2000), square(6000, 0, 1000)},
     {{KerfIssueKind::Merged, 0, 1}},
     {"Figures 0 and 1 lie closer together than the kerf: both are cut as drawn."},
     {0, 1}},
    {"island_closer_to_its_hole_than_the_kerf",
     {square(0, 0, 2000), square(600, 600, 800), square(612, 900, 200)},
     {{KerfIssueKind::Merged, 1, 2}},
     {"Figures 1 and 2 lie closer together than the kerf: both are cut as drawn."},
     {1, 2}},
    {"hole_with_a_neck_narrower_than_the_kerf",
     {square(0, 0, 2000), dumbbellHole()},
     {{KerfIssueKind::Narrowed, 1}},
     {"Figure 1 is narrower than the kerf in places: the compensated path leaves those places out."},
     {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, KerfIssues, ::testing::ValuesIn(kIssueCases),
                         [](const ::testing::TestParamInfo<IssueCase>& info) { return std::string(info.param.name); });

TEST(KerfOffset, ASheetOfManyPartsComesOutAsEachPartOffsetAlone)
{
    // Enough outlines for the offset to be shared among threads; parts and holes alternate, and
    // every third is a copy of an earlier one moved to its place.
    ::kerfline::testing::SheetGenerator generator(5, {});
    std::vector<KerfOutline> outlines;
    for (std::int32_t k = 0; k < 400; ++k) {
        const std::int32_t x = (k % 20) * 3000;
        const std::int32_t y = (k / 20) * 3000;
        std::vector<Point> letter = generator.letter(x, y, 600, 1200, 20 + k % 41);
        if (k % 3 == 2) {
            const auto& original = outlines[static_cast<std::size_t>(k % 2)].points;
            letter.clear();
            for (const Point& p : original)
                letter.push_back({p.x - original[0].x + x + 1000, p.y - original[0].y + y});
        }
        outlines.push_back({letter, true, k % 2, -1});
    }
    const double half = halfKerfUnits(0.8);

    const KerfCompensation compensation = compensateKerf(outlines, 0.8, 4);

    EXPECT_TRUE(compensation.issues.empty());
    ASSERT_EQ(compensation.points.size(), outlines.size());
    for (std::size_t k = 0; k < outlines.size(); ++k) {
        const auto alone = offsetOutline(outlines[k].points, k % 2 == 0 ? half : -half);
        ASSERT_FALSE(alone.empty());
        EXPECT_EQ(compensation.points[k], alone.front()) << "outline " << k;
    }
}

TEST(KerfOffset, AMovedCopyIsOffsetExactlyAsMuchMoved)
{
    ::kerfline::testing::SheetGenerator generator(11, {});
    const std::vector<Point> shape = generator.letter(0, 0, 300, 700, 45);
    const Point shifts[] = {{1, 0}, {-3, 7}, {123457, -98765}, {1000000000, 1000000000}, {-1000000000, 999999}};
    for (const double delta : {16.0, -16.0, 0.8 * 40}) {
        const auto there = offsetOutline(shape, delta);
        ASSERT_FALSE(there.empty());
        for (const Point shift : shifts) {
            SCOPED_TRACE(::testing::Message() << "delta " << delta << ", moved by " << shift.x << ", " << shift.y);
            std::vector<Point> moved;
            for (const Point& p : shape)
                moved.push_back({p.x + shift.x, p.y + shift.y});
            const auto here = offsetOutline(moved, delta);
            ASSERT_EQ(here.size(), there.size());
            for (std::size_t k = 0; k < here.size(); ++k) {
                ASSERT_EQ(here[k].size(), there[k].size());
                for (std::size_t v = 0; v < here[k].size(); ++v)
                    ASSERT_EQ(here[k][v], (Point{there[k][v].x + shift.x, there[k][v].y + shift.y})) << "vertex " << v;
            }
        }
    }
}

TEST(KerfOffset, AnOpenLeadInEndingOnAPartIsTrimmedToItsOffsetOutline)
{
    ProjectRig rig;
    rig.config().setNumber(Param::kerf, 1.0);
    const std::vector<Point> leadIn{{0, 0}, {1000, 2000}, {2000, 1500}, {4000, 4000}};
    rig.design({square(4000, 4000, 4000), leadIn});
    rig.project.ciecie();

    const tfigura& line = rig.figure(1);
    const tfigura& part = rig.figure(0);
    // The end moved back along the last segment onto the grown outline, 20 units off the corner.
    const Point end = line.points.back();
    EXPECT_NEAR(std::hypot(end.x - 4000.0, end.y - 4000.0), 20.0, 1.0);
    const double along = ((end.x - 2000.0) * 2000.0 + (end.y - 1500.0) * 2500.0) / std::hypot(2000.0, 2500.0);
    const double across = ((end.x - 2000.0) * 2500.0 - (end.y - 1500.0) * 2000.0) / std::hypot(2000.0, 2500.0);
    EXPECT_LT(along, std::hypot(2000.0, 2500.0));
    EXPECT_NEAR(across, 0.0, 1.0);
    EXPECT_NE(std::find(part.points.begin(), part.points.end(), end), part.points.end());
    EXPECT_EQ(std::vector<Point>(line.points.begin(), line.points.end() - 1),
              std::vector<Point>(leadIn.begin(), leadIn.end() - 1));
    // It still leads in: the part hangs on it, no connector was needed.
    EXPECT_EQ(rig.project.startFigure, 1);
    EXPECT_EQ(part.parent, 1);
    EXPECT_EQ(rig.project.figures.size(), 2u);
}

TEST(KerfOffset, AnOpenLeadInEndingOnAHoleIsExtendedToItsOffsetOutline)
{
    ProjectRig rig;
    rig.config().setNumber(Param::kerf, 1.0);
    // A line from outside the frame into the middle of the hole's lower edge.
    rig.design({square(0, 0, 4000), square(1000, 1000, 2000), {{2000, -1000}, {2000, 1000}}});
    rig.project.ciecie();

    const Point end = rig.figure(2).points.back();
    EXPECT_EQ(end, (Point{2000, 1020}));
    const auto& hole = rig.figure(1).points;
    EXPECT_NE(std::find(hole.begin(), hole.end(), end), hole.end());
}

}  // namespace
}  // namespace kerfline
