// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Pieces of the files written for further analysis in other tools: comma-separated text as RFC 4180
// has it, and numbers that read back as the very doubles they came from.

// The field as it stands, or in double quotes (inner quotes doubled) when it holds a comma, a
// quote, a line break or blanks at either end.
QString CsvField(const QString& text);
// The fields joined by commas, ended by CR LF.
QString CsvLine(const QStringList& fields);
// The shortest text that reads back as the same double, "." as separator, no thousands separator.
QString AnalysisNumber(double value);
