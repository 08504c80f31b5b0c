#include "spreadsheet/Workbook.h"

#include "spreadsheet/OoxmlWorkbook.h"
#include "spreadsheet/XlsWorkbook.h"

#include <QFile>

std::unique_ptr<IWorksheet> OpenWorksheet(const QString& fileName, const QString& sheetName,
                                          const QLocale& locale, QString* error) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString());
        return nullptr;
    }
    const QByteArray head = file.read(8);
    file.close();
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return OpenOoxmlWorksheet(fileName, sheetName, locale, error);
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return OpenXlsWorksheet(fileName, sheetName, locale, error);
    if (error)
        *error = QStringLiteral("The file is not a workbook: %1").arg(fileName);
    return nullptr;
}
