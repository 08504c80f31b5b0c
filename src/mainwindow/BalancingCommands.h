#pragma once

#include "printing/PrinterSetup.h"

#include <QObject>

#include <functional>

class IUserInterface;
class QAction;
class QTreeWidget;
class QWidget;
class TBalancingSummaryWindow;
class TTiskF;
struct TApplicationState;

// The main window's balancing commands: "Balancing summary..." opens the summary beside the main
// window, "Balancing report..." prints the summary through the preview. A double click in the
// summary selects the branch in the project tree, as a click there would.
class TBalancingCommands final : public QObject {
    Q_OBJECT
public:
    struct TWiring {
        TApplicationState& State;
        IUserInterface& Ui;
        QWidget& MainWindow;
        QTreeWidget& Tree;
        // The main window's printer choice and preview, read at print time.
        std::function<TPrinterSetup()> PrinterSetup;
        std::function<TTiskF&()> Preview;
    };

    explicit TBalancingCommands(TWiring wiring, QObject* parent = nullptr);

    QAction* summaryAction() const { return m_summaryAction; }
    QAction* reportAction() const { return m_reportAction; }
    void applyTexts();

    void ShowSummary();
    void PrintReport();
    void SelectBranch(int branch);
    // Null until first shown.
    TBalancingSummaryWindow* summaryWindow() const { return m_window; }

private:
    TWiring m_w;
    QAction* m_summaryAction = nullptr;
    QAction* m_reportAction = nullptr;
    TBalancingSummaryWindow* m_window = nullptr;
};
