// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The instrument's side of the 64-byte frames. The driver libraries see nothing of the program's
// core, so the simulator keeps its own copy of the frame layout and the check value.
using TSimFrame = std::array<std::uint8_t, 64>;

namespace SimFrame {
inline constexpr std::uint8_t StartMark = 0xA5;
inline constexpr std::uint8_t SlaveAny = 254;     // every slave answers
inline constexpr std::uint8_t SlaveNoReply = 253; // every slave acts, none answers
inline constexpr std::uint8_t CommandPing = 4;
inline constexpr std::uint8_t CommandReadMemory = 7;
inline constexpr std::uint8_t CommandWriteMemory = 8;
inline constexpr std::uint8_t CommandReadData = 21;
inline constexpr int MasterOffset = 1;
inline constexpr int SlaveOffset = 2;
inline constexpr int CommandOffset = 3;
inline constexpr int LengthOffset = 4;
inline constexpr int AddressOffset = 7;
inline constexpr int DataOffset = 11;
inline constexpr std::uint32_t DataSize = 52;
inline constexpr int CheckOffset = 63;
} // namespace SimFrame

// Check value over bytes 1..62: CRC-8 with polynomial 0xA3, initial 0, no augmentation.
std::uint8_t SimFrameCrc(const TSimFrame& frame);
