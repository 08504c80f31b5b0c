// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

class TDisplayNumberReader;

// A sample's pressure or flow text as a number: what ParseNumber gives (single precision, 0 for
// text that is no number), without its locale round trips for the "%f" texts samples are held as.
// `reader` is made for `locale`.
double SampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale);
