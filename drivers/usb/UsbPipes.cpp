#include "UsbPipes.h"

#include <libusb.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

std::optional<std::uint16_t> hexAfter(const std::string& text, const char* key) {
    const auto at = text.find(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::string digits = text.substr(at + std::strlen(key), 4);
    if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(), ::isxdigit))
        return std::nullopt;
    return static_cast<std::uint16_t>(std::stoul(digits, nullptr, 16));
}

bool matches(libusb_device* device, const TUsbSelector& selector) {
    libusb_device_descriptor descriptor{};
    return libusb_get_device_descriptor(device, &descriptor) == 0 && descriptor.idVendor == selector.Vendor &&
           descriptor.idProduct == selector.Product;
}

// The interface holding the endpoint and the endpoint's transfer type, from the active configuration.
bool findEndpoint(libusb_device* device, std::uint8_t endpoint, int* interfaceNumber, bool* interrupt) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0)
        return false;
    bool found = false;
    for (int i = 0; i < config->bNumInterfaces && !found; ++i) {
        const libusb_interface& interface = config->interface[i];
        for (int a = 0; a < interface.num_altsetting && !found; ++a) {
            const libusb_interface_descriptor& setting = interface.altsetting[a];
            for (int e = 0; e < setting.bNumEndpoints && !found; ++e) {
                const libusb_endpoint_descriptor& ep = setting.endpoint[e];
                if (ep.bEndpointAddress != endpoint)
                    continue;
                *interfaceNumber = setting.bInterfaceNumber;
                *interrupt = (ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) == LIBUSB_TRANSFER_TYPE_INTERRUPT;
                found = true;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

} // namespace

std::optional<TUsbSelector> ParseUsbSelector(const char* text) {
    if (!text)
        return std::nullopt;
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto vendor = hexAfter(lower, "vid_");
    const auto product = hexAfter(lower, "pid_");
    if (!vendor || !product)
        return std::nullopt;
    return TUsbSelector{*vendor, *product};
}

int ParseEndpointNumber(const char* text) {
    if (!text)
        return -1;
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto at = upper.rfind("EP");
    if (at == std::string::npos || at + 2 >= upper.size())
        return -1;
    const std::string digits = upper.substr(at + 2);
    if (digits.size() > 2 || !std::all_of(digits.begin(), digits.end(), ::isdigit))
        return -1;
    const int number = std::stoi(digits);
    return number >= 1 && number <= 15 ? number : -1;
}

TUsbPipes::~TUsbPipes() {
    for (auto& device : m_devices) {
        if (device->Interface >= 0)
            libusb_release_interface(device->Handle, device->Interface);
        libusb_close(device->Handle);
    }
    if (m_context)
        libusb_exit(m_context);
}

libusb_context* TUsbPipes::context() {
    // Without usbfs (a container, a missing permission) there is simply no instrument.
    if (!m_context && !m_initFailed)
        m_initFailed = libusb_init(&m_context) != 0;
    return m_context;
}

TUsbPipes::Pipe* TUsbPipes::find(void* pipe) {
    for (auto& p : m_pipes)
        if (p.get() == pipe)
            return p.get();
    return nullptr;
}

std::uint32_t TUsbPipes::deviceCount(const TUsbSelector& selector) {
    std::lock_guard lock(m_mutex);
    libusb_context* ctx = context();
    if (!ctx)
        return 0;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx, &list);
    std::uint32_t found = 0;
    for (ssize_t i = 0; i < count; ++i)
        if (matches(list[i], selector))
            ++found;
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return found;
}

void* TUsbPipes::open(std::uint32_t instance, const TUsbSelector& selector, int endpoint, bool read) {
    std::lock_guard lock(m_mutex);
    libusb_context* ctx = context();
    if (!ctx || endpoint < 1)
        return nullptr;
    const auto address =
        static_cast<std::uint8_t>(endpoint | (read ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT));

    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx, &list);
    if (count < 0)
        return nullptr;
    libusb_device* chosen = nullptr;
    std::uint32_t seen = 0;
    for (ssize_t i = 0; i < count && !chosen; ++i)
        if (matches(list[i], selector) && seen++ == instance)
            chosen = list[i];

    Pipe* result = nullptr;
    int interfaceNumber = -1;
    bool interrupt = false;
    if (chosen && findEndpoint(chosen, address, &interfaceNumber, &interrupt)) {
        const std::uint8_t bus = libusb_get_bus_number(chosen);
        const std::uint8_t devAddress = libusb_get_device_address(chosen);
        auto shared = std::find_if(m_devices.begin(), m_devices.end(),
                                   [&](const auto& d) { return d->Bus == bus && d->Address == devAddress; });
        Device* device = shared != m_devices.end() ? shared->get() : nullptr;
        if (!device) {
            libusb_device_handle* handle = nullptr;
            if (libusb_open(chosen, &handle) == 0) {
                libusb_set_auto_detach_kernel_driver(handle, 1);
                if (libusb_claim_interface(handle, interfaceNumber) == 0) {
                    auto fresh = std::make_unique<Device>();
                    fresh->Handle = handle;
                    fresh->Bus = bus;
                    fresh->Address = devAddress;
                    fresh->Interface = interfaceNumber;
                    device = fresh.get();
                    m_devices.push_back(std::move(fresh));
                } else {
                    libusb_close(handle);
                }
            }
        }
        if (device) {
            ++device->Users;
            auto pipe = std::make_unique<Pipe>();
            pipe->Owner = device;
            pipe->Endpoint = address;
            pipe->Interrupt = interrupt;
            result = pipe.get();
            m_pipes.push_back(std::move(pipe));
        }
    }
    libusb_free_device_list(list, 1);
    return result;
}

