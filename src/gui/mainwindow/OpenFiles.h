// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

// Where files given on the command line or dropped on the main window go.
struct TFileOpeners {
    std::function<void(const QString&)> Project; // opens a project file as File > Open does
    std::function<void(const QString&)> Record;  // opens a record file in the records window
    std::function<void(const QString&)> Unknown; // tells the user the file cannot be opened
};

// Opens the first project and the first record among `paths`; every other kind of file is reported.
// Further projects or records are ignored: the program holds one of each.
void OpenFiles(const QStringList& paths, const TFileOpeners& openers);

// Lets the watched window take files dropped from the file manager and hands them to OpenFiles.
class TFileDropFilter final : public QObject {
public:
    TFileDropFilter(QWidget& window, TFileOpeners openers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFileOpeners m_openers;
};
