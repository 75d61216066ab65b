#include "machine/virtual_cutter.h"

#include "machine/controller_commands.h"
#include "machine/machine_state.h"
#include "base/clock.h"
#include "base/host.h"

#include <algorithm>

namespace kerfline::machine {
// A handle on one enumerated device. It stays bound to the plug-in it was found in: after an
// unplug or a restart it fails like the handle of a vanished USB device.
class VirtualCutter::Device : public HidDevice {
public:
    Device(VirtualCutter* cutter, std::uint64_t generation, std::string manufacturer, std::string product,
           std::string serial, bool isCutter)
        : m_cutter(cutter), m_generation(generation), m_manufacturer(std::move(manufacturer)),
          m_product(std::move(product)), m_serial(std::move(serial)), m_isCutter(isCutter)
    {
    }

    const std::string& manufacturer() const override { return m_manufacturer; }
    const std::string& product() const override { return m_product; }
    const std::string& serial() const override { return m_serial; }

    int open() override
    {
        // A handle once open stays open after the device left; only its reads and writes fail.
        if (!m_isCutter || m_open)
            return 0;
        m_cutter->sync();
        m_open = m_cutter->m_plugged && m_cutter->m_generation == m_generation;
        return m_open ? 0 : hid_error::DeviceNotConnected;
    }
    ReportWrite writeReport(std::span<const std::uint8_t, kReportSize> report) override
    {
        return m_isCutter ? m_cutter->write(m_generation, report) : ReportWrite{0, kReportSize};
    }
    int readIndexedString(int index, std::span<std::uint8_t> buffer, std::size_t& length) override
    {
        length = 0;
        return m_isCutter ? m_cutter->read(m_generation, index, buffer, length) : hid_error::InvalidParameter;
    }

private:
    VirtualCutter* m_cutter;
    std::uint64_t m_generation;
    std::string m_manufacturer;
    std::string m_product;
    std::string m_serial;
    bool m_isCutter;
    bool m_open = false;
};

VirtualCutter::VirtualCutter(Host& host, Clock& clock, std::string product)
    : m_host(host), m_clock(clock), m_product(std::move(product)), m_serial("KV-000117"),
      m_controller(profileForProduct(m_product)), m_originMs(clock.nowMs()), m_alive(std::make_shared<bool>(true))
{
}

VirtualCutter::~VirtualCutter()
{
    *m_alive = false;
}

void VirtualCutter::followClock(SimulatedClock& clock)
{
    std::weak_ptr<bool> alive = m_alive;
    clock.setListener([this, alive](std::int64_t, std::int64_t toMs) {
        if (const auto token = alive.lock(); token && *token)
            advanceTo(toMs);
    });
}

void VirtualCutter::advanceTo(std::int64_t nowMs)
{
    const std::int64_t ms = nowMs - m_originMs;
    m_controller.advanceToUs(ms * 1000);
    if (m_replugAtMs >= 0 && ms >= m_replugAtMs) {
        m_replugAtMs = -1;
        replug();
    }
}

void VirtualCutter::sync()
{
    advanceTo(m_clock.nowMs());
}

void VirtualCutter::notifyChange()
{
    std::weak_ptr<bool> alive = m_alive;
    m_host.post([this, alive] {
        if (const auto token = alive.lock(); token && *token && m_changeHandler)
            m_changeHandler();
    });
}

void VirtualCutter::setChangeHandler(std::function<void()> handler)
{
    m_changeHandler = std::move(handler);
}

std::vector<std::unique_ptr<HidDevice>> VirtualCutter::enumerate()
{
    sync();
    std::vector<std::unique_ptr<HidDevice>> devices;
    for (const Other& other : m_others)
        devices.push_back(std::make_unique<Device>(this, 0, other.manufacturer, other.product, other.serial, false));
    if (m_plugged)
        devices.push_back(
            std::make_unique<Device>(this, m_generation, kVirtualCutterManufacturer, m_product, m_serial, true));
    return devices;
}

void VirtualCutter::addOtherDevice(std::string manufacturer, std::string product, std::string serial)
{
    m_others.push_back({std::move(manufacturer), std::move(product), std::move(serial)});
}

void VirtualCutter::pressStart()
{
    sync();
    m_controller.pressStart();
}

void VirtualCutter::pressStop()
{
    sync();
    m_controller.pressStop();
}

void VirtualCutter::pressContinue()
{
    sync();
    m_controller.pressContinue();
}

void VirtualCutter::breakWire()
{
    sync();
    m_controller.breakWire();
}

void VirtualCutter::mendWire()
{
    sync();
    m_controller.repairWire();
}

VirtualCutterReadout VirtualCutter::readout()
{
    sync();
    VirtualCutterReadout r;
    r.plugged = m_plugged;
    r.statusFlags = m_controller.statusFlags();
    r.steps = m_controller.positions();
    const VirtualMachineProfile& p = m_controller.profile();
    // Resolutions are steps per hundredth of a millimetre.
    const std::array<double, kAxisCount> perUnit{p.resX * 100, p.resY * 100, static_cast<double>(p.stepsS), p.res3 * 100,
                                                 p.resX * 100, p.resY * 100, static_cast<double>(p.stepsW), static_cast<double>(p.stepsT)};
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const auto a = static_cast<std::size_t>(axis);
        r.rotary[a] = axis == AxisTable || axis == AxisSpindle || axis == AxisAuxRotary;
        if (perUnit[a] <= 0)
            continue;
        if (r.rotary[a]) {
            const auto revolution = static_cast<std::int64_t>(perUnit[a]);
            r.values[a] = static_cast<double>(r.steps[a] % revolution) * 360.0 / perUnit[a];
        } else {
            r.values[a] = r.steps[a] / perUnit[a];
        }
    }
    r.bufferedCommands = m_controller.bufferedCommands();
    r.bufferCapacity = VirtualController::kBufferCapacity;
    r.bufferPercent = static_cast<int>(std::min<std::size_t>(100, r.bufferedCommands * 100 / r.bufferCapacity));
    r.wireBroken = (r.statusFlags & statusBit(StatusFlag::wireBreak)) != 0;
    for (int output = 0; output < kAxisCount; ++output)
        r.heating = r.heating || m_controller.outputOn(output);
    return r;
}

