#pragma once

#include "model/ValveCatalogue.h"

#include <QString>

inline constexpr const char* ManufacturersCacheName = "manufacturers.bin";
inline constexpr const char* ValvesCacheName = "valves.bin";

// Reads the two cache files of `directory` into the catalogue. Short files leave the bytes they lack
// as they were; when either file cannot be opened or read the catalogue is left wholly unchanged.
bool LoadValveCache(const QString& directory, TValveCatalogue& catalogue);
