#include "machine/controller_link.h"

#include "machine/controller_commands.h"

#include <algorithm>

namespace kerfline::machine {
namespace {

constexpr int kReadTries = 10;
// A report the device did not take is written again after a pause, a few times at most: a
// dropped report passes on the next try, a device that keeps refusing is reported.
constexpr std::int64_t kWriteRetryPauseMs = 500;
constexpr int kWriteRetries = 3;
constexpr std::size_t kLongestText = 2 * kReportPayload;

std::string trimmedBlanks(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool hasMachineNameParameter(const CommandLine& commandLine)
{
    const auto& parameters = commandLine.parameters();
    return std::any_of(parameters.begin(), parameters.end(),
                       [](const std::string& p) { return containsIgnoringCase(p, "MachineName"); });
}

bool isKnownFamily(const std::string& product)
{
    if (product.rfind("Qd", 0) == 0 || product.rfind("Qm", 0) == 0)
        return true;
    const std::string upper = toUpperAscii(product);
    for (const char* family : {"KK", "BV", "GV", "VK"}) {
        if (upper.rfind(family, 0) == 0)
            return true;
    }
    return !upper.empty() && upper[0] == 'N';
}

}  // namespace

bool isController(const std::string& manufacturer, const std::string& product, const CommandLine& commandLine)
{
    if (manufacturer != "Quorvant")
        return false;
    if (isKnownFamily(product)) {
        const std::string filter = commandLine.SwitchValue("OnlyMachine").value_or(std::string());
        return filter.empty() || trimmedBlanks(product) == filter;
    }
    return hasMachineNameParameter(commandLine);
}

TfUsb::TfUsb(Services services, HidPlatform& platform) : m_context(services), m_platform(platform)
{
    m_platform.setChangeHandler([this] { DeviceChanged(); });
    DeviceChanged();
}

TfUsb::~TfUsb()
{
    m_platform.setChangeHandler({});
    m_current = nullptr;
    m_devices.clear();
}

void TfUsb::DeviceChanged()
{
    const bool wasConnected = m_connected;
    m_current = nullptr;
    m_devices.clear();
    m_connected = false;
    m_devices = m_platform.enumerate();
    if (choose()) {
        WriteCommand(commands::identify());
        m_context.host.setStatus(0, m_context.Text("Control", "polaczony"));
        if (!wasConnected && connectedChanged)
            connectedChanged();
    } else {
        m_context.host.setStatus(0, m_context.Text("Control", "brakLacznosci"));
    }
}

bool TfUsb::FindController()
{
    if (m_connected)
        return true;
    if (!choose())
        return false;
    // Found again after a failed read had dropped the connection.
    if (connectedChanged)
        connectedChanged();
    return true;
}

bool TfUsb::choose()
{
    m_current = nullptr;
    for (const auto& device : m_devices) {
        if (isController(device->manufacturer(), device->product(), m_context.commandLine)) {
            m_current = device.get();
            m_connected = true;
            return true;
        }
    }
    m_connected = false;
    return false;
}

ReportWrite TfUsb::writeOnce()
{
    if (const int opened = m_current->open(); opened != 0)
        return {opened, 0};
    const ReportWrite write =
        m_current->writeReport(std::span<const std::uint8_t, kReportSize>(m_reportBuffer.data(), kReportSize));
    m_bytesWritten = static_cast<std::uint32_t>(write.transferred);
    return write;
}

std::int32_t TfUsb::writeReport()
{
    for (int retry = 0;; ++retry) {
        const ReportWrite write = writeOnce();
        // A report that went out whole has reached the controller, whatever the write says: writing it
        // again would give the controller the command twice.
        if (write.whole())
            return 0;
        // A report that went out in part, without an error, was not taken either.
        const int code = write.code != 0 ? write.code : hid_error::GenFailure;
        if (!isTransientWriteError(code) || retry == kWriteRetries)
            return code;
        m_context.clock.sleepMs(kWriteRetryPauseMs);
        ++m_writeRetries;
    }
}

std::int32_t TfUsb::WriteCommand(std::string_view text)
{
    m_bytesWritten = 0;
    if (!FindController())
        return -1;
    // A text that does not fit two reports would run past the buffer; no command is that long.
    if (text.size() > kLongestText)
        return hid_error::InvalidParameter;
    m_reportBuffer[0] = 0;
    if (text.size() <= kReportPayload) {
        std::copy(text.begin(), text.end(), m_reportBuffer.begin() + 1);
        m_reportBuffer[text.size() + 1] = 0;  // for 16 bytes this lies beyond the report
        return writeReport();
    }
    std::copy_n(text.begin(), kReportPayload, m_reportBuffer.begin() + 1);
    // Without its first part the controller would take the rest for a command of its own.
    if (const std::int32_t code = writeReport(); code != 0)
        return code;
    const std::string_view rest = text.substr(kReportPayload);
    std::copy(rest.begin(), rest.end(), m_reportBuffer.begin() + 1);
    return writeReport();
}

std::int32_t TfUsb::ReadChannel(int k)
{
    std::int32_t last = 0;
    if (FindController()) {
        last = m_current->open();
        if (last == 0) {
            std::array<std::uint8_t, kStringBufferSize> buffer{};
            for (int attempt = 0; attempt < kReadTries; ++attempt) {
                std::size_t length = 0;
                const int code = m_current->readIndexedString(k, buffer, length);
                if (code == 0) {
                    // A reply shorter than the buffer reads as zeros beyond its end.
                    m_replyBuffer.fill(0);
                    std::copy_n(buffer.begin(), std::min({length, buffer.size(), kLinkBufferSize}),
                                m_replyBuffer.begin());
                    return 0;
                }
                last = code;
                ++m_readFailures;
            }
        }
    }
    m_replyBuffer.fill(0);
    m_connected = false;
    return last != 0 ? last : -1;
}

std::string TfUsb::countersText() const
{
    return std::to_string(m_readFailures) + "/" + std::to_string(m_writeRetries);
}

}  // namespace kerfline::machine
