// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/SampleValue.h"

#include "model/ParseNumber.h"
#include "model/DisplayNumber.h"

#include <cmath>

double SampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale) {
    if (reader.plainShortcut())
        if (const auto value = ReadPlainDecimal(text); value && std::fabs(*value) <= 3.4e38)
            return static_cast<double>(static_cast<float>(*value));
    return ParseNumber(text, locale);
}

double HeldSampleValue(const QString& text, const TDisplayNumberReader& reader, const QLocale& locale) {
    // The "%f" texts samples are held as read without asking the locale; a plain decimal with a comma
    // ("1234,567", from a hand-edited file) means the same number.
    if (reader.plainShortcut())
        if (const auto value = ReadPlainDecimal(text); value && std::fabs(*value) <= 3.4e38)
            return *value;
    const std::optional<double> shown = TryParseNumber(text, locale);
    if (!shown)
        return 0.0;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : *shown;
}
