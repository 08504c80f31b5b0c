// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BalancingSummaryWindow.h"

#include "commands/ApplicationState.h"
#include "mainwindow/BalancingTableModel.h"
#include "mainwindow/DecimalSpinBox.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"
#include "model/CommissioningFigures.h"
#include "ui/BranchTableView.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Fits a 1024 x 768 screen with its frame and a panel.
constexpr QSize DesignedSize(960, 560);
// Fitted columns stay narrower than this; long valve names are cut, the rest stays in sight.
constexpr int RemarkColumnCharacters = 24;

} // namespace

TBalancingSummaryWindow::TBalancingSummaryWindow(TApplicationState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("BalancingSummary"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    QSize size = DesignedSize;
    if (const QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        size = size.boundedTo(QSize(room.width() - 40, room.height() - 60));
    }
    resize(size);

    m_model = new TBalancingTableModel(m_state.Messages, this);
    m_filter = new TBalancingFilterModel(this);
    m_filter->setSourceModel(m_model);

    m_toleranceCaption = new QLabel;
    m_tolerance = new TDecimalSpinBox;
    m_tolerance->setObjectName(QStringLiteral("diaTolerance"));
    m_tolerance->setDecimals(1);
    m_tolerance->setSingleStep(0.5);
    m_tolerance->setRange(0, 100);
    m_tolerance->setPrefix(QStringLiteral("\u00B1 "));
    m_tolerance->setSuffix(QStringLiteral(" %"));
    m_toleranceCaption->setBuddy(m_tolerance);
    m_onlyOutside = new QCheckBox;
    m_onlyOutside->setObjectName(QStringLiteral("diaOnlyOutside"));
    m_print = new QPushButton;
    m_print->setObjectName(QStringLiteral("diaPrintBalancing"));
    m_print->setAutoDefault(false);
    m_close = new QPushButton;
    m_close->setObjectName(QStringLiteral("diaCloseBalancing"));
    m_close->setAutoDefault(false);

    auto* top = new QHBoxLayout;
    top->addWidget(m_toleranceCaption);
    top->addWidget(m_tolerance);
    top->addSpacing(16);
    top->addWidget(m_onlyOutside);
    top->addStretch(1);
    top->addWidget(m_print);
    top->addWidget(m_close);

    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("diaBalancingTable"));
    m_view->setModel(m_filter);
    SetUpBranchTable(*m_view);
    m_view->sortByColumn(BalancingColumnNumber, Qt::AscendingOrder);
    // Only remarks are edited: by a double click on one, or F2 anywhere in the row (below).
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked);
    // The deviation and its verdict beside the name, where they stay in sight on a small screen.
    QHeaderView* columns = m_view->horizontalHeader();
    columns->moveSection(columns->visualIndex(BalancingColumnDeviation), columns->visualIndex(BalancingColumnName) + 1);
    columns->moveSection(columns->visualIndex(BalancingColumnWithin), columns->visualIndex(BalancingColumnDeviation) + 1);

    m_counts = new QLabel;
    m_counts->setObjectName(QStringLiteral("diaBalancingCounts"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_counts);

    connect(m_view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        // A double click on a remark opens its editor instead.
        if (!(index.column() == SummaryColumnRemark && (index.flags() & Qt::ItemIsEditable)))
            activateRow(index);
    });
    OnEnterInTable(*m_view, [this] { activateRow(m_view->currentIndex()); });
    auto* editKey = new QShortcut(QKeySequence(Qt::Key_F2), m_view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(editKey, &QShortcut::activated, this, [this] { editRemark(m_view->currentIndex()); });
    connect(m_model, &TBalancingTableModel::remarkEdited, this, &TBalancingSummaryWindow::remarkEdited);
    connect(m_onlyOutside, &QCheckBox::toggled, m_filter, &TBalancingFilterModel::setOnlyOutside);
    connect(m_tolerance, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (value == m_state.Settings.BalancingTolerance)
            return;
        m_state.Settings.BalancingTolerance = value;
        refresh();
        emit toleranceChanged();
    });
    connect(m_print, &QPushButton::clicked, this, &TBalancingSummaryWindow::printRequested);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &TBalancingSummaryWindow::refresh);
    // Edits, undo and redo, and replacements all pass through the document.
    FollowProjectChanges(m_state.Document, this, [this] { scheduleRefresh(); });

    applyTexts();
    refresh();
}

