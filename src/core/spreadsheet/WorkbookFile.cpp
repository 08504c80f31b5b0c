// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/WorkbookFile.h"

#include <QFile>

bool ReadWorkbookFile(const QString& fileName, QByteArray* bytes, QString* error,
                      const ITranslator& translator) {
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        *bytes = file.readAll();
    if (file.isOpen() && file.error() == QFileDevice::NoError)
        return true;
    if (error)
        *error = translator.Translate(QStringLiteral("Cannot read %1: %2")).arg(fileName, file.errorString());
    return false;
}
