// The placement of the block between the independent arms: the projection onto the arm planes,
// the checks of the answers and the working-area test with the move it proposes.
#include "placement/material_placement.h"

#include "cutting/job_rig.h"
#include "machine/fault_schedule.h"
#include "project/project_rig.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::JobRig;
using testing::ProjectRig;

// A mix of one pair of shape points per case, as the mixing leaves it.
void pairOfPoints(ProjectRig& rig, Point front, Point back)
{
    rig.project.figures.assign(2, tfigura{});
    rig.project.figures[0].points = {front};
    rig.project.figures[1].points = {back};
}

// Many arm coordinates fall on exact half units; computed in this order (millimetres, the line
// parameter, then the point) they round as the arithmetic leaves them, half to even. Computing
// in plotter units instead moves some by one unit (noted per case).
TEST(MaterialPlacement, ArmPointsAreProjectedInMillimetresAndRoundedHalfToEven)
{
    struct Case {
        std::int32_t front, back;  // x of the shape points, plotter units
        double distance, width, spacing;
        std::int32_t frontArm, backArm;
    };
    const Case cases[] = {
        {3, 4, 50, 100, 300, 2, 6},        // exactly 2.5 and 5.5 units
        {-19, -18, 50, 100, 300, -19, -17},  // in units: -20 and -16
        {-20, -19, 50, 100, 300, -20, -17},  // in units: -18 at the back
        {-17, -14, 50, 100, 300, -18, -9},   // in units: -10 at the back
        {101, 102, 25, 50, 325, 100, 107},
    };
    ProjectRig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.front) + " " + std::to_string(c.back));
        pairOfPoints(rig, {c.front, c.front}, {c.back, c.back});
        projectOntoArmPlanes(rig.project, c.width, c.distance, c.spacing);
        EXPECT_EQ(rig.project.figures[0].secondPoints, (std::vector<Point>{{c.frontArm, c.frontArm}}));
        EXPECT_EQ(rig.project.figures[1].secondPoints, (std::vector<Point>{{c.backArm, c.backArm}}));
    }
}

TEST(MaterialPlacement, AnswersThatDoNotFitBetweenTheArmsAreRefused)
{
    struct Case {
        PlacementAnswers answers;
        double fcWidth;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {{0.0, 10.0, 500.0}, 600.0, "PodajSzerMat"},
        {{-5.0, 10.0, 500.0}, 600.0, "PodajSzerMat"},
        {{501.0, 0.0, 500.0}, 600.0, "MaterialZaSzeroki"},
        {{400.0, 201.0, 500.0}, 600.0, "MaterialPozaMaszyna"},
        {{400.0, 200.0, 500.0}, 600.0, nullptr},
        {{500.0, 0.0, 500.0}, 600.0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal ? c.refusal : "accepted");
        const auto refusal = placementRefusal(c.answers, c.fcWidth);
        if (c.refusal)
            EXPECT_EQ(refusal, std::optional<std::string>(c.refusal));
        else
            EXPECT_FALSE(refusal);
    }
}

