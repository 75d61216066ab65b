// The G-code export of a prepared project: golden files per profile, the round trip of the
// exported path through every design vertex, and the cut program file it leaves alone.
#include "walk_rig.h"

#include "designfiles/design_type.h"
#include "project/gcode_export.h"

#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

using testing::Spot;
using testing::square;
using testing::WalkRig;

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Reads the XY path back out of exported G-code: the G92 start, then every G0 and G1, in
// hundredths of a millimetre. Our own G-code only: a fixed count of decimals, one word per axis.
std::vector<Spot> xyPathOf(const std::string& gcode, char xWord, char yWord)
{
    std::vector<Spot> path;
    std::istringstream lines(gcode);
    std::string line;
    Spot here;
    while (std::getline(lines, line)) {
        if (!(line.starts_with("G92 ") || line.starts_with("G0 ") || line.starts_with("G1 ")))
            continue;
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            if (word.size() < 2 || (word[0] != xWord && word[0] != yWord))
                continue;
            std::string digits;
            for (const char c : word.substr(1))
                if (c != '.')
                    digits += c;
            std::int64_t thousandths = 0;
            std::from_chars(digits.data(), digits.data() + digits.size(), thousandths);
            (word[0] == xWord ? here.x : here.y) = thousandths / 10;
        }
        path.push_back(here);
    }
    return path;
}

// Whether the spot lies on the polyline, at a vertex or on a segment, within a hundredth.
bool onPath(const std::vector<Spot>& path, Spot s)
{
    for (std::size_t k = 0; k + 1 < path.size(); ++k) {
        const double ax = static_cast<double>(path[k].x), ay = static_cast<double>(path[k].y);
        const double bx = static_cast<double>(path[k + 1].x), by = static_cast<double>(path[k + 1].y);
        const double dx = bx - ax, dy = by - ay;
        const double length2 = dx * dx + dy * dy;
        const double t = length2 > 0 ? std::clamp(((s.x - ax) * dx + (s.y - ay) * dy) / length2, 0.0, 1.0) : 0.0;
        if (std::hypot(ax + t * dx - s.x, ay + t * dy - s.y) <= 1.0)
            return true;
    }
    return path.size() == 1 && path.front() == s;
}

TEST(GcodeExport, GoldenFilePerProfile)
{
    for (const GcodeProfile& profile : gcodeProfiles()) {
        SCOPED_TRACE(profile.name);
        WalkRig rig;
        rig.design({square(0, 0, 4000), square(6000, 0, 4000)});
        rig.project.ciecie();
        settleUnattendedStart(rig.project);
        rig.project.fileName = "two_squares.plt";
        const std::string out = rig.dir.str() + "out.ngc";
        ASSERT_TRUE(exportGcode(rig.project, {profile.id, "", GcodeFeedMode::UnitsPerMinute, {}}, out));
        const std::string name = "two_squares." + std::string(profile.name) + ".ngc";
        const std::string actual = contentOf(out);
        if (actual == contentOf(std::string(KERFLINE_TEST_DATA_DIR) + "golden/" + name))
            continue;
        const std::string kept = (std::filesystem::current_path() / (name + ".actual")).string();
        std::ofstream(kept, std::ios::binary) << actual;
        ADD_FAILURE() << name << " differs; the G-code written now is " << kept;
    }
}

// The exported XY path, read back, passes through every vertex of every design figure; and the
// export writes no cut program, so a program waiting to be sent is not replaced.
TEST(GcodeExport, PathPassesThroughEveryDesignVertex)
{
    for (const char* sample : {"gear.plt", "letter_in_frame.dxf", "star.ai"}) {
        SCOPED_TRACE(sample);
        WalkRig rig;
        const std::string design = std::string(KERFLINE_SOURCE_DIR) + "samples/" + sample;
        rig.project.fileType = designTypeOf(design);
        ASSERT_NE(rig.project.Load(design, 255), LoadOutcome::Closed);
        settleUnattendedStart(rig.project);
        std::ofstream(rig.path(), std::ios::binary) << "waiting program";
        const std::string out = rig.dir.str() + "out.ngc";
        const GcodeExportResult result = exportGcode(rig.project, {GcodeProfileId::GrblHal, "XYUZ", {}, {}}, out);
        ASSERT_TRUE(result);
        EXPECT_EQ(contentOf(rig.path()), "waiting program");

        const std::vector<Spot> path = xyPathOf(contentOf(out), 'X', 'Y');
        EXPECT_EQ(static_cast<std::int64_t>(path.size()), result.counts.moves + 1);
        int vertices = 0;
        for (const tfigura& figure : rig.project.figures) {
            if (figure.isDesign == 0)
                continue;
            for (const Point p : figure.points) {
                ++vertices;
                EXPECT_TRUE(onPath(path, rig.spotOf(p))) << rig.spotOf(p);
            }
        }
        EXPECT_GT(vertices, 3);
    }
}

TEST(GcodeExport, UnwritableFileIsReportedAndNothingIsLeft)
{
    WalkRig rig;
    rig.design({square(0, 0, 4000)});
    rig.project.ciecie();
    settleUnattendedStart(rig.project);
    const std::string out = rig.dir.str() + "missing/out.ngc";
    const GcodeExportResult result = exportGcode(rig.project, {}, out);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error->file, out);
    EXPECT_NE(result.error->systemCode, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kerfline