void TBalancingSummaryWindow::applyTexts() {
    auto tr = [this](const char* english) { return m_state.Messages.Translate(QString::fromLatin1(english)); };
    setWindowTitle(tr("Balancing summary"));
    m_toleranceCaption->setText(tr("Tolerance"));
    m_onlyOutside->setText(tr("Only branches outside the tolerance"));
    m_print->setText(m_state.Messages.TranslateEllipsis(QStringLiteral("Print")));
    m_close->setText(tr("Close"));
}

void TBalancingSummaryWindow::scheduleRefresh() {
    m_refreshTimer.start();
}

void TBalancingSummaryWindow::refresh() {
    m_refreshTimer.stop();
    const TProject& project = m_state.Document.project();
    const double tolerance = m_state.Settings.BalancingTolerance;
    // Only a change from elsewhere: setting the box rewrites the text the user is typing.
    if (m_tolerance->locale() != m_state.Units.Locale || m_tolerance->value() != tolerance) {
        const QSignalBlocker blocker(m_tolerance);
        m_tolerance->setLocale(m_state.Units.Locale);
        m_tolerance->setValue(tolerance);
    }
    // The row the user stood on stays chosen across a refresh.
    const QModelIndex current = m_view->currentIndex();
    const int branch = current.isValid() ? current.data(TBalancingTableModel::BranchRole).toInt() : -1;
    const TBalancingSummary summary = BalanceProject(project, tolerance);
    const double minPressure = m_state.Settings.Commissioning.MinDifferentialPressure;
    // Percent of design, pressure and Kv do not depend on the tolerance; the symmetric one is passed.
    const TCommissioningSummary figures =
        CommissioningSummary(project, TTolerance::symmetric(tolerance), minPressure);
    std::vector<TSummaryExtras> extras;
    extras.reserve(figures.Branches.size());
    for (std::size_t i = 0; i < figures.Branches.size(); ++i)
        extras.push_back({figures.Branches[i], m_state.Document.branchRemark(static_cast<int>(i))});
    m_model->setRows(BuildBalancingRows({project, *m_state.Catalogue, m_state.codePage()}, summary),
                     std::move(extras), m_state.Units, minPressure);
    if (branch >= 0 && branch < m_model->rowCount()) {
        const QModelIndex again = m_filter->mapFromSource(m_model->index(branch, current.column()));
        if (again.isValid())
            m_view->setCurrentIndex(again);
    }
    auto tr = [this](const char* english) { return m_state.Messages.Translate(QString::fromLatin1(english)); };
    m_counts->setText(tr("Within tolerance") + QStringLiteral(": ") + QString::number(summary.Within) +
                      QStringLiteral("     ") + tr("Outside tolerance") + QStringLiteral(": ") +
                      QString::number(summary.Outside) + QStringLiteral("     ") + tr("Not measured") +
                      QStringLiteral(": ") + QString::number(summary.NotMeasured));
    fitColumns();
}

void TBalancingSummaryWindow::fitColumns() {
    // Measured in the font the window is shown in, which its opener sets after building it.
    if (m_sized || !isVisible() || m_model->rowCount() == 0)
        return;
    FitTableColumns(*m_view);
    QHeaderView* columns = m_view->horizontalHeader();
    // Room for a remark of a few words, which are mostly typed after the window opened.
    const int remarkWidth = m_view->fontMetrics().averageCharWidth() * RemarkColumnCharacters;
    columns->resizeSection(SummaryColumnRemark, std::max(columns->sectionSize(SummaryColumnRemark), remarkWidth));
    m_sized = true;
}

void TBalancingSummaryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitColumns();
}

QString TBalancingSummaryWindow::countsText() const {
    return m_counts->text();
}

void TBalancingSummaryWindow::setRemarksEditable(std::function<bool()> editable) {
    m_model->setRemarksEditable(std::move(editable));
}

bool TBalancingSummaryWindow::editRemark(const QModelIndex& index) {
    if (!index.isValid())
        return false;
    const QModelIndex remark = index.siblingAtColumn(SummaryColumnRemark);
    if (!(remark.flags() & Qt::ItemIsEditable))
        return false;
    m_view->setCurrentIndex(remark);
    m_view->edit(remark);
    return m_view->indexWidget(remark) != nullptr;
}

void TBalancingSummaryWindow::activateRow(const QModelIndex& index) {
    if (index.isValid())
        emit branchActivated(index.data(TBalancingTableModel::BranchRole).toInt());
}
