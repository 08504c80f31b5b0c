// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ChartTitle.h"

QString TidyTitle(const QString& text) {
    QString title = text;
    qsizetype end = title.size();
    while (end > 0 && title[end - 1] == u' ')
        --end;
    if (end > 0)
        title.truncate(end);

    // The scan moves on after a deletion as well, which is what halves a run instead of collapsing it.
    for (qsizetype i = 0; i + 1 < title.size(); ++i) {
        if (title[i] == u' ' && title[i + 1] == u' ')
            title.remove(i, 1);
    }
    return title;
}
