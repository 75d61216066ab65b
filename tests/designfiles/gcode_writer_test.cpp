// The G-code writer: the rules of each controller profile, the feed that runs the longer arm at
// the configured speed, the observer the cut program writer feeds it through, and its settings file.
#include "writer_rig.h"

#include "designfiles/gcode_settings_file.h"
#include "designfiles/gcode_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kerfline {
namespace {

using testing::WriterRig;

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

bool has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A plain program whose arms travel different lengths: the front 30 mm along X while the back
// goes 40 mm up Y, then the back alone comes back down; a pause of 250 ms; the end.
std::string exportedProgram(WriterRig& rig, const GcodeOptions& options, GcodeCounts* counts = nullptr)
{
    std::string text;
    GcodeProgramValues values;
    values.travelSpeed = rig.config().number(Param::PrzeSpeed);
    values.workSpeed = rig.config().number(Param::szybkoscObrobki);
    values.power = 50.0;
    values.newPowerFormat = rig.app.machine.newPowerFormat();
    values.design = "two arms (test).plt";
    GcodeWriter gcode(options, values, [&text](std::string_view part) { text += part; });
    CutProgramJob job = rig.job(32);
    job.writeFile = false;
    job.observe = [&gcode](std::string_view commands, std::span<const AxisRegisters> path) {
        gcode.commands(commands, path);
    };
    CutProgramWriter writer(rig.app, job);
    EXPECT_TRUE(writer.BeginProgram(rig.path()));
    writer.SetPositions(0, 0, 0);
    writer.WritePairedMove(1200, 0, 0, 1600);  // front to (30, 0), back to (0, 40)
    writer.WritePairedMove(1200, 0, 0, 0);     // the back arm alone, 40 mm down
    writer.WritePause(250);
    EXPECT_TRUE(writer.EndProgram());
    gcode.finish();
    if (counts)
        *counts = gcode.counts();
    return text;
}

TEST(GcodeWriter, EachProfileWritesItsOwnRules)
{
    struct Case {
        GcodeProfileId profile;
        std::string axes;
        GcodeFeedMode feed;
        std::string preamble;
        std::string firstMove;
        std::string secondMove;  // after its corner pause
        std::string dwell;
        std::vector<std::string> end;
        char comment;
    };
    using enum GcodeProfileId;
    const auto g94 = GcodeFeedMode::UnitsPerMinute;
    const auto g93 = GcodeFeedMode::InverseTime;
    const Case cases[] = {
        // LinuxCNC's G94 feed runs the XY path: 30 mm at 750 take as long as the back's 40 at 1000.
        {LinuxCnc, "", g94, "G17 G21 G90 G94", "G1 X30.000 Y0.000 U0.000 V40.000 F750.000",
         "G1 X30.000 Y0.000 U0.000 V0.000 F1000.000", "G4 P0.250", {"M5", "M2"}, '('},
        {LinuxCnc, "", g93, "G17 G21 G90 G94", "G1 X30.000 Y0.000 U0.000 V40.000 F25.00000",
         "G1 X30.000 Y0.000 U0.000 V0.000 F25.00000", "G4 P0.250", {"M5", "M2"}, '('},
        // grbl's feed runs the length over all four axes: 50 mm in the time of the back's 40.
        {GrblHal, "", g94, "G17 G21 G90 G94", "G1 X30.000 Y0.000 Z0.000 A40.000 F1250.000",
         "G1 X30.000 Y0.000 Z0.000 A0.000 F1000.000", "G4 P0.250", {"M5", "M2"}, '('},
        {GrblHal, "XYUZ", g93, "G17 G21 G90 G94", "G1 X30.000 Y0.000 U0.000 Z40.000 F25.00000",
         "G1 X30.000 Y0.000 U0.000 Z0.000 F25.00000", "G4 P0.250", {"M5", "M2"}, '('},
        {FluidNc, "XYUV", g94, "G17 G21 G90 G94", "G1 X30.000 Y0.000 U0.000 V40.000 F1250.000",
         "G1 X30.000 Y0.000 U0.000 V0.000 F1000.000", "G4 P0.250", {"M5", "M2"}, '('},
        // Marlin runs the longer path at F, dwells in S seconds and never ends with M30; it has
        // no inverse time, so G93 falls back to G94.
        {Marlin, "", g94, "G21 G90", "G1 X30.000 Y0.000 U0.000 V40.000 F1000.000", "G1 X30.000 Y0.000 U0.000 V0.000",
         "G4 S0.250", {"G4 S0.001", "M5"}, ';'},
        {Marlin, "", g93, "G21 G90", "G1 X30.000 Y0.000 U0.000 V40.000 F1000.000", "G1 X30.000 Y0.000 U0.000 V0.000",
         "G4 S0.250", {"G4 S0.001", "M5"}, ';'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(gcodeProfile(c.profile).name) + " " + c.axes + " " + std::string(feedModeName(c.feed)));
        WriterRig rig;
        const std::vector<std::string> lines = linesOf(exportedProgram(rig, {c.profile, c.axes, c.feed, {}}));
        ASSERT_GE(lines.size(), 8u);
        EXPECT_EQ(lines[0].front(), c.comment);
        EXPECT_EQ(lines[1], c.preamble);
        const bool inverse = c.feed == g93 && c.profile != Marlin;
        EXPECT_EQ(lines[2] == "G93", inverse);
        // The start point: the cut program counts from where the wire stands.
        const std::string axes = c.axes.empty() ? std::string(gcodeProfile(c.profile).axes) : c.axes;
        EXPECT_EQ(lines[inverse ? 3 : 2], std::string("G92 ") + axes[0] + "0.000 " + axes[1] + "0.000 " + axes[2] +
                                              "0.000 " + axes[3] + "0.000");
        EXPECT_TRUE(has(lines, c.firstMove));
        EXPECT_TRUE(has(lines, c.secondMove));
        EXPECT_TRUE(has(lines, c.dwell));
        EXPECT_TRUE(std::equal(c.end.rbegin(), c.end.rend(), lines.rbegin()));
        // Heat on before the first move, off only at the end; no rapid move of a hot wire.
        const auto heatOn = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("M3 S"); });
        const auto firstMove = std::find(lines.begin(), lines.end(), c.firstMove);
        EXPECT_LT(heatOn, firstMove);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "M5"), 1);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("G0"); }), 0);
        // No bracket of the design's name may close the comment early.
        EXPECT_EQ(std::count(lines[0].begin(), lines[0].end(), ')'), c.comment == '(' ? 1 : 0);
    }
}

