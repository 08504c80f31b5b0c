#include "spreadsheet/CellAddress.h"

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
