// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/FormulaShift.h"

#include "spreadsheet/CellAddress.h"

#include <QRegularExpression>

namespace {

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'\\' || c == u'$' || c == u'?';
}

// Skips a quoted run starting at i (a doubled quote stays inside); returns the index after it.
qsizetype skipQuoted(const QString& text, qsizetype i) {
    const QChar quote = text[i];
    for (++i; i < text.size(); ++i) {
        if (text[i] != quote)
            continue;
        if (i + 1 < text.size() && text[i + 1] == quote)
            ++i;
        else
            return i + 1;
    }
    return i;
}

qsizetype skipBrackets(const QString& text, qsizetype i) {
    int depth = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == u'[')
            ++depth;
        else if (text[i] == u']' && --depth == 0)
            return i + 1;
    }
    return i;
}

int columnNumber(const QString& letters) {
    int column = 0;
    for (const QChar c : letters)
        column = column * 26 + (c.toUpper().unicode() - u'A' + 1);
    return column;
}

// One part of a reference moved, or nothing when it leaves the sheet.
bool movedColumn(const QString& anchor, const QString& letters, int by, QString* out) {
    int column = columnNumber(letters);
    if (column < 1 || column > MaxSheetColumn)
        return false;
    if (anchor.isEmpty())
        column += by;
    if (column < 1 || column > MaxSheetColumn)
        return false;
    *out += anchor + ColumnLetters(column);
    return true;
}

bool movedRow(const QString& anchor, const QString& digits, int by, QString* out) {
    bool ok = false;
    qint64 row = digits.toLongLong(&ok);
    if (!ok || row < 1 || row > MaxSheetRow)
        return false;
    if (anchor.isEmpty())
        row += by;
    if (row < 1 || row > MaxSheetRow)
        return false;
    *out += anchor + QString::number(row);
    return true;
}

// The token moved, or empty when it is no reference at all (a name, a number, a function).
QString shiftToken(const QString& token, bool nextToRange, int rows, int columns, bool* isReference) {
    static const QRegularExpression cell(QStringLiteral("^(\\$?)([A-Za-z]{1,3})(\\$?)([0-9]{1,7})$"));
    static const QRegularExpression column(QStringLiteral("^(\\$?)([A-Za-z]{1,3})$"));
    static const QRegularExpression row(QStringLiteral("^(\\$?)([0-9]{1,7})$"));
    QString out;
    *isReference = true;
    if (const auto m = cell.match(token); m.hasMatch()) {
        if (columnNumber(m.captured(2)) > MaxSheetColumn || m.captured(4).toLongLong() > MaxSheetRow ||
            m.captured(4).toLongLong() < 1) {
            *isReference = false; // a defined name such as "TAX2024X1" never reaches here; "XFE1" does
            return {};
        }
        if (!movedColumn(m.captured(1), m.captured(2), columns, &out) ||
            !movedRow(m.captured(3), m.captured(4), rows, &out))
            return QStringLiteral("#REF!");
        return out;
    }
    if (nextToRange) {
        if (const auto m = column.match(token); m.hasMatch())
            return movedColumn(m.captured(1), m.captured(2), columns, &out) ? out : QStringLiteral("#REF!");
        if (const auto m = row.match(token); m.hasMatch())
            return movedRow(m.captured(1), m.captured(2), rows, &out) ? out : QStringLiteral("#REF!");
    }
    *isReference = false;
    return {};
}

} // namespace

QString ShiftFormula(const QString& formula, int rows, int columns) {
    if (rows == 0 && columns == 0)
        return formula;
    QString out;
    out.reserve(formula.size() + 8);
    qsizetype i = 0;
    while (i < formula.size()) {
        const QChar c = formula[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = skipQuoted(formula, i);
            out += QStringView(formula).mid(i, end - i);
            i = end;
            continue;
        }
        if (c == u'[') {
            const qsizetype end = skipBrackets(formula, i);
            out += QStringView(formula).mid(i, end - i);
            i = end;
            continue;
        }
        if (!isNameChar(c) || (i > 0 && isNameChar(formula[i - 1]))) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < formula.size() && isNameChar(formula[end]))
            ++end;
        const QString token = formula.mid(i, end - i);
        const QChar next = end < formula.size() ? formula[end] : QChar();
        const QChar previous = i > 0 ? formula[i - 1] : QChar();
        bool isReference = false;
        QString moved;
        // A name followed by "(" is a function, by "!" a sheet.
        if (next != u'(' && next != u'!')
            moved = shiftToken(token, next == u':' || previous == u':', rows, columns, &isReference);
        out += isReference ? moved : token;
        i = end;
    }
    return out;
}
