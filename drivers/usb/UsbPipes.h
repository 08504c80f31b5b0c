// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DriverBackend.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

struct libusb_context;
struct libusb_device_handle;

struct TUsbSelector {
    std::uint16_t Vendor = 0;
    std::uint16_t Product = 0;
};

// "vid_04d8&pid_000c", either case; nullopt for anything else.
std::optional<TUsbSelector> ParseUsbSelector(const char* text);
// "\MCHP_EP1" -> 1; -1 when the name carries no endpoint number 1..15.
int ParseEndpointNumber(const char* text);

// The pipes handed out to the program, over libusb. A read and a write pipe of one instrument share
// one opened device, because an interface can be claimed only once. Every handle the caller passes in
// is looked up first, so a stale or made-up handle fails instead of being dereferenced.
// Replies are never left behind: the IN endpoint is read empty when a read pipe opens and after any
// failed transfer, so a reply that came after its time-out cannot pass for the next request's.
class TUsbPipes final : public IDriverBackend {
public:
    TUsbPipes() = default;
    TUsbPipes(const TUsbPipes&) = delete;
    TUsbPipes& operator=(const TUsbPipes&) = delete;
    ~TUsbPipes() override;

    std::uint32_t deviceCount(const char* vidPid) override;
    std::uint32_t open(std::uint32_t instance, const char* vidPid, const char* endpoint, bool read,
                       void** pipe) override;
    std::uint32_t read(void* pipe, std::uint8_t* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override;
    std::uint32_t readInterrupt(void* pipe, std::uint8_t* data, std::uint32_t length, std::uint32_t* received,
                                std::uint32_t timeoutMs) override;
    std::uint32_t write(void* pipe, const std::uint8_t* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override;
    std::uint32_t close(void* pipe) override;
    std::uint32_t setConfiguration(void* pipe, std::uint16_t configuration) override;
    std::uint32_t stringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language, std::uint8_t* data,
                                   std::uint32_t length, std::uint32_t* received) override;

private:
    struct Device {
        libusb_device_handle* Handle = nullptr;
        std::uint8_t Bus = 0;
        std::uint8_t Address = 0;
        int Interface = -1;
        int Users = 0;
        std::uint8_t InEndpoint = 0; // of the read pipe, once one is open; 0: none
        bool InInterrupt = false;
    };
    struct Pipe {
        Device* Owner = nullptr;
        std::uint8_t Endpoint = 0; // with the direction bit
        bool Interrupt = false;    // else bulk
    };

    libusb_context* context();
    Pipe* find(void* pipe);
    std::uint32_t openDevice(std::uint32_t instance, const TUsbSelector& selector, std::uint8_t endpoint,
                             Device** device, bool* interrupt);
    std::uint32_t transfer(void* pipe, bool read, std::uint8_t* data, std::uint32_t length,
                           std::uint32_t* done, std::uint32_t timeoutMs);
    std::uint32_t recover(Pipe& pipe, int error);
    void drain(Device& device);
    void release(Device* device);

    std::mutex m_mutex;
    libusb_context* m_context = nullptr;
    bool m_initFailed = false;
    std::vector<std::unique_ptr<Device>> m_devices;
    std::vector<std::unique_ptr<Pipe>> m_pipes;
};
