// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/TableExport.h"

QString ExportFileName(const QString& chosen, TExportFormat format) {
    QLatin1StringView lower;
    QLatin1StringView upper;
    switch (format) {
    case TExportFormat::Csv:
        lower = QLatin1StringView(".csv");
        upper = QLatin1StringView(".CSV");
        break;
    case TExportFormat::Html:
        lower = QLatin1StringView(".htm");
        upper = QLatin1StringView(".HTM");
        break;
    case TExportFormat::Xls:
        lower = QLatin1StringView(".xls");
        upper = QLatin1StringView(".XLS");
        break;
    }
    if (chosen.contains(lower) || chosen.contains(upper))
        return chosen;
    return chosen + lower;
}
