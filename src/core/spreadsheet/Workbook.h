// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include "model/Translator.h"

#include <functional>
#include <memory>

// Told the number (from 1) of each line before it is read or written, for the status line.
using TLineReached = std::function<void(int line)>;

// A workbook file reduced to the few operations the exchange with the engineering workbook needs:
// one worksheet found by name, its cells read as text, the sheet unprotected, cells set to texts,
// and the file saved in place. Rows and columns count from 1.
class IWorksheet {
public:
    virtual ~IWorksheet() = default;

    // The cell as text: a text as it stands, a number in its shortest decimal form with the
    // locale's decimal separator, a boolean as "TRUE"/"FALSE"; empty for an empty or unreadable
    // cell, or a row or column outside the sheet's addressable range.
    virtual QString cellText(int row, int column) const = 0;
    // Whether the cell holds a formula without a calculated result (a book written by a program that
    // leaves the calculation to the spreadsheet program): its cellText() is then empty although the
    // spreadsheet program would show a value. A legacy .xls always stores results: false.
    virtual bool isUncalculatedFormula(int /*row*/, int /*column*/) const { return false; }

    // Removes the sheet's protection when the password matches it (no protection: true). False with
    // *error set otherwise; nothing is changed then.
    virtual bool unprotect(const QString& password, QString* error) = 0;
    // Whether the cell can be overwritten without breaking what the workbook holds beyond it (an
    // array formula or a data table over it) or the workbook cannot be written at all. False with
    // *error naming the cell: the export then refuses the workbook before writing anything.
    virtual bool mayWrite(int /*row*/, int /*column*/, QString* /*error*/) { return true; }
    // Sets the cell to a text value; one that reads as a plain decimal number ("12.5") becomes a
    // number cell, as when typed into the spreadsheet program. The cell keeps its style, and a
    // shared formula it was the master of passes on to the group's other cells. False with *error
    // when the workbook cannot be written (a legacy .xls) or the address is outside the sheet.
    virtual bool setCellText(int row, int column, const QString& text, QString* error) = 0;
    // Writes the workbook back to its file through a temporary file and rename; every part not
    // changed stays byte for byte. Nothing is written when nothing changed. False with *error on
    // failure; the file on disk is then as it was.
    virtual bool save(QString* error) = 0;
};

// Opens the workbook file (.xlsx/.xlsm as Office Open XML, .xls as a legacy workbook that can only
// be read; decided by the file's content, not its name) and finds the worksheet of that name.
// Null with *error holding a sentence for the user when the file cannot be read or has no such
// worksheet. Every sentence, the worksheet's later ones too, is in the translator's language.
std::unique_ptr<IWorksheet> OpenWorksheet(const QString& fileName, const QString& sheetName,
                                          const QLocale& locale, QString* error,
                                          const ITranslator& translator = EnglishOnly());
// The same over the file's bytes in memory; fileName names it in messages and is where save()
// writes.
std::unique_ptr<IWorksheet> OpenWorksheetFromBytes(const QByteArray& bytes, const QString& fileName,
                                                   const QString& sheetName, const QLocale& locale,
                                                   QString* error,
                                                   const ITranslator& translator = EnglishOnly());
