#pragma once

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

// The pipes handed out to the program. A read and a write pipe of one instrument share one opened
// device, because an interface can be claimed only once. Every handle the caller passes in is
// looked up first, so a stale or made-up handle fails instead of being dereferenced.
class TUsbPipes {
public:
    TUsbPipes() = default;
    TUsbPipes(const TUsbPipes&) = delete;
    TUsbPipes& operator=(const TUsbPipes&) = delete;
    ~TUsbPipes();

    std::uint32_t deviceCount(const TUsbSelector& selector);
    // nullptr on failure.
    void* open(std::uint32_t instance, const TUsbSelector& selector, int endpoint, bool read);
    bool transfer(void* pipe, bool read, std::uint8_t* data, std::uint32_t length, std::uint32_t* done,
                  std::uint32_t timeoutMs);
    bool close(void* pipe);
    bool setConfiguration(void* pipe, std::uint16_t configuration);
    bool stringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language, std::uint8_t* data,
                          std::uint32_t length, std::uint32_t* received);

private:
    struct Device {
        libusb_device_handle* Handle = nullptr;
        std::uint8_t Bus = 0;
        std::uint8_t Address = 0;
        int Interface = -1;
        int Users = 0;
    };
    struct Pipe {
        Device* Owner = nullptr;
        std::uint8_t Endpoint = 0; // with the direction bit
        bool Interrupt = false;    // else bulk
    };

    libusb_context* context();
    Pipe* find(void* pipe);
    void release(Device* device);

    std::mutex m_mutex;
    libusb_context* m_context = nullptr;
    bool m_initFailed = false;
    std::vector<std::unique_ptr<Device>> m_devices;
    std::vector<std::unique_ptr<Pipe>> m_pipes;
};
