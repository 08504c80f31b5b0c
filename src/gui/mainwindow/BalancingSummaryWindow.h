// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QPushButton;
class QLabel;
class QTableView;
class TBalancingFilterModel;
class TBalancingTableModel;
struct TApplicationState;

// "Balancing summary": every branch with its deviation from the requested flow and its final
// commissioning figures, sortable by any column and filterable to the branches outside the
// tolerance; the branches' remarks are typed here too. Not modal, so that the user can work in the
// main window beside it; it follows every change of the document at once. A window of its own (no
// parent), so that the main window can come in front of it.
class TBalancingSummaryWindow final : public QDialog {
    Q_OBJECT
public:
    explicit TBalancingSummaryWindow(TApplicationState& state, QWidget* parent = nullptr);

    // Rows and counts from the project as it is now.
    void refresh();
    // A refresh once the events at hand are handled: a replacement announces many changes.
    void scheduleRefresh();
    void applyTexts();

    TBalancingTableModel* model() const { return m_model; }
    TBalancingFilterModel* filter() const { return m_filter; }
    QTableView* view() const { return m_view; }
    QDoubleSpinBox* toleranceBox() const { return m_tolerance; }
    QCheckBox* onlyOutsideBox() const { return m_onlyOutside; }
    QString countsText() const;
    // Asked before a remark is edited; without it remarks are read-only.
    void setRemarksEditable(std::function<bool()> editable);
    // Opens the editor of the remark in the row of `index` (any column), when remarks are editable.
    bool editRemark(const QModelIndex& index);

signals:
    // Double click or Enter on a row: the branch's index in the project.
    void branchActivated(int branch);
    // The user typed a new remark for the branch (index in the project); the document has it not yet.
    void remarkEdited(int branch, const QString& remark);
    // The user changed the tolerance (already stored in the settings).
    void toleranceChanged();
    void printRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activateRow(const QModelIndex& index);
    void fitColumns();

    TApplicationState& m_state;
    TBalancingTableModel* m_model = nullptr;
    TBalancingFilterModel* m_filter = nullptr;
    QTableView* m_view = nullptr;
    QDoubleSpinBox* m_tolerance = nullptr;
    QCheckBox* m_onlyOutside = nullptr;
    QLabel* m_toleranceCaption = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    QTimer m_refreshTimer;
    // Columns are fitted to the first rows shown, later the user's widths stay.
    bool m_sized = false;
};
