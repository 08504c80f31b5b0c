// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommands.h"

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunProjectCheck(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunProjectCompare(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordExport(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordChart(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordStats(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDevicePing(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceWriteProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadRecords(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadValves(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunReportProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunReportCertificate(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunReportRecord(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunWorkbookImport(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunWorkbookExport(const TCliOptions& options, QTextStream& out, QTextStream& err);

namespace {

const TCliOptionSpec driverOption{"driver", "FILE", "The driver library to use (libmpusbapi.so)."};
const TCliOptionSpec textOption{"text", nullptr, "Writes the report's text instead of a PDF."};

} // namespace

const std::vector<TCliCommand>& CliCommands() {
    static const std::vector<TCliCommand> commands = {
        {"project", "show", "project show FILE.proj", RunProjectShow},
        {"project", "check",
         "project check FILE.proj [--tolerance P|-L,+H] [--require-complete] [--format text|csv|json]",
         RunProjectCheck,
         {{"tolerance", "P|-L,+H",
           "Tolerance in per cent either way, or below and above the requested flow as in --tolerance=-5,+10 "
           "(default: the settings file's, else 10)."},
          {"require-complete", nullptr,
           "A branch not measured fails the check too (exit status 4 when none lies outside)."},
          {"format", "FORMAT", "text (default), csv or json."}},
         "The balancing summary of the project. Exit status: 0 when every measured branch lies within the\n"
         "tolerance, 3 when some does not, 4 with --require-complete when none lies outside but some branch\n"
         "was not measured (or the project has none), 1 when the project cannot be read, 2 for a wrong\n"
         "command line. The text and JSON output list the branches not measured; the CSV names them in its\n"
         "state column."},
        {"project", "compare", "project compare OLD.proj NEW.proj [--format text|csv|json] [--flow-unit U]",
         RunProjectCompare,
         {{"format", "FORMAT", "text (default), csv or json."}},
         "The branches of two projects side by side, as at a re-commissioning: each branch of NEW is paired\n"
         "with the first branch of OLD of the same name not yet paired; the branches found in one project only\n"
         "follow. For each pair: requested flow, final flow with its change in per cent, final presetting,\n"
         "final differential pressure, and whether the valve changed. The summary counts the pairs whose final\n"
         "flow moved by more than the balancing tolerance of the settings file (else 10 %). The text is in the\n"
         "units of --flow-unit / --pressure-unit, CSV and JSON in l/h and Pa. Exit status: 0 (also when the\n"
         "projects differ), 1 when a project cannot be read, 2 for a wrong command line."},
        {"record", "show", "record show FILE.r9q4", RunRecordShow},
        {"record", "export", "record export FILE.r9q4 --format csv|html|xls|csv-utf8|json -o OUT|-", RunRecordExport,
         {{"format", "FORMAT", "csv, html, xls (the table as shown), csv-utf8 or json (for analysis)."}},
         "csv-utf8 and json write every sample in full precision; \"-o -\" writes them to standard output."},
        {"record", "chart", "record chart FILE.r9q4 --pressure|--flow -o OUT.png|OUT.svg [--size WxH]", RunRecordChart,
         {{"pressure", nullptr, "The pressure chart."},
          {"flow", nullptr, "The flow chart."},
          {"size", "WxH", "Picture size in pixels (default 1600x1000); SVG pictures are drawn at it too."}}},
        {"record", "stats", "record stats FILE.r9q4 [--from TIME] [--to TIME] [--format text|csv|json] [-o OUT]",
         RunRecordStats,
         {{"from", "TIME", "First time of the range on the record's clock, as 2012-03-05T07:05:00 (included)."},
          {"to", "TIME", "Last time of the range, as --from (included)."},
          {"format", "FORMAT",
           "text (default, in the units given), csv (in the units given) or json (in l/h and Pa)."}},
         "Sample count, first and last time, duration, and for pressure and flow the minimum and maximum with\n"
         "their times, the mean and the standard deviation (population: divided by the count) of the record\n"
         "or of the samples within the range. Empty cells and values out of range count as samples but give\n"
         "no figures; a range without values has none. The figures go to standard output, or with -o into\n"
         "that file. Exit status: 0, 1 when the record cannot be read or OUT not written, 2 for a wrong\n"
         "command line."},
        {"device", "ping", "device ping [--driver FILE]", RunDevicePing, {driverOption}},
        {"device", "read-project", "device read-project -o FILE.proj [--driver FILE]", RunDeviceReadProject,
         {driverOption}},
        {"device", "write-project", "device write-project FILE.proj [--yes] [--verify] [--driver FILE]",
         RunDeviceWriteProject,
         {driverOption,
          {"yes", nullptr, "Overwrites the instrument's project without asking."},
          {"verify", nullptr,
           "Reads the project back after writing and compares it byte for byte; a difference fails the "
           "write (exit status 1) and names the first differing branch."}}},
        {"device", "read-records", "device read-records -o DIR [--driver FILE]", RunDeviceReadRecords,
         {driverOption}},
        {"device", "read-valves", "device read-valves [--driver FILE]", RunDeviceReadValves, {driverOption}},
        {"report", "project", "report project FILE.proj -o OUT.pdf [--text]", RunReportProject, {textOption}},
        {"report", "record", "report record FILE.r9q4 -o OUT.pdf [--text] [--charts]", RunReportRecord,
         {textOption,
          {"charts", nullptr, "A first page with the record header and both charts, then the records report."}}},
        {"report", "certificate",
         "report certificate FILE.proj -o OUT.pdf|OUT.html|OUT.csv|OUT.xlsx [--tolerance P|-L,+H]",
         RunReportCertificate,
         {{"tolerance", "P|-L,+H",
           "Tolerance in per cent either way, or below and above the requested flow as in --tolerance=-5,+10 "
           "(default: the project's commissioning details, else the settings file's, else 10)."}},
         "The commissioning certificate of the project: its details (FILE.commissioning.json beside it, and\n"
         "the [Commissioning] settings), the summary, every branch with its % of design, final differential\n"
         "pressure and Kv, the deficiencies and lines for the signatures. OUT's extension picks the format:\n"
         "a PDF to print and sign, one HTML page, CSV (the details as leading rows) or an .xlsx workbook.\n"
         "A damaged details file fails the command (exit status 1)."},
        {"workbook", "import", "workbook import BOOK -o FILE.proj", RunWorkbookImport},
        {"workbook", "export", "workbook export FILE.proj BOOK", RunWorkbookExport},
    };
    return commands;
}
