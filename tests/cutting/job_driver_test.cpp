// The job driver: start checks, the program for the mode, the questions before it, the
// preparation of the machine and the selected-figure and serial commands.
#include "job_rig.h"

#include "config/number_text.h"
#include "designfiles/cut_program_decoder.h"
#include "project/cut_preview.h"
#include "base/round.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace kerfline {
namespace {

using testing::JobRig;

constexpr const char* kSquare = "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;";
constexpr const char* kTriangle = "IN;SP1;PU0,0;PD4000,0,2000,3000,0,0;PU;";
constexpr const char* kLine = "IN;SP1;PU0,0;PD4000,0;PU;";
constexpr const char* kTwoSquares =
    "IN;SP1;PU0,0;PD2000,0,2000,2000,0,2000,0,0;PU6000,0;PD8000,0,8000,2000,6000,2000,6000,0;PU;";

std::string fileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

DecodedProgram decodedProgram(JobRig& rig)
{
    return decodeCutProgram(fileContent(rig.session->driver.programPath()),
                            DecodeSettings::forMachine(rig.context.machine));
}

// Runs a program of long moves so that the controller reports a running program.
void runSomeProgram(JobRig& rig)
{
    std::string program;
    for (int i = 0; i < 10; ++i)
        program += rig.protocol().BuildMove('a', {i % 2 ? -4000 : 4000, 0, 0, 0, i % 2 ? -4000 : 4000, 0, 0, 0}).text;
    rig.dir.write("out.cn", program);
    rig.session->transmission.start();
    rig.clock.advance(rig.session->transmission.tick());
}

struct CheckCase {
    const char* name;
    const char* product;
    int mode;
    std::vector<std::string> switches;
    std::function<void(JobRig&)> setUp;
    const char* section;  // nullptr: the checks pass
    const char* key;
};

TEST(JobDriver, StartChecksRefuseWhatCannotBeCut)
{
    const CheckCase cases[] = {
        {"plain cutting needs no homing", "Qd 1200", Mode2D, {}, {}, nullptr, nullptr},
        {"independent arms need no homing", "Qd 1200", ModeIndependent, {}, {}, nullptr, nullptr},
        {"rotary cutting needs homing", "Qd 1200", ModeRotary, {}, {}, "Control", "wykonajBazowanie"},
        {"independent arms only on Qd", "KK 1200", ModeIndependent, {}, {}, "Main_window", "QdniezalezneNiedostepne"},
        {"perpendicular wires only on Pr", "Qd 1200", ModePerpendicular, {}, {}, "Main_window", "PrPoprzeczneNiedostepne"},
        {"larger than the machine", "Qd 1200", Mode2D, {"limitX'80'"}, {}, "Main_window", "projektZaDuzy"},
        {"perpendicular wires need two designs", "Pr 1200", ModePerpendicular, {}, [](JobRig& rig) { rig.home(); },
         "Main_window", "wymagane2plt"},
        {"a program runs", "Qd 1200", Mode2D, {}, runSomeProgram, "Main_window", "startNiemozliwy"},
        {"outside the machine from here", "Qd 1200", Mode2D, {}, [](JobRig& rig) { rig.moveTo(1150, 80); },
         "Main_window", "projektPozaObszaremMaszyny"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> switches = c.switches;
        // Only the program's own families are found without their name.
        switches.push_back(std::string("MachineName'") + c.product + "'");
        JobRig rig(c.product, switches);
        rig.context.configuration.setChoice(Param::Mode, c.mode);
        TMDIChild& project = rig.open("square.plt", kSquare);
        if (c.setUp)
            c.setUp(rig);
        rig.host.messages.clear();
        const bool passed = rig.session->driver.StartChecks(project, FigureRange{});
        EXPECT_EQ(passed, c.section == nullptr);
        if (c.section) {
            ASSERT_FALSE(rig.host.messages.empty());
            EXPECT_EQ(rig.host.messages.back().text.rfind(rig.context.Text(c.section, c.key), 0), 0u)
                << rig.host.messages.back().text;
        } else {
            EXPECT_TRUE(rig.host.messages.empty());
        }
    }
}

struct StartPointCase {
    std::uint8_t directionX;
    double wireX;
    bool fits;
    std::int32_t startVertex;
    const char* direction;  // the caption's direction text
};

TEST(JobDriver, ASingleOpenFigureStartsAtTheEndItsFeedReachesFirst)
{
    const StartPointCase cases[] = {
        {1, 150, true, 0, "Right"},
        {255, 150, true, 1, "Left"},
        {255, 50, false, 1, "Left"},
        {1, 1150, false, 0, "Right"},
    };
    for (const StartPointCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.directionX) + " at " + std::to_string(c.wireX));
        JobRig rig;
        TMDIChild& project = rig.open("line.plt", kLine);
        project.directionX = {c.directionX, c.directionX};
        rig.moveTo(c.wireX, 80);
        EXPECT_EQ(rig.session->driver.StartChecks(project, FigureRange{}), c.fits);
        EXPECT_TRUE(project.singleOpenFigure);
        EXPECT_EQ(project.figures[static_cast<std::size_t>(project.startFigure)].startVertex, c.startVertex);
        if (!c.fits) {
            ASSERT_EQ(rig.host.messages.size(), 1u);
            EXPECT_EQ(rig.host.messages[0].text, rig.context.Text("Main_window", "projektPozaObszaremMaszyny") + "\n" +
                                                     rig.context.Text("Main_window", "zmienPunktStartowy"));
            EXPECT_EQ(rig.host.messages[0].caption, std::string("Cutting direction (X) : ") + c.direction);
        }
    }
}

