// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileHistory.h"

#include "files/IniFile.h"
#include "files/SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString recentProjects = QStringLiteral("Recent projects");
const QString recentRecords = QStringLiteral("Recent records");
const QString folders = QStringLiteral("Folders");

QString slotKey(qsizetype i) {
    return QStringLiteral("File%1").arg(i + 1);
}

QStringList readList(const IniFile& ini, const QString& section) {
    QStringList paths;
    for (qsizetype i = 0; i < TRecentFiles::Capacity; ++i) {
        const QString path = ini.readString(section, slotKey(i), QString());
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

// Quoted, so that a path keeps blanks at its ends; the reader takes one pair of quotes off.
QString quoted(const QString& value) {
    return u'"' + value + u'"';
}

void writeList(IniFile& ini, const QString& section, const QStringList& paths) {
    // Unused slots that exist are emptied: the file format has no way to remove a key.
    for (qsizetype i = 0; i < TRecentFiles::Capacity; ++i) {
        if (i < paths.size())
            ini.setValue(section, slotKey(i), quoted(paths.at(i)));
        else if (ini.value(section, slotKey(i)))
            ini.setValue(section, slotKey(i), QString());
    }
}

} // namespace

void TRecentFiles::add(const QString& path) {
    if (path.isEmpty())
        return;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    while (m_paths.size() > Capacity)
        m_paths.removeLast();
}

void TRecentFiles::remove(const QString& path) {
    m_paths.removeAll(path);
}

void TRecentFiles::setPaths(const QStringList& paths) {
    m_paths.clear();
    for (auto it = paths.crbegin(); it != paths.crend(); ++it)
        add(*it);
}

TFileHistory LoadFileHistory(const QString& iniPath) {
    const IniFile ini = IniFile::fromFile(iniPath, nullptr).value_or(IniFile());
    TFileHistory history;
    history.Projects.setPaths(readList(ini, recentProjects));
    history.Records.setPaths(readList(ini, recentRecords));
    for (const char* kind : {"proj", "r9q4", "csv", "htm", "xls", "xlsx", "xlsm"}) {
        const QString folder = ini.readString(folders, QLatin1String(kind), QString());
        if (!folder.isEmpty())
            history.Folders.insert(QLatin1String(kind), folder);
    }
    return history;
}

bool SaveFileHistory(const QString& iniPath, const TFileHistory& history, QString* error) {
    std::optional<IniFile> ini = IniFile::fromFile(iniPath, error);
    if (!ini)
        return false;
    const QByteArray before = ini->bytes();
    writeList(*ini, recentProjects, history.Projects.paths());
    writeList(*ini, recentRecords, history.Records.paths());
    for (auto it = history.Folders.cbegin(); it != history.Folders.cend(); ++it)
        ini->setValue(folders, it.key(), quoted(it.value()));
    if (ini->bytes() == before)
        return true;
    return writeFileAtomically(iniPath, ini->bytes(), error);
}
