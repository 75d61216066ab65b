// The project information window's values: scaled sizes, cut length and time by mode and
// display unit, and the perpendicular mode that leaves length and time as they were.
#include "aids/display_length.h"
#include "aids/project_information.h"
#include "cutting/program_estimate.h"
#include "designfiles/design_type.h"
#include "support/temp_dir.h"
#include "machine/link_rig.h"
#include "project/tmdichild.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::ContextRig;
using testing::TempDir;

TEST(ScaledLength, TakesWholePlotterUnitsHalfToEvenBeforeMillimetres)
{
    EXPECT_DOUBLE_EQ(scaledMillimetres(1000000, 100), 25000.0);
    EXPECT_DOUBLE_EQ(scaledMillimetres(10160, 50), 127.0);
    EXPECT_DOUBLE_EQ(scaledMillimetres(5, 50), 0.05);   // 2.5 units become 2
    EXPECT_DOUBLE_EQ(scaledMillimetres(7, 50), 0.1);    // 3.5 units become 4
    EXPECT_EQ(withoutAccelerator("Project &information"), "Project information");
    EXPECT_EQ(withoutAccelerator("Cut && &run"), "Cut & run");
}

struct Case {
    const char* name;
    int mode;
    double steps;       // ilosckrokow
    int unit;
    char separator;
    const char* length;
    const char* time;
};

class ProjectInformationTest : public ::testing::TestWithParam<Case> {};