// The refusal gives both sizes, so the operator sees by how much the project is too large.
TEST(JobDriver, AProjectTooLargeIsRefusedWithItsSizeAndTheWorkingArea)
{
    JobRig rig("Qd 1200", {"MachineName'Qd 1200'", "limitX'80'", "limitY'90'"});
    TMDIChild& project = rig.open("square.plt", kSquare);
    rig.host.messages.clear();
    EXPECT_FALSE(rig.session->driver.StartChecks(project, FigureRange{}));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "The project is larger than the working area of the machine.\n"
                                         "Project: 100.0 x 100.0 mm; working area: 80.0 x 90.0 mm.");
    EXPECT_TRUE(rig.host.messages[0].isError);
}

// A closed figure has no feed direction, so the caption carries no separator after its words.
TEST(JobDriver, AClosedFigureOutsideTheAreaIsCaptionedWithoutADirection)
{
    JobRig rig;
    TMDIChild& project = rig.open("square.plt", kSquare);
    rig.moveTo(1150, 80);
    rig.host.messages.clear();
    EXPECT_FALSE(rig.session->driver.StartChecks(project, FigureRange{}));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].caption, "Cutting direction (X)");
}

TEST(JobDriver, TwoWiresThatWouldCollideAreReported)
{
    for (const bool sideWire : {false, true}) {
        SCOPED_TRACE(sideWire ? "side wire" : "front wire");
        JobRig rig("Pr 1200", {"MachineName'Pr 1200'"});
        TMDIChild& project = rig.open("square.plt", kSquare);
        // Front wire at 50 mm, side wire 5 mm below it.
        rig.session->motion.gotopoint(true, 0, 150, 150, 50, 45, 0, 0);
        if (sideWire)
            rig.session->panel.KeyBackClick(true);
        EXPECT_FALSE(rig.session->driver.StartChecks(project, FigureRange{}));
        ASSERT_EQ(rig.host.messages.size(), 1u);
        EXPECT_FALSE(rig.host.messages[0].isError);
        EXPECT_EQ(rig.host.messages[0].text,
                  rig.context.Text("Main_window", "PrKolizjaDrutow") + "\n" +
                      rig.context.Text("Main_window", sideWire ? "PrPrzesunFrontowyDrut" : "PrPrzesunBocznyDrut"));
    }
}

