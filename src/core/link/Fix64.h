// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DriverFailure.h"
#include "link/Frame.h"

#include <array>
#include <cstdint>
#include <optional>

class IPause;
class IUsbDriver;

// The link object: one per device operation. Single exchanges and the chunked memory transfers; every
// failed exchange throws TProtocolError, with no retry at any level.
class TFix64 {
public:
    static constexpr int MaxInstances = 10;

    TFix64(IUsbDriver& driver, IPause& pause);
    // Closes whatever is still open, so a failed operation never leaks a pipe.
    ~TFix64();
    TFix64(const TFix64&) = delete;
    TFix64& operator=(const TFix64&) = delete;

    // False when either pipe failed to open or the instance is outside 0..9.
    bool OpenPipes(int instance);
    void ClosePipes(int instance);
    std::uint32_t DeviceCount();

    void SetSlave(std::uint8_t address) { m_slaveAddress = address; }
    std::uint8_t Slave() const { return m_slaveAddress; }
    std::uint16_t Timeout = 250;
    std::uint32_t ReceivedCount = 0;

    bool SendRequest();
    bool ReceiveReply();
    // Receives the reply and validates it against Request, first failure thrown. A reply that did not
    // come carries the driver's first reason: the failed open, else the failed write, else the read.
    bool CheckReply();

    // data: 52 bytes, or null for zeros; no address sends zeros in its place.
    bool Transact(std::uint8_t command, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                  std::optional<std::uint32_t> address, const std::uint8_t* data);
    bool Ping();
    // Configuration and project memory, 52-byte chunks, 5 ms after each.
    bool ReadMemory(std::uint32_t address, void* destination, std::uint32_t count);
    // Record and catalogue memory, 52-byte chunks, no pause.
    bool ReadData(std::uint32_t address, void* destination, std::uint32_t count);
    // Configuration and project memory, 52-byte chunks, 10 ms before and 5 ms after each.
    bool WriteMemory(std::uint32_t address, const void* source, std::uint32_t count);

    const TFrame& Request() const { return m_request; }
    const TFrame& Reply() const { return m_reply; }

private:
    bool exchange(const TFrame& request);
    bool readChunks(std::uint8_t command, std::uint32_t address, void* destination, std::uint32_t count,
                    int pauseAfterMs);

    IUsbDriver& m_driver;
    IPause& m_pause;
    TDriverFailure m_openFailure;
    TDriverFailure m_sendFailure;
    TFrame m_request{};
    TFrame m_reply{};
    void* m_readPipe;
    void* m_writePipe;
    std::array<void*, MaxInstances> m_readPipes;
    std::array<void*, MaxInstances> m_writePipes;
    std::uint8_t m_slaveAddress = SlaveAny;
};
