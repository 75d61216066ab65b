#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline {

struct AppContext;
class Host;
class tInterfejs;

// The support request page: a form the operator fills in and sends from the browser, prefilled
// with what the program knows of itself, the system and the machine.
struct SupportReport {
    std::string softVersion;       // major.minor.release.build [build date]
    std::string operatingSystem;
    bool connected = false;
    // manufacturer, model, working area, width, working time, number of files, designed at
    std::array<std::string, 7> machine;
    std::vector<std::string> attachments;  // file names, the configuration file's first
};

inline constexpr const char* kSupportReportFile = "SupportRequest.html";
inline constexpr const char* kNoMachineData = "!!! no data !!!";
inline constexpr const char* kSupportEndpointPath = "test/NotifyError.php";

// The report of the program as it stands: the configuration file and the designs as the
// attachments, the machine as last read when `connected`. `toolkit` names the window toolkit
// and its version where there is one.
SupportReport supportReportFor(const AppContext& context, const std::vector<std::string>& designPaths, bool connected,
                               const std::string& toolkit);

// The page, UTF-8 with CR LF line ends; every value is escaped for HTML.
std::string supportReportHtml(const SupportReport& report);

// The text with & < > " ' as character references, fit for element content and quoted attributes.
std::string htmlEscaped(std::string_view text);

// The system in one line: the PRETTY_NAME of an os-release text, the kernel release, the toolkit.
std::string operatingSystemDescription(std::string_view osRelease, const std::string& kernelRelease,
                                       const std::string& toolkit);
// The same for the running system: /etc/os-release (or /usr/lib/os-release) and uname.
std::string runningOperatingSystem(const std::string& toolkit);

// "file://" and the path with every byte a URL may not hold percent-encoded.
std::string fileUrl(const std::string& path);

// Writes dataDirectory + "SupportRequest.html" as a whole and opens it through the host. A page
// that cannot be written, or cannot be opened, is reported with its path. True when opened.
bool WriteSupportReport(AppContext& context, const std::vector<std::string>& designPaths, bool connected,
                        const std::string& toolkit);

}  // namespace kerfline
