// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/MemoryMap.h"

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the instrument's images are little-endian");

// The instrument's configuration block, moved whole as a byte image. Bytes the program does not
// interpret go back exactly as they were read.
#pragma pack(push, 1)
struct TDeviceConfig {
    std::uint8_t Reserved1[48];
    std::uint16_t InstrumentCodePage; // character table of the instrument's texts
    std::uint16_t ActiveProject;
    std::uint16_t ProjectCount;
    std::uint8_t Reserved2[46];
};
#pragma pack(pop)

static_assert(sizeof(TDeviceConfig) == 100);
static_assert(offsetof(TDeviceConfig, InstrumentCodePage) == 48);
static_assert(offsetof(TDeviceConfig, ActiveProject) == 50);
static_assert(offsetof(TDeviceConfig, ProjectCount) == 52);

inline constexpr std::uint32_t DeviceConfigSize = sizeof(TDeviceConfig);

// Only slot 0 is used: applied to the copy after every read, so every block written back says one
// project, slot 0 active.
void ApplyConfigLimits(TDeviceConfig& config);
