// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class IUserInterface;
class QWidget;
class TComparisonWindow;
struct TApplicationState;

// File > Compare with project: a project file chosen by the user is compared with the open project
// in a window beside the main window. A file that cannot be read is reported and changes nothing.
class TComparisonCommands final : public QObject {
    Q_OBJECT
public:
    struct TWiring {
        TApplicationState& State;
        IUserInterface& Ui;
        QWidget& MainWindow;
        // Selects a branch of the open project in the main window, as the balancing summary does.
        std::function<void(int)> SelectBranch;
    };

    explicit TComparisonCommands(TWiring wiring, QObject* parent = nullptr);
    ~TComparisonCommands() override;

    void CompareWithProject();
    // The same for a file already chosen. False when it could not be read (the user was told).
    bool CompareWithFile(const QString& path);
    // The window's texts and rows again after a change the document does not announce (language,
    // units, tolerance).
    void applyTexts();
    void refresh();
    // Null until first shown.
    TComparisonWindow* window() const;

private:
    TWiring m_w;
    // Owned here: a window without parent, which the main window may cover.
    QPointer<TComparisonWindow> m_window;
};
