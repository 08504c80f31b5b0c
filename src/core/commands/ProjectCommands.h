// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once


#include <QLocale>

#include <functional>

class IUserInterface;
class TProjectDocument;
class ITranslator;

// What the file commands of the main window work on. The window builds one per command from its
// own members; tests build their own.
struct TProjectCommandContext {
    TProjectDocument& Document;
    IUserInterface& Ui;
    const ITranslator& Translator;
    // The character table in force: an opened project's names are stored in it when it holds them.
    int CodePage = 0;
    QLocale Locale;
    // The instrument half of the save questions: writes the project to the instrument; false when the
    // write failed.
    std::function<bool()> SaveToInstrument;
    // Told the file of each successful open or save (the recent projects list).
    std::function<void(const QString&)> FileUsed = {};
};

// Open: AskSaveChanges, the file dialog, the load. Only Opened replaces the document's project and
// state and changes the status bar.
// A failed load has been shown to the user through Ui.
enum class TOpenResult { Cancelled, Failed, Opened };
TOpenResult OpenProjectCommand(TProjectCommandContext& context);
// The same for a file already chosen (command line, a dropped file, the recent projects list).
TOpenResult OpenProjectPathCommand(TProjectCommandContext& context, const QString& path);

// Save to ProjectFileName (Save as when there is none). On failure the error is shown, Modified stays
// true and no "Project saved" appears. True when the project was saved.
bool SaveProjectCommand(TProjectCommandContext& context);

// Save under a name chosen in the dialog, which proposes the project's file or, for a project that
// has none, its name. A cancelled dialog or a failed save changes nothing but
// the error shown. True when the project was saved.
bool SaveProjectAsCommand(TProjectCommandContext& context);

// The save questions asked before a command replaces a changed project (New, Open, a read from the
// instrument, a workbook import): the disk question, whatever the project came from, then the
// instrument question when it is linked to the instrument. False when the user dismissed a question or
// a save they asked for did not happen: the command must then leave the project as it is.
bool AskSaveChanges(TProjectCommandContext& context);

// The same questions when the main window closes. False as above: the window then stays open and
// nothing is lost.
bool AskSaveChangesBeforeClose(TProjectCommandContext& context);
