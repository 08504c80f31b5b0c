// SPDX-License-Identifier: GPL-3.0-or-later
// zrv10-cli record ...: a record file as the records window shows it, and its table exports.
#include "CliOptions.h"
#include "Platform.h"

#include "files/RecordFile.h"
#include "files/SafeFileWriter.h"
#include "model/Translator.h"
#include "records/AnalysisExport.h"
#include "records/ChartExport.h"
#include "records/RecordHeaderView.h"
#include "records/RecordStatistics.h"
#include "records/RecordStatisticsText.h"
#include "model/RecordModel.h"
#include "records/RecordTable.h"
#include "records/TableExport.h"

#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

bool loadRecord(const TCliOptions& options, const ITranslator& translator, TRecordStore& store,
                QTextStream& err) {
    QString error;
    if (LoadRecordFile(store, options.Positional.first(), options.Units, translator, &error))
        return true;
    err << "zrv10-cli: " << error << "\n";
    return false;
}

QString withoutTrailingBlanks(QString line) {
    while (line.endsWith(u' '))
        line.chop(1);
    return line;
}

void printTable(const TTextTable& table, QTextStream& out) {
    std::vector<qsizetype> widths(static_cast<std::size_t>(table.columnCount()), 0);
    for (int r = 0; r < table.rowCount(); ++r)
        for (int c = 0; c < table.columnCount(); ++c)
            widths[c] = std::max(widths[c], table.cell(c, r).size());
    for (int r = 0; r < table.rowCount(); ++r) {
        QString line;
        for (int c = 0; c < table.columnCount(); ++c) {
            if (c > 0)
                line += QStringLiteral("  ");
            // Numbers right-aligned as in a spreadsheet, texts left-aligned.
            const bool number = r > 0 && c >= 2;
            line += number ? table.cell(c, r).rightJustified(widths[c])
                           : table.cell(c, r).leftJustified(widths[c]);
        }
        out << withoutTrailingBlanks(line) << "\n";
    }
}

bool toStandardOutput(const TCliOptions& options) {
    return options.Output == QLatin1String("-");
}

// "-o -": the bytes go to standard output, after whatever the text stream holds.
int writeStandardOutput(const QByteArray& bytes, QTextStream& out, QTextStream& err) {
    out.flush();
    QFile stdoutFile;
    if (!stdoutFile.open(stdout, QIODevice::WriteOnly) || stdoutFile.write(bytes) != bytes.size() ||
        !stdoutFile.flush()) {
        err << "zrv10-cli: cannot write to standard output\n";
        return 1;
    }
    return 0;
}

