// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// What a cell's number format makes of its number: a date, a time of day, both, or a plain number.
enum class TDateKind { None, Date, Time, DateTime };

// From the format's built-in id (14..22, 45..47 and the East Asian date ids) or, for a format of
// the workbook's own, from its code: date or time letters outside quoted texts and brackets.
TDateKind DateKindOfNumberFormat(int numFmtId, const QString& formatCode);

// A serial day number of the 1900 date system (which counts a 29 February 1900 that never was)
// or of the 1904 system, to the second. Nothing for negative or absurd serials.
std::optional<QDateTime> SerialDateTime(double serial, bool date1904);

// The text the spreadsheet program shows for a date or time cell: the locale's short forms.
QString DateTimeCellText(const QDateTime& value, TDateKind kind, const QLocale& locale);
