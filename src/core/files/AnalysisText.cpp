// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/AnalysisText.h"

#include <QLocale>

QString CsvField(const QString& text) {
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r') ||
                       text.startsWith(u' ') || text.endsWith(u' ');
    if (!quote)
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString CsvLine(const QStringList& fields) {
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        line += CsvField(fields.at(i));
    }
    return line + QStringLiteral("\r\n");
}

QString AnalysisNumber(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
