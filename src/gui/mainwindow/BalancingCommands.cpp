// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BalancingCommands.h"

#include "commands/ApplicationState.h"
#include "mainwindow/BalancingSummaryWindow.h"
#include "mainwindow/ProjectTree.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/ProjectNames.h"
#include "printing/BalancingReport.h"
#include "printing/PreviewAndPrint.h"

#include <QPrinter>
#include <QTreeView>

TBalancingCommands::TBalancingCommands(TWiring wiring, QObject* parent)
    : QObject(parent), m_w(std::move(wiring)) {}

TBalancingCommands::~TBalancingCommands() {
    delete m_window;
}

TBalancingSummaryWindow* TBalancingCommands::summaryWindow() const {
    return m_window;
}

void TBalancingCommands::applyTexts() {
    if (!m_window)
        return;
    m_window->applyTexts();
    // The captions and counts are texts too.
    m_window->refresh();
}

void TBalancingCommands::refresh() {
    if (m_window)
        m_window->refresh();
}

void TBalancingCommands::ShowSummary() {
    if (!m_window) {
        // No parent: a window kept above its parent would hide the branch a double click shows.
        m_window = new TBalancingSummaryWindow(m_w.State);
        m_window->setFont(m_w.MainWindow.font());
        m_window->setWindowIcon(m_w.MainWindow.windowIcon());
        connect(m_window, &TBalancingSummaryWindow::branchActivated, this, &TBalancingCommands::SelectBranch);
        connect(m_window, &TBalancingSummaryWindow::printRequested, this, &TBalancingCommands::PrintReport);
        connect(m_window, &TBalancingSummaryWindow::toleranceChanged, this, [this] {
            if (auto* model = qobject_cast<TProjectTreeModel*>(m_w.Tree.model()))
                model->marksChanged();
        });
    }
    m_window->refresh();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void TBalancingCommands::SelectBranch(int branch) {
    m_w.MainWindow.raise();
    m_w.MainWindow.activateWindow();
    // A disabled tree means an edit waits for its confirmation; the user finishes that first.
    if (!m_w.Tree.isEnabled())
        return;
    const auto* model = qobject_cast<const TProjectTreeModel*>(m_w.Tree.model());
    const QModelIndex node = model ? model->branchIndex(branch) : QModelIndex();
    if (!node.isValid())
        return;
    m_w.Tree.setCurrentIndex(node);
    m_w.Tree.scrollTo(node);
    m_w.Tree.setFocus();
}

void TBalancingCommands::PrintReport() {
    TApplicationState& s = m_w.State;
    QPrinter printer(QPrinter::HighResolution);
    const TPrinterSetup setup = m_w.PrinterSetup ? m_w.PrinterSetup() : TPrinterSetup();
    if (!setup || !setup(printer))
        return;
    const TProject& project = s.Document.project();
    const TBalancingSummary summary = BalanceProject(project, s.Settings.BalancingTolerance);
    const std::vector<TBalancingRow> rows = BuildBalancingRows({project, *s.Catalogue, s.codePage()}, summary);
    const QStringList lines =
        BuildBalancingReport({NameText(project, project.Header.Name),
                              NameText(project, project.Header.Last_Change), summary, rows},
                             s.Units, s.Messages);
    PreviewAndPrint(m_w.Preview(), lines, printer, s.Settings.PrintMargins, m_w.Ui, s.Messages);
}
