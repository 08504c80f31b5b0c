// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFileWriter.h"
#include "records/AnsiCodePages.h"
#include "model/DisplayNumber.h"
#include "records/TableExport.h"

#include <QtEndian>

#include <bit>
#include <cstdint>

namespace {

constexpr int MaxAddress = 0xFFFF;
// The body length is 16-bit and holds 8 bytes before the text.
constexpr qsizetype MaxTextBytes = 0xFFFF - 8;

void append16(QByteArray& out, int value) {
    char bytes[2];
    qToLittleEndian<quint16>(static_cast<quint16>(value), bytes);
    out.append(bytes, 2);
}

void appendCellStart(QByteArray& out, int record, int length, int row, int column) {
    append16(out, record);
    append16(out, length);
    append16(out, row);
    append16(out, column);
    append16(out, 0); // format index
}

} // namespace

QByteArray TableXlsBytes(const TTextTable& table, const QLocale& locale, int codePage) {
    if (table.rowCount() - 1 > MaxAddress || table.columnCount() - 1 > MaxAddress)
        return {};
    const TDisplayNumberReader numbers(locale);
    QByteArray bytes("\x09\x08\x08\x00\x00\x00\x10\x00\x00\x00\x00\x00", 12);
    // Without this record a reader takes the texts for Windows-1252.
    if (codePage != 1252) {
        append16(bytes, 0x0042);
        append16(bytes, 2);
        append16(bytes, codePage);
    }
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c) {
            const QString& text = table.cell(c, r);
            if (const auto number = numbers.read(text)) {
                appendCellStart(bytes, 0x0203, 14, r, c);
                char value[8];
                qToLittleEndian<quint64>(std::bit_cast<quint64>(*number), value);
                bytes.append(value, 8);
            } else {
                const QByteArray ansi = toAnsiCodePage(text, codePage).left(MaxTextBytes);
                appendCellStart(bytes, 0x0204, static_cast<int>(ansi.size()) + 8, r, c);
                append16(bytes, static_cast<int>(ansi.size()));
                bytes.append(ansi);
            }
        }
    bytes.append("\x0A\x00\x00\x00", 4);
    return bytes;
}

bool ExportTableXls(const TTextTable& table, const QString& fileName, const QLocale& locale, QString* error,
                    int codePage) {
    const QByteArray bytes = TableXlsBytes(table, locale, codePage);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("The table has more rows or columns than a worksheet can address.");
        return false;
    }
    return writeFileAtomically(ExportFileName(fileName, TExportFormat::Xls), bytes, error);
}
