// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printing/PrinterSetup.h"

#include <QObject>
#include <QPointer>

#include <functional>

class IUserInterface;
class QTreeView;
class QWidget;
class TBalancingSummaryWindow;
class TProjectUndo;
class TTiskF;
struct TApplicationState;

// The main window's balancing commands (their menu items are the main window's): the summary opens
// beside the main window, the report prints the summary through the preview. A double click in the
// summary brings the main window forward and selects the branch in the project tree, as a click
// there would. A remark typed in the summary goes onto the project's undo history.
class TBalancingCommands final : public QObject {
    Q_OBJECT
public:
    struct TWiring {
        TApplicationState& State;
        IUserInterface& Ui;
        QWidget& MainWindow;
        QTreeView& Tree;
        TProjectUndo& Undo;
        // The main window's printer choice and preview, read at print time.
        std::function<TPrinterSetup()> PrinterSetup;
        std::function<TTiskF&()> Preview;
    };

    explicit TBalancingCommands(TWiring wiring, QObject* parent = nullptr);
    ~TBalancingCommands() override;

    // The summary window's texts, when it is open.
    void applyTexts();
    // The summary again after a change the document does not announce (the units).
    void refresh();

    void ShowSummary();
    void PrintReport();
    void SelectBranch(int branch);
    void ChangeRemark(int branch, const QString& remark);
    // Null until first shown.
    TBalancingSummaryWindow* summaryWindow() const;

signals:
    // The user changed the tolerance in the summary (already in the settings).
    void toleranceChanged();

private:
    // Not while the main window waits for an edit's confirmation or talks to the instrument: the
    // history and the document are not ours to change then.
    bool remarksEditable() const;

    TWiring m_w;
    // Owned here: a window without parent, which the main window may cover.
    QPointer<TBalancingSummaryWindow> m_window;
};
