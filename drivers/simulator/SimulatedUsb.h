// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class TSimulatedInstrument;

// The instrument as the driver entry points see it: one attached device at instance 0 with a read
// and a write pipe on endpoint 1. Both the shared library and the tests' in-process driver use it.
class TSimulatedUsb {
public:
    explicit TSimulatedUsb(TSimulatedInstrument& instrument) : m_instrument(instrument) {}

    std::uint32_t deviceCount(const char* vidPid) const;
    // (void*)-1 on failure.
    void* open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved);
    // Nonzero on success. A frame moves whole: a buffer shorter than 64 bytes gets nothing.
    std::uint32_t read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs);
    std::uint32_t write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs);
    std::uint32_t close(void* pipe);

    bool isOpen(void* pipe) const;
    bool isReadPipe(void* pipe) const { return pipe == &m_readHandle && m_readOpen; }
    bool isWritePipe(void* pipe) const { return pipe == &m_writeHandle && m_writeOpen; }

private:
    TSimulatedInstrument& m_instrument;
    // Only their addresses serve, as handles that can never be (void*)-1 or null.
    char m_readHandle = 0;
    char m_writeHandle = 0;
    bool m_readOpen = false;
    bool m_writeOpen = false;
};
