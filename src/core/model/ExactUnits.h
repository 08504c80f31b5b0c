// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Conversions into the user's units for data handed to other programs. The display factors of
// Units.h are single-precision values (what other installations show), whose error shows in the
// full precision of an export: 12400 Pa gives 12.400000588968396 kPa. These use the nominal decimal
// factors the display factors were rounded from, so that 12400 Pa gives 12.4 kPa. An index outside
// the tables converts with factor 1, as the display does.
double ToFlowUnitExactly(double litresPerHour, std::int32_t unit);
double ToPressureUnitExactly(double pascal, std::int32_t unit);
