#pragma once

#include "machine/hid_platform.h"

#include <memory>

namespace kerfline {
class Host;
}

namespace kerfline::machine {

// The HID platform of a real controller, on libusb-1.0. The controller's replies are string
// descriptors carrying raw binary bytes, which the operating systems' HID string calls mangle,
// so the devices are spoken to directly: the HID interface is claimed (the kernel driver
// detached), reports go to its interrupt OUT endpoint or as SET_REPORT, and string descriptors
// are read with a plain GET_DESCRIPTOR. Arrivals and removals come from libusb hotplug on an
// event thread and are handed to the user-interface thread through Host::post.
class LibusbHidPlatform : public HidPlatform {
public:
    // With watchChanges false no event thread runs (the command-line tool reads once and ends).
    LibusbHidPlatform(Host& host, bool watchChanges);
    ~LibusbHidPlatform() override;
    LibusbHidPlatform(const LibusbHidPlatform&) = delete;
    LibusbHidPlatform& operator=(const LibusbHidPlatform&) = delete;

    // False when libusb could not start (no USB on this system): enumeration finds nothing.
    bool available() const;

    std::vector<std::unique_ptr<HidDevice>> enumerate() override;
    void setChangeHandler(std::function<void()> handler) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// libusb's error numbers as the system error codes the link reports.
int systemErrorOfLibusb(int libusbError);

}  // namespace kerfline::machine
