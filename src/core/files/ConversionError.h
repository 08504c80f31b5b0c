// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

// Thrown by the loader's integer Get operations (and by readers) on text that is not an integer;
// what() is an English sentence naming the element and its text, e.g.
// `"Branch_Count" holds "1.5", which is not a whole number`.
struct TConversionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
