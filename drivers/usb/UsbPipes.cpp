// SPDX-License-Identifier: GPL-3.0-or-later
#include "UsbPipes.h"

#include "DriverContract.h"

#include <libusb.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <string>

namespace {

// Reading the IN endpoint empty: how long to wait for one more stale packet, and how many to take at
// most, so that an instrument that keeps sending cannot hold the program.
constexpr unsigned DrainTimeoutMs = 20;
constexpr int MaxDrainPackets = 16;

std::uint32_t failureOf(int error) {
    switch (error) {
    case LIBUSB_SUCCESS:
        return ZRV_FAILURE_NONE;
    case LIBUSB_ERROR_ACCESS:
        return ZRV_FAILURE_NO_PERMISSION;
    case LIBUSB_ERROR_BUSY:
        return ZRV_FAILURE_BUSY;
    case LIBUSB_ERROR_NO_DEVICE:
        return ZRV_FAILURE_DISCONNECTED;
    case LIBUSB_ERROR_NOT_FOUND:
        return ZRV_FAILURE_NOT_FOUND;
    case LIBUSB_ERROR_TIMEOUT:
        return ZRV_FAILURE_TIMEOUT;
    case LIBUSB_ERROR_PIPE:
        return ZRV_FAILURE_STALL;
    default:
        return ZRV_FAILURE_IO;
    }
}

int submit(libusb_device_handle* handle, std::uint8_t endpoint, bool interrupt, std::uint8_t* data,
           int length, int* moved, unsigned timeoutMs) {
    return interrupt ? libusb_interrupt_transfer(handle, endpoint, data, length, moved, timeoutMs)
                     : libusb_bulk_transfer(handle, endpoint, data, length, moved, timeoutMs);
}

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

std::uint32_t TUsbPipes::deviceCount(const char* vidPid) {
    const auto selector = ParseUsbSelector(vidPid);
    std::lock_guard lock(m_mutex);
    libusb_context* ctx = context();
    if (!selector || !ctx)
        return 0;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx, &list);
    std::uint32_t found = 0;
    for (ssize_t i = 0; i < count; ++i)
        if (matches(list[i], *selector))
            ++found;
    if (count >= 0)
        libusb_free_device_list(list, 1);
    return found;
}

std::uint32_t TUsbPipes::open(std::uint32_t instance, const char* vidPid, const char* endpoint, bool read,
                              void** pipe) {
    const auto selector = ParseUsbSelector(vidPid);
    const int number = ParseEndpointNumber(endpoint);
    if (!selector || number < 0)
        return ZRV_FAILURE_BAD_ARGUMENT;
    const auto address =
        static_cast<std::uint8_t>(number | (read ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT));

    std::lock_guard lock(m_mutex);
    Device* device = nullptr;
    bool interrupt = false;
    if (const std::uint32_t failure = openDevice(instance, *selector, address, &device, &interrupt))
        return failure;
    ++device->Users;
    auto fresh = std::make_unique<Pipe>();
    fresh->Owner = device;
    fresh->Endpoint = address;
    fresh->Interrupt = interrupt;
    *pipe = fresh.get();
    m_pipes.push_back(std::move(fresh));
    if (read) {
        device->InEndpoint = address;
        device->InInterrupt = interrupt;
        // Whatever an earlier run left in the endpoint is not the answer to this run's first request.
        drain(*device);
    }
    return ZRV_FAILURE_NONE;
}

// The instance's device, opened and its interface claimed once for all its pipes.
std::uint32_t TUsbPipes::openDevice(std::uint32_t instance, const TUsbSelector& selector,
                                    std::uint8_t endpoint, Device** device, bool* interrupt) {
    libusb_context* ctx = context();
    if (!ctx)
        return ZRV_FAILURE_NOT_FOUND;
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(ctx, &list);
    if (count < 0)
        return failureOf(static_cast<int>(count));
    libusb_device* chosen = nullptr;
    std::uint32_t seen = 0;
    for (ssize_t i = 0; i < count && !chosen; ++i)
        if (matches(list[i], selector) && seen++ == instance)
            chosen = list[i];

    std::uint32_t failure = ZRV_FAILURE_NONE;
    int interfaceNumber = -1;
    if (!chosen) {
        failure = ZRV_FAILURE_NOT_FOUND;
    } else if (!findEndpoint(chosen, endpoint, &interfaceNumber, interrupt)) {
        failure = ZRV_FAILURE_BAD_ARGUMENT;
    } else {
        const std::uint8_t bus = libusb_get_bus_number(chosen);
        const std::uint8_t devAddress = libusb_get_device_address(chosen);
        auto shared = std::find_if(m_devices.begin(), m_devices.end(),
                                   [&](const auto& d) { return d->Bus == bus && d->Address == devAddress; });
        if (shared != m_devices.end()) {
            *device = shared->get();
        } else {
            libusb_device_handle* handle = nullptr;
            int rc = libusb_open(chosen, &handle);
            if (rc == 0) {
                libusb_set_auto_detach_kernel_driver(handle, 1);
                rc = libusb_claim_interface(handle, interfaceNumber);
                if (rc != 0)
                    libusb_close(handle);
            }
            if (rc == 0) {
                auto fresh = std::make_unique<Device>();
                fresh->Handle = handle;
                fresh->Bus = bus;
                fresh->Address = devAddress;
                fresh->Interface = interfaceNumber;
                *device = fresh.get();
                m_devices.push_back(std::move(fresh));
            }
            // Gone between the listing and the open: not there, rather than lost in a transfer.
            failure = rc == LIBUSB_ERROR_NO_DEVICE ? ZRV_FAILURE_NOT_FOUND : failureOf(rc);
        }
    }
    libusb_free_device_list(list, 1);
    return failure;
}