void VirtualCutter::unplug()
{
    sync();
    if (!m_plugged)
        return;
    m_plugged = false;
    ++m_generation;
    notifyChange();
}

void VirtualCutter::replug()
{
    if (m_plugged)
        return;
    m_plugged = true;
    ++m_generation;
    notifyChange();
}

void VirtualCutter::failWrites(int count, int code, WriteFault fault)
{
    m_failWrites = count;
    m_writeCode = code;
    m_writeFault = fault;
}

void VirtualCutter::failReads(int count, int code)
{
    m_failReads = count;
    m_readCode = code;
}

void VirtualCutter::shortenChannel(int channel, std::size_t length)
{
    m_shortChannel = channel;
    m_shortLength = length;
}

ReportWrite VirtualCutter::write(std::uint64_t generation, std::span<const std::uint8_t, kReportSize> report)
{
    sync();
    if (beforeIo)
        beforeIo();
    if (!m_plugged || generation != m_generation)
        return {hid_error::DeviceNotConnected, 0};
    int code = 0;
    if (m_failWrites > 0) {
        --m_failWrites;
        if (m_writeFault == WriteFault::lost)
            return {m_writeCode, 0};
        code = m_writeCode;
    }
    m_reports.emplace_back();
    std::copy(report.begin(), report.end(), m_reports.back().begin());
    m_controller.receiveReport(report);
    if (m_controller.takeRestartRequest()) {
        // The controller restarts: it leaves the bus and comes back with a fresh state.
        m_controller.reset();
        m_plugged = false;
        ++m_generation;
        m_replugAtMs = m_controller.nowUs() / 1000 + kRestartMs;
        notifyChange();
    }
    return {code, kReportSize};
}

int VirtualCutter::read(std::uint64_t generation, int index, std::span<std::uint8_t> buffer, std::size_t& length)
{
    sync();
    if (beforeIo)
        beforeIo();
    ++m_reads;
    length = 0;
    if (!m_plugged || generation != m_generation)
        return hid_error::DeviceNotConnected;
    if (m_failReads > 0) {
        --m_failReads;
        return m_readCode;
    }
    std::vector<std::uint8_t> text;
    auto utf16 = [&text](const std::string& s) {
        for (const char c : s) {
            text.push_back(static_cast<std::uint8_t>(c));
            text.push_back(0);
        }
    };
    switch (index) {
    case 0:
        text = {0x09, 0x04};  // US English, the only language
        break;
    case 1: utf16(kVirtualCutterManufacturer); break;
    case 2: utf16(m_product); break;
    case 3: utf16(m_serial); break;
    default: {
        auto reply = m_controller.channel(index);
        if (!reply)
            return hid_error::InvalidParameter;
        text = std::move(*reply);
        if (index == ChannelStatus && m_busyReplies > 0) {
            --m_busyReplies;
            putField(text, reply::StatusFlags,
                     replyField<std::uint32_t>(text, reply::StatusFlags) | statusBit(StatusFlag::bufferFull));
        }
        break;
    }
    }
    if (index == m_shortChannel)
        text.resize(std::min(text.size(), m_shortLength));
    length = std::min(text.size(), buffer.size());
    std::copy_n(text.begin(), length, buffer.begin());
    return 0;
}

}  // namespace kerfline::machine
