#include "mainwindow/BalancingSummaryWindow.h"

#include "mainwindow/ApplicationState.h"
#include "mainwindow/BalancingTableModel.h"
#include "model/Balancing.h"
#include "model/BalancingTable.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

TBalancingSummaryWindow::TBalancingSummaryWindow(TApplicationState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("BalancingSummary"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(1180, 560);

    m_model = new TBalancingTableModel(m_state.Messages, this);
    m_filter = new TBalancingFilterModel(this);
    m_filter->setSourceModel(m_model);

    m_toleranceCaption = new QLabel;
    m_tolerance = new QSpinBox;
    m_tolerance->setObjectName(QStringLiteral("diaTolerance"));
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
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(BalancingColumnNumber, Qt::AscendingOrder);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setStretchLastSection(true);

    m_counts = new QLabel;
    m_counts->setObjectName(QStringLiteral("diaBalancingCounts"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_counts);

    connect(m_view, &QAbstractItemView::doubleClicked, this, &TBalancingSummaryWindow::activateRow);
    // Enter does what the double click does; Qt's "activated" would also fire on a single click
    // where the desktop activates that way.
    for (const QKeySequence key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(key, m_view, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { activateRow(m_view->currentIndex()); });
    }
    connect(m_onlyOutside, &QCheckBox::toggled, m_filter, &TBalancingFilterModel::setOnlyOutside);
    connect(m_tolerance, &QSpinBox::valueChanged, this, [this](int value) {
        if (value == m_state.Settings.BalancingTolerance)
            return;
        m_state.Settings.BalancingTolerance = value;
        refresh();
        emit toleranceChanged();
    });
    connect(m_print, &QPushButton::clicked, this, &TBalancingSummaryWindow::printRequested);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);

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

void TBalancingSummaryWindow::refresh() {
    const TProject& project = *m_state.Project;
    const int tolerance = m_state.Settings.BalancingTolerance;
    {
        const QSignalBlocker blocker(m_tolerance);
        m_tolerance->setValue(tolerance);
    }
    // The row the user stood on stays chosen across a refresh.
    const QModelIndex current = m_view->currentIndex();
    const int branch = current.isValid() ? current.data(TBalancingTableModel::BranchRole).toInt() : -1;
    const TBalancingSummary summary = BalanceProject(project, tolerance);
    m_model->setRows(BuildBalancingRows({project, *m_state.Catalogue, m_state.codePage()}, summary), m_state.Units);
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
    if (!m_sized && m_model->rowCount() > 0) {
        m_view->resizeColumnsToContents();
        m_sized = true;
    }
}

QString TBalancingSummaryWindow::countsText() const {
    return m_counts->text();
}

void TBalancingSummaryWindow::activateRow(const QModelIndex& index) {
    if (index.isValid())
        emit branchActivated(index.data(TBalancingTableModel::BranchRole).toInt());
}

bool TBalancingSummaryWindow::event(QEvent* event) {
    // The project may have changed in the main window meanwhile.
    if (event->type() == QEvent::WindowActivate) {
        applyTexts();
        refresh();
    }
    return QDialog::event(event);
}
