#include "aids/support_report.h"

#include "aids/about_information.h"
#include "aids/display_length.h"
#include "base/atomic_file.h"
#include "base/version.h"
#include "base/app_context.h"
#include "config/configuration.h"
#include "machine/machine_state.h"

#include <sys/utsname.h>

#include <fstream>
#include <sstream>

namespace kerfline {
namespace {

// The page's form goes to the maker's support service.
std::string supportEndpoint()
{
    return std::string(kMakerWebAddress) + kSupportEndpointPath;
}

std::string fileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string readSmallFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text(64 * 1024, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// One line of the page; the lines are joined with CR LF.
class Page {
public:
    Page& operator<<(const std::string& line)
    {
        m_text += line;
        m_text += "\r\n";
        return *this;
    }
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace

std::string htmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string operatingSystemDescription(std::string_view osRelease, const std::string& kernelRelease,
                                       const std::string& toolkit)
{
    std::string name;
    std::size_t start = 0;
    while (start < osRelease.size()) {
        std::size_t end = osRelease.find('\n', start);
        if (end == std::string_view::npos)
            end = osRelease.size();
        std::string_view line = osRelease.substr(start, end - start);
        start = end + 1;
        if (line.substr(0, 12) != "PRETTY_NAME=")
            continue;
        line.remove_prefix(12);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() >= 2 && (line.front() == '"' || line.front() == '\'') && line.back() == line.front())
            line = line.substr(1, line.size() - 2);
        name = line;
    }
    std::string description = name.empty() ? "Linux" : name;
    if (!kernelRelease.empty())
        description += ", kernel " + kernelRelease;
    if (!toolkit.empty())
        description += ", " + toolkit;
    return description;
}

std::string runningOperatingSystem(const std::string& toolkit)
{
    std::string osRelease = readSmallFile("/etc/os-release");
    if (osRelease.empty())
        osRelease = readSmallFile("/usr/lib/os-release");
    utsname system{};
    const std::string kernel = ::uname(&system) == 0 ? system.release : "";
    return operatingSystemDescription(osRelease, kernel, toolkit);
}

std::string fileUrl(const std::string& path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
                           c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            url += c;
        } else {
            url += '%';
            url += kHex[byte >> 4];
            url += kHex[byte & 0x0F];
        }
    }
    return url;
}

SupportReport supportReportFor(const AppContext& context, const std::vector<std::string>& designPaths, bool connected,
                               const std::string& toolkit)
{
    SupportReport report;
    report.softVersion = kProgramVersion.full() + " [" + buildDate(context.programDirectory, context.language) + "]";
    report.operatingSystem = runningOperatingSystem(toolkit);
    report.connected = connected;

    std::string configPath = context.configuration.settings.configPath;
    std::erase(configPath, '\0');
    report.attachments.push_back(fileNameOf(configPath));
    for (const std::string& design : designPaths)
        report.attachments.push_back(fileNameOf(design));

    if (!connected) {
        report.machine.fill(kNoMachineData);
        return report;
    }
    const MachineState& machine = context.machine;
    const int unit = context.configuration.displayUnit;
    const int minutes = machine.furtherValues[0];
    report.machine = {
        machine.vendor,
        machine.product,
        workingAreaText(machine, unit, context.decimalSeparator),
        lengthWithUnit(machine.fcWidth, machineSizeDecimals(unit), unit, context.decimalSeparator),
        std::to_string(minutes / 60) + " h " + std::to_string(minutes % 60) + " min.",
        std::to_string(machine.furtherValues[1]),
        machine.serial,
    };
    return report;
}

std::string supportReportHtml(const SupportReport& report)
{
    const auto e = [](const std::string& text) { return htmlEscaped(text); };
    Page page;
    page << "<!DOCTYPE html>"
         << "<HTML>"
         << "<HEAD>"
         << "<meta charset=\"utf-8\">"
         << "<TITLE>Notification form</TITLE>"
         << "<script type=\"text/javascript\">"
         << "function sprawdz_pole(frm,nzwPola,opisPola) {"
         << "  var pole = frm.elements[nzwPola];"
         << "  if (pole.value == \"\") {"
         << "    pole.focus();"
         << "    alert(opisPola + \" is required\");"
         << "    return false;"
         << "  }"
         << "  return true;"
         << "}"
         << "</script>"
         << "<script type=\"text/javascript\">"
         << "function sprawdz(forma) {"
         << "  if (!sprawdz_pole(forma, \"softVersion\", \"Software version\")) return false;"
         << "  if (!sprawdz_pole(forma, \"operationSystem\", \"Operation system\")) return false;"
         << "  if (!sprawdz_pole(forma, \"ploterSN\", \"Serial number\")) return false;"
         << "  if (!sprawdz_pole(forma, \"problem\", \"Problem description\")) return false;"
         << "  if (!sprawdz_pole(forma, \"clientName\", \"Your name\")) return false;"
         << "  if (!sprawdz_pole(forma, \"clientEmail\", \"Your mail\")) return false;"
         << "  return true;"
         << "}"
         << "</script>"
         << "</HEAD>"
         << "<BODY>"
         << "<form method=\"post\" action=\"" + e(supportEndpoint()) +
                "\" onsubmit=\"if (sprawdz(this)) return true; return false\">"
         << "<p><b>I have problem with</b>"
         << "<select name=\"application\">"
         << "<option selected>Kerfline</option>"
         << "<option>Kerfline Nest</option>"
         << "<option>Kerfline Lathe</option>"
         << "<option>Quorvant Foam Designer</option>"
         << "<option>Quorvant Firmware Loader</option>"
         << "<option>Quorvant Label Studio</option>"
         << "</select> (...)"
         << "<b>ver.</b> <input type=\"text\" name=\"softVersion\" size=\"18\" maxlength=\"24\" value=\"" +
                e(report.softVersion) + "\">"
         << "<b>installed on</b> <input type=\"text\" name=\"operationSystem\" size=\"45\" value=\"" +
                e(report.operatingSystem) + "\"></p>";
    if (!report.connected)
        page << "<p><font color=\"red\" size=\"6\"><b>No communication, no data! Please connect ploter and try "
                "again</b></font></p>";
    page << "<p><b>Problem description</b> <font size=\"-1\">(english or polish please)</font><br>"
         << "<textarea name=\"problem\" cols=\"100\" rows=\"20\" wrap=\"physical\">  </textarea></p>"
         << "<p><b>Serial number of your foam cutter:</b> <input type=\"text\" name=\"ploterSN\" size=\"11\" "
            "maxlength=\"11\">"
         << "<font size=\"-1\"><br>You can find the serial number on the Quorvant CE sticker at the back of the "
            "controller as well as on top of the front trolley."
         << "<br>Depending on your machine model, it's either a nine-digit number (e.g. 257005009) or nine digits "
            "followed by two letters (e.g. 453009004UB).</font></p>"
         << "<hr align=\"center\" width=\"97%\">"
         << "<p><b>The following files belong to this report. The form sends only their names: please send the "
            "files themselves to Quorvant support separately, by e-mail.</b><br>"
         << "<font size=\"-1\">(delete any of them if you do not wish to share them)</font><br>"
         << "<select name=\"attachedFiles\" multiple>";
    for (std::size_t i = 0; i < report.attachments.size(); ++i)
        page << "<option name=\"atach" + std::to_string(i) + "\" value=\"" + e(report.attachments[i]) + "\">" +
                    e(report.attachments[i]) + "</option>";
    page << "</select></p>"
         << "<hr align=\"center\" width=\"97%\"><br>"
         << "<p><b>Foam cutter info:</b><br>"
         << "<font size=\"-1\">(autmoatic loaded from electronic controler when it is connected)</font>"
         << "<table>";
    static constexpr std::array<std::pair<const char*, const char*>, 7> kMachineRows{{
        {"manufacturer", "ploterManufacturer"},
        {"foam cutter model", "ploterModel"},
        {"working area", "ploterWorkingArea"},
        {"foam cutter width", "ploterWidth"},
        {"working time", "ploterWorkingTime"},
        {"# of files", "ploterNumberOfFiles"},
        {"electronic controller designed at", "ploterDesigned"},
    }};
    for (std::size_t i = 0; i < kMachineRows.size(); ++i)
        page << std::string("<tr><td align=\"right\" width=\"200\">") + kMachineRows[i].first +
                    "</td><td align=\"left\"><input type=\"text\" name=\"" + kMachineRows[i].second +
                    "\" size=\"30\" readonly value=\"" + e(report.machine[i]) + "\"></td></tr>";
    page << "</table></p>"
         << "<p><b>Contact with me:</b>"
         << "<table>"
         << "<tr><td align=\"right\" width=\"100\">name</td><td><input type=\"text\" name=\"clientName\"></td></tr>"
         << "<tr><td align=\"right\" width=\"100\">email</td><td><input type=\"text\" name=\"clientEmail\"></td></tr>"
         << "<tr><td align=\"right\" width=\"100\">phon</td><td><input type=\"text\" name=\"clientTel\"></td></tr>"
         << "</table></p>"
         << "<p><font size=\"-1\">This raport contain informations required to solve your problem.<br>"
         << "It not contain personal data and no personally identifiable informations.</font></p>"
         << "<br><input type=\"submit\" value=\"Send to Quorvant support\">"
         << "</form>"
         << "</BODY>"
         << "</HTML>";
    return page.text();
}

bool WriteSupportReport(AppContext& context, const std::vector<std::string>& designPaths, bool connected,
                        const std::string& toolkit)
{
    const std::string path = context.dataDirectory + kSupportReportFile;
    const std::string html = supportReportHtml(supportReportFor(context, designPaths, connected, toolkit));
    if (!writeFileAtomically(path, html)) {
        context.language.ShowMessageBox(formatText(context.Text("Support_request", "bladZapisuRaportu"), {path}), true);
        return false;
    }
    if (!context.host.openUrl(fileUrl(path))) {
        context.language.ShowMessageBox(formatText(context.Text("Support_request", "bladOtwarciaRaportu"), {path}), true);
        return false;
    }
    return true;
}

}  // namespace kerfline
