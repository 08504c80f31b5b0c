#pragma once

#include <QByteArray>
#include <QString>

// A workbook file's bytes, read whole. False with *error "Cannot read <file>: <reason>".
bool ReadWorkbookFile(const QString& fileName, QByteArray* bytes, QString* error);