TEST(JobDriver, ABrokenWireIsAskedAboutUntilItIsMendedOrTheOperatorGivesUp)
{
    {
        JobRig rig;
        TMDIChild& project = rig.open("square.plt", kSquare);
        rig.controller().breakWire();
        rig.host.answers = {AnswerCancel};
        EXPECT_FALSE(rig.session->driver.StartChecks(project, FigureRange{}));
        ASSERT_EQ(rig.host.questions.size(), 1u);
        EXPECT_EQ(rig.host.questions[0].text, rig.context.Text("Control", "zerwanyDrut"));
    }
    {
        JobRig rig;
        TMDIChild& project = rig.open("square.plt", kSquare);
        rig.controller().breakWire();
        rig.host.answers = {AnswerOk};
        rig.host.onAsk = [&rig] { rig.controller().repairWire(); };
        rig.cutter.clearReports();
        EXPECT_TRUE(rig.session->driver.StartChecks(project, FigureRange{}));
        EXPECT_EQ(rig.host.questions.size(), 1u);
        const std::string letters = rig.letters();
        EXPECT_EQ(std::count(letters.begin(), letters.end(), 'R'), 4);  // two tests: on and off each
    }
}

TEST(JobDriver, APlainJobPausesAndClearsTheControllerThenRecordsItsOrigin)
{
    JobRig rig;
    rig.open("square.plt", kSquare);
    rig.cutter.clearReports();
    rig.session->driver.Start1Click();

    const std::string letters = rig.letters();
    const auto q = letters.find('Q'), c = letters.find('C'), u = letters.find('U');
    ASSERT_NE(q, std::string::npos);
    EXPECT_LT(q, c);
    EXPECT_LT(c, u);
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(rig.context.job.originX, s.frontX);
    EXPECT_EQ(rig.context.job.originY, s.frontY);
    EXPECT_EQ(rig.controller().programOrigin()[0], roundHalfEven(s.frontX * s.resX));
    EXPECT_TRUE(rig.session->transmission.active());
    EXPECT_EQ(rig.context.job.jobCounter, 1);
    EXPECT_EQ(rig.host.statusPanels[1], "1");
    EXPECT_EQ(rig.host.busyDepth, 0);
}

TEST(JobDriver, TheTestParameterWritesThePlainProgramWithoutPausingTheController)
{
    for (const bool connected : {true, false}) {
        SCOPED_TRACE(connected ? "controller present" : "no controller");
        JobRig rig(machine::kDefaultVirtualProduct, {"test"});
        rig.open("square.plt", kSquare);
        if (!connected)
            rig.cutter.unplug();
        rig.cutter.clearReports();
        rig.session->driver.Start1Click();
        const std::string letters = rig.letters();
        EXPECT_EQ(letters.find('Q'), std::string::npos);
        EXPECT_EQ(letters.find('C'), std::string::npos);
        EXPECT_GT(std::filesystem::file_size(rig.session->driver.programPath()), 0u);
        EXPECT_EQ(rig.session->transmission.active(), connected);
        if (!connected) {
            EXPECT_EQ(rig.host.messages.back().text, rig.context.Text("Control", "ploterBrakLacznosci"));
        }
    }
}

struct OutlineCase {
    int answer;
    bool transmits;
    std::uint8_t cutOutline;
};

