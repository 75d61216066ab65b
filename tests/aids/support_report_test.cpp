// The support request page, read back by an HTML parser: every value arrives as it was, the
// machine's data or the notice that there is none, and failures to write or open it.
#include "aids/support_report.h"
#include "config/parameters.h"
#include "machine/link_rig.h"
#include "aids/file_bytes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace kerfline {
namespace {

using testing::fileBytes;
using testing::ContextRig;
using testing::TempDir;

// What the parser saw: "input NAME" → value, the options, the texts.
struct ParsedPage {
    std::string charset, title;
    std::map<std::string, std::string> inputs;
    std::vector<std::vector<std::string>> options;
    std::vector<std::string> texts;
    bool hasText(const std::string& part) const
    {
        for (const std::string& t : texts)
            if (t.find(part) != std::string::npos)
                return true;
        return false;
    }
};

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        parts.push_back(line.substr(start, tab - start));
    parts.push_back(line.substr(start));
    return parts;
}

ParsedPage parsePage(const std::string& path)
{
    const std::string command = "/usr/bin/python3 " + quoted(std::string(KERFLINE_SOURCE_DIR) +
                                                                             "tests/aids/html_fields.py") +
                                " " + quoted(path);
    ParsedPage page;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return page;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << "the parser refused the page";
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        const auto f = fields(out.substr(start, end - start));
        if (f[0] == "charset")
            page.charset = f.at(1);
        else if (f[0] == "title")
            page.title = f.at(1);
        else if (f[0] == "input")
            page.inputs[f.at(1)] = f.at(2);
        else if (f[0] == "option")
            page.options.push_back({f.begin() + 1, f.end()});
        else if (f[0] == "text")
            page.texts.push_back(f.at(1));
    }
    return page;
}

struct ReportRig : ContextRig {
    ReportRig()
    {
        context.dataDirectory = dir.str();
        context.configuration.settings.configPath = std::string("/cfg/we&\"ird'<kcc>.kcc") + '\0';
        MachineState& m = context.machine;
        m.vendor = "Quor<b>vant</b> & Co";
        m.setProduct("Qd \"1200\"");
        m.serial = "a\"b<c>&'d";
        m.limitX = 1200;
        m.limitY = 600;
        m.fcWidth = 1000;
        m.furtherValues = {61, 4321};
    }
    std::string path() const { return dir.str() + kSupportReportFile; }
    TempDir dir;
};

TEST(SupportReport, EveryValueRoundTripsThroughAnHtmlParser)
{
    ReportRig rig;
    const std::string odd = "a\"b<c>&.plt";
    ASSERT_TRUE(WriteSupportReport(rig.context, {"/designs/" + odd, "/designs/two.dxf"}, true, "Qt \"6\" <x>"));

    const std::string bytes = fileBytes(rig.path());
    EXPECT_NE(bytes.find("</TITLE>\r\n"), std::string::npos) << "lines end with CR LF";
    const ParsedPage page = parsePage(rig.path());
    EXPECT_EQ(page.charset, "utf-8");
    EXPECT_EQ(page.title, "Notification form");
    ASSERT_EQ(page.options.size(), 6u + 3u);
    EXPECT_EQ(page.options[0], (std::vector<std::string>{"", "", "Kerfline"}));
    const std::vector<std::vector<std::string>> attachments{
        {"atach0", "we&\"ird'<kcc>.kcc", "we&\"ird'<kcc>.kcc"}, {"atach1", odd, odd}, {"atach2", "two.dxf", "two.dxf"}};
    EXPECT_EQ(std::vector(page.options.begin() + 6, page.options.end()), attachments);

    EXPECT_EQ(page.inputs.at("ploterManufacturer"), "Quor<b>vant</b> & Co");
    EXPECT_EQ(page.inputs.at("ploterModel"), "Qd \"1200\"");
    EXPECT_EQ(page.inputs.at("ploterWorkingArea"), "1200.0x600.0 mm");
    EXPECT_EQ(page.inputs.at("ploterWidth"), "1000.0 mm");
    EXPECT_EQ(page.inputs.at("ploterWorkingTime"), "1 h 1 min.");
    EXPECT_EQ(page.inputs.at("ploterNumberOfFiles"), "4321");
    EXPECT_EQ(page.inputs.at("ploterDesigned"), "a\"b<c>&'d");
    EXPECT_NE(page.inputs.at("operationSystem").find(", Qt \"6\" <x>"), std::string::npos);
    EXPECT_EQ(page.inputs.at("softVersion").substr(0, 9), "5.5.0.0 [");
    EXPECT_FALSE(page.hasText("No communication"));
    // Only the names go with the form: the page does not promise to send the files.
    EXPECT_FALSE(page.hasText("will be sent"));
    EXPECT_TRUE(page.hasText("separately"));

    ASSERT_EQ(rig.host.openedUrls.size(), 1u);
    EXPECT_EQ(rig.host.openedUrls[0], fileUrl(rig.path()));
}

