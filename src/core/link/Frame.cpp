// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Frame.h"

#include "link/ProtocolError.h"

#include <algorithm>
#include <cstring>

std::uint8_t FrameCrc(const TFrame& frame) {
    std::uint16_t r = 0;
    for (int i = 1; i <= 62; ++i) {
        r = static_cast<std::uint16_t>(r | frame[i]);
        for (int bit = 0; bit < 8; ++bit) {
            if (r & 0x8000u)
                r = static_cast<std::uint16_t>((r << 1) ^ 0xA300u);
            else
                r = static_cast<std::uint16_t>(r << 1);
        }
    }
    return static_cast<std::uint8_t>(r >> 8);
}

TFrame BuildRequest(std::uint8_t slave, std::uint8_t command, std::uint8_t p1, std::uint8_t p2,
                    std::uint8_t p3, std::uint32_t address, const std::uint8_t* data52,
                    std::uint32_t dataLength) {
    TFrame frame{};
    frame[0] = FrameStartMark;
    frame[1] = MasterAddress;
    frame[2] = slave;
    frame[3] = command;
    frame[4] = p1;
    frame[5] = p2;
    frame[6] = p3;
    for (int i = 0; i < 4; ++i)
        frame[FrameAddressOffset + i] = static_cast<std::uint8_t>(address >> (8 * i));
    if (data52)
        std::memcpy(frame.data() + FrameDataOffset, data52, std::min(dataLength, FrameDataSize));
    frame[FrameCrcOffset] = FrameCrc(frame);
    return frame;
}

void ValidateReply(const TFrame& request, const TFrame& reply) {
    if (reply[3] != request[3])
        throw TProtocolError("Error command number");
    if (reply[1] != request[1])
        throw TProtocolError("Error master adr");
    if (reply[2] != request[2] && request[2] != SlaveAny)
        throw TProtocolError("Error slave adr");
    if (FrameCrc(reply) != reply[FrameCrcOffset])
        throw TProtocolError("Error CRC");
}
