#include "CliCommands.h"

int RunProjectShow(const TCliOptions& options, QTextStream& out, QTextStream& err);

const std::vector<TCliCommand>& CliCommands() {
    static const std::vector<TCliCommand> commands = {
        {"project", "show", "project show FILE.proj", RunProjectShow},
    };
    return commands;
}
