#include "records/DisplayNumber.h"

#include <cmath>

namespace {

std::optional<double> convert(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> ReadDisplayNumber(const QString& text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    if (const auto value = convert(text, strict))
        return value;
    QString commas = text;
    commas.replace(u'.', u',');
    if (const auto value = convert(commas, strict))
        return value;
    commas.replace(u',', u'.');
    return convert(commas, strict);
}
