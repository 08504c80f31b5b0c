// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DriverContract.h"

#include <dlfcn.h>

// The entry points of one opened driver library, typed from the contract's own prototypes.
struct TDriverEntryPoints {
#define ZRV_ENTRY_FIELD(exported, field) decltype(&exported) field = nullptr;
    ZRV_DRIVER_ENTRY_POINTS(ZRV_ENTRY_FIELD)
#undef ZRV_ENTRY_FIELD
    // Optional: null when the library does not say why it fails.
    decltype(&ZrvDriverLastFailure) LastFailure = nullptr;
};

// Resolves the nine in their fixed order, stopping at the first one missing; answers its name, or
// null when all nine resolved.
inline const char* ResolveDriverEntryPoints(void* library, TDriverEntryPoints& entries) {
#define ZRV_ENTRY_RESOLVE(exported, field)                                                                   \
    entries.field = reinterpret_cast<decltype(&exported)>(dlsym(library, #exported));                        \
    if (!entries.field)                                                                                      \
        return #exported;
    ZRV_DRIVER_ENTRY_POINTS(ZRV_ENTRY_RESOLVE)
#undef ZRV_ENTRY_RESOLVE
    entries.LastFailure =
        reinterpret_cast<decltype(&ZrvDriverLastFailure)>(dlsym(library, "ZrvDriverLastFailure"));
    return nullptr;
}
