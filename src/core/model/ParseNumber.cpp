// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ParseNumber.h"

#include <cmath>

namespace {

// Largest magnitude accepted; a little under the float limit so that rounding never overflows.
constexpr double singleRangeLimit = 3.4e38;

std::optional<double> convertSingle(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > singleRangeLimit)
        return std::nullopt;
    return static_cast<double>(static_cast<float>(value));
}

} // namespace

std::optional<double> TryParseNumber(const QString& text, const QLocale& locale) {
    // A thousands separator would make "1.234" mean 1234 in one locale and 1.234 in another.
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);

    if (const auto value = convertSingle(text, strict))
        return *value;
    QString commas = text;
    commas.replace(u'.', u',');
    if (const auto value = convertSingle(commas, strict))
        return *value;
    QString points = commas;
    points.replace(u',', u'.');
    return convertSingle(points, strict);
}

double ParseNumber(const QString& text, const QLocale& locale) {
    return TryParseNumber(text, locale).value_or(0.0);
}
