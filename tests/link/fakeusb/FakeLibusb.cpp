// SPDX-License-Identifier: GPL-3.0-or-later
// The part of libusb-1.0 the usb driver library calls, with the simulated instrument on endpoint 1
// (bulk OUT 0x01, IN 0x81). Built under libusb's own file and library name, so the usb driver library
// loaded into a test binds to it instead of the system's.
#include "FakeLibusb.h"

#include "simulator/DemoContent.h"

#include <libusb.h>

#include <algorithm>
#include <cstring>
#include <memory>

struct libusb_context {
    int Unused = 0;
};
struct libusb_device {
    int Unused = 0;
};
struct libusb_device_handle {
    std::uint64_t Generation = 0;
    bool Claimed = false;
};

namespace {

constexpr std::uint8_t OutEndpoint = 0x01;
constexpr std::uint8_t InEndpoint = 0x81;

libusb_context theContext;
libusb_device theDevice;
// Only the reply of a late request waits here until its read has timed out.
std::optional<TSimFrame> lateReply;

std::unique_ptr<TFakeUsbDevice>& slot() {
    static std::unique_ptr<TFakeUsbDevice> device;
    return device;
}

bool alive(const libusb_device_handle* handle) {
    return handle && handle->Generation == FakeUsb().Generation && FakeUsb().Instrument.isAttached();
}

const libusb_endpoint_descriptor endpoints[] = {
    {LIBUSB_DT_ENDPOINT_SIZE, LIBUSB_DT_ENDPOINT, OutEndpoint, LIBUSB_TRANSFER_TYPE_BULK, 64, 0, 0, 0,
     nullptr, 0},
    {LIBUSB_DT_ENDPOINT_SIZE, LIBUSB_DT_ENDPOINT, InEndpoint, LIBUSB_TRANSFER_TYPE_BULK, 64, 0, 0, 0, nullptr,
     0},
};
const libusb_interface_descriptor setting = {LIBUSB_DT_INTERFACE_SIZE,
                                             LIBUSB_DT_INTERFACE,
                                             0,
                                             0,
                                             2,
                                             LIBUSB_CLASS_VENDOR_SPEC,
                                             0,
                                             0,
                                             0,
                                             endpoints,
                                             nullptr,
                                             0};
const libusb_interface interfaces[] = {{&setting, 1}};
libusb_config_descriptor config = {
    LIBUSB_DT_CONFIG_SIZE, LIBUSB_DT_CONFIG, 0, 1, 1, 0, 0x80, 50, interfaces, nullptr, 0};

int outTransfer(libusb_device_handle* handle, const unsigned char* data, int length, int* moved) {
    TFakeUsbDevice& d = FakeUsb();
    if (!alive(handle))
        return LIBUSB_ERROR_NO_DEVICE;
    TSimFrame frame{};
    std::memcpy(frame.data(), data, std::min<std::size_t>(static_cast<std::size_t>(length), frame.size()));
    // An instrument unplugged by its fault is gone before this frame arrives.
    if (!d.Instrument.receive(frame))
        return LIBUSB_ERROR_NO_DEVICE;
    *moved = length;
    if (auto reply = d.Instrument.takeReply()) {
        if (d.Instrument.framesReceived() == d.LateReplyTo)
            lateReply = reply;
        else
            d.InQueue.push_back(*reply);
    }
    return 0;
}

int inTransfer(libusb_device_handle* handle, unsigned char* data, int length, int* moved) {
    TFakeUsbDevice& d = FakeUsb();
    if (!alive(handle))
        return LIBUSB_ERROR_NO_DEVICE;
    if (d.InHalted)
        return LIBUSB_ERROR_PIPE;
    if (d.StallAtReplyTo != 0 && d.Instrument.framesReceived() == d.StallAtReplyTo) {
        d.StallAtReplyTo = 0;
        d.InHalted = true;
        return LIBUSB_ERROR_PIPE;
    }
    if (lateReply) {
        d.InQueue.push_back(*lateReply);
        lateReply.reset();
        return LIBUSB_ERROR_TIMEOUT;
    }
    if (d.InQueue.empty())
        return LIBUSB_ERROR_TIMEOUT;
    if (length < static_cast<int>(TSimFrame().size()))
        return LIBUSB_ERROR_OVERFLOW;
    std::memcpy(data, d.InQueue.front().data(), d.InQueue.front().size());
    d.InQueue.pop_front();
    *moved = static_cast<int>(TSimFrame().size());
    return 0;
}

} // namespace

TFakeUsbDevice& FakeUsb() {
    if (!slot())
        ResetFakeUsb();
    return *slot();
}

void ResetFakeUsb() {
    const std::uint64_t generation = slot() ? slot()->Generation + 1 : 0;
    slot() = std::make_unique<TFakeUsbDevice>();
    slot()->Generation = generation;
    WriteDemoContent(slot()->Instrument);
    lateReply.reset();
}

void ReplugFakeUsb() {
    FakeUsb().Instrument.setPresent(true);
    ++FakeUsb().Generation;
    FakeUsb().InQueue.clear();
    FakeUsb().InHalted = false;
}

