// SPDX-License-Identifier: GPL-3.0-or-later
// The entry points of every driver library, forwarded to its backend. The argument checks every
// driver owes the program live here once.
#include "DriverBackend.h"
#include "DriverContract.h"

#include <atomic>

namespace {

constexpr std::uint32_t DriverVersion = 0x01000000; // 1.0.0.0

std::atomic<std::uint32_t> lastFailure{ZRV_FAILURE_NONE};

std::uint32_t outcome(std::uint32_t failure) {
    lastFailure = failure;
    return failure == ZRV_FAILURE_NONE ? 1 : 0;
}

// A count the caller may read even when the call fails.
void clear(std::uint32_t* count) {
    if (count)
        *count = 0;
}

bool unusable(void* pipe) {
    return pipe == nullptr || pipe == ZRV_PIPE_FAILED;
}

using TBackendRead = std::uint32_t (IDriverBackend::*)(void*, std::uint8_t*, std::uint32_t, std::uint32_t*,
                                                       std::uint32_t);

std::uint32_t forwardRead(TBackendRead call, void* pipe, void* data, std::uint32_t length,
                          std::uint32_t* received, std::uint32_t timeoutMs) {
    clear(received);
    if (unusable(pipe) || !data)
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    return outcome(
        (DriverBackend().*call)(pipe, static_cast<std::uint8_t*>(data), length, received, timeoutMs));
}

} // namespace

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetDLLVersion(void) {
    return DriverVersion;
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetDeviceCount(const char* vid_pid) {
    if (!vid_pid)
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    lastFailure = ZRV_FAILURE_NONE;
    return DriverBackend().deviceCount(vid_pid);
}

ZRV_DRIVER_EXPORT void* ZRV_DRIVER_CALL _MPUSBOpen(uint32_t instance, const char* vid_pid,
                                                   const char* endpoint, uint32_t direction,
                                                   uint32_t /*reserved*/) {
    if (!vid_pid || !endpoint || direction > ZRV_DIRECTION_READ) {
        outcome(ZRV_FAILURE_BAD_ARGUMENT);
        return ZRV_PIPE_FAILED;
    }
    void* pipe = nullptr;
    if (!outcome(DriverBackend().open(instance, vid_pid, endpoint, direction == ZRV_DIRECTION_READ, &pipe)) ||
        unusable(pipe))
        return ZRV_PIPE_FAILED;
    return pipe;
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBRead(void* pipe, void* data, uint32_t length,
                                                      uint32_t* received, uint32_t timeout_ms) {
    return forwardRead(&IDriverBackend::read, pipe, data, length, received, timeout_ms);
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBReadInt(void* pipe, void* data, uint32_t length,
                                                         uint32_t* received, uint32_t timeout_ms) {
    return forwardRead(&IDriverBackend::readInterrupt, pipe, data, length, received, timeout_ms);
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBWrite(void* pipe, const void* data, uint32_t length,
                                                       uint32_t* sent, uint32_t timeout_ms) {
    clear(sent);
    if (unusable(pipe) || !data)
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    return outcome(
        DriverBackend().write(pipe, static_cast<const std::uint8_t*>(data), length, sent, timeout_ms));
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBClose(void* pipe) {
    if (unusable(pipe))
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    return outcome(DriverBackend().close(pipe));
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBSetConfiguration(void* pipe, uint16_t configuration) {
    if (unusable(pipe))
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    return outcome(DriverBackend().setConfiguration(pipe, configuration));
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL _MPUSBGetStringDescriptor(void* pipe, uint8_t index,
                                                                     uint16_t language, void* data,
                                                                     uint32_t length, uint32_t* received) {
    clear(received);
    if (unusable(pipe) || !data)
        return outcome(ZRV_FAILURE_BAD_ARGUMENT);
    return outcome(DriverBackend().stringDescriptor(pipe, index, language, static_cast<std::uint8_t*>(data),
                                                    length, received));
}

ZRV_DRIVER_EXPORT uint32_t ZRV_DRIVER_CALL ZrvDriverLastFailure(void) {
    return lastFailure;
}
