#pragma once

#include "spreadsheet/Workbook.h"

#include <QLocale>
#include <QString>

#include <memory>

// A legacy .xls workbook opened for reading only: cells are read, writes and saves are refused
// with a sentence asking the user to save the workbook as .xlsx.
std::unique_ptr<IWorksheet> OpenXlsWorksheet(const QString& fileName, const QString& sheetName,
                                             const QLocale& locale, QString* error);

// The sentence the refused write carries (untranslated; the caller translates it).
QString XlsReadOnlyMessage();
