// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DisplayNumber.h"

#include <charconv>
#include <cmath>

namespace {

std::optional<double> convert(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Digits with two or more separators among ".,:", like dates and times: no number in any locale
// that takes "." or "," as decimal separator, since no attempt leaves a single separator.
bool isDateOrTimeLike(QStringView text) {
    int separators = 0;
    bool colon = false;
    for (QChar c : text) {
        if (c == u'.' || c == u',' || c == u':') {
            ++separators;
            colon = colon || c == u':';
        } else if (!isDigit(c)) {
            return false;
        }
    }
    return separators >= 2 || (colon && separators >= 1);
}

} // namespace

std::optional<double> ReadPlainDecimal(QStringView text) {
    char ascii[64];
    if (text.isEmpty() || text.size() >= static_cast<qsizetype>(sizeof ascii))
        return std::nullopt;
    qsizetype i = 0;
    int length = 0;
    if (text[0] == u'-')
        ascii[length++] = '-', ++i;
    int before = 0;
    int after = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            (separator ? after : before) += 1;
            ascii[length++] = static_cast<char>(c.unicode());
        } else if ((c == u'.' || c == u',') && !separator) {
            separator = true;
            ascii[length++] = '.';
        } else {
            return std::nullopt;
        }
    }
    if (before == 0 || (separator && after == 0))
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(ascii, ascii + length, value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

TDisplayNumberReader::TDisplayNumberReader(const QLocale& locale) : m_strict(locale) {
    m_strict.setNumberOptions(QLocale::RejectGroupSeparator);
    const QString point = locale.decimalPoint();
    m_plainShortcut = (point == QLatin1String(".") || point == QLatin1String(",")) &&
                      locale.zeroDigit() == QLatin1String("0") && locale.negativeSign() == QLatin1String("-");
}

std::optional<double> TDisplayNumberReader::read(const QString& text) const {
    if (m_plainShortcut) {
        if (const auto value = ReadPlainDecimal(text))
            return value;
        if (text.isEmpty() || isDateOrTimeLike(text))
            return std::nullopt;
    }
    if (const auto value = convert(text, m_strict))
        return value;
    QString commas = text;
    commas.replace(u'.', u',');
    if (const auto value = convert(commas, m_strict))
        return value;
    commas.replace(u',', u'.');
    return convert(commas, m_strict);
}

std::optional<double> ReadDisplayNumber(const QString& text, const QLocale& locale) {
    return TDisplayNumberReader(locale).read(text);
}

QString FigureText(const std::optional<double>& value, int decimals, const QLocale& locale) {
    if (!value)
        return {};
    QString text = locale.toString(*value, 'f', decimals);
    text.remove(locale.groupSeparator());
    return text;
}
