// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/InstrumentText.h"
#include "model/ValveCatalogue.h"

#include <QString>

// Manufacturer 0 "Alpha": valve 0 "A1" with presetting 0.5..8, valve 1 "A2" without;
// manufacturer 1 "Beta": valve 2 "B1" with presetting 1..5.
inline void fillCatalogue(TValveCatalogue& c) {
    c = TValveCatalogue{};
    c.ManufacturerCount = 2;
    c.TypeCounts[0] = 2;
    c.TypeCounts[1] = 1;
    EncodeInstrumentText(QStringLiteral("Alpha"), c.ManufacturerNames[0], 16, 0);
    EncodeInstrumentText(QStringLiteral("Beta"), c.ManufacturerNames[1], 16, 0);
    auto valve = [&c](int i, const char* name, std::uint8_t kind, float min, float max) {
        EncodeInstrumentText(QString::fromLatin1(name), c.Valves[i].Name, 16, 0);
        c.Valves[i].Kind = kind;
        c.Valves[i].PresettingMin = min;
        c.Valves[i].PresettingMax = max;
    };
    valve(0, "A1", 0, 0.5f, 8.0f);
    valve(1, "A2", 2, 0, 0);
    valve(2, "B1", 1, 1.0f, 5.0f);
}
