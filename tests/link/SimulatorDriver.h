// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/UsbDriver.h"

#include "simulator/SimulatedInstrument.h"
#include "simulator/SimulatedUsb.h"

// The simulated instrument in-process, behind the link's driver seam: the same pipe handling as the
// simulator's driver library, with the instrument in the test's hands for content and faults.
class TSimulatorDriver : public IUsbDriver {
public:
    explicit TSimulatorDriver(TSimulatedInstrument& instrument) : m_usb(instrument) {}

    std::uint32_t GetDeviceCount(const char* vidPid) override { return m_usb.deviceCount(vidPid); }
    void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved) override {
        return m_usb.open(instance, vidPid, endpoint, direction, reserved);
    }
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        return m_usb.read(pipe, data, length, received, timeoutMs);
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        return m_usb.write(pipe, data, length, sent, timeoutMs);
    }
    std::uint32_t Close(void* pipe) override { return m_usb.close(pipe); }

private:
    TSimulatedUsb m_usb;
};
