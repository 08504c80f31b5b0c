// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/Workbook.h"

#include "spreadsheet/OoxmlWorkbook.h"
#include "spreadsheet/WorkbookFile.h"
#include "spreadsheet/XlsWorkbook.h"

std::unique_ptr<IWorksheet> OpenWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                   const QString& sheetName, const QLocale& locale,
                                                   QString* error, const ITranslator& translator) {
    if (bytes.startsWith(QByteArray("PK\x03\x04", 4)))
        return OpenOoxmlWorksheetFromBytes(bytes, fileName, sheetName, locale, error, translator);
    if (bytes.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        return OpenXlsWorksheetFromBytes(bytes, fileName, sheetName, locale, error, {}, translator);
    if (error)
        *error = translator.Translate(QStringLiteral("The file is not a workbook: %1")).arg(fileName);
    return nullptr;
}

std::unique_ptr<IWorksheet> OpenWorksheet(const QString& fileName, const QString& sheetName,
                                          const QLocale& locale, QString* error,
                                          const ITranslator& translator) {
    QByteArray bytes;
    if (!ReadWorkbookFile(fileName, &bytes, error, translator))
        return nullptr;
    return OpenWorksheetFromBytes(bytes, fileName, sheetName, locale, error, translator);
}
