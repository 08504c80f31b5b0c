// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/ComparisonWindow.h"

#include "commands/ApplicationState.h"
#include "mainwindow/ComparisonTableModel.h"
#include "model/ComparisonTable.h"
#include "model/ProjectComparison.h"
#include "model/ProjectNames.h"
#include "ui/BranchTableView.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Fits a 1024 x 768 screen with its frame and a panel, as the balancing summary does.
constexpr QSize DesignedSize(960, 560);

} // namespace

TComparisonWindow::TComparisonWindow(TApplicationState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_older(std::make_unique<TProject>()) {
    setObjectName(QStringLiteral("ProjectComparison"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    QSize size = DesignedSize;
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        size = size.boundedTo(QSize(room.width() - 40, room.height() - 60));
    }
    resize(size);

    m_model = new TComparisonTableModel(m_state.Messages, *m_state.Catalogue, this);
    m_sorter = new TComparisonSortModel(this);
    m_sorter->setSourceModel(m_model);

    m_olderLabel = new QLabel;
    m_olderLabel->setObjectName(QStringLiteral("diaComparedFile"));
    m_olderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_close = new QPushButton;
    m_close->setObjectName(QStringLiteral("diaCloseComparison"));
    m_close->setAutoDefault(false);
    auto* top = new QHBoxLayout;
    top->addWidget(m_olderLabel, 1);
    top->addWidget(m_close);

    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("diaComparisonTable"));
    m_view->setModel(m_sorter);
    SetUpBranchTable(*m_view);
    // The open project's order first, the branches of one project only after it.
    m_view->sortByColumn(-1, Qt::AscendingOrder);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->horizontalHeader()->setSortIndicatorShown(true);

    m_counts = new QLabel;
    m_counts->setObjectName(QStringLiteral("diaComparisonCounts"));
    m_counts->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_counts);

    connect(m_view, &QAbstractItemView::doubleClicked, this, &TComparisonWindow::activateRow);
    OnEnterInTable(*m_view, [this] { activateRow(m_view->currentIndex()); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TComparisonWindow::refresh);
    FollowProjectChanges(m_state.Document, this, [this] { scheduleRefresh(); });

    applyTexts();
    refresh();
}

TComparisonWindow::~TComparisonWindow() = default;

void TComparisonWindow::setOlderProject(std::unique_ptr<TProject> older, const QString& path) {
    m_older = std::move(older);
    m_path = path;
    applyTexts();
    refresh();
}

void TComparisonWindow::applyTexts() {
    auto tr = [this](const char* english) {
        return m_state.Messages.Translate(QString::fromLatin1(english));
    };
    const QString file = QFileInfo(m_path).fileName();
    setWindowTitle(file.isEmpty() ? tr("Project comparison")
                                  : tr("Project comparison") + QStringLiteral(" - ") + file);
    m_olderLabel->setText(tr("Old project") + QStringLiteral(": ") +
                          NameText(*m_older, m_older->Header.Name) + QStringLiteral("   (") +
                          QDir::toNativeSeparators(m_path) + u')');
    m_close->setText(tr("Close"));
}

void TComparisonWindow::scheduleRefresh() {
    m_refreshTimer.start();
}

void TComparisonWindow::refresh() {
    m_refreshTimer.stop();
    // The row the user stood on stays chosen across a refresh when its branch is still there.
    const QModelIndex current = m_view->currentIndex();
    const int branch = current.isValid() ? current.data(TComparisonTableModel::NewBranchRole).toInt() : -1;
    TProjectComparison comparison =
        CompareProjects(*m_older, m_state.Document.project(), m_state.Settings.BalancingTolerance);
    m_counts->setText(ComparisonCountsText(comparison, m_state.Units, m_state.Messages));
    m_model->setComparison(std::move(comparison), m_state.Units, m_state.codePage());
    if (branch >= 0) {
        for (int r = 0; r < m_sorter->rowCount(); ++r) {
            const QModelIndex again = m_sorter->index(r, current.column());
            if (again.data(TComparisonTableModel::NewBranchRole).toInt() == branch) {
                m_view->setCurrentIndex(again);
                break;
            }
        }
    }
    fitColumns();
}

void TComparisonWindow::fitColumns() {
    // Measured in the font the window is shown in, which its opener sets after building it.
    if (m_sized || !isVisible() || m_model->rowCount() == 0)
        return;
    FitTableColumns(*m_view);
    m_sized = true;
}

void TComparisonWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitColumns();
}

QString TComparisonWindow::countsText() const {
    return m_counts->text();
}

void TComparisonWindow::activateRow(const QModelIndex& index) {
    if (!index.isValid())
        return;
    // A branch of the old project only has nothing to show in the main window.
    const int branch = index.data(TComparisonTableModel::NewBranchRole).toInt();
    if (branch >= 0)
        emit branchActivated(branch);
}
