#include "TodoLog.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

void appendUtf16Le(QByteArray& out, QStringView text) {
    for (const QChar unit : text) {
        const char16_t value = qToLittleEndian(unit.unicode());
        out.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
}

} // namespace

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
