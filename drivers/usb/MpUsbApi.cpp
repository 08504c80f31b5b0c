// The nine entry points the program resolves by name. Every call fails cleanly (0, or (void*)-1 for
// an open) instead of trusting a handle or a selector it cannot make sense of.
#include "UsbPipes.h"

#include <cstdint>

#define ZRV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr std::uint32_t DriverVersion = 0x01000000; // 1.0.0.0

void* const FailedPipe = reinterpret_cast<void*>(-1);

// One set of pipes for the process: the program asks for the read and the write pipe separately,
// and both must share the one claimed interface.
TUsbPipes& pipes() {
    static TUsbPipes instance;
    return instance;
}

} // namespace

ZRV_EXPORT std::uint32_t _MPUSBGetDLLVersion(void) {
    return DriverVersion;
}

ZRV_EXPORT std::uint32_t _MPUSBGetDeviceCount(const char* vid_pid) {
    const auto selector = ParseUsbSelector(vid_pid);
    return selector ? pipes().deviceCount(*selector) : 0;
}

ZRV_EXPORT void* _MPUSBOpen(std::uint32_t instance, const char* vid_pid, const char* endpoint,
                            std::uint32_t direction, std::uint32_t /*reserved*/) {
    const auto selector = ParseUsbSelector(vid_pid);
    const int number = ParseEndpointNumber(endpoint);
    if (!selector || number < 0 || direction > 1)
        return FailedPipe;
    void* pipe = pipes().open(instance, *selector, number, direction == 1);
    return pipe ? pipe : FailedPipe;
}

ZRV_EXPORT std::uint32_t _MPUSBRead(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                                    std::uint32_t timeout_ms) {
    return pipes().transfer(pipe, true, static_cast<std::uint8_t*>(data), length, received, timeout_ms) ? 1
                                                                                                        : 0;
}

ZRV_EXPORT std::uint32_t _MPUSBReadInt(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                                       std::uint32_t timeout_ms) {
    return _MPUSBRead(pipe, data, length, received, timeout_ms);
}

ZRV_EXPORT std::uint32_t _MPUSBWrite(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                                     std::uint32_t timeout_ms) {
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    auto* bytes = const_cast<std::uint8_t*>(static_cast<const std::uint8_t*>(data));
    return pipes().transfer(pipe, false, bytes, length, sent, timeout_ms) ? 1 : 0;
}

ZRV_EXPORT std::uint32_t _MPUSBClose(void* pipe) {
    return pipes().close(pipe) ? 1 : 0;
}

ZRV_EXPORT std::uint32_t _MPUSBSetConfiguration(void* pipe, std::uint16_t configuration) {
    return pipes().setConfiguration(pipe, configuration) ? 1 : 0;
}

ZRV_EXPORT std::uint32_t _MPUSBGetStringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language,
                                                   void* data, std::uint32_t length,
                                                   std::uint32_t* received) {
    return pipes().stringDescriptor(pipe, index, language, static_cast<std::uint8_t*>(data), length, received)
               ? 1
               : 0;
}
