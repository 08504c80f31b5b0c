// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "spreadsheet/Workbook.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include "model/Translator.h"

#include <memory>

// An Office Open XML workbook (.xlsx, .xlsm): the worksheet of that name, read and written in the
// package itself. After cells were set, saving rewrites the worksheet part, asks the spreadsheet
// program to recalculate on opening (workbook part), and takes the cached result out of every
// formula cell of every worksheet, so that a program which does not recalculate on its own shows
// no stale result; after a formula cell was overwritten the calculation chain is dropped so the
// spreadsheet program rebuilds it. Every other part keeps its bytes. A cell with a date or time
// format reads as the locale's text of that date or time.
std::unique_ptr<IWorksheet> OpenOoxmlWorksheet(const QString& fileName, const QString& sheetName,
                                               const QLocale& locale, QString* error,
                                               const ITranslator& translator = EnglishOnly());

// The same over the file's bytes in memory; fileName names it in messages and is where save()
// writes.
std::unique_ptr<IWorksheet> OpenOoxmlWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                        const QString& sheetName, const QLocale& locale,
                                                        QString* error,
                                                        const ITranslator& translator = EnglishOnly());

// A cell's number as text: at most 15 significant digits, in its shortest form, with the
// locale's decimal separator and no group separators.
QString FormatCellNumber(double value, const QLocale& locale);
