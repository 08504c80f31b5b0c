// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// The files the user worked with last, newest first, at most eight, each once.
class TRecentFiles {
public:
    static constexpr qsizetype Capacity = 8;

    const QStringList& paths() const { return m_paths; }
    // Puts `path` (made absolute) at the front.
    void add(const QString& path);
    void remove(const QString& path);
    void setPaths(const QStringList& paths);

private:
    QStringList m_paths;
};

// Recent projects and records and the folder last used for each kind of file (keyed by its
// extension), kept in the settings file under sections of their own.
struct TFileHistory {
    TRecentFiles Projects;
    TRecentFiles Records;
    QMap<QString, QString> Folders;

    bool operator==(const TFileHistory& other) const {
        return Projects.paths() == other.Projects.paths() && Records.paths() == other.Records.paths() &&
               Folders == other.Folders;
    }
};

// Never fails: what cannot be read is empty.
TFileHistory LoadFileHistory(const QString& iniPath);
// Writes the three sections, leaving every other line of the file as it was. On failure the file
// is untouched and *error (if given) holds a sentence for the user.
bool SaveFileHistory(const QString& iniPath, const TFileHistory& history, QString* error);
