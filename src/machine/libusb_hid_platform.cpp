#include "machine/libusb_hid_platform.h"

#include "base/host.h"

#include <libusb.h>

#include <algorithm>
#include <atomic>
#include <stop_token>
#include <string>
#include <thread>
#include <tuple>

namespace kerfline::machine {
namespace {

constexpr unsigned kTimeoutMs = 1000;
constexpr std::uint16_t kDefaultLanguage = 0x0409;
constexpr std::uint8_t kHidSetReport = 0x09;
// Host to device, class request, to an interface.
constexpr std::uint8_t kSetReportRequestType = 0x21;
constexpr std::uint16_t kOutputReportType = 0x02;

// UTF-16 text of a string descriptor as 8-bit text: units above 255 become '?'.
std::string eightBitText(const std::uint8_t* text, std::size_t length)
{
    std::string result;
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        const unsigned unit = text[i] | (static_cast<unsigned>(text[i + 1]) << 8);
        result += unit < 256 ? static_cast<char>(unit) : '?';
    }
    return result;
}

// A raw string descriptor: returns the libusb result and fills the text (without the length
// and type bytes).
int readStringDescriptor(libusb_device_handle* handle, std::uint8_t index, std::uint16_t language,
                         std::uint8_t* text, std::size_t capacity, std::size_t& length)
{
    std::uint8_t raw[kStringBufferSize + 2] = {};
    length = 0;
    const int received = libusb_control_transfer(
        handle, LIBUSB_ENDPOINT_IN, LIBUSB_REQUEST_GET_DESCRIPTOR,
        static_cast<std::uint16_t>((LIBUSB_DT_STRING << 8) | index), language, raw, sizeof raw, kTimeoutMs);
    if (received < 0)
        return received;
    if (received < 2)
        return 0;
    const std::size_t described = std::min<std::size_t>(raw[0], static_cast<std::size_t>(received));
    length = std::min(described > 2 ? described - 2 : 0, capacity);
    std::copy_n(raw + 2, length, text);
    return 0;
}

std::uint16_t languageOf(libusb_device_handle* handle)
{
    std::uint8_t text[kStringBufferSize] = {};
    std::size_t length = 0;
    if (readStringDescriptor(handle, 0, 0, text, sizeof text, length) == 0 && length >= 2)
        return static_cast<std::uint16_t>(text[0] | (text[1] << 8));
    return kDefaultLanguage;
}

std::string deviceString(libusb_device_handle* handle, std::uint8_t index, std::uint16_t language)
{
    if (index == 0)
        return {};
    std::uint8_t text[kStringBufferSize] = {};
    std::size_t length = 0;
    if (readStringDescriptor(handle, index, language, text, sizeof text, length) != 0)
        return {};
    return eightBitText(text, length);
}

struct HidInterface {
    int number = -1;
    int outEndpoint = -1;  // -1: reports go as SET_REPORT on the control pipe
};

HidInterface findHidInterface(libusb_device* device)
{
    HidInterface found;
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0)
        return found;
    for (int i = 0; i < config->bNumInterfaces && found.number < 0; ++i) {
        const libusb_interface& interface = config->interface[i];
        for (int a = 0; a < interface.num_altsetting && found.number < 0; ++a) {
            const libusb_interface_descriptor& alt = interface.altsetting[a];
            if (alt.bInterfaceClass != LIBUSB_CLASS_HID)
                continue;
            found.number = alt.bInterfaceNumber;
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& endpoint = alt.endpoint[e];
                const bool out = (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_OUT;
                const bool interrupt = (endpoint.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) ==
                                       LIBUSB_TRANSFER_TYPE_INTERRUPT;
                if (out && interrupt) {
                    found.outEndpoint = endpoint.bEndpointAddress;
                    break;
                }
            }
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

class LibusbDevice : public HidDevice {
public:
    LibusbDevice(libusb_device* device, HidInterface interface, std::string manufacturer, std::string product,
                 std::string serial)
        : m_device(libusb_ref_device(device)), m_interface(interface), m_manufacturer(std::move(manufacturer)),
          m_product(std::move(product)), m_serial(std::move(serial))
    {
    }
    ~LibusbDevice() override
    {
        close();
        libusb_unref_device(m_device);
    }
    LibusbDevice(const LibusbDevice&) = delete;
    LibusbDevice& operator=(const LibusbDevice&) = delete;

    const std::string& manufacturer() const override { return m_manufacturer; }
    const std::string& product() const override { return m_product; }
    const std::string& serial() const override { return m_serial; }

    int open() override
    {
        if (m_handle)
            return 0;
        if (const int result = libusb_open(m_device, &m_handle); result != 0) {
            m_handle = nullptr;
            return systemErrorOfLibusb(result);
        }
        libusb_set_auto_detach_kernel_driver(m_handle, 1);
        // Without the claim SET_REPORT may be refused; string reads work either way.
        m_claimed = libusb_claim_interface(m_handle, m_interface.number) == 0;
        m_language = languageOf(m_handle);
        return 0;
    }

    ReportWrite writeReport(std::span<const std::uint8_t, kReportSize> report) override
    {
        if (const int opened = open(); opened != 0)
            return {opened, 0};
        // Report number 0 means the device has no numbered reports: the number is not sent.
        std::uint8_t data[kReportSize] = {};
        std::copy(report.begin(), report.end(), data);
        const bool unnumbered = report[0] == 0;
        unsigned char* payload = unnumbered ? data + 1 : data;
        const int size = unnumbered ? static_cast<int>(kReportPayload) : static_cast<int>(kReportSize);
        int result = 0;
        int transferred = 0;
        if (m_interface.outEndpoint >= 0) {
            // libusb counts what went out even when the transfer ends in an error.
            result = libusb_interrupt_transfer(m_handle, static_cast<unsigned char>(m_interface.outEndpoint), payload,
                                               size, &transferred, kTimeoutMs);
        } else {
            result = libusb_control_transfer(
                m_handle, kSetReportRequestType, kHidSetReport,
                static_cast<std::uint16_t>((kOutputReportType << 8) | report[0]),
                static_cast<std::uint16_t>(m_interface.number), payload, static_cast<std::uint16_t>(size), kTimeoutMs);
            transferred = std::max(result, 0);
        }
        ReportWrite write{failed(result), static_cast<std::size_t>(std::max(transferred, 0))};
        // The report number that is not sent went out with the payload.
        if (transferred >= size)
            write.transferred = kReportSize;
        return write;
    }

    int readIndexedString(int index, std::span<std::uint8_t> buffer, std::size_t& length) override
    {
        length = 0;
        if (index < 0 || index > 255)
            return hid_error::InvalidParameter;
        if (const int opened = open(); opened != 0)
            return opened;
        return failed(readStringDescriptor(m_handle, static_cast<std::uint8_t>(index), m_language, buffer.data(),
                                           buffer.size(), length));
    }

private:
    // A lost device closes the handle, so the next call opens it anew.
    int failed(int result)
    {
        if (result >= 0)
            return 0;
        if (result == LIBUSB_ERROR_NO_DEVICE)
            close();
        return systemErrorOfLibusb(result);
    }

    void close()
    {
        if (!m_handle)
            return;
        if (m_claimed)
            libusb_release_interface(m_handle, m_interface.number);
        libusb_close(m_handle);
        m_handle = nullptr;
        m_claimed = false;
    }

    libusb_device* m_device;
    HidInterface m_interface;
    std::string m_manufacturer;
    std::string m_product;
    std::string m_serial;
    libusb_device_handle* m_handle = nullptr;
    bool m_claimed = false;
    std::uint16_t m_language = kDefaultLanguage;
};

// What the event thread and the posted callbacks share with the platform.
struct ChangeRelay {
    Host* host = nullptr;
    std::atomic<bool> alive{true};
    std::function<void()> handler;  // touched on the user-interface thread only
};

int LIBUSB_CALL onHotplug(libusb_context*, libusb_device*, libusb_hotplug_event, void* userData)
{
    auto* relay = static_cast<std::shared_ptr<ChangeRelay>*>(userData);
    std::shared_ptr<ChangeRelay> shared = *relay;
    if (shared->alive)
        shared->host->post([shared] {
            if (shared->alive && shared->handler)
                shared->handler();
        });
    return 0;
}

}  // namespace

int systemErrorOfLibusb(int libusbError)
{
    switch (libusbError) {
    case LIBUSB_SUCCESS: return 0;
    case LIBUSB_ERROR_IO: return hid_error::IoDevice;
    // A stalled endpoint refused the report; the next one may pass.
    case LIBUSB_ERROR_PIPE: return hid_error::GenFailure;
    case LIBUSB_ERROR_INVALID_PARAM: return hid_error::InvalidParameter;
    case LIBUSB_ERROR_ACCESS: return hid_error::AccessDenied;
    case LIBUSB_ERROR_NO_DEVICE:
    case LIBUSB_ERROR_NOT_FOUND: return hid_error::DeviceNotConnected;
    case LIBUSB_ERROR_BUSY: return hid_error::Busy;
    case LIBUSB_ERROR_TIMEOUT: return hid_error::Timeout;
    case LIBUSB_ERROR_OVERFLOW: return 234;       // more data than the buffer takes
    case LIBUSB_ERROR_INTERRUPTED: return 995;    // the operation was aborted
    case LIBUSB_ERROR_NO_MEM: return 8;           // not enough memory
    case LIBUSB_ERROR_NOT_SUPPORTED: return 50;   // not supported
    default: return 1;
    }
}

struct LibusbHidPlatform::Impl {
    libusb_context* context = nullptr;
    std::shared_ptr<ChangeRelay> relay = std::make_shared<ChangeRelay>();
    std::shared_ptr<ChangeRelay> callbackRelay;  // the copy libusb's callback points at
    libusb_hotplug_callback_handle hotplug = 0;
    bool hotplugRegistered = false;
    std::jthread events;
};

LibusbHidPlatform::LibusbHidPlatform(Host& host, bool watchChanges) : m_impl(std::make_unique<Impl>())
{
    m_impl->relay->host = &host;
    if (libusb_init(&m_impl->context) != 0) {
        m_impl->context = nullptr;
        return;
    }
    if (!watchChanges || !libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG))
        return;
    m_impl->callbackRelay = m_impl->relay;
    const int registered = libusb_hotplug_register_callback(
        m_impl->context,
        static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
        static_cast<libusb_hotplug_flag>(0), LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
        LIBUSB_HOTPLUG_MATCH_ANY, onHotplug, &m_impl->callbackRelay, &m_impl->hotplug);
    if (registered != LIBUSB_SUCCESS)
        return;
    m_impl->hotplugRegistered = true;
    libusb_context* context = m_impl->context;
    m_impl->events = std::jthread([context](std::stop_token stop) {
        while (!stop.stop_requested()) {
            timeval timeout{0, 200000};
            libusb_handle_events_timeout_completed(context, &timeout, nullptr);
        }
    });
}

LibusbHidPlatform::~LibusbHidPlatform()
{
    m_impl->relay->alive = false;
    if (m_impl->hotplugRegistered)
        libusb_hotplug_deregister_callback(m_impl->context, m_impl->hotplug);
    if (m_impl->events.joinable()) {
        m_impl->events.request_stop();
        m_impl->events.join();
    }
    if (m_impl->context)
        libusb_exit(m_impl->context);
}

bool LibusbHidPlatform::available() const
{
    return m_impl->context != nullptr;
}

void LibusbHidPlatform::setChangeHandler(std::function<void()> handler)
{
    m_impl->relay->handler = std::move(handler);
}

std::vector<std::unique_ptr<HidDevice>> LibusbHidPlatform::enumerate()
{
    std::vector<std::unique_ptr<HidDevice>> devices;
    if (!m_impl->context)
        return devices;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(m_impl->context, &list);
    if (count < 0)
        return devices;

    // Bus and port path: the same devices come out in the same order every time.
    struct Found {
        std::tuple<int, std::vector<std::uint8_t>> place;
        std::unique_ptr<HidDevice> device;
    };
    std::vector<Found> found;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device* device = list[i];
        const HidInterface interface = findHidInterface(device);
        if (interface.number < 0)
            continue;
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(device, &descriptor) != 0)
            continue;
        std::string manufacturer, product, serial;
        libusb_device_handle* handle = nullptr;
        if (libusb_open(device, &handle) == 0) {
            const std::uint16_t language = languageOf(handle);
            manufacturer = deviceString(handle, descriptor.iManufacturer, language);
            product = deviceString(handle, descriptor.iProduct, language);
            serial = deviceString(handle, descriptor.iSerialNumber, language);
            libusb_close(handle);
        }
        std::uint8_t ports[8] = {};
        const int depth = std::max(0, libusb_get_port_numbers(device, ports, sizeof ports));
        found.push_back({{libusb_get_bus_number(device), std::vector<std::uint8_t>(ports, ports + depth)},
                         std::make_unique<LibusbDevice>(device, interface, std::move(manufacturer),
                                                        std::move(product), std::move(serial))});
    }
    libusb_free_device_list(list, 1);
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.place < b.place; });
    for (Found& f : found)
        devices.push_back(std::move(f.device));
    return devices;
}

}  // namespace kerfline::machine
