// SPDX-License-Identifier: GPL-3.0-or-later
#include "TodoLog.h"

#include "files/Utf16Bytes.h"

#include <QFile>
#include <QFileInfo>

void appendTodoRecords(const QString& path, const QStringList& texts) {
    if (texts.isEmpty())
        return;
    QByteArray out;
    if (!QFileInfo::exists(path))
        appendUtf16Le(out, u"\uFEFF");
    for (const QString& text : texts) {
        appendUtf16Le(out, text);
        appendUtf16Le(out, u";\t\n");
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(out);
}
