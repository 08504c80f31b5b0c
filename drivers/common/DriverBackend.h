// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// What a driver library does behind the shared entry points (DriverExports.cpp). Each call answers
// ZRV_FAILURE_NONE or why it failed; the entry points turn that into the contract's return values and
// remember it for ZrvDriverLastFailure. Out-parameters are zeroed and null buffers refused before a
// backend is called, and only a direction of 0 or 1 reaches open().
class IDriverBackend {
public:
    virtual ~IDriverBackend() = default;

    virtual std::uint32_t deviceCount(const char* vidPid) = 0;
    // *pipe is set only on success.
    virtual std::uint32_t open(std::uint32_t instance, const char* vidPid, const char* endpoint, bool read,
                               void** pipe) = 0;
    virtual std::uint32_t read(void* pipe, std::uint8_t* data, std::uint32_t length, std::uint32_t* received,
                               std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t readInterrupt(void* pipe, std::uint8_t* data, std::uint32_t length,
                                        std::uint32_t* received, std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t write(void* pipe, const std::uint8_t* data, std::uint32_t length,
                                std::uint32_t* sent, std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t close(void* pipe) = 0;
    virtual std::uint32_t setConfiguration(void* pipe, std::uint16_t configuration) = 0;
    virtual std::uint32_t stringDescriptor(void* pipe, std::uint8_t index, std::uint16_t language,
                                           std::uint8_t* data, std::uint32_t length,
                                           std::uint32_t* received) = 0;
};

// Each driver library defines its one backend for the process.
IDriverBackend& DriverBackend();
