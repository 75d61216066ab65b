// The bodies of rotary, turning and table-serial programs: the turn to the start angle, the
// rotation of each segment, the corners of turning, the speeds, and what a body refuses.
#include "writer_rig.h"

#include "designfiles/rotary_body.h"
#include "geometry/figure.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kerfline {
namespace {

using testing::WriterRig;

tfigura figureOf(std::vector<Point> points, std::int32_t axisWidth = 0, std::int32_t axisHeight = 0)
{
    tfigura figure;
    figure.points = std::move(points);
    figure.axisWidth = axisWidth;
    figure.axisHeight = axisHeight;
    return figure;
}

struct BodyRun {
    ProgramWriteResult result;
    double phase = 0.0;
    std::vector<std::string> commands;
    DecodedProgram program;
};

// One body between BeginProgram and EndProgram of the kind, starting with the registers of the
// header and the phase given.
BodyRun runBody(WriterRig& rig, int kind, const tfigura& figure, double phase, int direction = 1)
{
    CutProgramWriter writer(rig.app, rig.job(kind));
    BodyRun run;
    run.result = writer.BeginProgram(rig.path());
    if (!run.result)
        return run;
    run.phase = phase;
    WriteFigureBody(writer, figure, direction, run.phase);
    run.result = writer.EndProgram();
    run.commands = rig.commands();
    run.program = rig.decoded();
    return run;
}

std::int64_t rotarySteps(const DecodedProgram& program)
{
    std::int64_t sum = 0;
    for (const DecodedMove& move : program.moves)
        sum += std::abs(move.steps[AxisTable]) + std::abs(move.steps[AxisSpindle]);
    return sum;
}

TEST(RotaryBody, AlignmentTurnsTheShortWayToTheStartAngle)
{
    struct Case {
        double phase;
        std::int32_t reg;
        std::int32_t steps;
        double turn;
    };
    const Case cases[] = {
        {0.0, 0, 8000, 0.0},
        {0.0, 16000, 8000, 0.0},  // whole revolutions: nothing to turn
        {0.75, 0, 8000, -0.25},
        {0.25, 0, 8000, 0.25},
        {0.5, 0, 8000, 0.5},      // half a revolution turns forward
        {0.25, 2000, 8000, 0.0},
        {0.0, -2000, 8000, 0.25},
        {0.75, -7000, 8000, -0.375},  // a register below zero stands where +1000 stands
        {0.5, -12000, 8000, 0.0},
        {0.5, 123, 0, 0.0},       // no steps per revolution: no rotary axis
        {0.3, -5, -8000, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "phase " << c.phase << " register " << c.reg << " N " << c.steps);
        const double turn = alignmentTurn(c.phase, c.reg, c.steps);
        EXPECT_DOUBLE_EQ(turn, c.turn);
        EXPECT_GT(turn, -0.5);
        EXPECT_LE(turn, 0.5);
    }
    EXPECT_DOUBLE_EQ(axisPhase(-2000, 8000), -0.25);  // handed on with the register's sign
    EXPECT_DOUBLE_EQ(axisPhase(10000, 8000), 0.25);
    EXPECT_DOUBLE_EQ(axisPhase(5, 0), 0.0);
}

TEST(RotaryBody, AFigureOfOnePointWritesNothing)
{
    for (const int kind : {30, 31, 33, 301, 311}) {
        WriterRig rig;
        WriterRig header;
        const BodyRun run = runBody(rig, kind, figureOf({{400, 400}}, 4000, 4000), 0.75);
        const BodyRun none = runBody(header, kind, figureOf({}), 0.75);
        ASSERT_TRUE(run.result);
        EXPECT_EQ(run.commands, none.commands) << kind;
        EXPECT_EQ(run.phase, 0.75) << kind;
    }
}

// An axis of no length (as the serial generator's windows have), or one that the scale rounds
// to nothing, turns nothing: the rotation is not divided by zero into a huge spindle move.
TEST(RotaryBody, AnAxisOfNoLengthTurnsNothing)
{
    struct Case {
        int kind;
        std::int32_t axisWidth;
        std::int32_t axisHeight;
        double skala;
    };
    const Case cases[] = {
        {31, 0, 0, 100},
        {311, 0, 0, 100},
        {30, 1, 1, 1},   // 0.01 units scaled: Round gives 0, so no pitch
        {301, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        WriterRig rig;
        rig.config().setNumber(Param::skala, c.skala);
        rig.config().setNumber(Param::il_obr_rys, 1);
        const tfigura profile = figureOf({{4000, 4000}, {40000, 8000}, {80000, 4000}}, c.axisWidth, c.axisHeight);
        const BodyRun run = runBody(rig, c.kind, profile, 0.0);
        ASSERT_TRUE(run.result);
        EXPECT_FALSE(run.program.error);
        EXPECT_GT(run.program.moves.size(), 2u);
        EXPECT_EQ(rotarySteps(run.program), 0);
    }
}

TEST(RotaryBody, ATableOnTheSpindleMotorCountsItsPhaseInTheTablesSteps)
{
    WriterRig rig;
    rig.app.machine.setProduct("N 45");
    rig.app.machine.stepsS = 4000;
    rig.app.machine.stepsW = 8000;
    rig.config().setNumber(Param::il_obr_rys, 1);
    // 25 mm along an axis of 100 mm: a quarter of a revolution.
    const BodyRun run = runBody(rig, 311, figureOf({{400, 0}, {400, 1000}}, 0, 4000), 0.0);
    ASSERT_TRUE(run.result);
    std::int64_t spindle = 0;
    for (const DecodedMove& move : run.program.moves) {
        EXPECT_EQ(move.steps[AxisTable], 0);
        spindle += move.steps[AxisSpindle];
    }
    EXPECT_EQ(spindle, 1000);
    EXPECT_DOUBLE_EQ(run.phase, 0.25);
}

// The rotary registers are never reduced to one revolution; a program that would turn them
// beyond 32 bits, in one move or over several, is refused with its own message.
TEST(RotaryBody, ATurnBeyondTheRegisterIsRefused)
{
    struct Case {
        const char* what;
        std::vector<Point> points;
    };
    const Case cases[] = {
        {"one move of 4,000,000 revolutions", {{0, 0}, {4000, 0}}},
        {"two moves of 200,000 revolutions each", {{0, 0}, {8000, 0}, {16000, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriterRig rig;
        rig.config().setNumber(Param::il_obr_rys, 1000);
        const std::int32_t axisWidth = c.points.size() == 2 ? 1 : 40;
        const BodyRun run = runBody(rig, 31, figureOf(c.points, axisWidth), 0.0);
        ASSERT_FALSE(run.result);
        EXPECT_TRUE(run.result.error->rotaryOverflow);
        const std::string message = run.result.error->message(rig.app.language);
        EXPECT_NE(message.find(rig.path()), std::string::npos) << message;
        EXPECT_NE(message.find("rotary axis"), std::string::npos) << message;
    }
}

TEST(RotaryBody, TurningWithoutPitchTurnsNowhereNotEvenAtCorners)
{
    WriterRig rig;
    rig.config().setNumber(Param::il_obr_rys, 0);
    const tfigura profile = figureOf({{0, 4000}, {4000, 4000}, {4000, 8000}, {8000, 8000}}, 8000, 0);
    const BodyRun run = runBody(rig, 30, profile, 0.0);
    ASSERT_TRUE(run.result);
    EXPECT_EQ(rotarySteps(run.program), 0);
}

TEST(RotaryBody, TableTurningInOnePassTurnsOnlyAtCorners)
{
    WriterRig rig;
    rig.config().setNumber(Param::il_obr_rys, 1);
    rig.config().setNumber(Param::ilosckrokow, 1);
    // Two corners: each adds one full revolution of the table on the spot.
    const tfigura profile = figureOf({{4000, 0}, {4000, 4000}, {8000, 4000}, {8000, 8000}}, 0, 8000);
    const BodyRun run = runBody(rig, 301, profile, 0.0);
    ASSERT_TRUE(run.result);
    std::vector<std::int32_t> turns;
    for (const DecodedMove& move : run.program.moves) {
        if (move.steps[AxisTable] != 0)
            turns.push_back(move.steps[AxisTable]);
    }
    EXPECT_EQ(turns, (std::vector<std::int32_t>{8000, 8000}));
}

TEST(RotaryBody, ConstantLatheSpeedWritesTheSpeedOnlyAtCorners)
{
    for (const bool constant : {false, true}) {
        WriterRig rig;
        rig.config().constantLatheSpeed = constant;
        rig.config().setNumber(Param::il_obr_rys, 2);
        const tfigura profile = figureOf({{0, 4000}, {4000, 4000}, {4000, 8000}, {8000, 8000}, {12000, 8000}}, 8000);
        const BodyRun run = runBody(rig, 30, profile, 0.0);
        ASSERT_TRUE(run.result);
        // The header's "v 1", then one per step (four) unless constant, and one per corner (two).
        const auto speeds = std::count_if(run.commands.begin(), run.commands.end(),
                                          [](const std::string& c) { return c.rfind("v 1 ", 0) == 0; });
        EXPECT_EQ(speeds, 1 + (constant ? 0 : 4) + 2) << constant;
    }
}

TEST(RotaryBody, TurningSpeedStaysBetween20AndTheMachinesLimit)
{
    WriterRig rig;
    rig.app.machine.maxWorkSpeed = 3000;
    rig.config().setNumber(Param::il_obr_rys, 50);
    rig.config().setNumber(Param::szybkoscObrobki, 20);
    CutProgramWriter reference(rig.app, rig.job(30));
    const std::string slowest = reference.speedCommand(1, 20);
    const std::string fastest = reference.speedCommand(1, 3000);
    // Steep and flat steps far from and close to the axis.
    const tfigura profile = figureOf({{0, 40}, {40, 40}, {40, 40000}, {80000, 40000}, {80040, 40}}, 400);
    const BodyRun run = runBody(rig, 30, profile, 0.0);
    ASSERT_TRUE(run.result);
    const DecodeSettings settings = DecodeSettings::forMachine(rig.app.machine);
    const auto period = [&](const std::string& bytes) { return decodeCutProgram(bytes, settings).commands.at(0).args.at(1); };
    int seen = 0;
    for (const DecodedCommand& command : run.program.commands) {
        if (command.letter != 'v' || command.args.at(0) != 1)
            continue;
        ++seen;
        EXPECT_LE(command.args.at(1), period(slowest));
        EXPECT_GE(command.args.at(1), period(fastest));
    }
    EXPECT_GT(seen, 3);
}

TEST(RotaryBody, SerialOnTheTableTurnsByTheEntryPhaseAfterTheFigure)
{
    WriterRig rig;
    const BodyRun run = runBody(rig, 33, figureOf({{0, 0}, {4000, 0}, {4000, 4000}}), 0.25);
    ASSERT_TRUE(run.result);
    ASSERT_GE(run.program.moves.size(), 2u);
    EXPECT_EQ(run.program.moves.front().steps[AxisTable], 0);  // approach first, no turn yet
    EXPECT_EQ(run.program.moves.back().steps[AxisTable], 2000);
    EXPECT_DOUBLE_EQ(run.phase, 0.25);  // the table's phase before that last turn
    std::int64_t table = 0;
    for (const DecodedMove& move : run.program.moves)
        table += move.steps[AxisTable];
    EXPECT_EQ(table, 4000);  // the alignment to 0.25 and the turn by the entry phase
}

}  // namespace
}  // namespace kerfline
