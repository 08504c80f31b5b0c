// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Frame.h"
#include "link/Pause.h"
#include "link/UsbDriver.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

// One thing the link did, in the order it did it: driver calls and pauses share one log so tests see
// their interleaving.
struct TLinkEvent {
    std::string Kind; // "count", "open", "write", "read", "close", "pause"
    TFrame Frame{};   // the frame written
    void* Pipe = nullptr;
    std::uint32_t Value = 0; // open: direction; pause: ms; write/read: time-out
};

using TLinkLog = std::vector<TLinkEvent>;

class TRecordingPause final : public IPause {
public:
    explicit TRecordingPause(TLinkLog& log) : m_log(log) {}
    void pauseMs(int ms) override { m_log.push_back({"pause", {}, nullptr, static_cast<std::uint32_t>(ms)}); }

private:
    TLinkLog& m_log;
};

// An instrument that answers every request with a valid reply, reads giving the byte (address + i) & 0xFF.
// Tests bend single replies with Corrupt or make reads fail.
class TFakeUsbDriver final : public IUsbDriver {
public:
    explicit TFakeUsbDriver(TLinkLog& log) : m_log(log) {}

    std::uint32_t Devices = 1;
    bool OpenFails = false;
    // Index of the reply (0 = first read) that fails, or -1.
    int FailReadAt = -1;
    // Applied to each reply before it is handed over; the index counts reads from 0.
    std::function<void(int index, TFrame& reply)> Corrupt;
    // The read succeeds but delivers no bytes.
    bool EmptyReads = false;

    std::uint32_t GetDeviceCount(const char* vidPid) override {
        m_log.push_back({"count", {}, nullptr, 0});
        LastVidPid = vidPid;
        return Devices;
    }
    void* Open(std::uint32_t instance, const char* vidPid, const char* endpoint, std::uint32_t direction,
               std::uint32_t reserved) override {
        m_log.push_back({"open", {}, nullptr, direction});
        LastVidPid = vidPid;
        LastEndpoint = endpoint;
        LastInstance = instance;
        LastReserved = reserved;
        if (OpenFails)
            return InvalidPipe();
        return direction == PipeDirectionRead ? ReadPipe : WritePipe;
    }
    std::uint32_t Read(void* pipe, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t timeoutMs) override {
        m_log.push_back({"read", {}, pipe, timeoutMs});
        const int index = m_reads++;
        if (index == FailReadAt || length != 64 || m_writes.empty())
            return 0;
        if (EmptyReads) {
            *received = 0;
            return 1;
        }
        TFrame reply = answer(m_writes.back());
        if (Corrupt)
            Corrupt(index, reply);
        std::memcpy(data, reply.data(), reply.size());
        *received = 64;
        return 1;
    }
    std::uint32_t Write(void* pipe, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t timeoutMs) override {
        TLinkEvent event{"write", {}, pipe, timeoutMs};
        if (length == 64)
            std::memcpy(event.Frame.data(), data, 64);
        m_log.push_back(event);
        m_writes.push_back(event.Frame);
        *sent = length;
        return 1;
    }
    std::uint32_t Close(void* pipe) override {
        m_log.push_back({"close", {}, pipe, 0});
        return 1;
    }

    // Counts reads afresh, for a second transfer in one test.
    void restart() {
        m_reads = 0;
        m_writes.clear();
    }

    static TFrame answer(const TFrame& request) {
        TFrame reply = request;
        reply[2] = 9; // the instrument's own address; requests go to "any slave"
        if (request[3] == CommandReadMemory || request[3] == CommandReadData) {
            std::uint32_t address = 0;
            std::memcpy(&address, request.data() + FrameAddressOffset, 4);
            for (std::uint32_t i = 0; i < FrameDataSize; ++i)
                reply[FrameDataOffset + i] = static_cast<std::uint8_t>(address + i);
        }
        reply[FrameCrcOffset] = FrameCrc(reply);
        return reply;
    }

    void* ReadPipe = reinterpret_cast<void*>(0x1000);
    void* WritePipe = reinterpret_cast<void*>(0x2000);
    std::string LastVidPid, LastEndpoint;
    std::uint32_t LastInstance = 99, LastReserved = 99;

private:
    TLinkLog& m_log;
    std::vector<TFrame> m_writes;
    int m_reads = 0;
};

// The event kinds alone, pauses with their length ("pause10"): the shape of an exchange.
inline std::vector<std::string> Shape(const TLinkLog& log) {
    std::vector<std::string> out;
    for (const auto& e : log)
        out.push_back(e.Kind == "pause" ? "pause" + std::to_string(e.Value) : e.Kind);
    return out;
}

inline std::vector<TFrame> WrittenFrames(const TLinkLog& log) {
    std::vector<TFrame> out;
    for (const auto& e : log)
        if (e.Kind == "write")
            out.push_back(e.Frame);
    return out;
}
