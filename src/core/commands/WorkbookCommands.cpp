// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/WorkbookCommands.h"

#include "document/ProjectDocument.h"
#include "model/Translator.h"
#include "model/NameQuestions.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/WorkbookExport.h"
#include "spreadsheet/WorkbookImport.h"
#include "commands/UserInterface.h"

#include <QFileInfo>

namespace {

QString tr_(const TWorkbookCommandContext& c, const char* english) {
    return c.Project.Translator.Translate(QString::fromUtf8(english));
}

// The status line counts the lines ("Importing line:12"); repainting after every line would slow a
// long sheet down for nothing.
TLineReached countLines(const TWorkbookCommandContext& c, const QString& caption) {
    constexpr int LinesPerRepaint = 50;
    IUserInterface& ui = c.Project.Ui;
    const QString counted = caption + QLatin1Char(':');
    return [&ui, counted](int line) {
        ui.setStatus(counted + QString::number(line));
        if ((line - 1) % LinesPerRepaint == 0)
            ui.processPendingEvents();
    };
}

// The sentence names files and causes, so it is shown as composed and never looked up.
TWorkbookResult fail(TWorkbookCommandContext& c, const QString& sentence) {
    c.Project.Ui.showMessage(tr_(c, "Error"), sentence);
    return TWorkbookResult::Failed;
}

std::unique_ptr<IWorksheet> openSheet(TWorkbookCommandContext& c, const QString& path, QString* error) {
    if (!QFileInfo(path).isFile()) {
        *error = tr_(c, "The workbook %1 does not exist.").arg(path);
        return nullptr;
    }
    const QString sheet = QString::fromLatin1(WorkbookSheetName);
    if (c.Open)
        return c.Open(path, sheet, c.Project.Locale, error, c.Project.Translator);
    return OpenWorksheet(path, sheet, c.Project.Locale, error, c.Project.Translator);
}

QString chooseWorkbook(TWorkbookCommandContext& c, const char* title, const QString& filter) {
    TFileDialogOptions options;
    options.Title = tr_(c, title);
    options.Filter = filter;
    const TDocumentState& state = c.Project.Document.state();
    if (state.HasFileName)
        options.InitialPath = QFileInfo(state.ProjectFileName).absolutePath();
    return c.Project.Ui.chooseFileToOpen(options);
}

} // namespace

TWorkbookResult ImportWorkbookFile(TWorkbookCommandContext& c, const QString& path) {
    QString error;
    const std::unique_ptr<IWorksheet> sheet = openSheet(c, path, &error);
    if (!sheet)
        return fail(c, error);

    // Read into a project of its own so that a failure leaves the one in memory as it was.
    auto fresh = std::make_unique<TProject>();
    ResetProjectHeader(fresh->Header);
    const TWorkbookImportInput input{c.Columns, c.Catalogue, c.Project.CodePage, c.Project.Locale};
    QStringList names;
    QString uncalculated;
    // A book saved without formula results (our own export is one) would import as empty cells.
    if (!ReadBranchesFromWorksheet(*sheet, input, *fresh, countLines(c, tr_(c, "Importing line")), names,
                                   &uncalculated))
        return fail(
            c, tr_(c, "The workbook's formulas have not been calculated yet (cell %1 of the worksheet %2). "
                      "Open the workbook in a spreadsheet program, save it there and import it again.")
                   .arg(uncalculated, QString::fromLatin1(WorkbookSheetName)));
    for (const QString& name : names)
        if (NameBreaksProjectFile(name))
            return fail(c, NameBreaksProjectFileMessage(c.Project.Translator, name));
    const QString projectName = ProjectNameForWorkbook(path);
    // Stored in the table in force when it holds every name, otherwise in one that does.
    QStringList all{projectName};
    all += names;
    fresh->NamesCodePage = TableHoldingAll(all, c.Project.CodePage);
    const QStringList notHeld = TextsNotHeld(all, fresh->NamesCodePage);
    if (!notHeld.isEmpty() &&
        c.Project.Ui.askDefaultNo(tr_(c, "Project"), NamesQuestion(c.Project.Translator, TNamesAt::OpenedFile,
                                                                   notHeld)) != IUserInterface::Answer::Yes)
        return TWorkbookResult::Cancelled;
    SetNameText(*fresh, projectName, fresh->Header.Name);
    for (qsizetype i = 0; i < names.size(); ++i)
        SetNameText(*fresh, names[i], fresh->Branches[static_cast<std::size_t>(i)].Name);
    fresh->Header.State = static_cast<std::uint16_t>(fresh->Header.State | StateLocked);

    c.Project.Document.replaceFromWorkbook(*fresh, ProjectFileNameForWorkbook(path));
    c.Project.Ui.setStatus(tr_(c, "The project was successfully imported."));
    return TWorkbookResult::Done;
}

TWorkbookResult ImportWorkbookCommand(TWorkbookCommandContext& c) {
    if (!AskSaveChanges(c.Project))
        return TWorkbookResult::Cancelled;
    const QString path = chooseWorkbook(c, EnglishText("Import from Nortavex engineer"),
                                        QStringLiteral("Excel Files (*.xls *.xlsx *.xlsm);;All Files (*)"));
    if (path.isEmpty())
        return TWorkbookResult::Cancelled;
    return ImportWorkbookFile(c, path);
}

TWorkbookResult ExportWorkbookFile(TWorkbookCommandContext& c, const QString& path) {
    QString error;
    const std::unique_ptr<IWorksheet> sheet = openSheet(c, path, &error);
    if (!sheet)
        return fail(c, error);
    if (!sheet->unprotect(QString::fromLatin1(WorkbookPassword), &error))
        return fail(c, error);
    const TWorkbookExportInput input{c.Columns, c.Catalogue, c.Project.CodePage};
    TWorksheetWriteReport report;
    if (!WriteResultsToWorksheet(*sheet, input, c.Project.Document.project(), countLines(c, tr_(c, "Exporting line")),
                                 &report, &error) ||
        !sheet->save(&error))
        return fail(c, error);

    const TDocumentState& s = c.Project.Document.state();
    // A project without a file of its own keeps asking for one on Save: its name may be the
    // instrument's title, which names no file.
    c.Project.Document.markExportedToWorkbook(
        s.HasFileName || (!s.ProjectFileName.isEmpty() && QFileInfo(s.ProjectFileName).isFile()));
    if (report.Failed == 0) {
        c.Project.Ui.setStatus(tr_(c, "The project was successfully exported."));
        return TWorkbookResult::Done;
    }
    // Saved with the cells that could be written; the user learns what is missing and why.
    const QString partly = tr_(c, "The project was exported, but some cells could not be written");
    c.Project.Ui.setStatus(partly);
    c.Project.Ui.showMessage(tr_(c, "Warning"),
                             partly + QStringLiteral(": %1.\n%2").arg(report.Failed).arg(report.FirstReason));
    return TWorkbookResult::Done;
}

TWorkbookResult ExportWorkbookCommand(TWorkbookCommandContext& c) {
    // The export writes into an existing workbook: an open dialog requires the file to exist.
    const QString path = chooseWorkbook(c, EnglishText("Export to Nortavex engineer"), QString());
    if (path.isEmpty())
        return TWorkbookResult::Cancelled;
    return ExportWorkbookFile(c, path);
}
