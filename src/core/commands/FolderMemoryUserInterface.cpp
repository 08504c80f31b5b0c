// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/FolderMemoryUserInterface.h"

#include "files/FileHistory.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString FileDialogKind(const TFileDialogOptions& options) {
    if (!options.DefaultExtension.isEmpty())
        return options.DefaultExtension.toLower();
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([A-Za-z0-9]+))"));
    const QRegularExpressionMatch match = pattern.match(options.Filter);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

TFolderMemoryUserInterface::TFolderMemoryUserInterface(std::unique_ptr<IUserInterface> inner,
                                                       TFileHistory& history, std::function<void()> changed,
                                                       QString firstFolder)
    : m_inner(std::move(inner)), m_history(history), m_changed(std::move(changed)),
      m_firstFolder(std::move(firstFolder)) {}

TFileDialogOptions TFolderMemoryUserInterface::withStartFolder(const TFileDialogOptions& options) const {
    // A path with a folder was chosen by the command (the project's own file): it wins.
    if (options.InitialPath.contains(u'/'))
        return options;
    // Not the process's working folder, which for a program started from the desktop means nothing.
    QString folder = m_history.Folders.value(FileDialogKind(options));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = m_firstFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return options;
    TFileDialogOptions started = options;
    // A bare name (the proposed file name) goes into the remembered folder.
    started.InitialPath = options.InitialPath.isEmpty() ? folder : QDir(folder).filePath(options.InitialPath);
    return started;
}

QString TFolderMemoryUserInterface::remembered(const TFileDialogOptions& options, const QString& chosen) {
    const QString kind = FileDialogKind(options);
    if (chosen.isEmpty() || kind.isEmpty())
        return chosen;
    const QString folder = QFileInfo(chosen).absolutePath();
    if (m_history.Folders.value(kind) != folder) {
        m_history.Folders.insert(kind, folder);
        if (m_changed)
            m_changed();
    }
    return chosen;
}

QString TFolderMemoryUserInterface::chooseFileToOpen(const TFileDialogOptions& options) {
    return remembered(options, m_inner->chooseFileToOpen(withStartFolder(options)));
}

QString TFolderMemoryUserInterface::chooseFileToSave(const TFileDialogOptions& options) {
    return remembered(options, m_inner->chooseFileToSave(withStartFolder(options)));
}
