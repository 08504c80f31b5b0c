// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli report ...: the printed reports of projects and records, as a PDF or as their text.
#include "CliOptions.h"

#include "files/ProcessPaths.h"
#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "files/SafeFileWriter.h"
#include "files/Settings.h"
#include "model/Translator.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "printing/PdfReport.h"
#include "printing/PrintReport.h"
#include "printing/ProjectReport.h"
#include "printing/RecordChartsPage.h"
#include "printing/RecordsReport.h"
#include "records/ChartExport.h"
#include "model/RecordModel.h"
#include "records/RecordTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace {

struct TReportArgs {
    TCliOptions Options;
    bool Text = false;
};

TReportArgs reportArgs(const TCliOptions& given) {
    TReportArgs a;
    a.Options = given;
    a.Text = given.hasFlag(QStringLiteral("--text"));
    return a;
}

bool checkUsage(const TReportArgs& a, const char* usage, QTextStream& err) {
    if (!a.Options.Error.isEmpty()) {
        err << "zrv10-cli: " << a.Options.Error << "\n";
        return false;
    }
    if (a.Options.Positional.size() == 1 && !a.Options.Output.isEmpty())
        return true;
    err << "usage: zrv10-cli " << usage << "\n";
    return false;
}

bool writeText(const QStringList& lines, const QString& path, QTextStream& err) {
    QString error;
    if (writeFileAtomically(path, lines.join(u'\n').toUtf8(), &error))
        return true;
    err << "zrv10-cli: " << error << "\n";
    return false;
}

// Printed into a private folder first, so that a failed job never leaves part of a PDF at the target.
bool writePdf(const QStringList& lines, const QString& path, QTextStream& err, const TFirstPage& firstPage = {}) {
    if (!CanDrawPages()) {
        err << "zrv10-cli: PDF output needs the graphics libraries\n";
        return false;
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        err << "zrv10-cli: cannot create a temporary folder: " << work.errorString() << "\n";
        return false;
    }
    const QString printed = work.filePath(QStringLiteral("report.pdf"));
    QString error;
    const TSettings settings = LoadSettings(qtPath(ProcessApplicationPaths().SettingsFile));
    if (!PrintReportToPdf(firstPage, lines, printed, QFileInfo(path).completeBaseName(), settings.PrintMargins,
                          &error)) {
        err << "zrv10-cli: Print error: " << error << "\n";
        return false;
    }
    QFile file(printed);
    if (!file.open(QIODevice::ReadOnly)) {
        err << "zrv10-cli: cannot read the printed report: " << file.errorString() << "\n";
        return false;
    }
    if (!writeFileAtomically(path, file.readAll(), &error)) {
        err << "zrv10-cli: " << error << "\n";
        return false;
    }
    return true;
}

int writeReport(const QStringList& lines, const TReportArgs& a, QTextStream& out, QTextStream& err,
                const TFirstPage& firstPage = {}) {
    const QString& path = a.Options.Output;
    if (!(a.Text ? writeText(lines, path, err) : writePdf(lines, path, err, firstPage)))
        return 1;
    out << "Wrote " << path << "\n";
    return 0;
}

} // namespace

int RunReportProject(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const TReportArgs a = reportArgs(options);
    if (!checkUsage(a, "report project FILE.proj -o OUT.pdf [--text]", err))
        return 2;
    const TUnits& units = a.Options.Units;
    auto project = std::make_unique<TProject>();
    QString error;
    if (!LoadProjectFile(a.Options.Positional.first(), *project, a.Options.CodePage, units.Locale, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    // Valve names come from the cache the desktop program keeps.
    auto catalogue = std::make_unique<TValveCatalogue>();
    const QString cacheDir = qtPath(ProcessApplicationPaths().DataDir);
    if (!LoadValveCache(cacheDir, *catalogue) && project->branchCount() > 0)
        err << "zrv10-cli: warning: no valve cache (" << ManufacturersCacheName << ", " << ValvesCacheName
            << ") in " << cacheDir << "; the valve names are left empty\n";
    TValveSelection valve;
    const TIdentityTranslator translator;
    const QStringList lines =
        BuildProjectReport(*project, *catalogue, valve, a.Options.CodePage, units, translator);
    return writeReport(lines, a, out, err);
}

int RunReportRecord(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const TReportArgs a = reportArgs(options);
    if (!checkUsage(a, "report record FILE.r9q4 -o OUT.pdf [--text] [--charts]", err))
        return 2;
    const TIdentityTranslator translator;
    // The tables are large; keep them off the stack.
    auto store = std::make_unique<TRecordStore>();
    QString error;
    if (!LoadRecordFile(*store, a.Options.Positional.first(), a.Options.Units, translator, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    std::int32_t shownRows = 0;
    const TTextTable table = BuildRecordTable(*store, a.Options.Units, translator, &shownRows);
    const QStringList lines = BuildRecordsReport(store->CurrentHeader, table, shownRows, translator);
    if (!a.Options.hasFlag(QStringLiteral("--charts")))
        return writeReport(lines, a, out, err);
    if (a.Text) {
        err << "zrv10-cli: --charts needs a PDF report, not --text\n";
        return 2;
    }
    const std::unique_ptr<TRecordChart> pressure = MakeRecordChart(*store, a.Options.Units, translator, true);
    const std::unique_ptr<TRecordChart> flow = MakeRecordChart(*store, a.Options.Units, translator, false);
    return writeReport(lines, a, out, err, RecordChartsPage(store->CurrentHeader, translator, *pressure, *flow));
}
