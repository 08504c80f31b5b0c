// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/ValveCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

// Cache files with one manufacturer "Acme" and its one valve "V15", so that a window starts without
// asking for the instrument.
inline void WriteOneValveCache(const QString& cacheDir) {
    auto catalogue = std::make_unique<TValveCatalogue>();
    std::memset(catalogue.get(), 0, sizeof(TValveCatalogue));
    catalogue->ManufacturerCount = 1;
    catalogue->TypeCounts[0] = 1;
    std::memcpy(catalogue->ManufacturerNames[0], "Acme", 4);
    std::memcpy(catalogue->Valves[0].Name, "V15", 3);
    ASSERT_TRUE(SaveValveCache(cacheDir, *catalogue));
}