TEST(JobDriver, AnAddedFrameIsCutOnlyWhenTheOperatorWantsIt)
{
    const OutlineCase cases[] = {{AnswerYes, true, 1}, {AnswerNo, true, 0}, {AnswerCancel, false, 1}};
    std::size_t movesWithFrame = 0;
    for (const OutlineCase& c : cases) {
        SCOPED_TRACE(c.answer);
        JobRig rig;
        rig.context.configuration.setCheck(Param::AddFrame, CheckState::cbChecked);
        TMDIChild& project = rig.open("triangle.plt", kTriangle);
        ASSERT_TRUE(project.frameAdded);
        rig.host.answers = {c.answer};
        rig.session->driver.Start1Click();
        ASSERT_EQ(rig.host.questions.size(), 1u);
        EXPECT_EQ(rig.host.questions[0].text, rig.context.Text("Main_window", "czyRysowacObrys"));
        EXPECT_EQ(rig.host.questions[0].buttons, Buttons::YesNoCancel);
        EXPECT_EQ(rig.session->transmission.active(), c.transmits);
        if (!c.transmits) {
            EXPECT_FALSE(std::filesystem::exists(rig.session->driver.programPath()));
            continue;
        }
        EXPECT_EQ(project.cutOutline, c.cutOutline);
        const std::size_t moves = decodedProgram(rig).moves.size();
        if (c.cutOutline)
            movesWithFrame = moves;
        else
            EXPECT_LT(moves, movesWithFrame);
    }
}

TEST(JobDriver, FiguresLeftOutOfTheCutPathAreAskedAbout)
{
    for (const int answer : {AnswerCancel, AnswerOk}) {
        SCOPED_TRACE(answer);
        JobRig rig;
        TMDIChild& project = rig.open("squares.plt", kTwoSquares);
        project.figures[1].unconnected = 1;
        rig.host.answers = {answer};
        rig.session->driver.Start1Click();
        ASSERT_EQ(rig.host.questions.size(), 1u);
        EXPECT_EQ(rig.host.questions[0].text, "Figures not joined to the cut path: 1. They will not be cut. Cut the rest?");
        EXPECT_EQ(rig.session->transmission.active(), answer == AnswerOk);
    }
}

TEST(JobDriver, TurningWithoutARotaryDeviceIsTransmittedLikeAPlainJob)
{
    JobRig rig;
    rig.home();
    rig.moveTo(150, 80);
    rig.context.configuration.setChoice(Param::Mode, ModeTurning);
    rig.context.configuration.setChoice(Param::StolikSwitch, DeviceNone);
    rig.open("square.plt", kSquare);
    rig.session->driver.Start1Click();
    EXPECT_TRUE(rig.session->transmission.active());
    EXPECT_EQ(rig.context.job.originX, 15000);
    ASSERT_TRUE(rig.runJob());
    EXPECT_FALSE(rig.context.job.jobActive);
}

TEST(JobDriver, AControllerPluggedInAfterStartUpIsReadAndRunsTheJob)
{
    JobRig rig(machine::kDefaultVirtualProduct, {}, false);
    EXPECT_FALSE(rig.session->panel.timerEnabled());
    rig.cutter.replug();
    rig.host.runPosted();
    // Its firmware takes power settings in the new format: the program's "t" is 6 bytes long.
    EXPECT_EQ(rig.protocol().lengths.lengthOf('t'), 6);
    EXPECT_TRUE(rig.session->panel.timerEnabled());

    rig.home();
    rig.moveTo(150, 80);
    rig.open("square.plt", kSquare);
    rig.host.messages.clear();
    rig.controller().clearExecuted();
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.session->transmission.active());
    ASSERT_TRUE(rig.runJob());
    EXPECT_TRUE(rig.host.messages.empty());
    EXPECT_TRUE(rig.controller().executedProgram() == rig.programCommands());
}

