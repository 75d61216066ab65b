// The cut program writer: command encodings, headers and trailers of every output kind, the
// step rounding of moves, corner pauses and write failures.
#include "writer_rig.h"

#include "geometry/figure.h"
#include "base/round.h"
#include "machine/command_encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>

namespace kerfline {
namespace {

using testing::moveTexts;
using testing::WriterRig;

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(CutProgramWriter, LongPausesAreSplitIntoPiecesOfAtMost250)
{
    struct Case {
        double units;
        std::vector<std::string> commands;
    };
    const Case cases[] = {
        {600, {"p 250", "p 250", "p 100"}},
        {250, {"p 250"}},
        {0, {"p 0"}},
        {1000, {"p 250", "p 250", "p 250", "p 250"}},  // the last piece is the remainder; no "p 0"
        {250.5, {"p 250"}},                            // Round half to even
        {251.5, {"p 250", "p 2"}},
        {-3, {"p 0"}},
    };
    for (const Case& c : cases) {
        WriterRig rig;
        CutProgramWriter writer(rig.app, rig.job(0));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        writer.WritePause(c.units);
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_EQ(rig.commands(), c.commands) << c.units;
    }
}

TEST(CutProgramWriter, HeaderOfEveryOutputKind)
{
    const std::vector<std::string> speeds{"v 0 150", "v 1 150"};  // 1000 mm/min × 2 at 2.5 steps
    const std::vector<std::string> heatUp{"p 250", "p 250", "p 250", "p 250"};
    struct Case {
        int kind;
        int powerOutput;
        std::vector<std::string> commands;
        AxisRegisters registers;
        bool heatUpPending;
    };
    // programStartX 12.345 mm is 1234.5 hundredths, rounded to the even 1234.
    const Case cases[] = {
        {30, 0, concat({speeds, {"t 3 1000", "r 1 3"}}), {300, 750, 0, 0, 300, 750, 0, 0}, true},
        {31, 0, concat({speeds, {"t 1 1000", "r 1 1"}}), {0, 750, 0, 0, 0, 750, 0, 0}, true},
        {32, 0, concat({speeds, {"t 1 1000", "r 1 1", "p 1", "f 1"}, heatUp}), {}, true},
        {32, 1, concat({speeds, {"t 3 1000", "r 1 3", "p 1", "f 1"}, heatUp}), {}, true},
        {33, 0, concat({speeds, {"t 1 1000", "r 1 1", "f 1"}}), {}, true},
        {301, 0, concat({speeds, {"t 3 1000", "r 1 3"}}), {1234, 300, 0, 0, 1234, 300, 0, 0}, true},
        {311, 0, concat({speeds, {"t 1 1000", "r 1 1"}}), {1234, 750, 0, 0, 1234, 750, 0, 0}, true},
        {0, 0, {}, {}, false},
        {34, 0, {}, {}, false},
    };
    for (const Case& c : cases) {
        WriterRig rig;
        rig.config().setChoice(Param::PowerOutput, c.powerOutput);
        CutProgramJob job = rig.job(c.kind);
        job.programStartX = 12.345;
        job.programStartY = 7.5;
        job.firstEntry = 3.0;
        CutProgramWriter writer(rig.app, job);
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        EXPECT_EQ(writer.registers(), c.registers) << c.kind;
        EXPECT_EQ(writer.heatUpPending(), c.heatUpPending) << c.kind;
        EXPECT_EQ(rig.commands(), c.commands) << c.kind << " with PowerOutput " << c.powerOutput;
    }
}

TEST(CutProgramWriter, PowerOutputIsChosenOnTheControllerNotInTheFile)
{
    struct Case {
        const char* product;
        int powerOutput;
        bool keyFront;
        std::int32_t sent;
    };
    const Case cases[] = {
        {"Qd 1200", 0, true, 0},
        {"Qd 1200", 1, true, 1},
        {"Pr 1200", 1, true, 0},   // the two-wire machine heats the front wire
        {"Pr 1200", 0, false, 5},  // or the side wire
    };
    for (const Case& c : cases) {
        WriterRig rig;
        rig.app.machine.setProduct(c.product);
        rig.app.machine.KeyFront = c.keyFront;
        rig.config().setChoice(Param::PowerOutput, c.powerOutput);
        CutProgramWriter writer(rig.app, rig.job(32));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        ASSERT_EQ(rig.sent.size(), 1u);
        EXPECT_EQ(rig.sent[0], std::string("s\x04", 2) + machine::EncodeInt32(c.sent)) << c.product;
        for (const std::string& command : rig.commands())
            EXPECT_NE(command.front(), 's') << "the file holds " << command;
    }
}

TEST(CutProgramWriter, PowerCommandFollowsTheMachinesFormat)
{
    struct Case {
        int versionMajor;
        bool percent;
        int powerScale;
        double workPower;
        std::string command;
        std::size_t length;
    };
    const Case cases[] = {
        {4, false, 100, 1.5, "t 1 1500", 6},  // a 32-bit value in the new power format
        {2, false, 1, 1.5, "t 1 15", 3},      // one byte otherwise
        {3, true, 1, 50.0, "t 1 128", 3},     // percent: Round(127.5) = 128
    };
    for (const Case& c : cases) {
        WriterRig rig;
        rig.app.machine.versionMajor = static_cast<std::uint16_t>(c.versionMajor);
        rig.app.machine.reportsPowerInPercent = c.percent;
        rig.app.machine.powerScale = c.powerScale;
        rig.config().setNumber(Param::work_power, c.workPower);
        CutProgramWriter writer(rig.app, rig.job(0));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        writer.WritePower();
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_EQ(rig.bytes().size(), c.length);
        EXPECT_EQ(rig.commands(), std::vector<std::string>{c.command});
    }
}

TEST(CutProgramWriter, MovesBelowOneStepWriteNothingAndKeepTheRegisters)
{
    WriterRig rig;
    rig.app.machine.resX = rig.app.machine.resY = 0.3;
    CutProgramWriter writer(rig.app, rig.job(0));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    AxisTargets targets;
    targets.frontX = targets.backX = 0.01;  // one hundredth, 0.3 steps
    EXPECT_EQ(writer.MoveAxes(targets), "");
    EXPECT_EQ(writer.registers(), AxisRegisters{});
    // The auxiliary axes alone give no duration count: no move either.
    AxisTargets auxiliary;
    auxiliary.aux = 5.0;
    auxiliary.auxRotary = 1.0;
    EXPECT_EQ(writer.MoveAxes(auxiliary), "");
    EXPECT_EQ(writer.registers(), AxisRegisters{});
}

// Targets in half hundredths round to even registers; the steps sent must follow the rounded
// registers, or the machine drifts by a step at every half.
TEST(CutProgramWriter, StepsFollowTheRoundedRegistersWithoutDrift)
{
    WriterRig rig;
    CutProgramWriter writer(rig.app, rig.job(0));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    std::int64_t sent = 0;
    for (int k = 1; k <= 1000; ++k) {
        AxisTargets targets;
        targets.frontX = targets.backX = 0.005 * k * (k % 7 == 0 ? -1 : 1);
        writer.write(writer.MoveAxes(targets));
        const DecodedProgram program = rig.decoded();
        ASSERT_FALSE(program.error);
        sent = 0;
        for (const DecodedMove& move : program.moves)
            sent += move.steps[AxisFrontX];
        ASSERT_EQ(sent, roundHalfEven<std::int64_t>(writer.registers()[AxisFrontX] * 2.5)) << "after move " << k;
    }
    EXPECT_EQ(writer.registers()[AxisFrontX], 500);
    EXPECT_EQ(sent, 1250);
}

TEST(CutProgramWriter, CornerPauseBeforeEveryMoveThatLeavesACorner)
{
    WriterRig rig;
    rig.config().setNumber(Param::Pauza_w_kacie, 100);
    CutProgramWriter writer(rig.app, rig.job(0));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    writer.SetPositions(0, 0, 0);
    // A straight run along the bottom, then round the square.
    const Point path[] = {{4000, 0}, {8000, 0}, {8000, 4000}, {0, 4000}, {0, 0}};
    for (const Point p : path)
        writer.WritePlainMove(p.x, p.y, true, true);
    ASSERT_TRUE(writer.EndProgram());

    std::vector<bool> pausedBefore;
    bool paused = false;
    for (const std::string& command : rig.commands()) {
        if (command == "a start 0")
            pausedBefore.push_back(paused);
        paused = command == "p 100";
    }
    EXPECT_EQ(pausedBefore, (std::vector<bool>{false, false, true, true, true}));
}

TEST(CutProgramWriter, TableRotationOnTheSpindleAxis)
{
    struct Case {
        const char* product;
        std::string piece;
        std::int32_t tableRegister;
        std::int32_t spindleRegister;
    };
    const Case cases[] = {
        {"Qd 1200", "a 2 2000", 2000, 0},
        {"N45", "a 6 2000", 2000, 2000},  // the table turns with the spindle's motor
    };
    for (const Case& c : cases) {
        WriterRig rig;
        rig.app.machine.setProduct(c.product);
        CutProgramWriter writer(rig.app, rig.job(0));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        AxisTargets targets;
        targets.table = 0.25;
        writer.write(writer.MoveAxes(targets));
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_EQ(rig.commands(), moveTexts({c.piece}, 4000)) << c.product;
        EXPECT_EQ(writer.registers()[AxisTable], c.tableRegister);
        EXPECT_EQ(writer.registers()[AxisSpindle], c.spindleRegister);
    }
}

TEST(CutProgramWriter, PlainMovesScaleAndDriveTheSelectedArms)
{
    struct Case {
        bool front;
        bool back;
        std::vector<std::string> commands;
    };
    // 4000 units at 150 % is 150 mm: 37500 steps; the other arm keeps its place at 0.
    const Case cases[] = {
        {true, true, moveTexts({"a 0 37500", "a 4 37500", "a 1 37500", "a 5 37500"}, 106066)},
        {true, false, moveTexts({"a 0 37500", "a 1 37500"}, 106066)},
        {false, true, moveTexts({"a 4 37500", "a 5 37500"}, 106066)},
        {false, false, {}},
    };
    for (const Case& c : cases) {
        WriterRig rig;
        rig.config().setNumber(Param::skala, 150);
        CutProgramWriter writer(rig.app, rig.job(0));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        writer.WritePlainMove(4000, 4000, c.front, c.back);
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_EQ(rig.commands(), c.commands) << c.front << c.back;
    }
}

TEST(CutProgramWriter, PairedMoveTakesBothArmsApart)
{
    WriterRig rig;
    CutProgramWriter writer(rig.app, rig.job(0));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    writer.WritePairedMove(400, 800, 1200, 1600);  // front (10, 30) mm, back (20, 40) mm
    ASSERT_TRUE(writer.EndProgram());
    EXPECT_EQ(writer.registers(), (AxisRegisters{1000, 3000, 0, 0, 2000, 4000, 0, 0}));
}

TEST(CutProgramWriter, RotationHoldAndParking)
{
    WriterRig rig;
    rig.config().setCheck(Param::Heavy, CheckState::cbChecked);
    rig.config().setCheck(Param::Wstrzymaj, CheckState::cbChecked);
    rig.config().setNumber(Param::Pauza_w_kacie, 100);
    CutProgramJob job = rig.job(0);
    job.programStartY = 10.0;
    CutProgramWriter writer(rig.app, job);
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    writer.WriteRotation(0.0, 0.0);  // nothing turns: nothing at all
    writer.WriteRotation(0.5, 0.0);
    writer.WriteHold();
    EXPECT_TRUE(writer.heatUpPending());
    writer.WriteParking();
    ASSERT_TRUE(writer.EndProgram());
    // The parking move leaves a corner of the back arm's path through (X, Y, spindle): the
    // spindle turned, now Y moves.
    EXPECT_EQ(rig.commands(), concat({{"p 1", "s 2 1"},
                                      moveTexts({"a 6 4000"}, 8000),
                                      {"p 1", "r 0 2", "p 1", "s 3 0", "p 100", "p 100"},
                                      moveTexts({"a 1 2500", "a 5 2500"}, 5000),
                                      {"p 1", "f 0"}}));
}

TEST(CutProgramWriter, HoldNeedsWstrzymaj)
{
    WriterRig rig;
    CutProgramWriter writer(rig.app, rig.job(0));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    writer.WriteHold();
    EXPECT_FALSE(writer.heatUpPending());
    ASSERT_TRUE(writer.EndProgram());
    EXPECT_TRUE(rig.bytes().empty());
}

TEST(CutProgramWriter, TrailerOfEveryOutputKind)
{
    struct Case {
        int kind;
        std::vector<std::string> trailer;
    };
    const Case cases[] = {
        {30, {"p 1", "r 0 2"}}, {301, {"p 1", "r 0 2"}}, {31, {"p 1", "r 0 2"}}, {32, {"p 1", "r 0 2"}},
        {311, {"p 1", "r 0 2"}}, {33, {"p 1", "r 0 2"}}, {0, {}},
    };
    for (const Case& c : cases) {
        WriterRig rig;
        CutProgramWriter writer(rig.app, rig.job(c.kind));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        const std::size_t header = rig.commands().size();
        ASSERT_TRUE(writer.EndProgram());
        const std::vector<std::string> all = rig.commands();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(header), all.end()), c.trailer)
            << c.kind;
    }
}

