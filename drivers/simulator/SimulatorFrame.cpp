// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/SimulatorFrame.h"

std::uint8_t SimFrameCrc(const TSimFrame& frame) {
    std::uint16_t r = 0;
    for (int i = 1; i <= 62; ++i) {
        r = static_cast<std::uint16_t>(r | frame[static_cast<std::size_t>(i)]);
        for (int bit = 0; bit < 8; ++bit)
            r = (r & 0x8000) ? static_cast<std::uint16_t>((r << 1) ^ 0xA300)
                             : static_cast<std::uint16_t>(r << 1);
    }
    return static_cast<std::uint8_t>(r >> 8);
}
