// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ValveCatalogue.h"

#include "model/InstrumentText.h"

#include <algorithm>

int ManufacturerCountOf(const TValveCatalogue& catalogue) {
    return std::min<int>(catalogue.ManufacturerCount, MaxManufacturers);
}

int FirstValveOf(const TValveCatalogue& catalogue, int manufacturer) {
    const int m = std::clamp(manufacturer, 0, MaxManufacturers);
    int sum = 0;
    for (int k = 0; k < m; ++k)
        sum += catalogue.TypeCounts[k];
    return sum;
}

int ValveCountOf(const TValveCatalogue& catalogue) {
    return std::min(FirstValveOf(catalogue, ManufacturerCountOf(catalogue)), MaxValves);
}

int TypeCountOf(const TValveCatalogue& catalogue, int manufacturer) {
    if (manufacturer < 0 || manufacturer >= ManufacturerCountOf(catalogue))
        return 0;
    const int first = FirstValveOf(catalogue, manufacturer);
    return std::clamp(MaxValves - first, 0, int{catalogue.TypeCounts[manufacturer]});
}

bool IsKnownValve(const TValveCatalogue& catalogue, int valveIndex) {
    return valveIndex >= 0 && valveIndex < ValveCountOf(catalogue);
}

int ManufacturerOfValve(const TValveCatalogue& catalogue, int valveIndex) {
    if (!IsKnownValve(catalogue, valveIndex))
        return 0;
    const int count = ManufacturerCountOf(catalogue);
    for (int m = 0; m < count; ++m)
        if (valveIndex < FirstValveOf(catalogue, m + 1))
            return m;
    return 0;
}

int TypeOfValve(const TValveCatalogue& catalogue, int valveIndex) {
    if (!IsKnownValve(catalogue, valveIndex))
        return 0;
    return valveIndex - FirstValveOf(catalogue, ManufacturerOfValve(catalogue, valveIndex));
}

QString ManufacturerNameAt(const TValveCatalogue& catalogue, int manufacturer, int codePage) {
    if (manufacturer < 0 || manufacturer >= ManufacturerCountOf(catalogue))
        return {};
    return DecodeInstrumentText(catalogue.ManufacturerNames[manufacturer], 16, codePage);
}

QString ValveNameAt(const TValveCatalogue& catalogue, int valveIndex, int codePage) {
    if (!IsKnownValve(catalogue, valveIndex))
        return {};
    return DecodeInstrumentText(catalogue.Valves[valveIndex].Name, 16, codePage);
}

bool KindHasPresetting(std::uint8_t kind) {
    switch (kind) {
    case 0:
    case 1:
    case 4:
    case 5:
    case 6:
    case 8:
    case 10:
    case 11:
    case 12:
    case 13:
    case 15:
    case 16:
        return true;
    default:
        return false;
    }
}

QString PresettingHint(const TValve& valve) {
    return QString::asprintf("( %4.2f to %4.2f )", static_cast<double>(valve.PresettingMin),
                             static_cast<double>(valve.PresettingMax));
}

bool IsPresettingInRange(double value, const TValve& valve) {
    return static_cast<double>(valve.PresettingMin) <= value && value <= static_cast<double>(valve.PresettingMax);
}

int TValveSelection::SelectValve(const TValveCatalogue& catalogue, int manufacturer, int type) {
    if (manufacturer < 0 || type < 0 || type >= TypeCountOf(catalogue, manufacturer))
        return 0;
    CurrentValve = FirstValveOf(catalogue, manufacturer) + type;
    Copy = catalogue.Valves[CurrentValve];
    return CurrentValve;
}

QString TValveSelection::ManufacturerName(const TValveCatalogue& catalogue, int codePage) const {
    if (!IsKnownValve(catalogue, CurrentValve))
        return {};
    return ManufacturerNameAt(catalogue, ManufacturerOfValve(catalogue, CurrentValve), codePage);
}

QString TValveSelection::ValveTypeName(const TValveCatalogue& catalogue, int codePage) const {
    return ValveNameAt(catalogue, CurrentValve, codePage);
}

bool TValveSelection::HasPresetting(const TValveCatalogue& catalogue) const {
    return IsKnownValve(catalogue, CurrentValve) && KindHasPresetting(catalogue.Valves[CurrentValve].Kind);
}
