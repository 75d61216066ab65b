#pragma once

#include "machine/hid_platform.h"
#include "machine/virtual_controller.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kerfline {
class Clock;
class Host;
class SimulatedClock;
}  // namespace kerfline

namespace kerfline::machine {

inline constexpr const char* kVirtualCutterManufacturer = "Quorvant";
inline constexpr const char* kDefaultVirtualProduct = "Qd 1200";

// The cutter's state at one moment, in the units a person reads: linear axes in millimetres,
// rotary axes in degrees within one revolution.
struct VirtualCutterReadout {
    bool plugged = true;
    std::uint32_t statusFlags = 0;
    AxisSteps steps{};
    std::array<double, kAxisCount> values{};
    std::array<bool, kAxisCount> rotary{};
    std::size_t bufferedCommands = 0;
    std::size_t bufferCapacity = 0;
    int bufferPercent = 0;  // 0..100
    bool wireBroken = false;
    bool heating = false;   // any power output on
};

// A software cutter behind the HID seam: the program finds it, writes to it and reads from it
// exactly as it does with a controller on USB. Its controller runs in the time of the given
// clock: each call first brings it up to the clock's present, and a timer (or a simulated
// clock's listener) may do so in between.
class VirtualCutter : public HidPlatform {
public:
    VirtualCutter(Host& host, Clock& clock, std::string product = kDefaultVirtualProduct);
    ~VirtualCutter() override;
    VirtualCutter(const VirtualCutter&) = delete;
    VirtualCutter& operator=(const VirtualCutter&) = delete;

    std::vector<std::unique_ptr<HidDevice>> enumerate() override;
    void setChangeHandler(std::function<void()> handler) override;

    // Runs the controller up to the given time of the clock.
    void advanceTo(std::int64_t nowMs);
    // Follows a simulated clock: every advance runs the controller.
    void followClock(SimulatedClock& clock);

    VirtualController& controller() { return m_controller; }
    const VirtualController& controller() const { return m_controller; }
    const std::string& product() const { return m_product; }
    const std::string& serial() const { return m_serial; }

    // Other HID devices present beside the cutter, listed before it.
    void addOtherDevice(std::string manufacturer, std::string product, std::string serial = {});

    // Fault and operator injection.
    // The machine's own buttons and the wire, as of the clock's present.
    void pressStart();
    void pressStop();
    void pressContinue();
    void breakWire();
    void mendWire();
    void unplug();
    void replug();
    bool plugged() const { return m_plugged; }
    // The next `count` report writes report the code. A lost report does not reach the controller;
    // a delivered one does, and the write says it went out whole beside the failure.
    enum class WriteFault { lost, delivered };
    void failWrites(int count, int code = hid_error::GenFailure, WriteFault fault = WriteFault::lost);
    // The next `count` status replies report the buffer full.
    void reportBufferFull(int count) { m_busyReplies = count; }
    // Called before every report written and every string read, so a schedule of faults can
    // strike at the exact command.
    std::function<void()> beforeIo;
    // The next `count` string reads fail with the code.
    void failReads(int count, int code = hid_error::GenFailure);
    // Replies of the given channel are cut to `length` bytes (a short descriptor).
    void shortenChannel(int channel, std::size_t length);

    // What the cutter is doing now, for a window that shows it.
    VirtualCutterReadout readout();

    // What went over the wire, for tests.
    const std::vector<Report>& reports() const { return m_reports; }
    void clearReports() { m_reports.clear(); }
    int readCount() const { return m_reads; }

    // A restart takes the controller off the bus for this long.
    static constexpr std::int64_t kRestartMs = 3000;

private:
    class Device;
    friend class Device;

    void sync();
    void notifyChange();
    ReportWrite write(std::uint64_t generation, std::span<const std::uint8_t, kReportSize> report);
    int read(std::uint64_t generation, int index, std::span<std::uint8_t> buffer, std::size_t& length);

    Host& m_host;
    Clock& m_clock;
    std::string m_product;
    std::string m_serial;
    VirtualController m_controller;
    std::int64_t m_originMs = 0;
    std::function<void()> m_changeHandler;
    std::shared_ptr<bool> m_alive;
    bool m_plugged = true;
    std::uint64_t m_generation = 1;  // a new one at every plug-in: old handles go stale
    std::int64_t m_replugAtMs = -1;
    int m_failWrites = 0;
    int m_writeCode = hid_error::GenFailure;
    WriteFault m_writeFault = WriteFault::lost;
    int m_busyReplies = 0;
    int m_failReads = 0;
    int m_readCode = hid_error::GenFailure;
    int m_shortChannel = -1;
    std::size_t m_shortLength = 0;
    int m_reads = 0;
    std::vector<Report> m_reports;
    struct Other {
        std::string manufacturer, product, serial;
    };
    std::vector<Other> m_others;
};

}  // namespace kerfline::machine
