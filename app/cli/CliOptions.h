// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Units.h"

#include <QStringList>
#include <QTextStream>

#include <vector>

// An option a subcommand understands beyond the common ones: a flag (no value name) or an option
// with a value.
struct TCliOptionSpec {
    const char* Name;      // without the dashes: "format"
    const char* ValueName; // "FORMAT"; null for a flag
    const char* Description;
};

// Options every subcommand understands. Units come from --flow-unit / --pressure-unit (by name,
// "l/h", or by index), else from the settings file beside the program, else the defaults; the code
// page from --code-page, else from the language of the settings file.
struct TCliOptions {
    TUnits Units;
    int CodePage = 0;
    // --code-page was given: it wins over the instrument's own table.
    bool CodePageGiven = false;
    QStringList Positional;       // what is left after the options
    QString Output;               // -o FILE
    QStringList Extra;            // the subcommand's own options as "--name" / value pairs (flags: empty value)
    QString Error;                // set when the command line is wrong
    bool Help = false;            // --help: HelpText holds what to print
    bool Version = false;         // --version
    QString HelpText;

    QString extraValue(const QString& name) const;
    bool hasFlag(const QString& name) const { return Extra.contains(name); }
    // --format text|csv|json, "text" when not given; an empty string after telling `err` it is wrong.
    QString textCsvOrJson(QTextStream& err) const;
};

// `usage` and `description` head the help text. Unknown options are errors.
TCliOptions ParseCliOptions(const QStringList& args, const QString& programFilePath,
                            const std::vector<TCliOptionSpec>& commandOptions = {}, const QString& usage = {},
                            const QString& description = {});

// A unit by its name ("l/h", "gal/min", case ignored) or its index; -1 when neither.
int FlowUnitByName(const QString& text);
int PressureUnitByName(const QString& text);
