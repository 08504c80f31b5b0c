#include "CliCommands.h"

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordShow(const TCliOptions& options, QTextStream& out, QTextStream& err);
int RunRecordExport(const TCliOptions& options, QTextStream& out, QTextStream& err);

const std::vector<TCliCommand>& CliCommands() {
    static const std::vector<TCliCommand> commands = {
        {"project", "show", "project show FILE.proj", RunProjectShow},
        {"record", "show", "record show FILE.r9q4", RunRecordShow},
        {"record", "export", "record export FILE.r9q4 --format csv|html|xls -o OUT", RunRecordExport},
    };
    return commands;
}
