// The barcode browser, the scanner hook and the support page as an operator meets them: the
// drawn symbol read by a barcode reader, the label at a terminal standing for the printer's
// port, the A4 sheet read back from its PDF, keys typed into a window.
#include "aids/barcode_project.h"
#include "aids/file_bytes.h"
#include "aids/support_report.h"
#include "aids/ui/barcode_browser.h"
#include "aids/ui/barcode_symbol.h"
#include "aids/ui/scanner_hook.h"
#include "machine/link_rig.h"
#include "support/barcode_reader.h"
#include "support/screenshot.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace kerfline::ui {
namespace {

using kerfline::testing::ContextRig;
using kerfline::testing::decodedBarcodes;
using kerfline::testing::fileBytes;
using kerfline::testing::saveScreenshot;
using kerfline::testing::TempDir;

// A pseudo-terminal: the program writes to its name as to a serial port, the test reads.
struct Terminal {
    Terminal()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            port = ::ptsname(master);
    }
    ~Terminal()
    {
        if (master >= 0)
            ::close(master);
    }
    std::string readAll()
    {
        std::string received;
        char buffer[4096];
        pollfd ready{master, POLLIN, 0};
        while (::poll(&ready, 1, 500) > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<std::size_t>(n));
        }
        return received;
    }
    int master = -1;
    std::string port;
};

struct BrowserRig {
    explicit BrowserRig(std::vector<std::string> switches = {}) : rig(std::move(switches))
    {
        rig.context.dataDirectory = dir.str();
        config = dir.write("pianka.kcc", "Mode := 0\r\nszybkoscObrobki := 800\r\nwork_power := 2.5\r\n"
                                         "CzasRozgrzewania := 1000\r\nPauza_w_kacie := 100\r\n");
        BarcodeProject project;
        project.configFileName = config;
        project.designs = {"/designs/łódka.plt", "/designs/żagiel.dxf", "/designs/3.plt", "/designs/4.plt",
                           "/designs/5.plt"};
        project.labelLines = {"Order 17", "Shelf \"B\"", "", ""};
        saveBarcodeProject(barcodeProjectPath(dir.str(), "5900000123455"), project, true);
        saveBarcodeProject(barcodeProjectPath(dir.str(), "5900000000015"), {}, true);
    }
    TempDir dir;
    ContextRig rig;
    std::string config;
};

template <typename W>
W* child(QWidget& parent, const char* name)
{
    return parent.findChild<W*>(name);
}

TEST(BarcodeBrowser, ShowsTheSelectedProjectAndItsSymbolReadsBack)
{
    BrowserRig b;
    TfBarCodDlg browser(b.rig.context);
    browser.refill("5900000123455");
    browser.resize(900, 720);
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));

    EXPECT_EQ(browser.windowTitle().toStdString(), "Barcodes - overview");
    EXPECT_EQ(child<QListWidget>(browser, "lbKodyKreskowe")->count(), 2);
    EXPECT_EQ(child<QLineEdit>(browser, "eKonfig")->text().toStdString(), b.config);
    EXPECT_EQ(child<QListWidget>(browser, "lbProjekty")->count(), 5);
    EXPECT_EQ(child<QLineEdit>(browser, "eEtykietaDomyslna2")->text().toStdString(), "Cutting speed: 800 [mm/min]");
    EXPECT_EQ(child<QLineEdit>(browser, "eEtykieta2")->text().toStdString(), "Shelf \"B\"");
    EXPECT_FALSE(child<QPushButton>(browser, "btnZapisz")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(browser, "btnDrukujEtykiete")->isEnabled());
    saveScreenshot(browser, "barcode_browser");

    // The symbol as the window shows it, read by a reader that knows nothing of how it was drawn.
    const std::string png = b.dir.str() + "Image1.png";
    ASSERT_TRUE(child<QWidget>(browser, "Image1")->grab().save(QString::fromStdString(png)));
    EXPECT_EQ(decodedBarcodes(png), "EAN-13:5900000123455\n");
    const std::string image = b.dir.str() + "image.png";
    ASSERT_TRUE(ean13Image("5900000000015", 2).save(QString::fromStdString(image)));
    EXPECT_EQ(decodedBarcodes(image), "EAN-13:5900000000015\n");

    // Nothing selected: nothing to print, delete or save.
    browser.refill({});
    EXPECT_FALSE(child<QPushButton>(browser, "btnDrukujEtykiete")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(browser, "btnUsunPlik")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(browser, "eKonfig")->text().isEmpty());
}

TEST(BarcodeBrowser, EditsAreSavedIntoTheProjectFile)
{
    BrowserRig b;
    TfBarCodDlg browser(b.rig.context);
    browser.refill("5900000123455");
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    QLineEdit* line = child<QLineEdit>(browser, "eEtykieta3");
    line->setFocus();
    QTest::keyClicks(line, "Kalisz");
    ASSERT_TRUE(child<QPushButton>(browser, "btnZapisz")->isEnabled());
    QTest::mouseClick(child<QPushButton>(browser, "btnZapisz"), Qt::LeftButton);
    EXPECT_FALSE(child<QPushButton>(browser, "btnZapisz")->isEnabled());
    const auto project = readBarcodeProject(barcodeProjectPath(b.dir.str(), "5900000123455"));
    ASSERT_TRUE(project);
    EXPECT_EQ(project->labelLines[2], "Kalisz");
    EXPECT_EQ(project->designs.size(), 5u);
}

