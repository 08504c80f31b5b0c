// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Clock.h"
#include "model/ProjectRecords.h"

// "day.month.year hh:mm" without leading zeros for day and month; the longest form fills the
// 16-byte field without a terminating zero.
QString LastChangeText(const QDateTime& when);
void StampLastChange(TProjectHeader& header, const IClock& clock);