extern "C" {

int LIBUSB_CALL libusb_init(libusb_context** ctx) {
    if (ctx)
        *ctx = &theContext;
    return 0;
}

void LIBUSB_CALL libusb_exit(libusb_context*) {}

ssize_t LIBUSB_CALL libusb_get_device_list(libusb_context*, libusb_device*** list) {
    const bool present = FakeUsb().Instrument.isAttached();
    *list = new libusb_device* [2] { present ? &theDevice : nullptr, nullptr };
    return present ? 1 : 0;
}

void LIBUSB_CALL libusb_free_device_list(libusb_device** list, int) {
    delete[] list;
}

int LIBUSB_CALL libusb_get_device_descriptor(libusb_device*, libusb_device_descriptor* descriptor) {
    *descriptor = {};
    descriptor->bLength = LIBUSB_DT_DEVICE_SIZE;
    descriptor->bDescriptorType = LIBUSB_DT_DEVICE;
    descriptor->idVendor = 0x04d8;
    descriptor->idProduct = 0x000c;
    descriptor->bNumConfigurations = 1;
    return 0;
}

int LIBUSB_CALL libusb_get_active_config_descriptor(libusb_device*, libusb_config_descriptor** out) {
    *out = &config;
    return 0;
}

void LIBUSB_CALL libusb_free_config_descriptor(libusb_config_descriptor*) {}

uint8_t LIBUSB_CALL libusb_get_bus_number(libusb_device*) {
    return 1;
}

uint8_t LIBUSB_CALL libusb_get_device_address(libusb_device*) {
    return static_cast<uint8_t>(2 + FakeUsb().Generation % 100);
}

int LIBUSB_CALL libusb_open(libusb_device*, libusb_device_handle** handle) {
    TFakeUsbDevice& d = FakeUsb();
    if (!d.Instrument.isAttached())
        return LIBUSB_ERROR_NO_DEVICE;
    if (d.OpenError != 0)
        return d.OpenError;
    *handle = new libusb_device_handle{d.Generation, false};
    ++d.OpenHandles;
    return 0;
}

void LIBUSB_CALL libusb_close(libusb_device_handle* handle) {
    if (!handle)
        return;
    if (handle->Generation == FakeUsb().Generation)
        --FakeUsb().OpenHandles;
    delete handle;
}

int LIBUSB_CALL libusb_set_auto_detach_kernel_driver(libusb_device_handle*, int) {
    return 0;
}

int LIBUSB_CALL libusb_claim_interface(libusb_device_handle* handle, int number) {
    TFakeUsbDevice& d = FakeUsb();
    if (!alive(handle))
        return LIBUSB_ERROR_NO_DEVICE;
    if (number != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    if (d.ClaimError != 0)
        return d.ClaimError;
    handle->Claimed = true;
    ++d.ClaimedInterfaces;
    return 0;
}

int LIBUSB_CALL libusb_release_interface(libusb_device_handle* handle, int) {
    if (!handle || !handle->Claimed)
        return LIBUSB_ERROR_NOT_FOUND;
    handle->Claimed = false;
    if (handle->Generation == FakeUsb().Generation)
        --FakeUsb().ClaimedInterfaces;
    return alive(handle) ? 0 : LIBUSB_ERROR_NO_DEVICE;
}

int LIBUSB_CALL libusb_bulk_transfer(libusb_device_handle* handle, unsigned char endpoint,
                                     unsigned char* data, int length, int* moved, unsigned int) {
    *moved = 0;
    if (endpoint == OutEndpoint)
        return outTransfer(handle, data, length, moved);
    if (endpoint == InEndpoint)
        return inTransfer(handle, data, length, moved);
    return LIBUSB_ERROR_INVALID_PARAM;
}

// The instrument has no interrupt endpoint.
int LIBUSB_CALL libusb_interrupt_transfer(libusb_device_handle*, unsigned char, unsigned char*, int,
                                          int* moved, unsigned int) {
    *moved = 0;
    return LIBUSB_ERROR_INVALID_PARAM;
}

int LIBUSB_CALL libusb_clear_halt(libusb_device_handle* handle, unsigned char endpoint) {
    if (!alive(handle))
        return LIBUSB_ERROR_NO_DEVICE;
    ++FakeUsb().ClearHalts;
    if (endpoint == InEndpoint)
        FakeUsb().InHalted = false;
    return 0;
}

int LIBUSB_CALL libusb_set_configuration(libusb_device_handle* handle, int) {
    return alive(handle) ? 0 : LIBUSB_ERROR_NO_DEVICE;
}

// No string descriptors: the request stalls, as on a device without them.
int LIBUSB_CALL libusb_control_transfer(libusb_device_handle* handle, uint8_t, uint8_t, uint16_t, uint16_t,
                                        unsigned char*, uint16_t, unsigned int) {
    return alive(handle) ? LIBUSB_ERROR_PIPE : LIBUSB_ERROR_NO_DEVICE;
}

} // extern "C"
