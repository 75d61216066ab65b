// barcode label, barcode draw and support-report: the contracts the tool keeps, checked by the
// programs that read their output (a barcode reader for the picture).
#include "support/barcode_reader.h"
#include "support/cli_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using kerfline::testing::CliRun;
using kerfline::testing::contentOf;
using kerfline::testing::decodedBarcodes;
using kerfline::testing::runCli;
using kerfline::testing::TempDir;

TEST(BarcodeCommand, LabelTakesTheConfigurationAndTheOperatorLines)
{
    TempDir dir;
    const std::string config = dir.write("foam.kcc", "Mode := 0\r\nszybkoscObrobki := 700\r\n");
    const std::string out = dir.str() + "label.epl";
    const CliRun result = runCli(dir, "barcode", {"label", "5900000123455", "--config", config, "--line",
                                                  "say \"hi\"\\", "--line", "Łódź", "-o", out});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string bytes = contentOf(out);
    EXPECT_EQ(bytes.substr(0, 6), "\n\r\nN\r\n");
    EXPECT_NE(bytes.find("B50,10,0,E30,3,7,100,B,\"5900000123455\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("A0,175,0,4,1,1,N,\"Cutting speed: 700 [mm/min]\"\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("A0,325,0,4,1,1,N,\"say \\\"hi\\\"\\\\\"\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("A0,360,0,4,1,1,N,\"Lodz\"\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "P1\r\n");
}

TEST(BarcodeCommand, LabelOfAStoredProjectAndRefusals)
{
    TempDir dir;
    const std::string config = dir.write("job.kcc", "work_power := 2\r\n");
    std::filesystem::create_directories(dir.path() / "data");
    dir.write("data/5900000000015.cod",
              "[Configuration]\r\nConfigFileName=" + config + "\r\n[Label]\r\nLine1=Shelf 4\r\n");
    const std::string out = dir.str() + "label.epl";
    ASSERT_EQ(runCli(dir, "barcode", {"label", "5900000000015", "-o", out}).exitCode, 0);
    const std::string bytes = contentOf(out);
    EXPECT_NE(bytes.find("A0,210,0,4,1,1,N,\"Heating power: 2 [A]\"\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("A0,325,0,4,1,1,N,\"Shelf 4\"\r\n"), std::string::npos);

    for (const char* code : {"5900000000016", "590000000001", "590000000001x"})
        EXPECT_EQ(runCli(dir, "barcode", {"label", code, "-o", out}).exitCode, 1) << code;
    EXPECT_EQ(runCli(dir, "barcode", {"label", "5900000000015", "--line", "1", "--line", "2", "--line", "3",
                                      "--line", "4", "--line", "5", "-o", out})
                  .exitCode,
              2);
}

TEST(BarcodeCommand, DrawnSymbolsDecodeToTheirNumbers)
{
    TempDir dir;
    for (const char* code : {"5900000000015", "5900000123455", "4006381333931", "0000000000000"}) {
        const std::string out = dir.str() + code + ".png";
        const CliRun result = runCli(dir, "barcode", {"draw", code, "-o", out});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(decodedBarcodes(out), std::string("EAN-13:") + code + "\n");
    }
    const CliRun refused = runCli(dir, "barcode", {"draw", "5900000000010", "-o", dir.str() + "x.png"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("check digit"), std::string::npos);
}

TEST(SupportReportCommand, TheDesignsAreTheAttachments)
{
    TempDir dir;
    const std::string odd = dir.write("a\"b<c>&.plt", "IN;");
    const std::string out = dir.str() + "report.html";
    const CliRun result = runCli(dir, "support-report", {odd, "-o", out, "--config", "/cfg/foam.kcc"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string html = contentOf(out);
    EXPECT_NE(html.find("<option name=\"atach0\" value=\"foam.kcc\">foam.kcc</option>"), std::string::npos);
    EXPECT_NE(html.find("<option name=\"atach1\" value=\"a&quot;b&lt;c&gt;&amp;.plt\">a&quot;b&lt;c&gt;&amp;.plt</option>"),
              std::string::npos);
    EXPECT_EQ(runCli(dir, "support-report", {dir.str() + "missing.plt", "-o", out}).exitCode, 1);
    EXPECT_EQ(runCli(dir, "support-report", {odd}).exitCode, 2);
}

}  // namespace
