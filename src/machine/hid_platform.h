#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kerfline::machine {

// Every output report: byte 0 is the report number 0, bytes 1..16 the command bytes.
inline constexpr std::size_t kReportSize = 17;
inline constexpr std::size_t kReportPayload = 16;
// An indexed string is read into a buffer of this size; the link uses its first 65 bytes.
inline constexpr std::size_t kStringBufferSize = 255;

using Report = std::array<std::uint8_t, kReportSize>;

// System error codes of the HID operations. The link's callers only tell 0 from the rest; the
// link itself writes a report again after a transient failure (isTransientWriteError).
namespace hid_error {
inline constexpr int GenFailure = 31;  // the device did not take the report (a stall, a dropped report)
inline constexpr int AccessDenied = 5;
inline constexpr int InvalidParameter = 87;
inline constexpr int Busy = 170;
inline constexpr int Timeout = 121;
inline constexpr int IoDevice = 1117;  // the device or its connection failed
inline constexpr int DeviceNotConnected = 1167;
}  // namespace hid_error

// A failure after which the same report may well go through when written again.
inline bool isTransientWriteError(int code)
{
    return code == hid_error::GenFailure || code == hid_error::Timeout;
}

// What became of one output report. A write may report a failure although the report went out
// (the acknowledgement was lost), so how much of it was transferred is told beside the code.
struct ReportWrite {
    int code = 0;                  // 0 or a system error code
    std::size_t transferred = 0;   // bytes of the report that went out; kReportSize when whole

    bool whole() const { return transferred >= kReportSize; }
};

// One HID device found by an enumeration. Destroying it returns it to the platform: the handle
// is closed and the device forgotten.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // 8-bit text of the device's strings, as read when it was enumerated.
    virtual const std::string& manufacturer() const = 0;
    virtual const std::string& product() const = 0;
    virtual const std::string& serial() const = 0;

    // Opens (or keeps open) the device for reading and writing: 0 or a system error code.
    virtual int open() = 0;
    // Writes one output report and tells how much of it went out.
    virtual ReportWrite writeReport(std::span<const std::uint8_t, kReportSize> report) = 0;
    // Reads string descriptor `index` raw, every byte of its text (without the descriptor's
    // length and type bytes), zeros included. 0 with `length` set, or a system error code.
    virtual int readIndexedString(int index, std::span<std::uint8_t> buffer, std::size_t& length) = 0;
};

// The platform's HID facility: the seam between the link and libusb or the virtual cutter.
class HidPlatform {
public:
    virtual ~HidPlatform() = default;

    // Every present HID device, in a stable order.
    virtual std::vector<std::unique_ptr<HidDevice>> enumerate() = 0;
    // The handler runs on the user-interface thread after any HID arrival or removal.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

}  // namespace kerfline::machine
