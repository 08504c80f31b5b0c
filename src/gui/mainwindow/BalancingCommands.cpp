// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BalancingCommands.h"

#include "commands/ApplicationState.h"
#include "commands/UserInterface.h"
#include "document/ProjectUndo.h"
#include "document/RemarkEdit.h"
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
        connect(m_window, &TBalancingSummaryWindow::remarkEdited, this, &TBalancingCommands::ChangeRemark);
        m_window->setRemarksEditable([this] { return remarksEditable(); });
        connect(m_window, &TBalancingSummaryWindow::toleranceChanged, this, [this] {
            if (auto* model = qobject_cast<TProjectTreeModel*>(m_w.Tree.model()))
                model->marksChanged();
            emit toleranceChanged();
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

bool TBalancingCommands::remarksEditable() const {
    return m_w.Tree.isEnabled();
}

void TBalancingCommands::ChangeRemark(int branch, const QString& remark) {
    TApplicationState& s = m_w.State;
    const TProject& project = s.Document.project();
    if (branch < 0 || branch >= project.branchCount() || s.Document.branchRemark(branch) == remark)
        return;
    if (!remarksEditable()) {
        m_w.Ui.showMessage(s.Messages.Translate(QStringLiteral("Error")),
                           s.Messages.Translate(QStringLiteral(
                               "The remark can be changed once the work in the main window is finished.")));
        // The summary shows the remark the document still has.
        if (m_window)
            m_window->scheduleRefresh();
        return;
    }
    m_w.Undo.push(new TChangeBranchRemark(s.Document, branch, remark,
                                          NameText(project, project.Branches[static_cast<std::size_t>(branch)].Name)));
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
