#include "files/SafeFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

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
    if (file.write(bytes) != bytes.size() || !file.flush())
        reason = file.errorString();
    else if (::fsync(file.handle()) != 0)
        reason = QString::fromLocal8Bit(std::strerror(errno));
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return fail(path, reason, error);
    }
    if (!file.commit())
        return fail(path, file.errorString(), error);
    return true;
}
