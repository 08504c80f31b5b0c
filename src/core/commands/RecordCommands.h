// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/TableExport.h"
#include "records/TextTable.h"

#include <QString>

#include <functional>

class IUserInterface;
class ITranslator;
struct TRecordStore;
struct TUnits;

// What the record file commands of the records window and the main window work on. The window
// builds one per command from the program's single instances; tests build their own.
struct TRecordCommandContext {
    TRecordStore& Store;
    const TUnits& Units;
    const ITranslator& Translator;
    IUserInterface& Ui;
    // The 8-bit code page of the worksheet export's texts: the user's language's (AnsiCodePages.h).
    int WorksheetCodePage = 1252;
    // Told the file of each successful open or save (the recent records list).
    std::function<void(const QString&)> FileUsed = {};
};

// "Open...": the record open dialog (*.r9q4), then the load. Only Loaded changes the store; the
// caller then shows the record. A failed load has been shown to the user through Ui.
enum class TRecordOpenResult { Cancelled, Failed, Loaded };
TRecordOpenResult OpenRecordFileCommand(TRecordCommandContext& context);
// The load alone, for a file already chosen (command line, a dropped file, the recent records).
TRecordOpenResult OpenRecordPathCommand(TRecordCommandContext& context, const QString& path);

// Where a file made from the shown record is proposed: beside its record file under the same name,
// else a name made of the record's description and first date, with the given extension; empty when
// the record gives no name.
QString ProposedRecordFile(const TRecordStore& store, const QString& extension);

// "Save as ...": the save dialog (*.r9q4 added to a name typed without an extension), starting at the
// proposed record file, then the current record is written. A failure is shown; true when the file
// was written.
bool SaveRecordFileCommand(TRecordCommandContext& context);

// The export items: the matching save dialog, then the table exactly as shown. A failure is shown;
// true when the file was written.
bool ExportRecordTableCommand(TRecordCommandContext& context, const TTextTable& table, TExportFormat format);