TEST(BarcodeBrowser, TheLabelReachesThePortUnchanged)
{
    Terminal terminal;
    ASSERT_FALSE(terminal.port.empty());
    BrowserRig b({"--label-port=" + terminal.port});
    TfBarCodDlg browser(b.rig.context);
    browser.refill("5900000123455");
    browser.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&browser));
    child<QLineEdit>(browser, "eEtykieta4")->setText(QString::fromUtf8("Łódź \\ \"x\""));
    QTest::mouseClick(child<QPushButton>(browser, "btnDrukujEtykiete"), Qt::LeftButton);

    const std::string received = terminal.readAll();
    EXPECT_EQ(received.substr(0, 6), "\n\r\nN\r\n") << "no CR added before the first line feed";
    EXPECT_NE(received.find("B50,10,0,E30,3,7,100,B,\"5900000123455\"\r\n"), std::string::npos) << received;
    EXPECT_NE(received.find("A0,360,0,4,1,1,N,\"Shelf \\\"B\\\"\"\r\n"), std::string::npos);
    EXPECT_NE(received.find("A0,430,0,4,1,1,N,\"Lodz \\\\ \\\"x\\\"\"\r\nP1\r\n"), std::string::npos);
    EXPECT_TRUE(b.rig.host.messages.empty());
}

TEST(BarcodeBrowser, AnAbsentPortIsReported)
{
    TempDir nowhere;
    BrowserRig b({"--label-port=" + nowhere.str() + "ttyNone"});
    TfBarCodDlg browser(b.rig.context);
    browser.refill("5900000123455");
    browser.btnDrukujEtykieteClick();
    ASSERT_EQ(b.rig.host.messages.size(), 1u);
    EXPECT_NE(b.rig.host.messages[0].text.find(nowhere.str() + "ttyNone"), std::string::npos);
    EXPECT_TRUE(b.rig.host.messages[0].isError);
}

TEST(BarcodeBrowser, TheA4SheetNamesTheCodeAndTheProjects)
{
    BrowserRig b;
    TfBarCodDlg browser(b.rig.context);
    browser.refill("5900000123455");
    const std::string pdf = b.dir.str() + "sheet.pdf";
    browser.pdfDialog = [&](const std::string&, const std::string&) { return std::optional(pdf); };
    browser.btnDrukujPelneInfoClick();
    ASSERT_TRUE(b.rig.host.messages.empty()) << b.rig.host.messages[0].text;

    const std::string text = b.dir.str() + "sheet.txt";
    ASSERT_EQ(std::system(("pdftotext -enc UTF-8 '" + pdf + "' '" + text + "'").c_str()), 0);
    const std::string words = fileBytes(text);
    for (const char* expected : {"5900000123455", "Cutting speed: 800 [mm/min]", "Shelf \"B\"", "/designs/łódka.plt",
                                 "/designs/4.plt", "Only 4 of 5 projects are shown"})
        EXPECT_NE(words.find(expected), std::string::npos) << expected << "\n" << words;
    EXPECT_EQ(words.find("/designs/5.plt"), std::string::npos);

    // The page as a picture beside the screenshots, for a person to look at.
    if (const char* shots = std::getenv("KERFLINE_SCREENSHOT_DIR"); shots != nullptr && *shots != '\0') {
        EXPECT_EQ(std::system(("pdftoppm -png -r 60 -singlefile '" + pdf + "' '" + shots + "/barcode_a4_sheet'").c_str()), 0);
    }
}

TEST(ScannerHook, ThirteenTypedDigitsOpenAProjectWhereverTheFocusIs)
{
    QLineEdit field;
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    field.activateWindow();
    std::vector<std::string> scanned;
    ScannerHook hook;
    hook.numberScanned = [&](const std::string& number) { scanned.push_back(number); };

    QWindow* window = field.windowHandle();
    const auto type = [&](const std::string& keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (const char c : keys)
            QTest::keyClick(window, static_cast<Qt::Key>(Qt::Key_0 + (c - '0')), modifiers);
    };
    type("590000000001");
    QTest::keyClick(window, Qt::Key_A);
    type("5");
    EXPECT_TRUE(scanned.empty()) << "twelve digits and a letter";
    type("900000123455");
    EXPECT_EQ(scanned, std::vector<std::string>{"5900000123455"});
    type("5900000000015", Qt::KeypadModifier);
    EXPECT_EQ(scanned.size(), 1u) << "the number pad is no scanner";
    EXPECT_TRUE(field.text().startsWith(QStringLiteral("590000000001a5900000123455"))) << "keys go on to the window";

    hook.suspended = [] { return true; };
    type("5900000000015");
    EXPECT_EQ(scanned.size(), 1u);
}

TEST(SupportReport, ThePageShowsInATextBrowser)
{
    ContextRig rig;
    TempDir dir;
    rig.context.dataDirectory = dir.str();
    rig.context.configuration.settings.configPath = dir.str() + "foam.kcc";
    ASSERT_TRUE(WriteSupportReport(rig.context, {"/designs/a\"b<c>&.plt"}, false, "Qt"));

    QTextBrowser page;
    page.resize(1000, 900);
    page.setSource(QUrl::fromLocalFile(QString::fromStdString(dir.str() + kSupportReportFile)));
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    const std::string text = page.toPlainText().toStdString();
    EXPECT_NE(text.find("No communication, no data!"), std::string::npos) << text;
    EXPECT_NE(text.find("a\"b<c>&.plt"), std::string::npos);
    EXPECT_NE(text.find("send the files themselves to Quorvant support separately"), std::string::npos);
    saveScreenshot(page, "support_request_page");
}

}  // namespace
}  // namespace kerfline::ui
