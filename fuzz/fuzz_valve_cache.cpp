// SPDX-License-Identifier: GPL-3.0-or-later
// The two valve cache files (the first 289 bytes are manufacturers.bin, the rest valves.bin), with
// every lookup the windows and the branch checks make on the catalogue.
#include "FuzzInput.h"

#include "files/ValveCache.h"

#include <algorithm>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    auto catalogue = std::make_unique<TValveCatalogue>();
    LoadValveCacheBytes(bytes.left(ManufacturersFileSize), bytes.mid(ManufacturersFileSize), *catalogue);
    const TValveCatalogue& c = *catalogue;
    const int codePage = c.ManufacturerNames[0][0] % 13;

    const int manufacturers = ManufacturerCountOf(c);
    const int valves = ValveCountOf(c);
    FUZZ_CHECK(manufacturers >= 0 && manufacturers <= MaxManufacturers);
    FUZZ_CHECK(valves >= 0 && valves <= MaxValves);
    for (int m = -1; m <= MaxManufacturers + 1; ++m) {
        ManufacturerNameAt(c, m, codePage);
        const int first = FirstValveOf(c, m);
        const int types = TypeCountOf(c, m);
        FUZZ_CHECK(types >= 0 && (types == 0 || (first >= 0 && first + types <= valves)));
    }
    const double probes[] = {-1.0, 0.0, 0.5, 1.0, 7.5, 1e9};
    for (int v = -2; v <= std::max(valves, 2) + 1; ++v) {
        const bool known = IsKnownValve(c, v);
        FUZZ_CHECK(known == (v >= 0 && v < valves));
        const int m = ManufacturerOfValve(c, v);
        const int t = TypeOfValve(c, v);
        if (known) {
            FUZZ_CHECK(m >= 0 && m < manufacturers && t >= 0 && t < TypeCountOf(c, m));
            FUZZ_CHECK(FirstValveOf(c, m) + t == v);
        }
        ValveNameAt(c, v, codePage);
        if (v >= 0 && v < MaxValves) {
            const TValve& valve = c.Valves[v];
            KindHasPresetting(valve.Kind);
            PresettingHint(valve);
            for (const double value : probes)
                IsPresettingInRange(value, valve);
        }
    }
    TValveSelection selection;
    for (int m = -1; m <= manufacturers; ++m) {
        for (int t = -1; t <= TypeCountOf(c, std::max(m, 0)); ++t) {
            const int chosen = selection.SelectValve(c, m, t);
            FUZZ_CHECK(chosen == 0 || IsKnownValve(c, chosen));
            selection.ManufacturerName(c, codePage);
            selection.ValveTypeName(c, codePage);
            selection.HasPresetting(c);
        }
    }
    return 0;
}
