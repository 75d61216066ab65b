#pragma once

#include "base/services.h"
#include "machine/hid_platform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kerfline::machine {

inline constexpr std::size_t kLinkBufferSize = 65;
using LinkBuffer = std::array<std::uint8_t, kLinkBufferSize>;

// The matching rule: is this HID device the cutter's controller? The manufacturer must be
// "Quorvant"; Qd/Qm products (exact case), KK, BV, GV, VK and N products (any case) pass the
// "OnlyMachine" filter; any other product passes only when a "MachineName" parameter is given.
bool isController(const std::string& manufacturer, const std::string& product, const CommandLine& commandLine);

// The link to the one controller (ControllerLink): finds it among the HID devices, writes
// command strings as 17-byte output reports and reads the numbered reply channels, which are
// the device's indexed string descriptors. It knows nothing of what the bytes mean.
class TfUsb {
public:
    // Registers for device changes, enumerates, chooses the controller and greets it with "X".
    TfUsb(Services services, HidPlatform& platform);
    ~TfUsb();
    TfUsb(const TfUsb&) = delete;
    TfUsb& operator=(const TfUsb&) = delete;

    // After any arrival or removal: forgets the device list, enumerates and chooses again.
    void DeviceChanged();
    bool FindController();
    // 0 sent, -1 no controller, else the system error code of the write. A report the device did
    // not take is written again after a pause; a report that went out whole counts as sent even
    // when the write reports a failure.
    std::int32_t WriteCommand(std::string_view text);
    // 0 with replyBuffer holding channel k; else -1 or a system error code, replyBuffer zeros.
    std::int32_t ReadChannel(int k);

    bool connected() const { return m_connected; }
    const LinkBuffer& replyBuffer() const { return m_replyBuffer; }
    const LinkBuffer& reportBuffer() const { return m_reportBuffer; }
    std::uint32_t bytesWritten() const { return m_bytesWritten; }
    // The chosen controller, or null.
    const HidDevice* currentDevice() const { return m_current; }
    const std::vector<std::unique_ptr<HidDevice>>& deviceList() const { return m_devices; }

    // Counters of the service panel: they only grow. writeRetries counts reports written again.
    std::uint64_t readFailures() const { return m_readFailures; }
    std::uint64_t writeRetries() const { return m_writeRetries; }
    // "readFailures/writeRetries"
    std::string countersText() const;

    // Told when the link has chosen a controller while it had none: at an arrival, or when a
    // write or read finds it again after a failed read dropped the connection. It runs inside
    // that call; a listener that talks to the controller should do so later.
    std::function<void()> connectedChanged;

private:
    // Walks the device list and chooses the first controller.
    bool choose();
    ReportWrite writeOnce();
    // Writes reportBuffer until it has gone out whole, or the device keeps refusing it.
    std::int32_t writeReport();

    Services m_context;
    HidPlatform& m_platform;
    std::vector<std::unique_ptr<HidDevice>> m_devices;
    HidDevice* m_current = nullptr;
    bool m_connected = false;
    // Never cleared between reports: bytes past a command's terminator are left from earlier ones.
    LinkBuffer m_reportBuffer{};
    LinkBuffer m_replyBuffer{};
    std::uint32_t m_bytesWritten = 0;
    std::uint64_t m_readFailures = 0;
    std::uint64_t m_writeRetries = 0;
};

}  // namespace kerfline::machine
