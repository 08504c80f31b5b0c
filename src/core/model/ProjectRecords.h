// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Markers.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "the records are the instrument's little-endian bytes and are used in place");

inline constexpr int NameFieldSize = 16;
inline constexpr std::uint16_t StateLocked = 0x80;

// The instrument's own byte layout: these records are copied unchanged to and from its memory,
// so they must stay packed and must not gain members.
#pragma pack(push, 1)
struct TProjectHeader {
    std::uint8_t Name[NameFieldSize];
    std::uint16_t State;
    std::int16_t Branch_Count;
    std::uint8_t Reserved[8];
    std::uint8_t Last_Change[NameFieldSize];
};

struct TBranch {
    std::uint8_t Name[NameFieldSize];
    std::uint16_t Reserved;
    std::uint16_t Valve_Index;
    std::uint16_t Valve_Chksm;
    double Request_Flow;
    double Initial_Presetting;
    double Initial_Pressure;
    double Initial_Flow;
    double Final_Presetting;
    double Final_Pressure;
    double Final_Flow;
};
#pragma pack(pop)

static_assert(sizeof(TProjectHeader) == 44);
static_assert(offsetof(TProjectHeader, State) == 16);
static_assert(offsetof(TProjectHeader, Branch_Count) == 18);
static_assert(offsetof(TProjectHeader, Reserved) == 20);
static_assert(offsetof(TProjectHeader, Last_Change) == 28);
static_assert(sizeof(TBranch) == 78);
static_assert(offsetof(TBranch, Reserved) == 16);
static_assert(offsetof(TBranch, Valve_Index) == 18);
static_assert(offsetof(TBranch, Valve_Chksm) == 20);
static_assert(offsetof(TBranch, Request_Flow) == 22);
static_assert(offsetof(TBranch, Initial_Presetting) == 30);
static_assert(offsetof(TBranch, Initial_Pressure) == 38);
static_assert(offsetof(TBranch, Initial_Flow) == 46);
static_assert(offsetof(TBranch, Final_Presetting) == 54);
static_assert(offsetof(TBranch, Final_Pressure) == 62);
static_assert(offsetof(TBranch, Final_Flow) == 70);

// The one project in memory. Slots at and beyond Branch_Count keep what they held and are never
// shown, saved or transferred.
struct TProject {
    TProjectHeader Header{};
    std::array<TBranch, MaxBranches> Branches{};
    // The character table (instrument code page) its names' bytes are in. Set when the project is
    // made, opened, read or imported, and kept through every edit: a change of language or a read of
    // the instrument's configuration must not make other characters of the same bytes.
    int NamesCodePage = 0;

    // Branch_Count as a safe loop bound, whatever a file or the instrument put there.
    int branchCount() const;
    bool isLocked() const { return (Header.State & StateLocked) != 0; }
};

// A blank project as New leaves it: zero header, no branches.
void ResetProjectHeader(TProjectHeader& header);