// The analysis formats; "-o -" writes to standard output.
int exportForAnalysis(const TCliOptions& options, TAnalysisFormat format, QTextStream& out, QTextStream& err) {
    const TIdentityTranslator translator;
    auto store = std::make_unique<TRecordStore>();
    if (!loadRecord(options, translator, *store, err))
        return 1;
    if (toStandardOutput(options))
        return writeStandardOutput(RecordAnalysisBytes(*store, options.Units, format), out, err);
    QString error;
    if (!ExportRecordAnalysis(*store, options.Units, format, options.Output, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    out << "Wrote " << AnalysisFileName(options.Output, format) << "\n";
    return 0;
}

} // namespace

int RunRecordShow(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (options.Positional.size() != 1) {
        err << "usage: zrv10-cli record show FILE.r9q4\n";
        return 2;
    }
    const TIdentityTranslator translator;
    // The tables are large; keep them off the stack.
    auto store = std::make_unique<TRecordStore>();
    if (!loadRecord(options, translator, *store, err))
        return 1;

    QString label;
    for (const TRecordHeaderField& field : RecordHeaderFields(store->CurrentHeader, translator)) {
        if (!field.Label.isEmpty())
            label = field.Label + u':';
        else
            label.fill(u' ');
        out << withoutTrailingBlanks(label.leftJustified(16) + field.Value) << "\n";
    }
    out << "\n";
    printTable(BuildRecordTable(*store, options.Units, translator), out);
    return 0;
}

int RunRecordExport(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const QString format = options.extraValue(QStringLiteral("--format"));
    if (options.Positional.size() != 1 || options.Output.isEmpty() || format.isEmpty()) {
        err << "usage: zrv10-cli record export FILE.r9q4 --format csv|html|xls|csv-utf8|json -o OUT\n";
        return 2;
    }
    if (format == QLatin1String("csv-utf8") || format == QLatin1String("json"))
        return exportForAnalysis(options, format == QLatin1String("json") ? TAnalysisFormat::Json
                                                                          : TAnalysisFormat::CsvUtf8,
                                 out, err);
    TExportFormat kind;
    if (format == QLatin1String("csv")) {
        kind = TExportFormat::Csv;
    } else if (format == QLatin1String("html")) {
        kind = TExportFormat::Html;
    } else if (format == QLatin1String("xls")) {
        kind = TExportFormat::Xls;
    } else {
        err << "zrv10-cli: --format takes csv, html, xls, csv-utf8 or json, not \"" << format << "\"\n";
        return 2;
    }
    // A worksheet is binary: fine into a pipe or a file, garbage on a terminal.
    if (toStandardOutput(options) && kind == TExportFormat::Xls && StandardOutputIsTerminal()) {
        err << "zrv10-cli: an .xls worksheet is not written to a terminal; redirect standard output or "
               "name a file with -o\n";
        return 2;
    }
    const TIdentityTranslator translator;
    auto store = std::make_unique<TRecordStore>();
    if (!loadRecord(options, translator, *store, err))
        return 1;

    const TTextTable table = BuildRecordTable(*store, options.Units, translator);
    if (toStandardOutput(options)) {
        QByteArray bytes;
        switch (kind) {
        case TExportFormat::Csv:
            bytes = TableCsvBytes(table);
            break;
        case TExportFormat::Html:
            bytes = TableHtmlBytes(table);
            break;
        case TExportFormat::Xls:
            bytes = TableXlsBytes(table, options.Units.Locale);
            if (bytes.isEmpty()) {
                err << "zrv10-cli: the table has more rows or columns than a worksheet can address\n";
                return 1;
            }
            break;
        }
        return writeStandardOutput(bytes, out, err);
    }
    QString error;
    bool written = false;
    switch (kind) {
    case TExportFormat::Csv:
        written = ExportTableCsv(table, options.Output, &error);
        break;
    case TExportFormat::Html:
        written = ExportTableHtml(table, options.Output, &error);
        break;
    case TExportFormat::Xls:
        written = ExportTableXls(table, options.Output, options.Units.Locale, &error);
        break;
    }
    if (!written) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    out << "Wrote " << ExportFileName(options.Output, kind) << "\n";
    return 0;
}

int RunRecordChart(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    const bool pressure = options.hasFlag(QStringLiteral("--pressure"));
    const bool flow = options.hasFlag(QStringLiteral("--flow"));
    if (options.Positional.size() != 1 || options.Output.isEmpty() || pressure == flow) {
        err << "usage: zrv10-cli record chart FILE.r9q4 --pressure|--flow -o OUT.png|OUT.svg [--size WxH]\n";
        return 2;
    }
    QSize size = DefaultChartExportSize;
    if (options.hasFlag(QStringLiteral("--size"))) {
        const std::optional<QSize> parsed = ParseChartSize(options.extraValue(QStringLiteral("--size")));
        if (!parsed) {
            err << "zrv10-cli: --size takes WIDTHxHEIGHT in pixels, for example 1600x1000\n";
            return 2;
        }
        size = *parsed;
    }
    if (!IsChartPictureName(options.Output)) {
        err << "zrv10-cli: -o names a .png or .svg file, not \"" << options.Output << "\"\n";
        return 2;
    }
    const TIdentityTranslator translator;
    auto store = std::make_unique<TRecordStore>();
    if (!loadRecord(options, translator, *store, err))
        return 1;
    const std::unique_ptr<TRecordChart> chart = MakeRecordChart(*store, options.Units, translator, pressure);
    QString error;
    if (!WriteChartPicture(*chart, size, options.Output, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    out << "Wrote " << options.Output << "\n";
    return 0;
}

int RunRecordStats(const TCliOptions& options, QTextStream& out, QTextStream& err) {
    if (options.Positional.size() != 1) {
        err << "usage: zrv10-cli record stats FILE.r9q4 [--from TIME] [--to TIME] [--format text|csv|json] [-o OUT|-]\n";
        return 2;
    }
    const QString format = options.textCsvOrJson(err);
    if (format.isEmpty())
        return 2;
    std::optional<double> ends[2];
    const char* names[2] = {"--from", "--to"};
    for (int i = 0; i < 2; ++i) {
        if (!options.hasFlag(QLatin1String(names[i])))
            continue;
        const QString text = options.extraValue(QLatin1String(names[i]));
        ends[i] = RecordClockSeconds(text);
        if (!ends[i]) {
            err << "zrv10-cli: " << names[i] << " takes a time on the record's clock as 2012-03-05T07:05:00, not \""
                << text << "\"\n";
            return 2;
        }
    }
    if (ends[0] && ends[1] && *ends[0] > *ends[1]) {
        err << "zrv10-cli: --from lies after --to\n";
        return 2;
    }
    const TIdentityTranslator translator;
    auto store = std::make_unique<TRecordStore>();
    if (!loadRecord(options, translator, *store, err))
        return 1;
    const TRecordSamples samples(*store, options.Units.Locale);
    const TRecordStatistics statistics = samples.between(ends[0], ends[1]);
    QByteArray bytes;
    if (format == QLatin1String("json"))
        bytes = QJsonDocument(RecordStatisticsJson(statistics, samples)).toJson(QJsonDocument::Indented);
    else if (format == QLatin1String("csv"))
        bytes = RecordStatisticsCsv(statistics, samples, options.Units);
    else
        bytes = RecordStatisticsText(statistics, samples, options.Units, translator).toUtf8();
    if (options.Output.isEmpty() || toStandardOutput(options))
        return writeStandardOutput(bytes, out, err);
    QString error;
    if (!writeFileAtomically(options.Output, bytes, &error)) {
        err << "zrv10-cli: " << error << "\n";
        return 1;
    }
    out << "Wrote " << options.Output << "\n";
    return 0;
}