// The program's moves are relative to its first point, wherever the arms stand: an arm path that
// reaches 25 mm left of that point leaves the machine from position 0, and the stand point the
// test proposes lets it pass.
TEST(MaterialPlacement, TheWorkingAreaTestMeasuresFromTheProgramsStartPoint)
{
    using Kind = AreaVerdict::Kind;
    struct Case {
        const char* name;
        ArmExtremes scaled;
        StandPoint start, front, back;
        Kind kind;
        StandPoint proposed;
    };
    const Case cases[] = {
        {"too large for the machine", {0, 0, 1000.5, 10}, {0, 0}, {0, 0}, {0, 0}, Kind::TooLarge, {}},
        {"inside from where the arms stand", {10, 10, 110, 110}, {10, 10}, {50, 50}, {60, 40}, Kind::Inside, {}},
        {"the start 25 mm inside the path", {0, 0, 100, 100}, {25, 25}, {0, 0}, {0, 0}, Kind::Outside, {26, 26}},
        {"one arm too far right", {0, 0, 100, 100}, {0, 0}, {0, 0}, {950, 0}, Kind::Outside, {1, 1}},
        {"the proposal kept inside the far limit", {0, 0, 999.75, 10}, {0.5, 0}, {0, 0}, {0, 0}, Kind::Outside,
         {0.75, 1}},
    };
    const double limitX = 1000;
    const double limitY = 500;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AreaVerdict verdict = workingAreaVerdict(c.scaled, c.start, c.front, c.back, limitX, limitY);
        EXPECT_EQ(verdict.kind, c.kind);
        if (c.kind != Kind::Outside)
            continue;
        EXPECT_DOUBLE_EQ(verdict.proposed.x, c.proposed.x);
        EXPECT_DOUBLE_EQ(verdict.proposed.y, c.proposed.y);
        // Both arms at the proposed point: the next Start passes.
        EXPECT_EQ(workingAreaVerdict(c.scaled, c.start, verdict.proposed, verdict.proposed, limitX, limitY).kind,
                  Kind::Inside);
    }
}

// One pair of shapes 40 mm wide whose program starts 25 mm right of the arm paths' left end.
struct PlacementRig : JobRig {
    PlacementRig()
    {
        context.configuration.setNumber(Param::Pauza_w_kacie, 100);
        context.configuration.setNumber(Param::CzasRozgrzewania, 500);
        home();
        mix.figures.assign(2, tfigura{});
        mix.figures[0].points = {{1000, 1000}, {0, 0}, {1600, 0}, {1000, 1000}};
        mix.figures[1].points = {{1000, 1000}, {0, 0}, {1600, 0}, {1000, 1000}};
    }
    TMDIChild mix{context};
    PlacementAnswers answers{100.0, 50.0, 600.0};
};

TEST(MaterialPlacement, TheWireMovedToTheProposedPointIsHeatedOnlyWhileItMoves)
{
    PlacementRig rig;
    MaterialPlacement placement(rig.context, rig.context.job.placement, &rig.protocol());
    rig.host.answers = {AnswerYes};
    EXPECT_FALSE(placement.Start(rig.mix, rig.answers));
    ASSERT_TRUE(placement.acceptedMove);
    EXPECT_DOUBLE_EQ(placement.acceptedMove->x, 26.0);
    EXPECT_DOUBLE_EQ(placement.acceptedMove->y, 26.0);
    // The arms stand at the point and the heated output is off again.
    EXPECT_FALSE(rig.controller().outputOn(2));
    EXPECT_FALSE(rig.context.machine.busy());
    EXPECT_EQ(rig.context.machine.frontX, 2600);
    EXPECT_EQ(rig.context.machine.backY, 2600);
    const std::string letters = rig.letters();
    ASSERT_NE(letters.find('R'), std::string::npos);
    EXPECT_LT(letters.find('A'), letters.rfind('R'));
    // Start once more: the block fits.
    EXPECT_TRUE(placement.Start(rig.mix, rig.answers));
    EXPECT_FALSE(placement.acceptedMove);
}

TEST(MaterialPlacement, NoMoveIsMadeWithoutTheOperatorsYesOrOnAPositionThatWasNotRead)
{
    struct Case {
        const char* name;
        int answer;
        bool readFails;
    };
    const Case cases[] = {{"answered no", AnswerNo, false}, {"the positions could not be read", AnswerYes, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementRig rig;
        MaterialPlacement placement(rig.context, rig.context.job.placement, &rig.protocol());
        rig.host.answers = {c.answer};
        rig.cutter.clearReports();
        if (c.readFails)
            rig.cutter.failReads(1000);
        EXPECT_FALSE(placement.Start(rig.mix, rig.answers));
        EXPECT_EQ(rig.letters().find_first_of("RA"), std::string::npos);
        EXPECT_FALSE(rig.controller().outputOn(2));
    }
}

}  // namespace
}  // namespace kerfline