TEST(JobDriver, BothWaysCuttingAlternatesTheFeedDirection)
{
    JobRig rig;
    ASSERT_EQ(rig.context.configuration.choice(Param::CatDir), 2);
    TMDIChild& project = rig.open("line.plt", kLine);
    const MachineState& s = rig.context.machine;
    // A start refused for the wire's position cuts nothing and keeps the direction.
    rig.moveTo(1150, 80);
    rig.session->driver.Start1Click();
    EXPECT_FALSE(rig.session->transmission.active());
    EXPECT_EQ(project.directionX[0], 1);
    rig.moveTo(150, 80);
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.runJob());
    EXPECT_EQ(s.frontX, 25000);  // cut rightwards from 150 mm
    rig.session->driver.Start1Click();
    ASSERT_TRUE(rig.runJob());
    EXPECT_EQ(s.frontX, 15000);  // and back leftwards
    EXPECT_EQ(rig.context.job.jobCounter, 1);
}

// The right-hand square of kTwoSquares; -1 when it is not there.
std::int32_t rightSquare(const TMDIChild& project)
{
    for (std::size_t i = 0; i < project.figures.size(); ++i)
        if (project.figures[i].isDesign && project.figures[i].minX == 6000)
            return static_cast<std::int32_t>(i);
    return -1;
}

TEST(JobDriver, TheSelectedFigureCommandsNeedASelection)
{
    JobRig rig;
    TMDIChild& project = rig.open("squares.plt", kTwoSquares);
    project.selectedFigure = -1;
    rig.session->driver.Tnijwybran1Click();
    rig.session->driver.Startodwybranej1Click();
    ASSERT_EQ(rig.host.messages.size(), 2u);
    for (const auto& message : rig.host.messages) {
        EXPECT_EQ(message.text, project.fileName + "\n" + rig.context.Text("Main_window", "wybierzFigure"));
        EXPECT_FALSE(message.isError);
    }
    EXPECT_FALSE(rig.session->transmission.active());
}

TEST(JobDriver, CuttingTheSelectedFigureCutsThatFigureAloneFromItsStartVertex)
{
    JobRig rig;
    TMDIChild& project = rig.open("squares.plt", kTwoSquares);
    // The whole project does not fit from here; the right-hand square does.
    rig.moveTo(1100, 80);
    rig.session->driver.Start1Click();
    EXPECT_FALSE(rig.session->transmission.active());

    const std::int32_t selected = rightSquare(project);
    ASSERT_GE(selected, 0);
    project.selectedFigure = selected;
    const std::int32_t startFigure = project.startFigure;
    rig.host.messages.clear();
    rig.host.answers = {AnswerOk};  // the wire stands at the start point shown
    rig.session->driver.Tnijwybran1Click();
    ASSERT_TRUE(rig.session->transmission.active()) << rig.host.messages.front().text;
    EXPECT_EQ(project.startFigure, startFigure);

    // Four sides of 50 mm, back to where it began.
    const DecodedProgram program = decodedProgram(rig);
    ASSERT_FALSE(program.error);
    EXPECT_EQ(program.moves.size(), 4u);
    machine::AxisSteps sum{};
    for (const DecodedMove& move : program.moves) {
        for (int axis = 0; axis < kAxisCount; ++axis)
            sum[axis] += move.steps[axis];
        EXPECT_LE(std::abs(move.steps[AxisFrontX]), 12500);
    }
    EXPECT_EQ(sum, machine::AxisSteps{});
    ASSERT_TRUE(rig.runJob());
}