TEST(CutProgramWriter, HeatOffDelayPausesBeforeTheHeatingGoesOff)
{
    WriterRig rig({"heatOffDelay'2'"});
    CutProgramWriter writer(rig.app, rig.job(31));
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    const std::size_t header = rig.commands().size();
    ASSERT_TRUE(writer.EndProgram());
    const std::vector<std::string> all = rig.commands();
    std::vector<std::string> expected(8, "p 250");
    expected.insert(expected.end(), {"p 1", "r 0 2"});
    EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(header), all.end()), expected);
}

TEST(CutProgramWriter, TwoWireFinishingMovesAfterTheFrontWire)
{
    WriterRig rig;
    MachineState& m = rig.app.machine;
    m.setProduct("Pr 1200");
    m.limitY = 600;
    m.frontX = 50000;  // 500 mm
    m.frontY = 20000;
    m.backY = -100;    // below 0: the side wire first rises by 10 mm
    m.KeyFront = true;
    m.KeyBack = false;
    rig.config().setCheck(Param::MoveAfter, CheckState::cbChecked);
    CutProgramJob job = rig.job(32);
    job.frontWireStartY = 25.0;
    CutProgramWriter writer(rig.app, job);
    ASSERT_TRUE(writer.BeginProgram(rig.path()));
    const std::size_t header = rig.commands().size();
    ASSERT_TRUE(writer.EndProgram());
    EXPECT_TRUE(writer.finishingMovesWritten());
    // Final: front X -500 mm, front Y 600 - 200 mm, side Y 25 + 1 mm.
    EXPECT_EQ(writer.registers(), (AxisRegisters{-50000, 40000, 0, 0, 0, 2600, 0, 0}));

    // The commands between the moves, without the moves' own corner pauses.
    std::string letters;
    const std::vector<std::string> all = rig.commands();
    for (auto it = all.begin() + static_cast<std::ptrdiff_t>(header); it != all.end(); ++it)
        if (it->rfind("a ", 0) != 0 && *it != "p 100")
            letters += it->substr(0, it->find(' ', 2));
    EXPECT_EQ(letters, "p 1f 1p 1f 0p 1s 4p 1f 1p 1r 0");
}

