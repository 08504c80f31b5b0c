// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "model/Translator.h"

#include <memory>
#include <vector>

struct zip;

// A ZIP package read from a file or from bytes in memory. An entry is inflated only when it is
// first asked for, and what all entries inflate to together is capped, so that a small hostile
// file cannot make us allocate gigabytes. Entries can be replaced or removed; saving writes a new
// archive to a temporary file that replaces the package's file, copying the entries that were not
// touched as they were stored, without recompressing them.
class TZipPackage {
public:
    // Far beyond any real workbook part, far below what would hurt the machine.
    static constexpr qint64 DefaultInflateLimit = qint64(64) << 20;

    // Its sentences for the user are in the translator's language.
    explicit TZipPackage(qint64 inflateLimit = DefaultInflateLimit,
                         const ITranslator& translator = EnglishOnly());
    ~TZipPackage();
    TZipPackage(TZipPackage&&) noexcept;
    TZipPackage& operator=(TZipPackage&&) noexcept;

    // Reads the file, then openBytes.
    bool open(const QString& fileName, QString* error);
    // The package from bytes; fileName names it in messages and is where save() writes.
    bool openBytes(const QByteArray& bytes, const QString& fileName, QString* error);

    const QString& fileName() const { return m_fileName; }
    bool contains(const QString& name) const;
    // The entry's uncompressed data. False with *error (a sentence for the user) when there is no
    // such entry, it is damaged, or inflating it would pass the limit.
    bool readEntry(const QString& name, QByteArray* data, QString* error) const;
    // readEntry without the reason; empty on any failure.
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
        qint64 index = -1; // in the opened archive; -1 for an added entry
        mutable QByteArray data;
        mutable bool loaded = false;
        bool changed = false;
        bool removed = false;
    };
    struct TArchiveClose {
        void operator()(zip* z) const;
    };

    const TEntry* find(const QString& name) const;
    bool load(const TEntry& entry, QString* error) const;

    qint64 m_inflateLimit;
    const ITranslator* m_translator;
    mutable qint64 m_inflated = 0;
    QString m_fileName;
    // The archive reads straight from these bytes: they stay unchanged while it is open.
    QByteArray m_original;
    std::unique_ptr<zip, TArchiveClose> m_archive;
    std::vector<TEntry> m_entries;
    bool m_modified = false;
};
