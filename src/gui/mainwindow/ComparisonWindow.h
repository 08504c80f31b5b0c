// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

class QLabel;
class QPushButton;
class QTableView;
class TComparisonSortModel;
class TComparisonTableModel;
struct TApplicationState;
struct TProject;

// "Project comparison": the open project (new) beside a project file (old), branch by branch, as at
// a re-commissioning. Sortable by any column; not modal, a window of its own like the balancing
// summary, and it follows every change of the open project at once.
class TComparisonWindow final : public QDialog {
    Q_OBJECT
public:
    explicit TComparisonWindow(TApplicationState& state, QWidget* parent = nullptr);
    ~TComparisonWindow() override;

    // The project of the file at `path` becomes the old side.
    void setOlderProject(std::unique_ptr<TProject> older, const QString& path);
    QString olderPath() const { return m_path; }

    // Rows and counts from the open project as it is now.
    void refresh();
    void scheduleRefresh();
    void applyTexts();

    TComparisonTableModel* model() const { return m_model; }
    TComparisonSortModel* sorter() const { return m_sorter; }
    QTableView* view() const { return m_view; }
    QString countsText() const;

signals:
    // Double click or Enter on a row of a branch in the open project: its index there.
    void branchActivated(int branch);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void activateRow(const QModelIndex& index);
    void fitColumns();

    TApplicationState& m_state;
    std::unique_ptr<TProject> m_older;
    QString m_path;
    TComparisonTableModel* m_model = nullptr;
    TComparisonSortModel* m_sorter = nullptr;
    QTableView* m_view = nullptr;
    QLabel* m_olderLabel = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_close = nullptr;
    QTimer m_refreshTimer;
    bool m_sized = false;
};
