// What the operator is told about a design as it opens: why a file gave no figure, by how much a
// project is too large, and a DXF drawing whose header declares other units than it is read in.
#include "project/load_messages.h"
#include "project_rig.h"

#include "config/configuration.h"
#include "geometry/geometry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::ProjectRig;
using testing::TempDir;

// A DXF drawing: an optional $INSUNITS header, then the entities, each given whole as
// "KIND\n<groups>" after its group code 0; no entities section at all when `entities` is null.
std::string dxf(std::optional<int> insUnits, const char* entities)
{
    std::string text;
    if (insUnits)
        text += "0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n70\n" + std::to_string(*insUnits) + "\n0\nENDSEC\n";
    if (entities)
        text += std::string("0\nSECTION\n2\nENTITIES\n") + entities + "0\nENDSEC\n";
    return text + "0\nEOF\n";
}

constexpr const char* kText = "0\nTEXT\n8\n0\n10\n1\n20\n1\n1\nHello\n0\nMTEXT\n8\n0\n10\n1\n20\n1\n1\nWorld\n";
constexpr const char* kPoints = "0\nPOINT\n8\n0\n10\n1\n20\n1\n0\nPOINT\n8\n0\n10\n5\n20\n5\n";
constexpr const char* kLine = "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n10\n21\n5\n";

TEST(LoadMessages, AnEmptyDesignNamesTheFileAndItsLikelyCause)
{
    const struct {
        const char* name;
        const char* file;
        std::string content;
        int fileType;
        const char* cause;  // nullptr: the file cannot tell
    } cases[] = {
        {"only text", "a.dxf", dxf(4, kText), 2, "It holds only text: convert the text to curves in the drawing program."},
        {"only points", "a.dxf", dxf(std::nullopt, kPoints), 2, "It holds only points, which have no length to cut."},
        {"block insertions", "a.dxf", dxf(std::nullopt, "0\nINSERT\n2\nPART\n10\n0\n20\n0\n0\nTEXT\n1\nx\n"), 2,
         "Its drawing lies in blocks: explode the blocks in the drawing program."},
        {"kinds that are not read", "a.dxf", dxf(std::nullopt, "0\nHATCH\n8\n0\n0\n3DFACE\n8\n0\n0\nPOINT\n8\n0\n"), 2,
         "It holds only elements of kinds that are not read: 3DFACE, HATCH, POINT."},
        {"no entities section", "a.dxf", dxf(1, nullptr), 2,
         "It has no ENTITIES section, where a DXF drawing keeps its lines."},
        {"an empty entities section", "a.dxf", dxf(std::nullopt, ""), 2,
         "No line, arc, circle or polyline was found in it."},
        {"a plot file that only moves the pen", "a.plt", "IN;SP1;PU100,100;PU;", 1,
         "No line, arc, circle or polyline was found in it."},
        {"a plot file of labels", "a.plt", "IN;SP1;PU100,100LBWing\x03;PU;", 1,
         "It holds only text: convert the text to curves in the drawing program."},
        {"an EPS file without paths", "a.eps", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n", 3, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProjectRig rig;
        TempDir dir;
        const std::string path = dir.write(c.file, c.content);
        rig.project.fileType = c.fileType;
        EXPECT_EQ(rig.project.Load(path, 255), LoadOutcome::Closed);
        ASSERT_EQ(rig.host.messages.size(), 1u);
        std::string expected = "The file holds no figures to cut.\nFile: " + path;
        if (c.cause)
            expected += std::string("\n") + c.cause;
        EXPECT_EQ(rig.host.messages[0].text, expected);
        EXPECT_TRUE(rig.host.messages[0].isError);
    }
}

TEST(LoadMessages, TooLargeGivesBothSizesInTheDisplayUnit)
{
    ProjectRig rig;
    const struct {
        int unit;
        char separator;
        const char* sizes;
    } cases[] = {
        {UnitMillimetre, '.', "Project: 1250.0 x 300.5 mm; working area: 1200.0 x 800.0 mm."},
        {UnitMillimetre, ',', "Project: 1250,0 x 300,5 mm; working area: 1200,0 x 800,0 mm."},
        {UnitInch, '.', "Project: 49.21 x 11.83 in; working area: 47.24 x 31.50 in."},
        {UnitFoot, '.', "Project: 4.101 x 0.986 ft; working area: 3.937 x 2.625 ft."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sizes);
        EXPECT_EQ(projectTooLargeMessage(rig.app.language, {1250.0, 300.5}, {1200.0, 800.0}, c.unit, c.separator),
                  std::string("The project is larger than the working area of the machine.\n") + c.sizes);
    }
}

TEST(LoadMessages, DeclaredUnitsOtherThanTheDisplayUnitAreNoted)
{
    ProjectRig rig;
    const struct {
        std::optional<int> insUnits;
        int unit;
        SizeMm asRead;
        const char* note;  // "": no note
    } cases[] = {
        {1, UnitMillimetre, {10, 5},
         "The drawing's header declares its unit: in ($INSUNITS). Its coordinates are read in mm, the display "
         "unit; with in as its unit the drawing would measure 254.0 x 127.0 mm."},
        {4, UnitInch, {254, 127},
         "The drawing's header declares its unit: mm ($INSUNITS). Its coordinates are read in in, the display "
         "unit; with mm as its unit the drawing would measure 0.39 x 0.20 in."},
        {6, UnitFoot, {304.8, 30.48},
         "The drawing's header declares its unit: m ($INSUNITS). Its coordinates are read in ft, the display "
         "unit; with m as its unit the drawing would measure 3.281 x 0.328 ft."},
        {4, UnitMillimetre, {10, 5}, ""},
        {1, UnitInch, {25.4, 25.4}, ""},
        {0, UnitMillimetre, {10, 5}, ""},   // unitless
        {3, UnitMillimetre, {10, 5}, ""},   // miles: not a unit a foam design is drawn in
        {std::nullopt, UnitMillimetre, {10, 5}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.insUnits.value_or(-1));
        EXPECT_EQ(drawingUnitsNote(rig.app.language, c.insUnits, c.asRead, c.unit, '.'), c.note);
    }
}

// The note reaches the project (for its information window) and the status bar; the coordinates
// stay read in the display unit.
TEST(LoadMessages, OpeningAnInchDrawingUnderMillimetresSaysSo)
{
    ProjectRig rig;
    rig.config().setChoice(Param::Mode, -1);
    TempDir dir;
    const std::string path = dir.write("a.dxf", dxf(1, kLine));
    rig.project.fileType = 2;
    ASSERT_EQ(rig.project.Load(path, 255), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.width, mmToUnits(10.0));
    EXPECT_EQ(rig.project.drawingUnitsNote,
              "The drawing's header declares its unit: in ($INSUNITS). Its coordinates are read in mm, the display "
              "unit; with in as its unit the drawing would measure 254.0 x 127.0 mm.");
    ASSERT_FALSE(rig.host.statusPanels.empty());
    EXPECT_EQ(rig.host.statusPanels[0], rig.project.drawingUnitsNote);

    const std::string plain = dir.write("b.dxf", dxf(4, kLine));
    ASSERT_EQ(rig.project.Load(plain, 255), LoadOutcome::Opened);
    EXPECT_EQ(rig.project.drawingUnitsNote, "");
}

}  // namespace
}  // namespace kerfline
