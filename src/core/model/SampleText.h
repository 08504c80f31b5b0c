// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts a sample is held as; the record file stores them as they stand.

// "%02i.%02i.%04i", day first.
QString SampleDate(int day, int month, int year);
// "%02i:%02i:%02i".
QString SampleTime(int hour, int minute, int second);
// "%f": six decimals with "." whatever the locale.
QString SampleNumber(double value);
