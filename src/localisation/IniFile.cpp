#include "IniFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString valueKey(const QString& section, const QString& key) {
    return section.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}

QString decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE)(bytes.sliced(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    return QString::fromUtf8(bytes);
}

QString unquoted(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

TIniFile TIniFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

TIniFile TIniFile::parse(const QByteArray& bytes) {
    TIniFile ini;
    QString section;
    const QString text = decode(bytes);
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.front() == u';')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            section = line.mid(1, close < 0 ? -1 : close - 1).toString();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = valueKey(section, line.left(equals).toString());
        if (!ini.m_values.contains(key))
            ini.m_values.insert(key, unquoted(line.mid(equals + 1).trimmed().toString()));
    }
    return ini;
}

QString TIniFile::readString(const QString& section, const QString& key, const QString& fallback) const {
    return m_values.value(valueKey(section, key), fallback);
}

int TIniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok);
    return ok ? value : fallback;
}
