#pragma once

#include "records/RecordCommands.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class IUserInterface;
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
    // Closing the window clears the main window's status text through this.
    void setMainStatusFunction(std::function<void(const QString&)> setMainStatus);

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
    void SaveRecordFileAs();
    void ReadRecordsFromInstrument();
    void ExportTable(TExportFormat format);
    void ZoomIn(int chart);
    void ZoomOut(int chart);
    void Zoom100(int chart);
    void ChangeTitle(int chart);
    void PrintChart(int chart);
};