bool TUsbPipes::transfer(void* pipe, bool read, std::uint8_t* data, std::uint32_t length, std::uint32_t* done,
                         std::uint32_t timeoutMs) {
    std::lock_guard lock(m_mutex);
    if (done)
        *done = 0;
    Pipe* p = find(pipe);
    if (!p || !data || length > 0x7fffffffu)
        return false;
    // A pipe opened for reading cannot write and the other way round.
    if (read != ((p->Endpoint & LIBUSB_ENDPOINT_IN) != 0))
        return false;
    int moved = 0;
    const int rc = p->Interrupt ? libusb_interrupt_transfer(p->Owner->Handle, p->Endpoint, data,
                                                            static_cast<int>(length), &moved, timeoutMs)
                                : libusb_bulk_transfer(p->Owner->Handle, p->Endpoint, data,
                                                       static_cast<int>(length), &moved, timeoutMs);
    if (done)
        *done = static_cast<std::uint32_t>(std::max(moved, 0));
    return rc == 0;
}

void TUsbPipes::release(Device* device) {
    if (--device->Users > 0)
        return;
    if (device->Interface >= 0)
        libusb_release_interface(device->Handle, device->Interface);
    libusb_close(device->Handle);
    std::erase_if(m_devices, [device](const auto& d) { return d.get() == device; });
}

bool TUsbPipes::close(void* pipe) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    if (!p)
        return false;
    release(p->Owner);
    std::erase_if(m_pipes, [p](const auto& q) { return q.get() == p; });
    return true;
}

bool TUsbPipes::setConfiguration(void* pipe, std::uint16_t configuration) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    return p && libusb_set_configuration(p->Owner->Handle, configuration) == 0;
}

bool TUsbPipes::stringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language, std::uint8_t* data,
                                 std::uint32_t length, std::uint32_t* received) {
    std::lock_guard lock(m_mutex);
    if (received)
        *received = 0;
    Pipe* p = find(pipe);
    if (!p || !data)
        return false;
    const int size = static_cast<int>(std::min<std::uint32_t>(length, 255));
    const int rc = libusb_get_string_descriptor(p->Owner->Handle, index, language, data, size);
    if (rc < 0)
        return false;
    if (received)
        *received = static_cast<std::uint32_t>(rc);
    return true;
}
