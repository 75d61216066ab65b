#pragma once

#include "machine/controller_link.h"
#include "machine/controller_protocol.h"
#include "machine/hid_platform.h"
#include "machine/motion_operations.h"
#include "machine/virtual_cutter.h"
#include "shell/app_context.h"
#include "base/scripted_host.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kerfline::testing {

// A HID platform whose devices and answers a test sets up, and which records every report.
class FakePlatform : public machine::HidPlatform {
public:
    struct DeviceStrings {
        std::string manufacturer, product, serial;
    };
    std::vector<DeviceStrings> devices;
    std::vector<machine::Report> reports;
    std::deque<int> writeResults;               // popped per write; empty: success
    bool failedWritesDelivered = false;         // a failed write still went out whole
    std::deque<int> readResults;                // popped per read; empty: success
    std::map<int, std::vector<std::uint8_t>> channels;  // replies by index
    int reads = 0;
    std::function<void()> handler;

    std::vector<std::unique_ptr<machine::HidDevice>> enumerate() override
    {
        std::vector<std::unique_ptr<machine::HidDevice>> list;
        for (const auto& strings : devices)
            list.push_back(std::make_unique<Device>(*this, strings));
        return list;
    }
    void setChangeHandler(std::function<void()> h) override { handler = std::move(h); }

private:
    class Device : public machine::HidDevice {
    public:
        Device(FakePlatform& platform, DeviceStrings strings) : m_platform(platform), m_strings(std::move(strings)) {}
        const std::string& manufacturer() const override { return m_strings.manufacturer; }
        const std::string& product() const override { return m_strings.product; }
        const std::string& serial() const override { return m_strings.serial; }
        int open() override { return 0; }
        machine::ReportWrite writeReport(std::span<const std::uint8_t, machine::kReportSize> report) override
        {
            machine::Report copy{};
            std::copy(report.begin(), report.end(), copy.begin());
            m_platform.reports.push_back(copy);
            if (m_platform.writeResults.empty())
                return {0, machine::kReportSize};
            const int result = m_platform.writeResults.front();
            m_platform.writeResults.pop_front();
            const bool out = result == 0 || m_platform.failedWritesDelivered;
            return {result, out ? machine::kReportSize : 0};
        }
        int readIndexedString(int index, std::span<std::uint8_t> buffer, std::size_t& length) override
        {
            ++m_platform.reads;
            length = 0;
            if (!m_platform.readResults.empty()) {
                const int result = m_platform.readResults.front();
                m_platform.readResults.pop_front();
                if (result != 0)
                    return result;
            }
            const auto& reply = m_platform.channels[index];
            length = std::min(reply.size(), buffer.size());
            std::copy_n(reply.begin(), length, buffer.begin());
            return 0;
        }

    private:
        FakePlatform& m_platform;
        DeviceStrings m_strings;
    };
};

// A program context with its language loaded, a simulated clock and a scripted operator.
struct ContextRig {
    explicit ContextRig(std::vector<std::string> switches = {})
        : context(host, clock, CommandLine(std::move(switches)))
    {
        context.language.load(KERFLINE_LANG_DIR, LanguageChoice{});
    }
    ScriptedHost host;
    SimulatedClock clock;
    AppContext context;
};

// The link, the protocol and the motion operations on a virtual cutter.
struct CutterRig : ContextRig {
    explicit CutterRig(std::string product = machine::kDefaultVirtualProduct, std::vector<std::string> switches = {})
        : ContextRig(std::move(switches)), cutter(host, clock, std::move(product))
    {
        cutter.followClock(clock);
        link = std::make_unique<machine::TfUsb>(context, cutter);
        protocol = std::make_unique<machine::ControllerProtocol>(context, *link);
        motion = std::make_unique<machine::MotionOperations>(*protocol);
    }
    ~CutterRig()
    {
        motion.reset();
        protocol.reset();
        link.reset();
    }

    // Reads the machine as the manual control panel does when it opens.
    void readMachine()
    {
        protocol->ReadMachineInfo();
        protocol->ReadStatus();
        protocol->ReadPositions();
        protocol->ReadSpeeds();
        protocol->ReadPower();
    }
    // Homes all axes and waits for the machine.
    void home()
    {
        protocol->SendCommand(std::string{'B', static_cast<char>(0xFF)});
        protocol->WaitWhileBusy();
        protocol->ReadPositions();
    }

    machine::VirtualCutter cutter;
    std::unique_ptr<machine::TfUsb> link;
    std::unique_ptr<machine::ControllerProtocol> protocol;
    std::unique_ptr<machine::MotionOperations> motion;
};

inline std::string bytesOf(std::initializer_list<int> values)
{
    std::string text;
    for (const int v : values)
        text += static_cast<char>(v & 0xFF);
    return text;
}

}  // namespace kerfline::testing
