// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

inline constexpr int MaxManufacturers = 16;
inline constexpr int MaxValves = 1000;

// The instrument's valve record; the bytes the program does not interpret are passed on unchanged.
#pragma pack(push, 1)
struct TValve {
    std::uint8_t Name[16];
    std::uint8_t Uninterpreted1[32];
    std::uint8_t Kind;
    std::uint8_t Uninterpreted2;
    float PresettingMin;
    float PresettingMax;
    std::uint8_t Uninterpreted3[68];
};

// Laid out as the two cache files: the first 289 bytes are manufacturers.bin, Valves is valves.bin.
struct TValveCatalogue {
    std::uint8_t ManufacturerCount;
    std::uint8_t TypeCounts[MaxManufacturers];
    std::uint8_t ManufacturerNames[MaxManufacturers + 1][16];
    TValve Valves[MaxValves];
};
#pragma pack(pop)

static_assert(sizeof(TValve) == 126);
static_assert(offsetof(TValve, Kind) == 48);
static_assert(offsetof(TValve, PresettingMin) == 50);
static_assert(offsetof(TValve, PresettingMax) == 54);
inline constexpr std::size_t ManufacturersFileSize = 289;
inline constexpr std::size_t ValvesFileSize = 126000;
static_assert(offsetof(TValveCatalogue, Valves) == ManufacturersFileSize);
static_assert(sizeof(TValveCatalogue::Valves) == ValvesFileSize);

// The lookups. They trust nothing the cache files or the instrument say: a manufacturer count above
// 16 or type counts adding up to more than 1000 are cut to what the tables hold.
int ManufacturerCountOf(const TValveCatalogue& catalogue);                  // M
int FirstValveOf(const TValveCatalogue& catalogue, int manufacturer);      // S(m)
int ValveCountOf(const TValveCatalogue& catalogue);                         // V
int TypeCountOf(const TValveCatalogue& catalogue, int manufacturer);
bool IsKnownValve(const TValveCatalogue& catalogue, int valveIndex);        // 0 <= i < V
int ManufacturerOfValve(const TValveCatalogue& catalogue, int valveIndex);
int TypeOfValve(const TValveCatalogue& catalogue, int valveIndex);
QString ManufacturerNameAt(const TValveCatalogue& catalogue, int manufacturer, int codePage);
QString ValveNameAt(const TValveCatalogue& catalogue, int valveIndex, int codePage);
bool KindHasPresetting(std::uint8_t kind);

// "( min to max )" with a "." whatever the locale.
QString PresettingHint(const TValve& valve);
// Both limits widened from single precision.
bool IsPresettingInRange(double value, const TValve& valve);

// The valve the branch page and the tree are working with, and the copy of its record whose limits
// the branch confirmation checks against.
struct TValveSelection {
    std::int32_t CurrentValve = 0;
    TValve Copy{};

    // m and t are the list selections (-1: none). Answers the new global index, or 0 when either
    // list has no selection or they name no valve; then nothing changes.
    int SelectValve(const TValveCatalogue& catalogue, int manufacturer, int type);
    QString ManufacturerName(const TValveCatalogue& catalogue, int codePage) const;
    QString ValveTypeName(const TValveCatalogue& catalogue, int codePage) const;
    bool HasPresetting(const TValveCatalogue& catalogue) const;
};
