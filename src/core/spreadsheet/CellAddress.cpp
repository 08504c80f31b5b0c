// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/CellAddress.h"

#include <algorithm>

QString ColumnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

QString CellReference(int row, int column) {
    return ColumnLetters(column) + QString::number(row);
}

bool ParseCellReference(const QString& reference, int* row, int* column) {
    qsizetype i = 0;
    const qsizetype n = reference.size();
    if (i < n && reference[i] == u'$')
        ++i;
    long long col = 0;
    const qsizetype lettersStart = i;
    while (i < n && reference[i].isLetter() && reference[i].unicode() < 128) {
        col = col * 26 + (reference[i].toUpper().unicode() - u'A' + 1);
        if (col > MaxSheetColumn)
            return false;
        ++i;
    }
    if (i == lettersStart)
        return false;
    if (i < n && reference[i] == u'$')
        ++i;
    long long r = 0;
    const qsizetype digitsStart = i;
    while (i < n && reference[i] >= u'0' && reference[i] <= u'9') {
        r = r * 10 + (reference[i].unicode() - u'0');
        if (r > MaxSheetRow)
            return false;
        ++i;
    }
    if (i == digitsStart || i != n || r < 1)
        return false;
    *row = int(r);
    *column = int(col);
    return true;
}

bool ParseCellRange(const QString& text, TCellRange* range) {
    const qsizetype colon = text.indexOf(u':');
    const QString first = colon < 0 ? text : text.left(colon);
    const QString last = colon < 0 ? text : text.mid(colon + 1);
    TCellRange r;
    if (!ParseCellReference(first, &r.FirstRow, &r.FirstColumn) ||
        !ParseCellReference(last, &r.LastRow, &r.LastColumn))
        return false;
    *range = TCellRange{std::min(r.FirstRow, r.LastRow), std::min(r.FirstColumn, r.LastColumn),
                        std::max(r.FirstRow, r.LastRow), std::max(r.FirstColumn, r.LastColumn)};
    return true;
}

QString CellRangeReference(const TCellRange& range) {
    const QString first = CellReference(range.FirstRow, range.FirstColumn);
    if (range.FirstRow == range.LastRow && range.FirstColumn == range.LastColumn)
        return first;
    return first + u':' + CellReference(range.LastRow, range.LastColumn);
}
