// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The 64-byte frames exchanged with the instrument; pure byte work, no driver.
using TFrame = std::array<std::uint8_t, 64>;

inline constexpr std::uint8_t FrameStartMark = 0xA5;
inline constexpr std::uint8_t MasterAddress = 0xFF;
// Accepts a reply from any slave.
inline constexpr std::uint8_t SlaveAny = 254;
// Sends without awaiting a reply.
inline constexpr std::uint8_t SlaveNoReply = 253;

inline constexpr std::uint8_t CommandPing = 4;
inline constexpr std::uint8_t CommandReadMemory = 7;
inline constexpr std::uint8_t CommandWriteMemory = 8;
inline constexpr std::uint8_t CommandReadData = 21;

inline constexpr int FrameAddressOffset = 7;
inline constexpr int FrameDataOffset = 11;
inline constexpr std::uint32_t FrameDataSize = 52;
inline constexpr int FrameCrcOffset = 63;

// Check value over bytes 1..62: CRC-8 with polynomial 0xA3, initial 0, no augmentation.
std::uint8_t FrameCrc(const TFrame& frame);

// A complete request with its check value. dataLength bytes (at most 52) come from data52, the rest of
// the data field is zero; a null data52 sends zeros.
TFrame BuildRequest(std::uint8_t slave, std::uint8_t command, std::uint8_t p1, std::uint8_t p2,
                    std::uint8_t p3, std::uint32_t address, const std::uint8_t* data52,
                    std::uint32_t dataLength = FrameDataSize);

// Throws TProtocolError with the first failing check: command, master address, slave address (unless
// the request went to SlaveAny), check value.
void ValidateReply(const TFrame& request, const TFrame& reply);
