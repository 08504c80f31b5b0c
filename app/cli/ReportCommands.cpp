// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli report ...: the printed reports of projects and records, as a PDF or as their text.
#include "CliOptions.h"

#include "files/CommissioningFile.h"
#include "files/ProcessPaths.h"
#include "files/ProjectCheck.h"
#include "files/ProjectFile.h"
#include "files/RecordFile.h"
#include "files/SafeFileWriter.h"
#include "files/Settings.h"
#include "model/Translator.h"
#include "files/ValveCache.h"
#include "model/ValveCatalogue.h"
#include "printing/CertificateCsv.h"
#include "printing/CertificateHtml.h"
#include "printing/CertificatePrint.h"
#include "printing/CertificateXlsx.h"
#include "printing/CommissioningCertificate.h"
#include "printing/PdfReport.h"
#include "printing/PrintReport.h"
#include "printing/ProjectReport.h"
#include "printing/RecordChartsPage.h"
#include "records/RecordStatistics.h"
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

#include <functional>
#include <memory>
#include <optional>

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

using TPrintToPdf = std::function<bool(const QString& pdfPath, const TPrintMargins& margins, QString* error)>;

// Printed into a private folder first, so that a failed job never leaves part of a PDF at the target.
bool printPdf(const TPrintToPdf& print, const QString& path, QTextStream& err) {
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
    if (!print(printed, settings.PrintMargins, &error)) {
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

bool writePdf(const QStringList& lines, const QString& path, QTextStream& err, const TFirstPage& firstPage = {}) {
    const QString docName = QFileInfo(path).completeBaseName();
    return printPdf(
        [&](const QString& pdfPath, const TPrintMargins& margins, QString* error) {
            return PrintReportToPdf(firstPage, lines, pdfPath, docName, margins, error);
        },
        path, err);
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
    const TRecordSamples samples(*store, a.Options.Units.Locale);
    return writeReport(lines, a, out, err,
                       RecordChartsPage(store->CurrentHeader, translator, *pressure, *flow,
                                        ChartedStatistics(samples, *pressure, *flow, a.Options.Units, translator)));
}

int RunReportCertificate(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const char* usage = "report certificate FILE.proj -o OUT.pdf|OUT.html|OUT.csv|OUT.xlsx [--tolerance P|-L,+H]";
    const TReportArgs a = reportArgs(options);
    if (!checkUsage(a, usage, err))
        return 2;
    const QString& path = a.Options.Output;
    const QString format = QFileInfo(path).suffix().toLower();
    if (format != QLatin1String("pdf") && format != QLatin1String("html") && format != QLatin1String("csv") &&
        format != QLatin1String("xlsx")) {
        err << "zrv10-cli: the output's extension picks the format: .pdf, .html, .csv or .xlsx; not \"" << path
            << "\"\n";
        return 2;
    }
    std::optional<TTolerance> given;
    if (a.Options.Extra.contains(QStringLiteral("--tolerance"))) {
        const QString text = a.Options.extraValue(QStringLiteral("--tolerance"));
        given = ParseToleranceOption(text);
        if (!given) {
            err << "zrv10-cli: --tolerance takes a number of per cent from 0 to 1000 (either way) or two, "
                   "below and above, as in --tolerance=-5,+10; not \"" << text << "\"\n";
            return 2;
        }
    }
    const TUnits& units = a.Options.Units;
    const QString projectPath = a.Options.Positional.first();
    auto project = std::make_unique<TProject>();
    QString error;
    if (!LoadProjectFile(projectPath, *project, a.Options.CodePage, units.Locale, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    const TIdentityTranslator translator;
    // A damaged sidecar would certify without the details the engineer entered: refuse it.
    TCommissioningDetails details;
    const QString detailsPath = CommissioningPathFor(projectPath);
    if (LoadCommissioningFile(detailsPath, translator, details, &error) == TCommissioningLoad::Failed) {
        err << "zrv10-cli: " << QDir::toNativeSeparators(detailsPath) << ": " << error << "\n";
        return 1;
    }
    const TApplicationPaths paths = ProcessApplicationPaths();
    const TSettings settings = LoadSettings(qtPath(paths.SettingsFile));
    auto catalogue = std::make_unique<TValveCatalogue>();
    const QString cacheDir = qtPath(paths.DataDir);
    if (!LoadValveCache(cacheDir, *catalogue) && project->branchCount() > 0)
        err << "zrv10-cli: warning: no valve cache (" << ManufacturersCacheName << ", " << ValvesCacheName
            << ") in " << cacheDir << "; the valve names are left empty\n";
    const TTolerance tolerance = given ? *given : CertificateTolerance(details, settings.BalancingTolerance);
    const TCommissioningCertificate certificate = BuildCommissioningCertificate(
        {*project, *catalogue, a.Options.CodePage, details, settings.Commissioning, tolerance}, units, translator);

    bool written = false;
    if (format == QLatin1String("pdf")) {
        written = printPdf(
            [&](const QString& pdfPath, const TPrintMargins& margins, QString* reason) {
                return PrintCertificateToPdf(certificate, pdfPath, margins, reason);
            },
            path, err);
    } else {
        written = format == QLatin1String("html") ? WriteCertificateHtml(certificate, path, &error)
                  : format == QLatin1String("csv") ? WriteCertificateCsv(certificate, path, &error)
                                                   : WriteCertificateXlsx(certificate, path, &error);
        if (!written)
            err << "zrv10-cli: " << error << "\n";
    }
    if (!written)
        return 1;
    out << "Wrote " << path << "\n";
    return 0;
}