TEST(CutProgramWriter, NoFinishingMovesInPerpendicularModeOrOnOtherMachines)
{
    for (const auto& [product, mode] : {std::pair{"Pr 1200", ModePerpendicular}, std::pair{"Qd 1200", Mode2D}}) {
        WriterRig rig;
        rig.app.machine.setProduct(product);
        rig.config().setCheck(Param::MoveAfter, CheckState::cbChecked);
        rig.config().setChoice(Param::Mode, mode);
        CutProgramWriter writer(rig.app, rig.job(32));
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_FALSE(writer.finishingMovesWritten()) << product;
        EXPECT_EQ(rig.decoded().moves.size(), 0u);
    }
}

TEST(CutProgramWriter, SerialTableCutsTheModelOffAfterTheLastPass)
{
    struct Case {
        std::int32_t position;
        bool cutOff;
        std::int32_t x;  // hundredths; 0 when there is no move
    };
    // Half the width 50 mm, half the diameter 250 mm: 250 + 50, to the left after odd passes.
    const Case cases[] = {{3, true, -30000}, {4, true, 30000}, {2, true, 0}, {3, false, 0}};
    for (const Case& c : cases) {
        WriterRig rig;
        CutProgramJob job = rig.job(33);
        job.seriesPosition = c.position;
        job.projectWindowCount = c.position == 2 ? 3 : c.position;
        job.cutOffAfterSeries = c.cutOff;
        job.projectWidth = 4000;
        CutProgramWriter writer(rig.app, job);
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        ASSERT_TRUE(writer.EndProgram());
        EXPECT_EQ(writer.registers()[AxisFrontX], c.x) << c.position;
        EXPECT_EQ(writer.registers()[AxisBackX], c.x) << c.position;
    }
}

TEST(CutProgramWriter, AFileThatCannotBeCreatedIsReportedWithItsName)
{
    WriterRig rig;
    const std::string path = rig.dir.str() + "missing/out.cn";
    CutProgramWriter writer(rig.app, rig.job(32));
    const ProgramWriteResult begun = writer.BeginProgram(path);
    ASSERT_FALSE(begun);
    EXPECT_TRUE(rig.sent.empty()) << "nothing goes to the controller for a program that does not exist";
    const std::string message = begun.error->message(rig.app.language);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_FALSE(writer.EndProgram());
}

TEST(CutProgramWriter, AFullDiskStopsTheWritingAndFailsTheProgram)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    WriterRig rig;
    CutProgramWriter writer(rig.app, rig.job(32));
    const ProgramWriteResult begun = writer.BeginProgram("/dev/full");
    ASSERT_FALSE(begun);
    EXPECT_EQ(begun.error->systemCode, ENOSPC);
    writer.WritePlainMove(4000, 0, true, true);
    EXPECT_TRUE(writer.failed());
    const ProgramWriteResult ended = writer.EndProgram();
    ASSERT_FALSE(ended);
    EXPECT_EQ(ended.error->file, "/dev/full");
}

}  // namespace
}  // namespace kerfline
