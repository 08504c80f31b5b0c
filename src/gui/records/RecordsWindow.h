// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/DeviceOperation.h"
#include "printing/PrinterSetup.h"
#include "records/AnalysisExport.h"
#include "commands/RecordCommands.h"
#include "records/RecordListRows.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class IUserInterface;
class QAction;
class QLabel;
class QMenu;
class QLineEdit;
class QPrinter;
class QTabWidget;
class QTableView;
class TRecordChart;
class TRecordOpenF;
class TRecordSamples;
class TRecordStatisticsPanel;
class TRecordTableModel;
class TTiskF;
struct TApplicationState;

// The window that shows a measurement record as a table and two charts. Created hidden at start-up
// and shown by the record commands of the main window.
class TRecordsF : public QMainWindow {
    Q_OBJECT
public:
    enum Chart { PressureChart = 1, FlowChart = 2 };

    // The questions go to real dialogs parented to this window.
    explicit TRecordsF(TApplicationState& state, QWidget* parent = nullptr);
    // The questions go to `ui` (tests pass a scripted one).
    TRecordsF(TApplicationState& state, IUserInterface& ui, QWidget* parent = nullptr);
    ~TRecordsF() override;

    // "Open record from device...": the instrument read belongs to the main window (its link, its
    // status bar); it answers whether a record was chosen.
    void setReadRecordsFunction(std::function<bool()> readRecords);
    // Runs a device operation as the main window runs its own (its link guard, driver and input
    // lock); the records window reads records to compare with through it.
    using TDeviceOperationRunner =
        std::function<TDeviceResult(const std::function<TDeviceResult(const TDeviceOperationContext&)>&)>;
    void setDeviceOperationRunner(TDeviceOperationRunner run);
    // The record list the user chooses a record to compare with from; the default is a record list
    // dialog of this window's own.
    using TRecordListChooser = std::function<std::optional<int>(const std::vector<TRecordListRow>& rows)>;
    void setRecordListChooser(TRecordListChooser choose);
    // Closing the window clears the main window's status text through this.
    void setMainStatusFunction(std::function<void(const QString&)> setMainStatus);
    // Where the table report is shown before printing; without one the window makes its own.
    void setPrintPreview(TTiskF* preview);
    // Chooses the printer for the table and chart prints; the default is Qt's print dialog.
    void setPrinterSetup(TPrinterSetup setup);
    // The window each show centres this one over (the main window).
    void setCentredOver(const QWidget* window) { m_centredOver = window; }

    void ShowCurrentRecord();
    void FillTableAndCharts();
    // 1 pressure, 2 flow; any other selector does nothing.
    void SetChartTitle(int chart, const QString& text);
    void ApplyRecordsWindowTexts();

    // Shown modal to the other windows, without a nested event loop.
    void showModally();
    void setStatusText(const QString& text);
    QString statusText() const;

    // The menu and toolbar commands.
    // "Open...": the file dialog and the load; the record is shown when it loaded. Also used by the
    // main window, which shows this window unless the dialog was cancelled.
    TRecordOpenResult OpenRecordFile();
    // The same for a file already chosen (command line, dropped file, recent records).
    TRecordOpenResult OpenRecordPath(const QString& path);
    void SaveRecordFileAs();
    void ReadRecordsFromInstrument();
    void ExportTable(TExportFormat format);
    void ExportForAnalysis(TAnalysisFormat format);
    // The chart in front (pressure from the table tab) as a PNG or SVG picture.
    void ExportChart();
    // The records report after a page with the record header and both charts as they show now.
    void PrintWithCharts();
    // "Compare with record...": another record file drawn over both charts; the table keeps the
    // shown record.
    void CompareWithRecordFile();
    // "Compare with record from device...": the instrument's records read into a list of their own,
    // one chosen and drawn over both charts; the shown record and its table stay as they are.
    void CompareWithDeviceRecord();
    // "Remove comparison": one entry per compared record, in the order they were added.
    void RemoveComparison(int overlay);
    int comparisonCount() const { return static_cast<int>(m_comparisons.size()); }
    void ZoomIn(int chart);
    void ZoomOut(int chart);
    void Zoom100(int chart);
    void ChangeTitle(int chart);
    void PrintChart(int chart);
    // The table tab's "Print": the printer set-up, the records report in the preview, then the print.
    void Printtableofrecords1Click();

    // The chart print after the printer dialog: the chart alone on the whole page.
    void printChartOn(int chart, QPrinter& printer);

    // What the window shows, for tests.
    TRecordTableModel* tableModel() const { return m_tableModel; }
    QTableView* tableView() const { return m_table; }
    // Null for any selector but 1 and 2.
    TRecordChart* chart(int chart) const;
    QTabWidget* pages() const { return m_pages; }
    // The statistics of the whole record and of the range the chart in front (or last in front) shows.
    TRecordStatisticsPanel* statisticsPanel() const { return m_statistics; }
    // Samples of the current record in the table after the last FillTableAndCharts.
    std::int32_t shownRows() const { return m_shownRows; }
    // A menu item, action or toolbar button by its object name; null when there is none.
    QAction* action(const QString& name) const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void init();
    void buildHeaderPanel(QWidget* panel);
    QWidget* buildTablePage();
    QWidget* buildChartPage(int chart, TRecordChart* view);
    void buildMenu();
    TRecordOpenResult shownAfterOpen(TRecordOpenResult result);
    TRecordCommandContext commandContext();
    QString tr_(const char* english) const;
    TTiskF& printPreview();

    TApplicationState& m_state;
    std::unique_ptr<IUserInterface> m_ownUi;
    IUserInterface* m_ui = nullptr;
    std::function<bool()> m_readRecords;
    TDeviceOperationRunner m_runDeviceOperation;
    TRecordListChooser m_recordListChooser;
    TRecordOpenF* m_recordList = nullptr;
    std::function<void(const QString&)> m_setMainStatus;
    const QWidget* m_centredOver = nullptr;
    TTiskF* m_printPreview = nullptr;
    TPrinterSetup m_printerSetup;

    QLineEdit* m_description = nullptr;
    QLineEdit* m_valve = nullptr;
    QLineEdit* m_valve2 = nullptr;
    QLineEdit* m_preset = nullptr;
    QLineEdit* m_medium = nullptr;
    QLineEdit* m_concentration = nullptr;
    QLineEdit* m_temperature = nullptr;
    QLabel* m_concentrationCapt = nullptr;
    QLabel* m_temperatureCapt = nullptr;
    QTabWidget* m_pages = nullptr;
    QTableView* m_table = nullptr;
    TRecordTableModel* m_tableModel = nullptr;
    TRecordChart* m_pressureChart = nullptr;
    TRecordChart* m_flowChart = nullptr;
    QLabel* m_status = nullptr;
    std::int32_t m_shownRows = 0;
    // The records drawn over the charts, each as loaded from its file.
    std::vector<std::unique_ptr<TRecordStore>> m_comparisons;
    QMenu* m_removeComparison = nullptr;
    void showComparisons();
    TRecordStatisticsPanel* m_statistics = nullptr;
    // The shown record's samples as the statistics read them; rebuilt with the table and charts.
    std::unique_ptr<TRecordSamples> m_samples;
    // The chart whose visible range the statistics follow.
    int m_rangeChart = PressureChart;
    void showStatistics();
};
