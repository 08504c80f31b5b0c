// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DriverFailure.h"

#include "DriverContract.h"

#include <cstdint>

// What the link needs of a driver: the five entry points it calls. A loaded library, or a fake in a
// test, stands behind it.
class IUsbDriver {
public:
    virtual ~IUsbDriver() = default;
    virtual std::uint32_t GetDeviceCount(const char* vidPid) = 0;
    // (void*)-1 means failure.
    virtual void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint,
                       std::uint32_t direction, std::uint32_t reserved) = 0;
    // Nonzero on success.
    virtual std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                               std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                                std::uint32_t timeoutMs) = 0;
    virtual std::uint32_t Close(void* pipe) = 0;
    // Why the most recent call failed, when the driver can tell.
    virtual TDriverFailure LastFailure() const { return {}; }
};

// The handle value a failed Open answers.
inline void* InvalidPipe() {
    return ZRV_PIPE_FAILED;
}

// Selector and pipe name of the instrument's endpoint 1.
inline constexpr const char* InstrumentVidPid = "vid_04d8&pid_000c";
inline constexpr const char* InstrumentEndpoint = "\\MCHP_EP1";
inline constexpr std::uint32_t PipeDirectionRead = ZRV_DIRECTION_READ;
inline constexpr std::uint32_t PipeDirectionWrite = ZRV_DIRECTION_WRITE;