// 1 000 000 plotter units of cut (25 m) at scale 100 and 1000 mm/min, ten figures.
TEST_P(ProjectInformationTest, LengthAndTimeByModeAndUnit)
{
    const Case& c = GetParam();
    ContextRig rig;
    rig.context.decimalSeparator = c.separator;
    Configuration& config = rig.context.configuration;
    config.setChoice(Param::Mode, c.mode);
    config.setNumber(Param::ilosckrokow, c.steps);
    config.setNumber(Param::szybkoscObrobki, 1000);
    config.setNumber(Param::skala, 100);
    config.displayUnit = c.unit;
    TMDIChild project(rig.context);
    project.cutLength = 1000000;
    project.figures.resize(10);

    ProjectInformation info;
    info.totlen = "before";
    info.total_time = "before";
    info.update(project, "", rig.context);
    EXPECT_EQ(info.totlen, c.length);
    EXPECT_EQ(info.total_time, c.time);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ProjectInformationTest,
    ::testing::Values(Case{"plain", Mode2D, 1, UnitMillimetre, '.', "25.00 m", "25 min"},
                      Case{"comma", Mode2D, 1, UnitMillimetre, ',', "25,00 m", "25 min"},
                      Case{"serial", ModeSerial, 4, UnitMillimetre, '.', "25.00 m", "25 min"},
                      Case{"independent", ModeIndependent, 4, UnitMillimetre, '.', "25.00 m", "25 min"},
                      Case{"rotary", ModeRotary, 4, UnitMillimetre, '.', "100.00 m", "100 min"},
                      Case{"turning", ModeTurning, 4, UnitMillimetre, '.', "100.00 m", "100 min"},
                      Case{"inch", Mode2D, 1, UnitInch, '.', "984.25 in", "25 min"},
                      Case{"foot", Mode2D, 1, UnitFoot, '.', "82.02 ft", "25 min"},
                      Case{"perpendicular", ModePerpendicular, 1, UnitMillimetre, '.', "before", "before"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(ProjectInformation, NamesAndScaledSizes)
{
    ContextRig rig;
    Configuration& config = rig.context.configuration;
    config.settings.configPath = "/home/op/cuts/foam.kcc";
    config.setNumber(Param::skala, 100);
    config.displayUnit = UnitInch;
    TMDIChild project(rig.context);
    project.fileName = "/home/op/designs/gear.plt";
    project.width = 10160;   // 254 mm
    project.height = 4000;   // 100 mm

    ProjectInformation info;
    info.update(project, "", rig.context);
    EXPECT_EQ(info.fname, "/home/op/designs/gear.plt");
    EXPECT_EQ(info.konfigname, "/home/op/cuts/foam.kcc");
    EXPECT_EQ(info.szerokosc, "10.00 in");
    EXPECT_EQ(info.wysokosc, "3.94 in");

    config.displayUnit = UnitMillimetre;
    config.setNumber(Param::skala, 50);
    info.update(project, "/home/op/designs/gear.plt FRONT", rig.context);
    EXPECT_EQ(info.szerokosc, "127.00 mm");
    EXPECT_EQ(info.wysokosc, "50.00 mm");
    // The window's caption, with the arm tag of the independent mode, names the project.
    EXPECT_EQ(info.fname, "/home/op/designs/gear.plt FRONT");
}

TEST(ProjectInformation, ShowsTheKerfThePathIsCompensatedFor)
{
    ContextRig rig;
    Configuration& config = rig.context.configuration;
    TMDIChild project(rig.context);
    ProjectInformation info;
    info.update(project, "", rig.context);
    EXPECT_EQ(info.kerf, "0.00 mm");
    // The project's own kerf, not the configuration's: it changes only with a preparation.
    config.setNumber(Param::kerf, 1.5);
    project.kerfInUse = 0.8;
    info.update(project, "", rig.context);
    EXPECT_EQ(info.kerf, "0.80 mm");
    config.displayUnit = UnitInch;
    project.kerfInUse = 1.27;
    info.update(project, "", rig.context);
    EXPECT_EQ(info.kerf, "0.050 in");
}

TEST(ProjectInformation, TimeRoundsHalfToEvenAndCountsEveryFigure)
{
    ContextRig rig;
    Configuration& config = rig.context.configuration;
    config.setChoice(Param::Mode, Mode2D);
    config.setNumber(Param::szybkoscObrobki, 1000);
    config.setNumber(Param::skala, 100);
    TMDIChild project(rig.context);
    project.cutLength = 40000;  // 1 m: 1 minute
    ProjectInformation info;
    for (const auto& [figures, time] : {std::pair{16, "1 min"}, std::pair{17, "2 min"}, std::pair{50, "2 min"}}) {
        project.figures.resize(static_cast<std::size_t>(figures));
        info.update(project, "", rig.context);
        EXPECT_EQ(info.total_time, time) << figures << " figures";
    }
}

// Beside the described figure, the program's own time: its moves at their speeds, the heat-up
// time and every corner pause, in minutes and seconds.
TEST(ProjectInformation, TimesTheProgramWithItsHeatUpAndCornerPauses)
{
    ContextRig rig;
    TempDir dir;
    Configuration& config = rig.context.configuration;
    config.setChoice(Param::Mode, Mode2D);
    config.setNumber(Param::szybkoscObrobki, 600);
    config.setNumber(Param::PrzeSpeed, 600);
    config.setNumber(Param::skala, 100);
    const std::string path = dir.write("square.plt", "IN;SP1;PU0,0;PD4000,0,4000,4000,0,4000,0,0;PU;");
    TMDIChild project(rig.context);
    project.fileType = designTypeOf(path);
    project.Load(path, 255);
    ASSERT_FALSE(project.figures.empty());

    const auto timed = [&](double heatUpMs, double cornerMs) {
        config.setNumber(Param::CzasRozgrzewania, heatUpMs);
        config.setNumber(Param::Pauza_w_kacie, cornerMs);
        return plannedProgramMs(project).value_or(-1);
    };
    // 400 mm at 600 mm/min: 40 s of cut.
    const std::int64_t cut = timed(0, 0);
    EXPECT_GE(cut, 40000);
    EXPECT_LE(cut, 41000);
    EXPECT_EQ(timed(5000, 0) - cut, 5000);
    const std::int64_t corners = timed(0, 1000) - cut;
    EXPECT_EQ(corners % 1000, 0);
    EXPECT_GE(corners, 4000);  // at least the square's four corners

    config.setNumber(Param::CzasRozgrzewania, 5000);
    config.setNumber(Param::Pauza_w_kacie, 0);
    ProjectInformation info;
    info.update(project, "", rig.context);
    rig.context.host.setStatus(0, "Wire broken");
    info.estimateProgram(project);
    EXPECT_EQ(rig.host.statusPanels.at(0), "Wire broken");  // the estimate is no program for the machine
    EXPECT_EQ(info.total_time, "1 min");  // the described figure: 400 / 600 + 0.03, no decimals
    EXPECT_EQ(info.programTime, minutesAndSeconds(cut + 5000));
    EXPECT_EQ(minutesAndSeconds(45499), "0 min 45 s");
    EXPECT_EQ(minutesAndSeconds(3725500), "62 min 06 s");  // 3725.5 s: halves to even

    // A program written otherwise is not timed here.
    config.setChoice(Param::Mode, ModeRotary);
    info.estimateProgram(project);
    EXPECT_TRUE(info.programTime.empty());
}

}  // namespace
}  // namespace kerfline
