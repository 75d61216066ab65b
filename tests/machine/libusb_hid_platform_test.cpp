// The libusb platform starts, lists what is attached and stops cleanly, with or without its
// hotplug thread; its errors map to the system codes the link knows.
#include "machine/hid_platform_choice.h"
#include "machine/libusb_hid_platform.h"
#include "machine/virtual_cutter.h"
#include "base/clock.h"
#include "base/scripted_host.h"
#include "base/switches.h"

#include <libusb.h>

#include <gtest/gtest.h>

namespace kerfline::machine {
namespace {

TEST(LibusbHidPlatform, EnumeratesAndStops)
{
    ScriptedHost host;
    for (const bool watch : {false, true}) {
        LibusbHidPlatform platform(host, watch);
        platform.setChangeHandler([] {});
        // Whatever is attached here: every device listed carries its strings, in a stable order.
        const auto first = platform.enumerate();
        const auto second = platform.enumerate();
        ASSERT_EQ(first.size(), second.size());
        for (std::size_t i = 0; i < first.size(); ++i)
            EXPECT_EQ(first[i]->product(), second[i]->product());
    }
}

TEST(LibusbHidPlatform, ErrorCodes)
{
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_SUCCESS), 0);
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_ERROR_IO), hid_error::IoDevice);
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_ERROR_PIPE), hid_error::GenFailure);
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_ERROR_NO_DEVICE), hid_error::DeviceNotConnected);
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_ERROR_TIMEOUT), hid_error::Timeout);
    EXPECT_EQ(systemErrorOfLibusb(LIBUSB_ERROR_ACCESS), hid_error::AccessDenied);
    EXPECT_NE(systemErrorOfLibusb(LIBUSB_ERROR_OTHER), 0);
    // A stall or a timeout may pass on the next try; a failed device or a busy one is reported.
    EXPECT_TRUE(isTransientWriteError(systemErrorOfLibusb(LIBUSB_ERROR_PIPE)));
    EXPECT_TRUE(isTransientWriteError(systemErrorOfLibusb(LIBUSB_ERROR_TIMEOUT)));
    EXPECT_FALSE(isTransientWriteError(systemErrorOfLibusb(LIBUSB_ERROR_IO)));
    EXPECT_FALSE(isTransientWriteError(systemErrorOfLibusb(LIBUSB_ERROR_NO_DEVICE)));
    EXPECT_FALSE(isTransientWriteError(systemErrorOfLibusb(LIBUSB_ERROR_BUSY)));
}

TEST(HidPlatformChoice, VirtualMachineOption)
{
    EXPECT_FALSE(virtualMachineProduct(CommandLine({"limitX'100'"})));
    EXPECT_EQ(virtualMachineProduct(CommandLine({"--virtual-machine"})), kDefaultVirtualProduct);
    EXPECT_EQ(virtualMachineProduct(CommandLine({"--virtual-machine="})), kDefaultVirtualProduct);
    EXPECT_EQ(virtualMachineProduct(CommandLine({"x", "--virtual-machine=KK45 1"})), "KK45 1");
    EXPECT_FALSE(virtualMachineProduct(CommandLine({"--virtual-machines"})));

    ScriptedHost host;
    SimulatedClock clock;
    const PlatformChoice virtualChoice =
        createHidPlatform(CommandLine({"--virtual-machine=BV 1000"}), host, clock, false);
    ASSERT_NE(virtualChoice.virtualCutter, nullptr);
    EXPECT_EQ(virtualChoice.virtualCutter->product(), "BV 1000");
    const PlatformChoice usb = createHidPlatform(CommandLine(), host, clock, false);
    EXPECT_EQ(usb.virtualCutter, nullptr);
    EXPECT_NE(usb.platform, nullptr);
}

}  // namespace
}  // namespace kerfline::machine
