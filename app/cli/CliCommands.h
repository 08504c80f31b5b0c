#pragma once

#include "CliOptions.h"

#include <QTextStream>

#include <vector>

struct TCliCommand {
    const char* Group;
    const char* Verb;
    const char* Usage;
    int (*Run)(const TCliOptions& options, QTextStream& out, QTextStream& err);
};

// Every subcommand, in the order the usage lists them. Each group lives in its own file and adds
// itself in CliCommands.cpp.
const std::vector<TCliCommand>& CliCommands();