TEST(JobDriver, StartingFromTheSelectedFigureCutsWhatTheCutTreeHangsBelowIt)
{
    // A square inside a house-shaped outline.
    constexpr const char* kNested =
        "IN;SP1;PU0,0;PD8000,0,8000,8000,4000,10000,0,8000,0,0;PU2000,2000;PD6000,2000,6000,6000,2000,6000,2000,2000;PU;";
    struct Case {
        std::int32_t outlineMinX;  // 0 the house, 2000 the square inside it
        bool toTheEnd;
        std::size_t moves;
    };
    // The house alone; from the house, the square hanging below it and its connector as well;
    // from the square, nothing hangs below it.
    const Case cases[] = {{0, false, 5}, {0, true, 11}, {2000, true, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.outlineMinX) + (c.toTheEnd ? " to the end" : " alone"));
        JobRig rig;
        rig.moveTo(400, 300);  // room around every start vertex
        TMDIChild& project = rig.open("nested.plt", kNested);
        for (std::size_t i = 0; i < project.figures.size(); ++i)
            if (project.figures[i].isDesign && project.figures[i].minX == c.outlineMinX)
                project.selectedFigure = static_cast<std::int32_t>(i);
        rig.host.answers = {AnswerOk};
        if (c.toTheEnd)
            rig.session->driver.Startodwybranej1Click();
        else
            rig.session->driver.Tnijwybran1Click();
        ASSERT_TRUE(rig.session->transmission.active())
            << (rig.host.messages.empty() ? "" : rig.host.messages[0].text + " / " + rig.host.messages[0].caption);
        EXPECT_EQ(decodedProgram(rig).moves.size(), c.moves);
    }
}

// The program starts where the wire stands: before a cut of the selected figure the operator is
// shown the start vertex and what will be cut, and a Cancel moves nothing.
TEST(JobDriver, CuttingTheSelectedFigureShowsItsStartAndAsksFirst)
{
    for (const bool confirmed : {false, true}) {
        SCOPED_TRACE(confirmed ? "OK" : "Cancel");
        JobRig rig;
        rig.moveTo(400, 300);
        TMDIChild& project = rig.open("squares.plt", kTwoSquares);
        const std::int32_t selected = rightSquare(project);
        ASSERT_GE(selected, 0);
        project.selectedFigure = selected;
        const tfigura& figure = project.figures[static_cast<std::size_t>(selected)];
        std::vector<std::string> shown;
        rig.session->driver.dialogs.showCutPreview = [&](TMDIChild&, const CutPreview* preview) {
            if (preview == nullptr) {
                shown.push_back("cleared");
                return;
            }
            const auto covered = std::count(preview->figures.begin(), preview->figures.end(), true);
            shown.push_back(std::to_string(preview->startFigure) + " " + std::to_string(covered) + " " +
                            std::to_string(preview->start.x) + "," + std::to_string(preview->start.y));
        };
        rig.cutter.clearReports();
        rig.host.answers = {confirmed ? AnswerOk : AnswerCancel};
        rig.session->driver.Tnijwybran1Click();

        const Point start = figure.points[static_cast<std::size_t>(figure.startVertex)];
        EXPECT_EQ(shown, (std::vector<std::string>{std::to_string(selected) + " 1 " + std::to_string(start.x) + "," +
                                                       std::to_string(start.y),
                                                   "cleared"}));
        ASSERT_EQ(rig.host.questions.size(), 1u);
        const auto mm = [&](std::int32_t units) { return formatFixed(units / 40.0, 2, '.'); };
        EXPECT_EQ(rig.host.questions[0].text,
                  formatText(rig.context.Text("Main_window", "tnijWybranaStart"),
                             {std::to_string(figure.startVertex), std::to_string(selected),
                              mm(start.x - project.minX), mm(start.y - project.minY), "mm"}));
        EXPECT_EQ(rig.session->transmission.active(), confirmed);
        if (!confirmed)
            EXPECT_TRUE(rig.cutter.reports().empty());
        else
            ASSERT_TRUE(rig.runJob());
    }
}

struct ArmModeCase {
    const char* product;
    int mode;
    bool confirmed;
    bool informsOfMaterial;
};

