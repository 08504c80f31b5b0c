// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: a bare Qt main window with a menu bar and a tree, the least a
// program with the main window's frame can show.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTreeWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"File", "Edit", "Device", "Options", "Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 0; i < 6; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
    }
    auto* tree = new QTreeWidget;
    tree->setHeaderHidden(true);
    new QTreeWidgetItem(tree, {QStringLiteral("New project")});
    window.setCentralWidget(tree);
    window.resize(846, 600);
    window.show();
    return QApplication::exec();
}
