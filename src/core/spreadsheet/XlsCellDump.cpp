// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/XlsCellDump.h"

#include <QList>

namespace {

constexpr char Header[] = "ZRV-XLS-CELLS 1";
constexpr char End[] = "END";
// BIFF8 worksheets address 65536 rows and 256 columns.
constexpr int MaxRow = 65536;
constexpr int MaxColumn = 256;
// "C", row, column, type, four tabs, the newline, and the longest text: four bytes of UTF-8 per
// character, each escaped.
constexpr qsizetype MaxLine = 32 + qsizetype(MaxXlsCellText) * 4 * 2;

bool validType(char c) {
    switch (static_cast<TXlsCellType>(c)) {
    case TXlsCellType::Integer:
    case TXlsCellType::Double:
    case TXlsCellType::Text:
    case TXlsCellType::Date:
    case TXlsCellType::DateTime:
    case TXlsCellType::Time:
        return true;
    }
    return false;
}

bool unescape(const QByteArray& in, QByteArray* out) {
    out->reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out->append(in[i]);
            continue;
        }
        if (++i == in.size())
            return false;
        switch (in[i]) {
        case '\\':
            out->append('\\');
            break;
        case 't':
            out->append('\t');
            break;
        case 'n':
            out->append('\n');
            break;
        case 'r':
            out->append('\r');
            break;
        default:
            return false;
        }
    }
    return true;
}

} // namespace

QByteArray XlsDumpHeader() {
    return QByteArray(Header) + '\n';
}

QByteArray XlsDumpCellLine(int row, int column, TXlsCellType type, const QByteArray& utf8Text) {
    QByteArray line = "C\t" + QByteArray::number(row) + '\t' + QByteArray::number(column) + '\t' +
                      static_cast<char>(type) + '\t';
    line.reserve(line.size() + utf8Text.size() + 1);
    for (const char c : utf8Text) {
        switch (c) {
        case '\\':
            line.append("\\\\");
            break;
        case '\t':
            line.append("\\t");
            break;
        case '\n':
            line.append("\\n");
            break;
        case '\r':
            line.append("\\r");
            break;
        default:
            line.append(c);
        }
    }
    line.append('\n');
    return line;
}

QByteArray XlsDumpEnd() {
    return QByteArray(End) + '\n';
}

bool ParseXlsCellDump(const QByteArray& dump, TXlsCells* cells, QString* error) {
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!dump.startsWith(XlsDumpHeader()))
        return fail(QStringLiteral("no header"));
    if (!dump.endsWith(XlsDumpEnd()))
        return fail(QStringLiteral("cut short"));
    TXlsCells result;
    qsizetype at = XlsDumpHeader().size();
    const qsizetype last = dump.size() - XlsDumpEnd().size();
    int lines = 0;
    while (at < last) {
        if (++lines > MaxXlsCells)
            return fail(QStringLiteral("more than %1 cells").arg(MaxXlsCells));
        const qsizetype newline = dump.indexOf('\n', at);
        if (newline < 0 || newline > last)
            return fail(QStringLiteral("cut short"));
        if (newline - at > MaxLine)
            return fail(QStringLiteral("a text longer than %1 characters").arg(MaxXlsCellText));
        const QList<QByteArray> fields = dump.mid(at, newline - at).split('\t');
        at = newline + 1;
        bool rowOk = false;
        bool columnOk = false;
        if (fields.size() != 5 || fields[0] != "C" || fields[3].size() != 1 || !validType(fields[3][0]))
            return fail(QStringLiteral("malformed line"));
        const int row = fields[1].toInt(&rowOk);
        const int column = fields[2].toInt(&columnOk);
        QByteArray text;
        if (!rowOk || !columnOk || row < 1 || row > MaxRow || column < 1 || column > MaxColumn ||
            !unescape(fields[4], &text))
            return fail(QStringLiteral("malformed line"));
        QString value = QString::fromUtf8(text);
        if (value.size() > MaxXlsCellText)
            return fail(QStringLiteral("a text longer than %1 characters").arg(MaxXlsCellText));
        result[{row, column}] = TXlsCell{static_cast<TXlsCellType>(fields[3][0]), std::move(value)};
    }
    *cells = std::move(result);
    return true;
}
