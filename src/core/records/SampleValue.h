// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

class TDisplayNumberReader;

// A sample's pressure or flow text as a number: what ParseNumber gives (single precision, 0 for
// text that is no number), without its locale round trips for the "%f" texts samples are held as.
// `reader` is made for `locale`.
double SampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale);

// The same text in full precision, as the analysis export and the statistics take it: the text's own
// double where it reads as one, else what the table shows (0 for text that is no number, also "nan",
// "inf" and values beyond single precision).
double HeldSampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale);
