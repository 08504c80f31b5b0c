#include "CliCommands.h"

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunProjectCheck(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordExport(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDevicePing(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceWriteProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadRecords(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunDeviceReadValves(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunReportProject(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunReportRecord(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunWorkbookImport(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunWorkbookExport(const TCliOptions& options, QTextStream& out, QTextStream& err);

const std::vector<TCliCommand>& CliCommands() {
    static const std::vector<TCliCommand> commands = {
        {"project", "show", "project show FILE.proj", RunProjectShow},
        {"project", "check", "project check FILE.proj [--tolerance P] [--format text|csv|json]"
                             "  (exit 0: every measured branch within tolerance, 3: some outside)",
         RunProjectCheck},
        {"record", "show", "record show FILE.r9q4", RunRecordShow},
        {"record", "export", "record export FILE.r9q4 --format csv|html|xls|csv-utf8|json -o OUT|-", RunRecordExport},
        {"device", "ping", "device ping [--driver FILE]", RunDevicePing},
        {"device", "read-project", "device read-project -o FILE.proj [--driver FILE]", RunDeviceReadProject},
        {"device", "write-project", "device write-project FILE.proj [--yes] [--driver FILE]",
         RunDeviceWriteProject},
        {"device", "read-records", "device read-records -o DIR [--driver FILE]", RunDeviceReadRecords},
        {"device", "read-valves", "device read-valves [--driver FILE]", RunDeviceReadValves},
        {"report", "project", "report project FILE.proj -o OUT.pdf [--text]", RunReportProject},
        {"report", "record", "report record FILE.r9q4 -o OUT.pdf [--text]", RunReportRecord},
        {"workbook", "import", "workbook import BOOK -o FILE.proj", RunWorkbookImport},
        {"workbook", "export", "workbook export FILE.proj BOOK", RunWorkbookExport},
    };
    return commands;
}
