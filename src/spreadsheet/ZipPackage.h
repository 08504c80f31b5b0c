#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// A ZIP package held in memory: every entry's name and data, read once. Entries can be replaced
// or removed; saving rewrites the file through a temporary file and rename, copying the entries
// that were not touched as they were stored, without recompressing them.
class TZipPackage {
public:
    bool open(const QString& fileName, QString* error);

    const QString& fileName() const { return m_fileName; }
    bool contains(const QString& name) const;
    // The entry's uncompressed data; empty when there is no such entry.
    QByteArray entry(const QString& name) const;
    QStringList entryNames() const;

    // Replaces an existing entry's data, or adds the entry at the end.
    void setEntry(const QString& name, const QByteArray& data);
    void removeEntry(const QString& name);
    bool isModified() const { return m_modified; }

    // Writes the package back to its file; nothing is written when nothing changed. On failure
    // the file is as it was and *error holds a sentence for the user.
    bool save(QString* error);

private:
    struct TEntry {
        QString name;
        QByteArray data;
        bool changed = false;
        bool removed = false;
    };
    const TEntry* find(const QString& name) const;

    QString m_fileName;
    QByteArray m_original;
    std::vector<TEntry> m_entries;
    bool m_modified = false;
};
