// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SampleText.h"

#include <charconv>

namespace {

// Zero-padded to width digits; wider values keep all their digits, as printf does.
void appendPadded(QString& out, int value, int width) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const int length = static_cast<int>(end - digits);
    if (value >= 0)
        for (int i = length; i < width; ++i)
            out += u'0';
    out += QLatin1StringView(digits, length);
}

} // namespace

QString SampleDate(int day, int month, int year) {
    QString text;
    text.reserve(10);
    appendPadded(text, day, 2);
    text += u'.';
    appendPadded(text, month, 2);
    text += u'.';
    appendPadded(text, year, 4);
    return text;
}

QString SampleTime(int hour, int minute, int second) {
    QString text;
    text.reserve(8);
    appendPadded(text, hour, 2);
    text += u':';
    appendPadded(text, minute, 2);
    text += u':';
    appendPadded(text, second, 2);
    return text;
}

QString SampleNumber(double value) {
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    return QString::fromLatin1(digits, static_cast<qsizetype>(result.ptr - digits));
}
