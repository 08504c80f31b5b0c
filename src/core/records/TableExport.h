// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/TextTable.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// The three exports of a table of display texts. Every row is written, the header row included,
// cell texts verbatim. Each export first applies its file-name rule, then writes all bytes through
// writeFileAtomically: on failure the old file is untouched, the result is false and *error (if
// given) holds a sentence for the user.

enum class TExportFormat { Csv, Html, Xls };

// Appends ".csv", ".htm" or ".xls" unless the name holds the lower- or upper-case form anywhere
// (so "a.html" stays, "a.Csv" becomes "a.Csv.csv").
QString ExportFileName(const QString& chosen, TExportFormat format);

// Tab-separated UTF-16LE without byte order mark; a line feed ends each row, one more ends the file.
QByteArray TableCsvBytes(const TTextTable& table);
// An HTML page in UTF-16LE with byte order mark; the first row is the bold header on #BDD6EF.
QByteArray TableHtmlBytes(const TTextTable& table);
// Excel worksheet records (BIFF): cells that read as numbers in the locale become number cells,
// the others text cells in the 8-bit code page (1250, 1251 or 1252, see AnsiCodePages.h); a code
// page other than 1252 is named in a record after the beginning of the file. Rows and columns past
// 65535 cannot be addressed: empty result then.
QByteArray TableXlsBytes(const TTextTable& table, const QLocale& locale, int codePage = 1252);

bool ExportTableCsv(const TTextTable& table, const QString& fileName, QString* error = nullptr);
bool ExportTableHtml(const TTextTable& table, const QString& fileName, QString* error = nullptr);
bool ExportTableXls(const TTextTable& table, const QString& fileName, const QLocale& locale,
                    QString* error = nullptr, int codePage = 1252);