TEST(SupportReport, WithoutTheControllerNoDataAndTheNotice)
{
    ReportRig rig;
    rig.context.configuration.setChoice(Param::radiounit, UnitInch);
    ASSERT_TRUE(WriteSupportReport(rig.context, {}, false, ""));
    const ParsedPage page = parsePage(rig.path());
    for (const char* name : {"ploterManufacturer", "ploterModel", "ploterWorkingArea", "ploterWidth",
                             "ploterWorkingTime", "ploterNumberOfFiles", "ploterDesigned"})
        EXPECT_EQ(page.inputs.at(name), "!!! no data !!!") << name;
    EXPECT_TRUE(page.hasText("No communication, no data! Please connect ploter and try again"));
    ASSERT_EQ(page.options.size(), 6u + 1u) << "the configuration file alone";
}

TEST(SupportReport, MachineSizesInTheDisplayUnit)
{
    ReportRig rig;
    rig.context.configuration.setChoice(Param::radiounit, UnitInch);
    rig.context.decimalSeparator = ',';
    const SupportReport report = supportReportFor(rig.context, {}, true, "");
    EXPECT_EQ(report.machine[2], "47,2x23,6 in");
    EXPECT_EQ(report.machine[3], "39,37 in");
}

TEST(SupportReport, FailuresNameThePage)
{
    ReportRig rig;
    rig.host.openUrlSucceeds = false;
    EXPECT_FALSE(WriteSupportReport(rig.context, {}, false, ""));
    ASSERT_EQ(rig.host.messages.size(), 1u);
    EXPECT_NE(rig.host.messages[0].text.find(rig.path()), std::string::npos) << rig.host.messages[0].text;
    EXPECT_TRUE(rig.host.messages[0].isError);

    rig.context.dataDirectory = rig.dir.str() + "missing/";
    EXPECT_FALSE(WriteSupportReport(rig.context, {}, false, ""));
    ASSERT_EQ(rig.host.messages.size(), 2u);
    EXPECT_NE(rig.host.messages[1].text.find(rig.dir.str() + "missing/SupportRequest.html"), std::string::npos);
    EXPECT_EQ(rig.host.openedUrls.size(), 1u) << "a page not written is not opened";
}

TEST(SupportReport, SystemDescriptionAndFileUrl)
{
    EXPECT_EQ(operatingSystemDescription("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "6.1.0",
                                         "Qt 6.4.2"),
              "Debian GNU/Linux 12 (bookworm), kernel 6.1.0, Qt 6.4.2");
    EXPECT_EQ(operatingSystemDescription("", "6.1.0", ""), "Linux, kernel 6.1.0");
    EXPECT_EQ(fileUrl("/data/a b#?%ł.html"), "file:///data/a%20b%23%3F%25%C5%82.html");
}

}  // namespace
}  // namespace kerfline
