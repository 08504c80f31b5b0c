// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commands/ProjectCommands.h"
#include "files/Settings.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <memory>

class ITranslator;
class IWorksheet;
struct TValveCatalogue;

// Opens a workbook's worksheet, its sentences for the user in the translator's language;
// OpenWorksheet unless a test puts its own in.
using TWorksheetOpener = std::function<std::unique_ptr<IWorksheet>(
    const QString& fileName, const QString& sheetName, const QLocale& locale, QString* error,
    const ITranslator& translator)>;

struct TWorkbookCommandContext {
    TProjectCommandContext& Project;
    const TSpreadsheetColumns& Columns;
    const TValveCatalogue& Catalogue;
    TWorksheetOpener Open; // empty: OpenWorksheet
};

inline constexpr char WorkbookSheetName[] = "Nortavex";
inline constexpr char WorkbookPassword[] = "MarbleFoxQz";

enum class TWorkbookResult { Cancelled, Failed, Done };

// Import: the save questions, the file dialog, then the workbook read into a fresh project. Only
// Done replaces the project and sets the state (locked, modified, named after the workbook); the
// window then rebuilds its tree and pages. A failure has been shown through Ui and changed nothing.
TWorkbookResult ImportWorkbookCommand(TWorkbookCommandContext& context);
// The import without its dialogs, for the companion: the same rules and state changes.
TWorkbookResult ImportWorkbookFile(TWorkbookCommandContext& context, const QString& workbookPath);

// Export: the dialog, then the results written into the chosen existing workbook and saved in
// place. Any failure (no such sheet, wrong password, a legacy .xls, a failed save) is shown and
// leaves the workbook file as it was; the project's data are never changed.
TWorkbookResult ExportWorkbookCommand(TWorkbookCommandContext& context);
TWorkbookResult ExportWorkbookFile(TWorkbookCommandContext& context, const QString& workbookPath);
