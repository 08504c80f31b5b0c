// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeFileWriter.h"

#include "files/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>


namespace {

bool fail(const QString& path, const QString& reason, QString* error) {
    if (error)
        *error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    if (path.isEmpty())
        return fail(path, QStringLiteral("no file name given"), error);
    if (QFileInfo(path).isDir())
        return fail(path, QStringLiteral("it is a folder"), error);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        return fail(path,
                    QStringLiteral("the folder %1 does not exist").arg(QDir::toNativeSeparators(folder)),
                    error);

    QSaveFile file(path);
    // Writing straight into the target would lose the old contents on a failure.
    file.setDirectWriteFallback(false);
    // Unbuffered, and synced here: QSaveFile::commit() does not report a failed final flush or
    // sync, and would rename a short file (full disk) over the target.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(path, file.errorString(), error);
    QString reason;
    // A short write (a full disk) sets no error; the next write fails at once with the system's
    // reason.
    qint64 written = 0;
    while (reason.isEmpty() && written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            reason = file.errorString();
        else
            written += n;
    }
    if (reason.isEmpty() && !file.flush())
        reason = file.errorString();
    if (reason.isEmpty())
        reason = SyncToDisk(file.handle());
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return fail(path, reason, error);
    }
    if (!file.commit())
        return fail(path, file.errorString(), error);
    return true;
}
