// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct TDriverFailure;
class TMessageCatalogue;

// What the user is told of a driver failure, with what to do about it. Empty for the failures the
// status line already explains (a time-out, a stall the driver cleared, a reply that was wrong).
QString DriverFailureMessage(const TDriverFailure& failure, const TMessageCatalogue& catalogue);