TEST(JobDriver, IndependentAndPerpendicularJobsNeedTheirDialogs)
{
    const ArmModeCase cases[] = {
        {"Qd 1200", ModeIndependent, false, false},
        {"Qd 1200", ModeIndependent, true, false},
        {"Pr 1200", ModePerpendicular, false, false},
        {"Pr 1200", ModePerpendicular, true, true},
    };
    for (const ArmModeCase& c : cases) {
        SCOPED_TRACE(std::string(c.product) + (c.confirmed ? " confirmed" : " cancelled"));
        JobRig rig(c.product, {std::string("MachineName'") + c.product + "'"});
        rig.home();
        rig.moveTo(150, 80);
        rig.context.configuration.setChoice(Param::Mode, c.mode);
        rig.open("front.plt", kSquare, 0);
        if (c.mode == ModePerpendicular)
            rig.open("side.plt", kSquare, 1);
        int dialogs = 0;
        const auto dialog = [&](TMDIChild&) {
            ++dialogs;
            return c.confirmed;
        };
        rig.session->driver.dialogs.placement = dialog;
        rig.session->driver.dialogs.twoWireStart = dialog;
        rig.session->driver.Start1Click();
        EXPECT_EQ(dialogs, 1);
        EXPECT_EQ(rig.session->transmission.active(), c.confirmed);
        if (c.mode == ModePerpendicular) {
            EXPECT_EQ(rig.windows.active()->seriesIndex, 0);  // Start begins with the front design
        }
        const bool informed = !rig.host.messages.empty() &&
                              rig.host.messages[0].text == rig.context.Text("Main_window", "PrUmiescMaterial");
        EXPECT_EQ(informed, c.informsOfMaterial);
    }
}

TEST(JobDriver, ASerialJobSendsTheProgramsOfTheSeriesOneAfterTheOther)
{
    JobRig rig;
    rig.home();
    Configuration& config = rig.context.configuration;
    config.setChoice(Param::Mode, ModeSerial);
    config.setChoice(Param::StolikSwitch, DeviceTable);
    for (int index : {2, 0, 1})
        rig.open("line" + std::to_string(index) + ".plt", kLine, index);
    rig.session->driver.Start1Click();

    ASSERT_TRUE(rig.session->transmission.active()) << (rig.host.messages.empty() ? "" : rig.host.messages[0].text);
    EXPECT_EQ(rig.windows.active()->seriesIndex, 2);
    EXPECT_FALSE(std::filesystem::exists(rig.session->driver.programPath() + "tmp"));
    const DecodedProgram program = decodedProgram(rig);
    ASSERT_FALSE(program.error);
    int headers = 0, rotations = 0;
    for (const DecodedCommand& command : program.commands)
        headers += command.letter == 'v';
    for (const DecodedMove& move : program.moves)
        rotations += move.steps[AxisTable] != 0;
    EXPECT_EQ(headers, 6);  // travel and working speed of each program
    EXPECT_EQ(rotations, 3);
    // The series' end is measured from its own start, not from an earlier job's origin.
    const JobState& job = rig.context.job;
    EXPECT_EQ(job.originX, roundHalfEven(job.programStartX * 100.0));
    EXPECT_EQ(job.originY, roundHalfEven(job.programStartY * 100.0));
    // Both ways: the feed turns from one design to the next.
    for (TMDIChild* window : rig.windows.windows()) {
        const tfigura& line = window->figures[0];
        EXPECT_EQ(line.points.front().x < line.points.back().x, window->seriesIndex != 1) << window->seriesIndex;
    }
}

TEST(JobDriver, TheSerialDialogsCancelStartsNothingAndItsOkArmsTheRepetition)
{
    for (const bool confirmed : {false, true}) {
        SCOPED_TRACE(confirmed ? "OK" : "Cancel");
        JobRig rig;
        rig.home();
        rig.openSeries(DeviceTable, 2, kLine);
        rig.context.configuration.setChoice(Param::rgKatObrotu, 1);
        rig.context.job.serialRepetition.armed = true;
        int asked = 0;
        rig.session->driver.dialogs.serial = [&] {
            ++asked;
            return confirmed;
        };
        rig.cutter.clearReports();
        rig.session->driver.Start1Click();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(rig.context.job.serialRepetition.armed, confirmed);
        EXPECT_EQ(rig.session->transmission.active(), confirmed);
        if (!confirmed) {
            // The controller was only read: no command, no move, no heat.
            EXPECT_EQ(rig.letters(), "");
        }
    }
}

