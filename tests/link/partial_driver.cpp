// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in driver library for the loader's tests. Built twice: with every entry point as a loopback
// that echoes each frame written, and without _MPUSBReadInt and all after it. Each entry point counts
// its calls, so a test can show that an incomplete library is never called.
#include "DriverContract.h"

#include <cstdint>
#include <cstring>

namespace {
int calls = 0;
std::uint8_t lastFrame[64] = {};
void* const readPipe = reinterpret_cast<void*>(0x11);
void* const writePipe = reinterpret_cast<void*>(0x10);
} // namespace

extern "C" ZRV_DRIVER_EXPORT int StubDriverCalls() {
    return calls;
}

std::uint32_t _MPUSBGetDLLVersion() {
    ++calls;
    return 0x01000000;
}

std::uint32_t _MPUSBGetDeviceCount(const char* vidPid) {
    ++calls;
    return std::strcmp(vidPid, "vid_04d8&pid_000c") == 0 ? 1 : 0;
}

void* _MPUSBOpen(std::uint32_t instance, const char*, const char* endpoint, std::uint32_t direction,
                 std::uint32_t) {
    ++calls;
    if (instance != 0 || std::strcmp(endpoint, "\\MCHP_EP1") != 0)
        return ZRV_PIPE_FAILED;
    return direction == 1 ? readPipe : writePipe;
}

std::uint32_t _MPUSBRead(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                         std::uint32_t) {
    ++calls;
    if (pipe != readPipe || length != 64)
        return 0;
    std::memcpy(data, lastFrame, 64);
    *received = 64;
    return 1;
}

std::uint32_t _MPUSBWrite(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                          std::uint32_t) {
    ++calls;
    if (pipe != writePipe || length != 64)
        return 0;
    std::memcpy(lastFrame, data, 64);
    *sent = 64;
    return 1;
}

std::uint32_t _MPUSBClose(void*) {
    ++calls;
    return 1;
}

#ifdef ZRV_ALL_ENTRY_POINTS
std::uint32_t _MPUSBReadInt(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                            std::uint32_t timeout) {
    return _MPUSBRead(pipe, data, length, received, timeout);
}

std::uint32_t _MPUSBSetConfiguration(void*, std::uint16_t) {
    ++calls;
    return 1;
}

std::uint32_t _MPUSBGetStringDescriptor(void*, std::uint8_t, std::uint16_t, void*, std::uint32_t,
                                        std::uint32_t* received) {
    ++calls;
    *received = 0;
    return 0;
}
#endif
