// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ValveCatalogue.h"

#include <cstdint>

// Where things live in the instrument. Configuration and project memory (commands 7 and 8):
inline constexpr std::uint32_t ConfigAddress = 256;
inline constexpr std::uint32_t ProjectHeaderAddress = 4096; // slot 0
inline constexpr std::uint32_t BranchesAddress = 4140;      // slot 0, right after its header
inline constexpr std::uint32_t ProjectSlotStride = 117044;  // header + 1500 branches
inline constexpr std::uint32_t MaxInstrumentBranches = 1500;

// Record and catalogue memory (command 21, read only):
inline constexpr std::uint32_t ManufacturerHeaderAddress = 0x158600;
inline constexpr std::uint32_t ManufacturerHeaderSize = 17;
inline constexpr std::uint32_t ManufacturerNamesAddress = 0x158640;
inline constexpr std::uint32_t ManufacturerNameSize = 16;
inline constexpr std::uint32_t ValvesAddress = 0x158840;
inline constexpr std::uint32_t ValveRecordSize = 126;
// MaxManufacturers and MaxValves: the catalogue tables' own limits.

inline constexpr std::uint32_t RecordAreaStart = 0x180000;
inline constexpr std::uint32_t RecordAreaEnd = 0x1CFFF0; // no step starts at or above it
inline constexpr std::uint32_t RecordStep = 52;
inline constexpr std::uint32_t MaxRecordSteps = 6302;
inline constexpr int RecordEndMarkBytes = 6; // a step starting with six 0xFF ends the records

static_assert(ProjectSlotStride == 44 + MaxInstrumentBranches * 78);
static_assert(BranchesAddress == ProjectHeaderAddress + 44);
static_assert(RecordAreaStart + (MaxRecordSteps - 1) * RecordStep < RecordAreaEnd);
static_assert(RecordAreaStart + MaxRecordSteps * RecordStep >= RecordAreaEnd);
