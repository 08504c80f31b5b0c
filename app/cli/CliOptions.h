#pragma once

#include "model/Units.h"

#include <QStringList>

// Options every subcommand understands. Units come from --flow-unit / --pressure-unit, else from the
// settings file beside the program, else the defaults; the code page from --code-page, else from the
// language of the settings file.
struct TCliOptions {
    TUnits Units;
    int CodePage = 0;
    // --code-page was given: it wins over the instrument's own table.
    bool CodePageGiven = false;
    QStringList Positional;       // what is left after the options
    QString Output;               // -o FILE
    QStringList Extra;            // --name value pairs not known here, for the subcommand
    QString Error;                // set when the command line is wrong

    QString extraValue(const QString& name) const;
};

TCliOptions ParseCliOptions(const QStringList& args, const QString& programFilePath);
