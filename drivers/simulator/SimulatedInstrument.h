// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulator/SimulatorFrame.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// What can go wrong with one exchange. NoReply loses the request: the instrument neither acts nor
// answers. The others corrupt the reply of a request that was carried out, as a disturbed line
// would; the check value is recomputed except for BadCheckValue, so each fault shows on its own.
enum class TReplyFault { None, NoReply, WrongCommand, WrongMaster, WrongSlave, BadCheckValue };

struct TRecordedRequest {
    TSimFrame Frame;
    std::chrono::microseconds Time;
};

// Where the request log takes its times from; tests pass a clock their fake pauses advance.
using TSimClock = std::function<std::chrono::microseconds()>;

// The instrument: its two memories as byte images and its answers to the four commands. It holds
// only the address ranges the program can reach; a command that reaches outside them, asks for
// more than one frame's data or is not addressed to this instrument gets no answer.
class TSimulatedInstrument {
public:
    // Configuration block at 256, project slot 0 at 4096..121139.
    static constexpr std::uint32_t ConfigMemorySize = 0x20000;
    // Catalogue from 0x158600, records up to the last step's bytes below 0x1D0018.
    static constexpr std::uint32_t DataMemoryBase = 0x158000;
    static constexpr std::uint32_t DataMemorySize = 0x80000;
    static constexpr std::uint8_t DefaultSlaveAddress = 1;

    // Configuration memory starts zero, the record and catalogue memory erased (0xFF).
    explicit TSimulatedInstrument(TSimClock clock = {});

    // Byte access for content, images and tests; false (and nothing touched) outside the memory.
    bool readConfig(std::uint32_t address, void* destination, std::uint32_t count) const;
    bool writeConfig(std::uint32_t address, const void* source, std::uint32_t count);
    bool readData(std::uint32_t address, void* destination, std::uint32_t count) const;
    bool writeData(std::uint32_t address, const void* source, std::uint32_t count);
    std::span<std::uint8_t> configMemory() { return m_config; }
    std::span<const std::uint8_t> configMemory() const { return m_config; }
    std::span<std::uint8_t> dataMemory() { return m_data; }
    std::span<const std::uint8_t> dataMemory() const { return m_data; }

    std::uint8_t slaveAddress() const { return m_slaveAddress; }
    void setSlaveAddress(std::uint8_t address) { m_slaveAddress = address; }

    // One request arriving from the program. False when no instrument is there to take it.
    bool receive(const TSimFrame& request);
    // The answer waiting for the program, handed out once; a new request drops an unread one.
    std::optional<TSimFrame> takeReply();

    // Called after each memory write has been stored; answering false undoes the write and the
    // instrument stays silent, so a write that could not be kept is never acknowledged.
    void setWriteHook(std::function<bool()> hook) { m_writeHook = std::move(hook); }

    // Faults. Frames are numbered from 1 in the order they arrive (see framesReceived()).
    void injectFault(TReplyFault fault, std::uint64_t frame);
    void injectFaultFrom(TReplyFault fault, std::uint64_t firstFrame);
    void clearFaults();
    // Answers `frames` more requests, then is gone: no device, no pipes, no exchanges.
    void unplugAfter(std::uint64_t frames);
    // A cell of configuration memory that does not keep what is written to it: a memory write covering
    // `address` stores that byte inverted (and is still acknowledged). nullopt: every cell sound.
    void setFaultyCell(std::optional<std::uint32_t> address) { m_faultyCell = address; }
    // No instrument at all (false) or one plugged in again (true, clearing an unplug).
    void setPresent(bool present);
    bool isAttached() const;

    // Every request that reached the instrument, with its arrival time.
    std::uint64_t framesReceived() const { return m_framesReceived; }
    const std::vector<TRecordedRequest>& requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }
    // A long-running library keeps no log.
    void setRecording(bool recording) { m_recording = recording; }

private:
    struct TFaultRule {
        TReplyFault Fault;
        std::uint64_t First;
        std::uint64_t Last;
    };

    TReplyFault faultFor(std::uint64_t frame) const;
    bool execute(const TSimFrame& request, TSimFrame& reply);

    std::vector<std::uint8_t> m_config;
    std::vector<std::uint8_t> m_data;
    TSimClock m_clock;
    std::function<bool()> m_writeHook;
    std::vector<TFaultRule> m_faults;
    std::vector<TRecordedRequest> m_requests;
    std::optional<TSimFrame> m_reply;
    std::uint64_t m_framesReceived = 0;
    std::optional<std::uint64_t> m_unplugAt;
    std::optional<std::uint32_t> m_faultyCell;
    std::uint8_t m_slaveAddress = DefaultSlaveAddress;
    bool m_present = true;
    bool m_recording = true;
};
