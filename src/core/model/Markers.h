// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Values with a meaning of their own in the floating fields of a branch. They are stored as they
// stand in project files and on the instrument, so they must never change.

// A flow or pressure that was never measured or entered; shown as an empty text.
constexpr double NoValue = -9999999.0;
// A presetting nothing was entered for; shown as an empty text.
constexpr double PresettingEmpty = -1000.0;
// A valve that has no presetting; shown as the word "None".
constexpr double PresettingNone = -1.0;

// Slots of a project; the instrument has room for no more.
constexpr int MaxBranches = 1500;