// The table's serial start heats for the approach and switches off at the start. A status that
// could not be read there says nothing about the heating: a program that then fails to be
// written must leave the wire cold all the same.
TEST(JobDriverFaults, ASerialStartWhoseStatusReadFailsLeavesTheWireCold)
{
    for (const bool readFails : {false, true}) {
        SCOPED_TRACE(readFails ? "status read fails" : "status read answers");
        JobRig rig;
        rig.home();
        rig.openSeries(DeviceTable, 2, kLine);
        // The program cannot be written: its place is taken by a directory.
        std::filesystem::create_directories(rig.session->driver.programPath());
        if (readFails) {
            // Once the heating is on, every status reads as off, as a reply that failed decodes.
            rig.cutter.beforeIo = [&rig] {
                if (rig.cutter.readout().heating)
                    rig.context.machine.statusFlags = 0;
            };
        }
        rig.session->driver.Start1Click();
        EXPECT_FALSE(rig.session->transmission.active());
        EXPECT_FALSE(rig.cutter.readout().heating);
    }
}

// The wire runs hot into the block to the series' start, also when the operator had left it
// heated: the heating is switched on there, not toggled (off).
TEST(JobDriverFaults, TheWireRunsHotIntoTheBlockEvenWhenItWasLeftHeated)
{
    for (const bool leftHeated : {false, true}) {
        SCOPED_TRACE(leftHeated ? "left heated" : "cold");
        JobRig rig;
        rig.home();
        rig.openSeries(DeviceTable, 2, kLine);
        if (leftHeated) {
            rig.protocol().SendCommand(machine::commands::heating(true, rig.context.machine.selectedPowerOutput));
            rig.protocol().ReadStatus();
            ASSERT_TRUE(rig.cutter.readout().heating);
        }
        // Whether the wire is heated while it moves, until the program is handed over.
        std::optional<bool> lastMoveHeated;
        rig.cutter.beforeIo = [&] {
            const machine::VirtualCutterReadout r = rig.cutter.readout();
            if ((r.statusFlags & statusBit(StatusFlag::busy)) && !rig.session->transmission.active())
                lastMoveHeated = r.heating;
        };
        rig.session->driver.Start1Click();
        rig.cutter.beforeIo = nullptr;
        EXPECT_TRUE(rig.session->transmission.active());
        ASSERT_TRUE(lastMoveHeated.has_value());
        EXPECT_TRUE(*lastMoveHeated);
    }
}

// The wire runs hot into the block to the series' start: a key pressed on the way stops it there,
// cold, and no program starts.
TEST(JobDriverFaults, AKeyOnTheHotWayToTheSeriesStartStopsItColdAndStartsNothing)
{
    JobRig rig;
    rig.home();
    rig.openSeries(DeviceTable, 2, kLine);
    bool pressed = false;
    rig.cutter.beforeIo = [&rig, &pressed] {
        if (!pressed && rig.cutter.readout().heating) {
            rig.host.pendingInputs.push_back(PendingInput::KeyDown);
            pressed = true;
        }
    };
    rig.session->driver.Start1Click();
    rig.cutter.beforeIo = nullptr;
    ASSERT_TRUE(pressed);
    EXPECT_FALSE(rig.session->transmission.active());
    EXPECT_FALSE(rig.cutter.readout().heating);
    EXPECT_EQ(rig.cutter.readout().bufferedCommands, 0u);
    rig.protocol().ReadPositions();
    EXPECT_NE(rig.context.machine.frontX,
              roundHalfEven(rig.context.job.programStartX * 100.0));  // stopped short of the start
}

}  // namespace
}  // namespace kerfline
