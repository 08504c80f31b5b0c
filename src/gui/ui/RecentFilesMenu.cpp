// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RecentFilesMenu.h"

#include "files/FileHistory.h"
#include "localisation/MenuAccelerators.h"
#include "model/Translator.h"
#include "commands/UserInterface.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

// "&1 name.proj  (folder)": the number is the entry's accelerator, a '&' of the name is shown as is.
QString entryText(qsizetype index, const QString& path) {
    const QFileInfo info(path);
    QString text = QStringLiteral("%1  (%2)").arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()));
    text.replace(u'&', QLatin1String("&&"));
    return QStringLiteral("&%1 ").arg(index + 1) + text;
}

} // namespace

QMenu* AddRecentFilesMenu(QMenu& parent, QAction* before, const char* objectName, TRecentFiles& files,
                          const QAction* follows, IUserInterface& ui, const ITranslator& translator,
                          std::function<void()> changed, std::function<void(const QString&)> open) {
    auto* menu = new QMenu(&parent);
    menu->setObjectName(QLatin1String(objectName) + QStringLiteral("Menu"));
    menu->menuAction()->setObjectName(QLatin1String(objectName));
    menu->menuAction()->setText(QLatin1String(objectName));
    parent.insertMenu(before, menu);

    QObject::connect(menu, &QMenu::aboutToShow, menu, [=, &files, &ui, &translator] {
        menu->clear();
        if (files.paths().isEmpty()) {
            const QString none = translator.Translate(QStringLiteral("No recent files"));
            menu->addAction(AssignAccelerators({none}).constFirst())->setEnabled(false);
            return;
        }
        const bool enabled = !follows || follows->isEnabled();
        for (qsizetype i = 0; i < files.paths().size(); ++i) {
            const QString path = files.paths().at(i);
            QAction* entry = menu->addAction(entryText(i, path));
            entry->setEnabled(enabled);
            entry->setToolTip(path);
            QObject::connect(entry, &QAction::triggered, menu, [=, &files, &ui, &translator] {
                if (!QFileInfo(path).isFile()) {
                    files.remove(path);
                    if (changed)
                        changed();
                    const QString text =
                        translator.Translate(QStringLiteral("The file no longer exists and was removed from the list"));
                    ui.showMessage(translator.Translate(QStringLiteral("Error")), text + QStringLiteral(":\n") + path);
                    return;
                }
                open(path);
            });
        }
    });
    return menu;
}
