// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileKind.h"

#include <QFileInfo>

TFileKind FileKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("proj"), Qt::CaseInsensitive) == 0)
        return TFileKind::Project;
    if (suffix.compare(QLatin1String("r9q4"), Qt::CaseInsensitive) == 0)
        return TFileKind::Record;
    return TFileKind::Unknown;
}
