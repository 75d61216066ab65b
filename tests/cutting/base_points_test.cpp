// Base points: the file in every encoding and line break, the line format, the dialog's list
// and the go command on the virtual cutter.
#include "cutting/base_points.h"
#include "cutting/base_points_file.h"
#include "cutting/panel_logic.h"
#include "machine/link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace kerfline {
namespace {

using testing::CutterRig;
using testing::TempDir;

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string utf16(const std::u16string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(BasePointsFile, DecodesEveryEncodingAndLineBreak)
{
    const std::vector<std::string> expected = {"X=  100.000   Y=   50.000", "Łódź €", "", "X=1 Y=2"};
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"UTF-16LE, CR LF", utf16(u"X=  100.000   Y=   50.000\r\nŁódź €\r\n\r\nX=1 Y=2\r\n", false)},
        {"UTF-16BE, CR", utf16(u"X=  100.000   Y=   50.000\rŁódź €\r\rX=1 Y=2", true)},
        {"UTF-16LE, U+2028", utf16(u"X=  100.000   Y=   50.000\u2028Łódź €\u2028\u2028X=1 Y=2\u2028", false)},
        {"UTF-8 with BOM, LF", "\xEF\xBB\xBFX=  100.000   Y=   50.000\n\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x82\xAC\n\nX=1 Y=2\n"},
        {"UTF-8 without BOM, mixed", "X=  100.000   Y=   50.000\r\n\xC5\x81\xC3\xB3" "d\xC5\xBA \xE2\x82\xAC\r\rX=1 Y=2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeTextLines(c.bytes), expected) << c.name;

    // 8-bit text that is not UTF-8 is Latin-1; an empty file has no lines.
    EXPECT_EQ(decodeTextLines("X=\xB1" "1\r\n"), std::vector<std::string>{"X=\xC2\xB1" "1"});
    EXPECT_TRUE(decodeTextLines("").empty());
    EXPECT_TRUE(decodeTextLines("\xFF\xFE").empty());
    // Broken UTF-16: an unpaired surrogate and an odd last byte become replacement characters.
    EXPECT_EQ(decodeTextLines(std::string("\xFF\xFE\x00\xD8" "A\x00" "B", 7)),
              std::vector<std::string>{"\xEF\xBF\xBD" "A\xEF\xBF\xBD"});
}

TEST(BasePointsFile, WritesUtf16LittleEndianWithCrLfThroughARename)
{
    TempDir dir;
    const std::string path = dir.str() + "base.txt";
    dir.write("base.txt", "old");
    const std::vector<std::string> lines = {"X=  100.000   Y=   50.000", "Łódź"};
    ASSERT_TRUE(writeBasePointsFile(path, lines, "%1").ok);
    EXPECT_EQ(readAll(path), utf16(u"X=  100.000   Y=   50.000\r\nŁódź\r\n", false));
    EXPECT_EQ(readBasePointsFile(path, "%1").lines, lines);

    ASSERT_TRUE(writeBasePointsFile(path, {}, "%1").ok);
    EXPECT_EQ(readAll(path), "\xFF\xFE");

    const auto failed = writeBasePointsFile(dir.str() + "missing/base.txt", lines, "cannot %1");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, "cannot " + dir.str() + "missing/base.txt");
}

TEST(BasePointLine, FormatAndParse)
{
    EXPECT_EQ(formatBasePointLine(100, 50, UnitMillimetre, '.'), "X=  100.000   Y=   50.000");
    EXPECT_EQ(formatBasePointLine(1234.5678, -3.25, UnitMillimetre, ','), "X= 1234,568   Y=   -3,250");
    EXPECT_EQ(formatBasePointLine(254, 25.4, UnitInch, '.'), "X=   10.000   Y=    1.000");

    struct Case {
        const char* line;
        int unit;
        std::optional<BasePoint> point;
    };
    const Case cases[] = {
        {"X=  100.000   Y=   50.000", UnitMillimetre, BasePoint{100, 50}},
        {"X=  100,000   Y=   50,000", UnitMillimetre, BasePoint{100, 50}},
        // Stored in millimetres, used in inches: the numbers are taken as inches.
        {"X=  100.000   Y=   50.000", UnitInch, BasePoint{2540, 1270}},
        {"X=    1.5     Y=2.25", UnitMillimetre, BasePoint{1.5, 2.25}},
        // The value is the 9 characters after the marker: a short hand-written line reaches Y.
        {"X=1   Y=2", UnitMillimetre, std::nullopt},
        {"X=  abc      Y=   50.000", UnitMillimetre, std::nullopt},
        {"Y=   50.000", UnitMillimetre, std::nullopt},
        {"", UnitMillimetre, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto point = parseBasePointLine(c.line, c.unit);
        ASSERT_EQ(point.has_value(), c.point.has_value());
        if (point) {
            EXPECT_DOUBLE_EQ(point->x, c.point->x);
            EXPECT_DOUBLE_EQ(point->y, c.point->y);
        }
    }
}

struct BaseRig : CutterRig {
    BaseRig()
    {
        context.dataDirectory = dir.str();
        context.configuration.setNumber(Param::CzasRozgrzewania, 500);
        readMachine();
        home();
    }
    TempDir dir;
};

TEST(BasePointsDialog, AddSelectDeleteAndSave)
{
    BaseRig rig;
    rig.motion->gotopoint(true, 2, 100, 100, 50, 50, 0, 0);
    TPunkty_bazowe dialog(rig.context, *rig.protocol, *rig.motion);
    dialog.FormCreate();
    EXPECT_TRUE(dialog.lines().empty());

    dialog.DodajClick();
    ASSERT_EQ(dialog.lines().size(), 1u);
    EXPECT_EQ(dialog.lines()[0], "X=  100.000   Y=   50.000");
    EXPECT_EQ(dialog.selected(), 0);
    EXPECT_FALSE(dialog.usunEnabled());  // only a click on the list enables them
    dialog.listaClick(0);
    EXPECT_TRUE(dialog.usunEnabled());
    EXPECT_TRUE(dialog.ustawEnabled());

    dialog.DodajClick();
    dialog.DodajClick();
    dialog.listaClick(2);
    dialog.usunClick();
    EXPECT_EQ(dialog.selected(), 1);  // after the last line the one before it
    dialog.usunClick();
    dialog.usunClick();
    EXPECT_TRUE(dialog.lines().empty());
    EXPECT_FALSE(dialog.usunEnabled());
    EXPECT_FALSE(dialog.ustawEnabled());
    EXPECT_FALSE(dialog.ustawClick());  // stays open

    dialog.DodajClick();
    ASSERT_TRUE(dialog.FormDestroy());
    TPunkty_bazowe again(rig.context, *rig.protocol, *rig.motion);
    again.FormCreate();
    EXPECT_EQ(again.lines(), dialog.lines());
}

TEST(BasePointsDialog, GoHeatsAndDrivesBothArmsToThePoint)
{
    BaseRig rig;
    rig.dir.write("base.txt", "\xEF\xBB\xBFX=  200.000   Y=   80.500\r\nX=  broken   Y=    1.000\r\n");
    TPunkty_bazowe dialog(rig.context, *rig.protocol, *rig.motion);
    dialog.FormCreate();
    ASSERT_EQ(dialog.lines().size(), 2u);
    EXPECT_FALSE(dialog.ustawClick());  // nothing selected

    dialog.listaClick(1);
    EXPECT_FALSE(dialog.ustawClick());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_TRUE(rig.host.messages[0].isError);
    EXPECT_FALSE(rig.cutter.controller().outputOn(2));

    const std::int64_t start = rig.clock.nowMs();
    EXPECT_TRUE(dialog.listaDblClick(0));
    EXPECT_TRUE(rig.cutter.controller().outputOn(2));
    EXPECT_GE(rig.clock.nowMs() - start, 500);
    rig.protocol->WaitWhileBusy();
    rig.protocol->ReadPositions();
    const MachineState& s = rig.context.machine;
    EXPECT_EQ(s.frontX, 20000);
    EXPECT_EQ(s.frontY, 8050);
    EXPECT_EQ(s.backX, 20000);
    EXPECT_EQ(s.backY, 8050);

    // At the point the wire is cooled: the panel's heartbeat finds the axes standing.
    Tster panel(rig.context, *rig.protocol, *rig.motion, nullptr, PanelHooks{});
    panel.Timer1Timer();
    EXPECT_FALSE(rig.cutter.readout().heating);
}

TEST(BasePointsDialog, UnreadableFileIsReportedAndLeavesAnEmptyList)
{
    BaseRig rig;
    std::filesystem::create_directory(rig.dir.path() / "base.txt");
    TPunkty_bazowe dialog(rig.context, *rig.protocol, *rig.motion);
    dialog.FormCreate();
    EXPECT_TRUE(dialog.lines().empty());
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_TRUE(rig.host.messages[0].isError);
}

}  // namespace
}  // namespace kerfline
