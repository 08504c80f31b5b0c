// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/Frame.h"
#include "link/Pause.h"
#include "link/UsbDriver.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// An instrument whose replies come from the fuzzer's input, read by read. Each reply costs one
// control byte and then:
//   0xFF: the whole 64-byte frame as it stands (missing bytes are zero);
//   else: 52 bytes for the data field of an otherwise valid echo of the request, then bent by the
//         control bits: 1 wrong command, 2 wrong master, 4 wrong slave, 8 stale check value,
//         16 the read fails.
// When the input is used up every read fails, so each operation ends.
class TFuzzedInstrument final : public IUsbDriver {
public:
    static constexpr std::uint8_t RawReply = 0xFF;
    static constexpr std::size_t ReplyBytes = 1 + FrameDataSize;

    TFuzzedInstrument(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint32_t GetDeviceCount(const char*) override { return 1; }
    void* Open(std::uint32_t, const char*, const char*, std::uint32_t direction, std::uint32_t) override {
        return reinterpret_cast<void*>(static_cast<std::uintptr_t>(direction == PipeDirectionRead ? 1 : 2));
    }
    std::uint32_t Write(void*, const void* data, std::uint32_t length, std::uint32_t* sent,
                        std::uint32_t) override {
        if (length == m_request.size())
            std::memcpy(m_request.data(), data, length);
        *sent = length;
        return 1;
    }
    std::uint32_t Close(void*) override { return 1; }

    std::uint32_t Read(void*, void* data, std::uint32_t length, std::uint32_t* received,
                       std::uint32_t) override {
        if (m_pos >= m_size || length < 64)
            return 0;
        const std::uint8_t control = m_data[m_pos++];
        TFrame reply{};
        if (control == RawReply) {
            take(reply.data(), reply.size());
        } else {
            reply = m_request;
            reply[2] = m_request[2] == SlaveAny ? 1 : m_request[2];
            take(reply.data() + FrameDataOffset, FrameDataSize);
            reply[FrameCrcOffset] = FrameCrc(reply);
            if (control & 1)
                reply[3] ^= 0x40;
            if (control & 2)
                reply[1] ^= 0x01;
            if (control & 4)
                reply[2] ^= 0x80;
            if (!(control & 8))
                reply[FrameCrcOffset] = FrameCrc(reply);
            if (control & 16)
                return 0;
        }
        std::memcpy(data, reply.data(), reply.size());
        *received = static_cast<std::uint32_t>(reply.size());
        return 1;
    }

private:
    void take(std::uint8_t* into, std::size_t count) {
        const std::size_t n = std::min(count, m_size - m_pos);
        std::memcpy(into, m_data + m_pos, n);
        m_pos += n;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    TFrame m_request{};
};

class TNoPause final : public IPause {
public:
    void pauseMs(int) override {}
};
