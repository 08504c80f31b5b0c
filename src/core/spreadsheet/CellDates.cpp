// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/CellDates.h"

#include <cmath>

TDateKind DateKindOfNumberFormat(int numFmtId, const QString& formatCode) {
    if ((numFmtId >= 14 && numFmtId <= 17) || (numFmtId >= 27 && numFmtId <= 31) ||
        (numFmtId >= 34 && numFmtId <= 36) || (numFmtId >= 50 && numFmtId <= 58))
        return TDateKind::Date;
    if ((numFmtId >= 18 && numFmtId <= 21) || (numFmtId >= 32 && numFmtId <= 33) ||
        (numFmtId >= 45 && numFmtId <= 47))
        return TDateKind::Time;
    if (numFmtId == 22)
        return TDateKind::DateTime;
    bool date = false;
    bool time = false;
    bool month = false;
    // Only the first section (positive numbers) decides.
    for (qsizetype i = 0; i < formatCode.size(); ++i) {
        const QChar c = formatCode[i].toLower();
        if (c == u';')
            break;
        if (c == u'"') {
            while (++i < formatCode.size() && formatCode[i] != u'"') {
            }
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = formatCode.indexOf(u']', i);
            const QString inside = formatCode.mid(i + 1, end < 0 ? -1 : end - i - 1).toLower();
            // Elapsed hours, minutes or seconds; colours and conditions say nothing.
            if (!inside.isEmpty() && (inside[0] == u'h' || inside[0] == u'm' || inside[0] == u's') &&
                inside.count(inside[0]) == inside.size())
                time = true;
            if (end < 0)
                break;
            i = end;
        } else if (c == u'y' || c == u'd') {
            date = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u'm') {
            month = true;
        }
    }
    // "m" is the minute next to hours or seconds, the month otherwise.
    if (month && !time)
        date = true;
    if (date && time)
        return TDateKind::DateTime;
    return date ? TDateKind::Date : time ? TDateKind::Time : TDateKind::None;
}

std::optional<QDateTime> SerialDateTime(double serial, bool date1904) {
    // 9999-12-31 is the last day either system can show.
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466)
        return std::nullopt;
    qint64 seconds = qint64(std::llround(serial * 86400.0));
    const qint64 days = seconds / 86400;
    seconds %= 86400;
    QDate base;
    if (date1904)
        base = QDate(1904, 1, 1);
    else if (days >= 61 || days == 0)
        base = QDate(1899, 12, 30); // from 1 March 1900 on the count includes the phantom day
    else
        base = QDate(1899, 12, 31);
    return QDateTime(base.addDays(days), QTime(0, 0).addSecs(int(seconds)));
}

QString DateTimeCellText(const QDateTime& value, TDateKind kind, const QLocale& locale) {
    switch (kind) {
    case TDateKind::Date:
        return locale.toString(value.date(), QLocale::ShortFormat);
    case TDateKind::Time:
        return locale.toString(value.time(), QLocale::ShortFormat);
    case TDateKind::DateTime:
        return locale.toString(value.date(), QLocale::ShortFormat) + u' ' +
               locale.toString(value.time(), QLocale::ShortFormat);
    case TDateKind::None:
        break;
    }
    return {};
}
