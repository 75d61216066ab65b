// kerfline-cli gcode: the options that choose the profile and reach the project's preparation.
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;
using kerfline::testing::TempDir;

const std::string kSquare = std::string(KERFLINE_TEST_DATA_DIR) + "golden/closed_square.plt";

TEST(GcodeCommand, OptionsReachTheProfileAndTheConfiguration)
{
    TempDir dir;
    struct Case {
        std::vector<std::string> options;
        std::string json;
        std::vector<std::string> lines;  // each must appear in the G-code
    };
    const Case cases[] = {
        {{}, "{\"profile\":\"linuxcnc\",\"lines\":22,\"moves\":4,\"dwells\":12}",
         {"G17 G21 G90 G94", "G1 X0.000 Y100.000 U0.000 V100.000 F1000.000", "G4 P0.100", "M5\r\nM2\r\n"}},
        {{"--profile", "grblhal", "--axes", "XYUZ", "--feed-mode=g93"},
         "{\"profile\":\"grblhal\",\"lines\":23,\"moves\":4,\"dwells\":12}",
         {"G93\r\n", "G1 X0.000 Y100.000 U0.000 Z100.000 F10.00000"}},
        // The configuration's speeds, pauses and heating apply exactly as for the cut program.
        {{"--profile=marlin", "--set", "szybkoscObrobki=500", "--set", "Pauza_w_kacie=40", "--set", "work_power=7.5"},
         "{\"profile\":\"marlin\",\"lines\":21,\"moves\":4,\"dwells\":12}",
         {"G21 G90", "F500.000", "G4 S0.040", "M3 S7.500", "G4 S0.001\r\nM5\r\n"}},
        {{"--profile", "fluidnc", "--heat-scale", "2"}, "{\"profile\":\"fluidnc\",\"lines\":22,\"moves\":4,\"dwells\":12}",
         {"G1 X0.000 Y100.000 Z0.000 A100.000 F1414.214", "M3 S2.000"}},
    };
    for (const Case& c : cases) {
        const std::string output = dir.str() + "square.ngc";
        std::vector<std::string> arguments{kSquare};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.insert(arguments.end(), {"-o", output});
        const CliRun gcode = kerfline::testing::runCli(dir, "gcode", arguments);
        ASSERT_EQ(gcode.exitCode, 0) << gcode.err;
        EXPECT_EQ(gcode.out, c.json + "\n");
        const std::string text = contentOf(output);
        for (const std::string& line : c.lines)
            EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    }
}

TEST(GcodeCommand, RefusesWhatItCannotExport)
{
    TempDir dir;
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        int exitCode;
        const char* message;
    };
    const std::string out = dir.str() + "out.ngc";
    const Case cases[] = {
        {"no output", {kSquare}, 2, "-o OUT.ngc is required"},
        {"an unknown profile", {kSquare, "--profile", "mach3", "-o", out}, 2, "--profile is one of"},
        {"a letter twice", {kSquare, "--axes", "XYXV", "-o", out}, 2, "four different axis letters"},
        {"an unknown feed mode", {kSquare, "--feed-mode", "g95", "-o", out}, 2, "g94 or g93"},
        {"inverse time on Marlin", {kSquare, "--profile", "marlin", "--feed-mode", "g93", "-o", out}, 2, "marlin"},
        {"no heat scale", {kSquare, "--heat-scale", "0", "-o", out}, 2, "--heat-scale"},
        {"another mode", {kSquare, "--set", "Mode=1", "-o", out}, 1, "Mode 1"},
        {"a file that cannot be created", {kSquare, "-o", dir.str() + "missing/out.ngc"}, 1, "could not be written"},
    };
    for (const Case& c : cases) {
        const CliRun gcode = kerfline::testing::runCli(dir, "gcode", c.arguments);
        EXPECT_EQ(gcode.exitCode, c.exitCode) << c.what << ": " << gcode.err;
        EXPECT_NE(gcode.err.find(c.message), std::string::npos) << c.what << ": " << gcode.err;
        EXPECT_TRUE(gcode.out.empty()) << c.what;
    }
}

}  // namespace
