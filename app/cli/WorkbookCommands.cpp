// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli workbook ...: the exchange with the engineering workbook, without the window.
#include "CliOptions.h"
#include "CliUserInterface.h"

#include "document/ProjectDocument.h"
#include "files/ProcessPaths.h"
#include "files/ProjectFile.h"
#include "files/Settings.h"
#include "model/Translator.h"
#include "model/ProjectRecords.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "commands/WorkbookCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <memory>

namespace {

// Everything one workbook command works on, built the way the window builds it.
struct TWorkbookSession {
    TWorkbookSession(const TCliOptions& options, QTextStream& out, QTextStream& err)
        : Ui(out, err, false), Paths(ProcessApplicationPaths()), CacheDir(qtPath(Paths.DataDir)),
          Settings(LoadSettings(qtPath(Paths.SettingsFile))),
          ProjectContext{Document, Ui, Translator, options.CodePage, options.Units.Locale, {}},
          Context{ProjectContext, Settings.SpreadsheetColumns, *Catalogue, {}} {}

    TCliUserInterface Ui;
    TIdentityTranslator Translator;
    TApplicationPaths Paths;
    QString CacheDir;
    TSettings Settings;
    TProjectDocument Document;
    std::unique_ptr<TValveCatalogue> Catalogue = std::make_unique<TValveCatalogue>();
    TProjectCommandContext ProjectContext;
    TWorkbookCommandContext Context;
};

bool usageOk(const TCliOptions& options, bool ok, const char* usage, QTextStream& err) {
    if (!options.Error.isEmpty()) {
        err << "zrv10-cli: " << options.Error << "\n";
        return false;
    }
    if (!ok)
        err << "usage: zrv10-cli " << usage << "\n";
    return ok;
}

} // namespace

int RunWorkbookImport(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (!usageOk(options, options.Positional.size() == 1 && !options.Output.isEmpty(),
                 "workbook import BOOK -o FILE.proj", err))
        return 2;
    TWorkbookSession session(options, out, err);
    // The designations are matched against the cache the desktop program keeps.
    if (!LoadValveCache(session.CacheDir, *session.Catalogue))
        err << "zrv10-cli: no valve cache in " << session.CacheDir << "; no valve is matched\n";
    if (ImportWorkbookFile(session.Context, options.Positional.first()) != TWorkbookResult::Done) {
        session.Ui.finish(false);
        return 1;
    }
    QString error;
    if (!SaveProjectFile(options.Output, session.Document.project(), &error)) {
        session.Ui.finish(false);
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    session.Ui.finish(true);
    out << session.Document.project().branchCount() << " branches written to " << options.Output << "\n";
    return 0;
}

int RunWorkbookExport(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (!usageOk(options, options.Positional.size() == 2, "workbook export FILE.proj BOOK", err))
        return 2;
    TWorkbookSession session(options, out, err);
    QString error;
    auto project = std::make_unique<TProject>();
    if (!LoadProjectFile(options.Positional.first(), *project, options.CodePage, options.Units.Locale, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    session.Document.replaceFromFile(*project, options.Positional.first());
    if (!LoadValveCache(session.CacheDir, *session.Catalogue))
        err << "zrv10-cli: no valve cache in " << session.CacheDir << "; the valve names are left empty\n";
    const bool done = ExportWorkbookFile(session.Context, options.Positional.at(1)) == TWorkbookResult::Done;
    session.Ui.finish(done);
    return done ? 0 : 1;
}