TEST(GcodeWriter, HeatPowerAndPausesFollowTheProgram)
{
    WriterRig rig;
    GcodeCounts counts;
    const std::vector<std::string> lines = linesOf(exportedProgram(rig, {GcodeProfileId::GrblHal, "", {}, 2.5}, &counts));
    // The header: power, heat on, the controller's short pause and the heat-up time.
    const std::vector<std::string> header(lines.begin() + 3, lines.begin() + 6);
    EXPECT_EQ(header, (std::vector<std::string>{"M3 S125.000", "G4 P0.001", "G4 P1.000"}));
    EXPECT_EQ(counts.moves, 2);
    EXPECT_EQ(counts.dwells, 5);  // p 1, heat-up, corner, 250, p 1
    EXPECT_EQ(counts.lines, static_cast<std::int64_t>(lines.size()));
}

// The observer sees exactly the bytes the file gets; without a file it sees them all the same
// and nothing is written.
TEST(CutProgramWriter, ObserverSeesEveryByteOfTheProgram)
{
    for (const bool writeFile : {true, false}) {
        SCOPED_TRACE(writeFile);
        WriterRig rig;
        std::string seen;
        std::vector<AxisRegisters> ends;
        CutProgramJob job = rig.job(32);
        job.writeFile = writeFile;
        job.observe = [&](std::string_view commands, std::span<const AxisRegisters> path) {
            seen += commands;
            if (!path.empty())
                ends.push_back(path.back());
        };
        CutProgramWriter writer(rig.app, job);
        ASSERT_TRUE(writer.BeginProgram(rig.path()));
        writer.SetPositions(400, 400, 0);
        writer.WritePlainMove(800, 400, true, true);
        writer.WritePlainMove(800, 1200, true, true);
        const AxisRegisters last = writer.registers();
        writer.WritePause(600);
        ASSERT_TRUE(writer.EndProgram());
        ASSERT_EQ(ends.size(), 2u);
        EXPECT_EQ(ends.back(), last);
        if (writeFile)
            EXPECT_EQ(seen, rig.bytes());
        else
            EXPECT_FALSE(std::filesystem::exists(rig.path()));
        WriterRig plain;
        CutProgramWriter reference(plain.app, plain.job(32));
        ASSERT_TRUE(reference.BeginProgram(plain.path()));
        reference.SetPositions(400, 400, 0);
        reference.WritePlainMove(800, 400, true, true);
        reference.WritePlainMove(800, 1200, true, true);
        reference.WritePause(600);
        ASSERT_TRUE(reference.EndProgram());
        EXPECT_EQ(seen, plain.bytes());
    }
}

TEST(GcodeSettingsFile, ChoicesSurviveAndNonsenseIsIgnored)
{
    GcodeExportSettings chosen;
    chosen.options = {GcodeProfileId::FluidNc, "XYUZ", GcodeFeedMode::InverseTime, 12.5};
    chosen.file = "/tmp/foam/wing.ngc";
    const GcodeExportSettings read = parseGcodeSettings(formatGcodeSettings(chosen));
    EXPECT_EQ(read.options.profile, GcodeProfileId::FluidNc);
    EXPECT_EQ(read.options.axes, "XYUZ");
    EXPECT_EQ(read.options.feedMode, GcodeFeedMode::InverseTime);
    EXPECT_EQ(read.options.heatScale, 12.5);
    EXPECT_EQ(read.file, chosen.file);

    const GcodeExportSettings nonsense =
        parseGcodeSettings("profile=mach3\naxes=XXUV\nfeed=g95\nheatScale=-4\nheatScale=1e999\n\x01\x02=\n");
    EXPECT_EQ(nonsense.options.profile, GcodeProfileId::LinuxCnc);
    EXPECT_EQ(nonsense.options.axes, "");
    EXPECT_EQ(nonsense.options.feedMode, GcodeFeedMode::UnitsPerMinute);
    EXPECT_FALSE(nonsense.options.heatScale.has_value());

    WriterRig rig;
    EXPECT_TRUE(writeGcodeSettings(rig.dir.str(), chosen));
    EXPECT_EQ(readGcodeSettings(rig.dir.str()).options.axes, "XYUZ");
}

TEST(GcodeProfiles, AxisLettersAreFourDistinctAxisWords)
{
    for (const char* good : {"XYUV", "XYZA", "XYUZ", "XYAB"})
        EXPECT_TRUE(validAxisLetters(good)) << good;
    for (const char* bad : {"", "XYU", "XYUVW", "XYXV", "xyuv", "XYFV", "XYU "})
        EXPECT_FALSE(validAxisLetters(bad)) << bad;
}

}  // namespace
}  // namespace kerfline
