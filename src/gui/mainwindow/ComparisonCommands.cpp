// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ComparisonCommands.h"

#include "commands/ApplicationState.h"
#include "commands/UserInterface.h"
#include "files/ProjectFile.h"
#include "mainwindow/ComparisonWindow.h"

#include <QFileInfo>

#include <memory>

TComparisonCommands::TComparisonCommands(TWiring wiring, QObject* parent)
    : QObject(parent), m_w(std::move(wiring)) {}

TComparisonCommands::~TComparisonCommands() {
    delete m_window;
}

TComparisonWindow* TComparisonCommands::window() const {
    return m_window;
}

void TComparisonCommands::applyTexts() {
    if (!m_window)
        return;
    m_window->applyTexts();
    m_window->refresh();
}

void TComparisonCommands::refresh() {
    if (m_window)
        m_window->refresh();
}

void TComparisonCommands::CompareWithProject() {
    TFileDialogOptions options;
    options.Filter = QStringLiteral("Project files (*.proj);;All Files (*)");
    options.DefaultExtension = QStringLiteral("proj");
    // Beside the file compared last, else beside the open project.
    const TDocumentState& document = m_w.State.Document.state();
    if (m_window && !m_window->olderPath().isEmpty())
        options.InitialPath = QFileInfo(m_window->olderPath()).absolutePath();
    else if (document.HasFileName)
        options.InitialPath = QFileInfo(document.ProjectFileName).absolutePath();
    const QString path = m_w.Ui.chooseFileToOpen(options);
    if (!path.isEmpty())
        CompareWithFile(path);
}

bool TComparisonCommands::CompareWithFile(const QString& path) {
    TApplicationState& s = m_w.State;
    auto older = std::make_unique<TProject>();
    QString error;
    // Read into a project of its own: the open one and a comparison already shown stay as they are.
    if (!LoadProjectFile(path, *older, s.codePage(), s.Units.Locale, &error)) {
        m_w.Ui.showMessage(s.Messages.Translate(QStringLiteral("Error")), error);
        return false;
    }
    if (!m_window) {
        // No parent: a window kept above its parent would hide the branch a double click shows.
        m_window = new TComparisonWindow(s);
        m_window->setFont(m_w.MainWindow.font());
        m_window->setWindowIcon(m_w.MainWindow.windowIcon());
        connect(m_window, &TComparisonWindow::branchActivated, this, [this](int branch) {
            if (m_w.SelectBranch)
                m_w.SelectBranch(branch);
        });
    }
    m_window->setOlderProject(std::move(older), path);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return true;
}
