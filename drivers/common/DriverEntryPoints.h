// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DriverContract.h"

// The entry points of one opened driver library, typed from the contract's own prototypes.
struct TDriverEntryPoints {
#define ZRV_ENTRY_FIELD(exported, field) decltype(&exported) field = nullptr;
    ZRV_DRIVER_ENTRY_POINTS(ZRV_ENTRY_FIELD)
#undef ZRV_ENTRY_FIELD
    // Optional: null when the library does not say why it fails.
    decltype(&ZrvDriverLastFailure) LastFailure = nullptr;
};

// Resolves the nine in their fixed order through resolve(name) (the loader's symbol look-up, null when
// missing), stopping at the first one missing; answers its name, or null when all nine resolved.
template <typename Resolve>
const char* ResolveDriverEntryPoints(Resolve&& resolve, TDriverEntryPoints& entries) {
#define ZRV_ENTRY_RESOLVE(exported, field)                                                                   \
    entries.field = reinterpret_cast<decltype(&exported)>(resolve(#exported));                               \
    if (!entries.field)                                                                                      \
        return #exported;
    ZRV_DRIVER_ENTRY_POINTS(ZRV_ENTRY_RESOLVE)
#undef ZRV_ENTRY_RESOLVE
    entries.LastFailure = reinterpret_cast<decltype(&ZrvDriverLastFailure)>(resolve("ZrvDriverLastFailure"));
    return nullptr;
}
