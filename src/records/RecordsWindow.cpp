#include "records/RecordsWindow.h"

TRecordsF::TRecordsF(TApplicationState& state, QWidget* parent) : QMainWindow(parent) {
    (void)state;
    setObjectName(QStringLiteral("RecordsF"));
}

TRecordsF::TRecordsF(TApplicationState& state, IUserInterface& ui, QWidget* parent) : QMainWindow(parent) {
    (void)state;
    (void)ui;
    setObjectName(QStringLiteral("RecordsF"));
}

TRecordsF::~TRecordsF() = default;

void TRecordsF::setReadRecordsFunction(std::function<bool()>) {}
void TRecordsF::setMainStatusFunction(std::function<void(const QString&)>) {}
void TRecordsF::ShowCurrentRecord() {}
void TRecordsF::FillTableAndCharts() {}
void TRecordsF::SetChartTitle(int, const QString&) {}
void TRecordsF::ApplyRecordsWindowTexts() {}
void TRecordsF::showModally() { show(); }
void TRecordsF::setStatusText(const QString&) {}
QString TRecordsF::statusText() const { return {}; }
TRecordOpenResult TRecordsF::OpenRecordFile() { return TRecordOpenResult::Cancelled; }
void TRecordsF::SaveRecordFileAs() {}
void TRecordsF::ReadRecordsFromInstrument() {}
void TRecordsF::ExportTable(TExportFormat) {}
void TRecordsF::ZoomIn(int) {}
void TRecordsF::ZoomOut(int) {}
void TRecordsF::Zoom100(int) {}
void TRecordsF::ChangeTitle(int) {}
void TRecordsF::PrintChart(int) {}
