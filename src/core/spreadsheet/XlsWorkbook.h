// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spreadsheet/Workbook.h"
#include "spreadsheet/XlsHelperProcess.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "model/Translator.h"

#include <memory>

// A legacy .xls workbook opened for reading only: cells are read, writes and saves are refused
// with a sentence asking the user to save the workbook as .xlsx. The file is parsed by a helper
// process under limits; whatever goes wrong there (a damaged file, a crash, a limit reached) means
// the workbook cannot be read.
std::unique_ptr<IWorksheet> OpenXlsWorksheet(const QString& fileName, const QString& sheetName,
                                             const QLocale& locale, QString* error,
                                             const ITranslator& translator = EnglishOnly());

// The helper that reads the worksheet: the program, the arguments before the sheet name, limits.
struct TXlsReader {
    QString Program = XlsHelperProgram();
    QStringList Arguments;
    THelperLimits Limits;
};

// The same over the file's bytes in memory; fileName names it in messages.
std::unique_ptr<IWorksheet> OpenXlsWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                      const QString& sheetName, const QLocale& locale,
                                                      QString* error, const TXlsReader& reader = {},
                                                      const ITranslator& translator = EnglishOnly());

// The sentence the refused write carries.
QString XlsReadOnlyMessage(const ITranslator& translator = EnglishOnly());
