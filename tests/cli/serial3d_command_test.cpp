// serial3d: numbered DXF passes of a 3D model, and the JSON that describes them.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kerfline::testing::CliRun;
using kerfline::testing::TempDir;

const std::string kModel = std::string(KERFLINE_TEST_DATA_DIR) + "model3d/revolution.raw";

TEST(Serial3dCommand, WritesOneNumberedDrawingPerPass)
{
    TempDir dir;
    const std::string out = (dir.path() / "passes").string();
    const CliRun result = kerfline::testing::runCli(dir, "serial3d", {kModel, "--passes", "3", "-o", out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const char* name : {"001.dxf", "002.dxf", "003.dxf"})
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(out) / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(out) / "004.dxf"));
    EXPECT_NE(result.out.find(R"("model":{"triangles":896,"bounds_mm":[-30,0,-30,30,80,30]})"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(R"("angle":-60,"figures":1,)"), std::string::npos) << result.out;
}

TEST(Serial3dCommand, RefusesWhatItCannotUse)
{
    TempDir dir;
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
    } cases[] = {
        {{kModel, "--passes", "0", "-o", "x"}, 2},
        {{kModel}, 2},
        {{(dir.path() / "missing.raw").string(), "-o", (dir.path() / "x").string()}, 1},
        {{dir.write("empty.raw", "Object1\n"), "-o", (dir.path() / "y").string()}, 1},
    };
    for (const auto& c : cases) {
        const CliRun result = kerfline::testing::runCli(dir, "serial3d", c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.front() << result.err;
    }
}

}  // namespace