std::uint32_t TUsbPipes::transfer(void* pipe, bool read, std::uint8_t* data, std::uint32_t length,
                                  std::uint32_t* done, std::uint32_t timeoutMs) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    // A pipe opened for reading cannot write and the other way round.
    if (!p || length > INT_MAX || read != ((p->Endpoint & LIBUSB_ENDPOINT_IN) != 0))
        return ZRV_FAILURE_BAD_ARGUMENT;
    int moved = 0;
    const int rc = submit(p->Owner->Handle, p->Endpoint, p->Interrupt, data, static_cast<int>(length), &moved,
                          timeoutMs);
    if (done)
        *done = static_cast<std::uint32_t>(std::max(moved, 0));
    return rc == 0 ? ZRV_FAILURE_NONE : recover(*p, rc);
}

// After a failed transfer: a stalled endpoint is cleared, and the IN endpoint is read empty, so that
// neither the stall nor a late reply outlives the request that failed.
std::uint32_t TUsbPipes::recover(Pipe& pipe, int error) {
    if (error == LIBUSB_ERROR_NO_DEVICE)
        return ZRV_FAILURE_DISCONNECTED;
    if (error == LIBUSB_ERROR_PIPE)
        libusb_clear_halt(pipe.Owner->Handle, pipe.Endpoint);
    drain(*pipe.Owner);
    return failureOf(error);
}

void TUsbPipes::drain(Device& device) {
    if (device.InEndpoint == 0)
        return;
    std::array<std::uint8_t, 512> discarded{};
    for (int i = 0; i < MaxDrainPackets; ++i) {
        int moved = 0;
        const int rc = submit(device.Handle, device.InEndpoint, device.InInterrupt, discarded.data(),
                              static_cast<int>(discarded.size()), &moved, DrainTimeoutMs);
        if (rc == LIBUSB_ERROR_PIPE)
            libusb_clear_halt(device.Handle, device.InEndpoint);
        if (rc != 0)
            return;
    }
}

std::uint32_t TUsbPipes::read(void* pipe, std::uint8_t* data, std::uint32_t length, std::uint32_t* received,
                              std::uint32_t timeoutMs) {
    return transfer(pipe, true, data, length, received, timeoutMs);
}

// The pipe knows its endpoint's type; both reads take it.
std::uint32_t TUsbPipes::readInterrupt(void* pipe, std::uint8_t* data, std::uint32_t length,
                                       std::uint32_t* received, std::uint32_t timeoutMs) {
    return transfer(pipe, true, data, length, received, timeoutMs);
}

std::uint32_t TUsbPipes::write(void* pipe, const std::uint8_t* data, std::uint32_t length,
                               std::uint32_t* sent, std::uint32_t timeoutMs) {
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    return transfer(pipe, false, const_cast<std::uint8_t*>(data), length, sent, timeoutMs);
}

void TUsbPipes::release(Device* device) {
    if (--device->Users > 0)
        return;
    if (device->Interface >= 0)
        libusb_release_interface(device->Handle, device->Interface);
    libusb_close(device->Handle);
    std::erase_if(m_devices, [device](const auto& d) { return d.get() == device; });
}

std::uint32_t TUsbPipes::close(void* pipe) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    if (!p)
        return ZRV_FAILURE_BAD_ARGUMENT;
    if (p->Owner->InEndpoint == p->Endpoint)
        p->Owner->InEndpoint = 0;
    release(p->Owner);
    std::erase_if(m_pipes, [p](const auto& q) { return q.get() == p; });
    return ZRV_FAILURE_NONE;
}

std::uint32_t TUsbPipes::setConfiguration(void* pipe, std::uint16_t configuration) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    return p ? failureOf(libusb_set_configuration(p->Owner->Handle, configuration))
             : ZRV_FAILURE_BAD_ARGUMENT;
}

std::uint32_t TUsbPipes::stringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language,
                                          std::uint8_t* data, std::uint32_t length, std::uint32_t* received) {
    std::lock_guard lock(m_mutex);
    Pipe* p = find(pipe);
    if (!p)
        return ZRV_FAILURE_BAD_ARGUMENT;
    const int size = static_cast<int>(std::min<std::uint32_t>(length, 255));
    const int rc = libusb_get_string_descriptor(p->Owner->Handle, index, language, data, size);
    if (rc < 0)
        return failureOf(rc);
    if (received)
        *received = static_cast<std::uint32_t>(rc);
    return ZRV_FAILURE_NONE;
}
