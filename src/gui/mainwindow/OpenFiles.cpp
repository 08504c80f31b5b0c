// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/OpenFiles.h"

#include "files/FileKind.h"

#include <QDragEnterEvent>
#include <QFileInfo>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

void OpenFiles(const QStringList& paths, const TFileOpeners& openers) {
    bool project = false;
    bool record = false;
    for (const QString& given : paths) {
        // The project's title and the recent lists name the file by its full path.
        const QString path = QFileInfo(given).absoluteFilePath();
        switch (FileKindOf(path)) {
        case TFileKind::Project:
            if (!project && openers.Project)
                openers.Project(path);
            project = true;
            break;
        case TFileKind::Record:
            if (!record && openers.Record)
                openers.Record(path);
            record = true;
            break;
        case TFileKind::Unknown:
            if (openers.Unknown)
                openers.Unknown(path);
            break;
        }
    }
}

TFileDropFilter::TFileDropFilter(QWidget& window, TFileOpeners openers)
    : QObject(&window), m_openers(std::move(openers)) {
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool TFileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (!localFiles(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = localFiles(drop->mimeData());
        if (!paths.isEmpty()) {
            drop->acceptProposedAction();
            // After the drop has ended: opening may ask questions, which must not run inside the drag.
            QMetaObject::invokeMethod(this, [this, paths] { OpenFiles(paths, m_openers); }, Qt::QueuedConnection);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
