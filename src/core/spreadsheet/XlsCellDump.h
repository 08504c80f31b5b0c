// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <utility>

// The cells of one legacy worksheet as the reading helper process hands them back: a header
// line, one line per cell that holds a value, and an end line, so that a helper that died on the
// way is never taken for an empty sheet. Lines are UTF-8; tab, line breaks and backslash in a
// text are escaped.
enum class TXlsCellType : char {
    Integer = 'i',
    Double = 'd',
    Text = 't',
    Date = 'D',     // "YYYY-MM-DD"
    DateTime = 'T', // "YYYY-MM-DD HH:MM:SS"
    Time = 'H',     // "HH:MM:SS"
};

struct TXlsCell {
    TXlsCellType Type = TXlsCellType::Text;
    QString Text; // the value as the library gives it: a number in C notation, a date in ISO form
};

// Rows and columns from 1.
using TXlsCells = std::map<std::pair<int, int>, TXlsCell>;

QByteArray XlsDumpHeader();
QByteArray XlsDumpCellLine(int row, int column, TXlsCellType type, const QByteArray& utf8Text);
QByteArray XlsDumpEnd();

// The engineer's workbook needs a few thousand cells; a sheet with more is refused rather than
// held in memory. A cell's text is at most 32767 characters, as in the spreadsheet program.
inline constexpr int MaxXlsCells = 100000;
inline constexpr int MaxXlsCellText = 32767;

// False with *error (for the log, not the user) when the dump is cut short or malformed, or holds
// more than MaxXlsCells cells or a longer text.
bool ParseXlsCellDump(const QByteArray& dump, TXlsCells* cells, QString* error);
