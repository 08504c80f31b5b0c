// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliOptions.h"

#include <QTextStream>

#include <vector>

struct TCliCommand {
    const char* Group;
    const char* Verb;
    const char* Usage;
    int (*Run)(const TCliOptions& options, QTextStream& out, QTextStream& err);
    // The subcommand's own options beyond the common ones; anything else is an error.
    std::vector<TCliOptionSpec> Options = {};
    // More for --help, such as the meaning of the exit status.
    const char* Description = "";
};

// Every subcommand, in the order the usage lists them. Each group lives in its own file and adds
// itself in CliCommands.cpp.
const std::vector<TCliCommand>& CliCommands();
