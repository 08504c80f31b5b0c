// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFileWriter.h"
#include "records/TableExport.h"
#include "files/Utf16Bytes.h"

QByteArray TableCsvBytes(const TTextTable& table) {
    QByteArray bytes;
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c) {
            appendUtf16Le(bytes, table.cell(c, r));
            appendUtf16Le(bytes, c + 1 < table.columnCount() ? u"\t" : u"\n");
        }
    appendUtf16Le(bytes, u"\n");
    return bytes;
}

bool ExportTableCsv(const TTextTable& table, const QString& fileName, QString* error) {
    return writeFileAtomically(ExportFileName(fileName, TExportFormat::Csv), TableCsvBytes(table), error);
}
