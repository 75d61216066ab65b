// Scanning a barcode: the scanner buffer, opening the project a complete number names, and
// storing the program's state under a new number.
#include "aids/barcode_commands.h"
#include "aids/barcode_project.h"
#include "aids/barcode_scanner.h"
#include "aids/barcode_sheet.h"
#include "config/configuration.h"
#include "machine/link_rig.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace kerfline {
namespace {

using testing::ContextRig;
using testing::TempDir;

using Kind = ScannerKeyEvent::Kind;

std::optional<std::string> type(BarcodeScanner& scanner, const std::string& keys)
{
    std::optional<std::string> result;
    for (const char c : keys) {
        ScannerKeyEvent key;
        if (c >= '0' && c <= '9')
            key = {Kind::Digit, c, false};
        else if (c == 'I')  // Insert or a function key
            key = {Kind::Ignored, 0, false};
        else if (c == '@')  // a digit with Alt held
            key = {Kind::Digit, '5', true};
        else
            key = {Kind::Other, 0, false};
        if (auto number = scanner.ScannerKey(key))
            result = number;
    }
    return result;
}

TEST(BarcodeScanner, ThirteenMainKeyboardDigitsMakeANumber)
{
    struct Case {
        const char* keys;
        const char* number;  // empty: none
        const char* left;    // the buffer afterwards
    };
    for (const Case c : {Case{"5900000000015", "5900000000015", ""}, Case{"590000000001x", "", ""},
                         Case{"12345x5900000123455", "5900000123455", ""}, Case{"590000I0000015", "5900000000015", ""},
                         Case{"590000@0000015", "", "0000015"}, Case{"59000000000155", "5900000000015", "5"}}) {
        SCOPED_TRACE(c.keys);
        BarcodeScanner scanner;
        EXPECT_EQ(type(scanner, c.keys).value_or(""), c.number);
        EXPECT_EQ(scanner.buffer(), c.left);
    }
}

// The main window as the barcode commands see it.
struct FakeWindows : BarcodeProjectWindows {
    std::vector<std::string> open{"/designs/unsaved.plt"};
    std::vector<std::string> log;
    std::vector<std::string> designPaths() override { return open; }
    void CloseAll() override
    {
        log.push_back("CloseAll");
        open.clear();
    }
    void Open(const std::string& fileName) override
    {
        log.push_back("Open " + fileName);
        open.push_back(fileName);
    }
    void tile() override { log.push_back("tile"); }
};

struct BarcodeRig : ContextRig {
    BarcodeRig() { context.dataDirectory = dir.str(); }
    BarcodeContext barcode() { return {context.configuration, context.language, context.dataDirectory, '.'}; }
    TempDir dir;
    FakeWindows windows;
};

TEST(OpenBarcodeProject, LoadsTheConfigurationAndOpensTheDesignsUpToTheFirstGap)
{
    BarcodeRig rig;
    const std::string config = rig.dir.write("job.kcc", "skala := 150\r\n");
    rig.dir.write("5900000000015.cod", "[Configuration]\r\nConfigFileName=" + config +
                                           "\r\n[Projects]\r\nPrj1=/d/a.plt\r\nPrj2=/d/b.dxf\r\nPrj4=/d/d.plt\r\n");
    BarcodeContext context = rig.barcode();
    EXPECT_TRUE(OpenBarcodeProject("5900000000015", context, rig.windows));
    EXPECT_EQ(rig.windows.log, (std::vector<std::string>{"CloseAll", "Open /d/a.plt", "Open /d/b.dxf", "tile"}));
    EXPECT_EQ(rig.context.configuration.number(Param::skala), 150);
    EXPECT_EQ(rig.context.configuration.settings.configPath, config);
}

TEST(OpenBarcodeProject, AMissingConfigurationStillOpensTheDesigns)
{
    BarcodeRig rig;
    rig.dir.write("5900000000015.cod", "[Configuration]\r\nConfigFileName=/nowhere.kcc\r\n[Projects]\r\nPrj1=/d/a.plt\r\n");
    BarcodeContext context = rig.barcode();
    EXPECT_FALSE(OpenBarcodeProject("5900000000015", context, rig.windows));
    EXPECT_EQ(rig.windows.log, (std::vector<std::string>{"CloseAll", "Open /d/a.plt"}));
}

TEST(OpenBarcodeProject, ANumberWithoutAProjectLeavesTheWindowsOpen)
{
    BarcodeRig rig;
    // A file under a number with a wrong check digit is no project either.
    rig.dir.write("5900000000016.cod", "[Projects]\r\nPrj1=/d/a.plt\r\n");
    BarcodeContext context = rig.barcode();
    for (const char* number : {"5900000000015", "5900000000016", "590000000001"}) {
        EXPECT_FALSE(OpenBarcodeProject(number, context, rig.windows)) << number;
        EXPECT_TRUE(rig.windows.log.empty()) << number;
        EXPECT_EQ(rig.windows.open, std::vector<std::string>{"/designs/unsaved.plt"});
    }
    EXPECT_TRUE(rig.host.messages.empty());
}

TEST(StoreCurrentState, StoresTheConfigurationAndTheWindowsUnderTheNextNumber)
{
    BarcodeRig rig;
    rig.context.configuration.settings.configPath = "/cfg/foam.kcc";
    rig.windows.open = {"/d/front.plt", "/d/side.plt"};
    rig.host.answers = {AnswerOk};
    BarcodeContext context = rig.barcode();

    const auto stored = StoreCurrentState(context, rig.windows);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->number, "5900000000015");
    EXPECT_EQ(stored->path, rig.dir.str() + "5900000000015.cod");
    EXPECT_TRUE(stored->completeLabel);
    ASSERT_EQ(rig.host.questions.size(), 1u);
    EXPECT_EQ(rig.host.questions[0].text, "The current settings were stored in the file:\r\n" + stored->path +
                                              "\r\n\r\nDo you want to complete the barcode's label?");
    const auto project = readBarcodeProject(stored->path);
    ASSERT_TRUE(project);
    EXPECT_EQ(project->configFileName, "/cfg/foam.kcc");
    EXPECT_EQ(project->designs, rig.windows.open);

    const auto next = StoreCurrentState(context, rig.windows);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->number, "5900000000022");
    EXPECT_FALSE(next->completeLabel) << "Cancel";
}

TEST(BarcodeBrowserCommands, SheetShowsFourDesignsAndDeleteTellsWhatWentWrong)
{
    BarcodeRig rig;
    const std::vector<std::string> five{"1.plt", "2.plt", "3.plt", "4.plt", "5.plt"};
    const BarcodeSheet sheet = barcodeSheet("5900000000015", {"a", "b", "c", "d", "e"}, {"x"}, five, rig.context.language);
    EXPECT_EQ(sheet.projects, std::vector<std::string>(five.begin(), five.begin() + 4));
    EXPECT_EQ(sheet.pIloscProjektow, "Only 4 of 5 projects are shown");
    EXPECT_EQ(sheet.pPauza, "e");
    EXPECT_EQ(barcodeSheet("5900000000015", {}, {}, {"1.plt"}, rig.context.language).pIloscProjektow, "");

    rig.dir.write("5900000000015.cod", "");
    EXPECT_TRUE(deleteBarcodeProject(rig.dir.str(), "5900000000015", rig.context.language));
    EXPECT_FALSE(deleteBarcodeProject(rig.dir.str(), "5900000000015", rig.context.language));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_EQ(rig.host.messages[0].text, "There is no file to delete.");
}

}  // namespace
}  // namespace kerfline
