// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/RecordsWindow.h"

#include "localisation/ApplyMenuAccelerators.h"
#include "files/RecordFile.h"
#include "commands/DeviceRecordRead.h"
#include "commands/DeviceUserInterface.h"
#include "commands/ApplicationState.h"
#include "printing/PreviewAndPrint.h"
#include "printing/PrintPreview.h"
#include "printing/PrintReport.h"
#include "printing/RecordChartsPage.h"
#include "printing/RecordsReport.h"
#include "records/AnsiCodePages.h"
#include "commands/AnalysisExportCommand.h"
#include "records/ChartExport.h"
#include "records/ChartExportCommand.h"
#include "records/ChartInteraction.h"
#include "records/ChartTitle.h"
#include "records/ChartZoom.h"
#include "records/RecordChart.h"
#include "records/RecordChartData.h"
#include "records/RecordOpenDialog.h"
#include "records/RecordOverlay.h"
#include "records/RecordStatistics.h"
#include "records/RecordStatisticsPanel.h"
#include "records/RecordTableModel.h"
#include "records/RecordsWindowExtraTexts.h"
#include "records/RecordsWindowTexts.h"
#include "commands/FolderMemoryUserInterface.h"
#include "commands/ThreadHop.h"
#include "ui/QtUserInterface.h"
#include "ui/RecentFilesMenu.h"
#include "ui/StatusLine.h"
#include "ui/WindowComforts.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize ClientSize(869, 604);
constexpr int HeaderPanelWidth = 200;
constexpr int TitlePanelHeight = 41;
constexpr int ColumnWidth = 128;
// Shown once a record file has loaded, after the window had time to repaint.
constexpr int DoneDelayMs = 100;

const QColor PanelColour(125, 179, 113);
const QColor HeaderRowColour(184, 214, 177);

QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

QString rgb(const QColor& colour) {
    return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

} // namespace

TRecordsF::TRecordsF(TApplicationState& state, QWidget* parent) : QMainWindow(parent), m_state(state) {
    m_ownUi = std::make_unique<TFolderMemoryUserInterface>(
        std::make_unique<TQtUserInterface>(this, [this](const QString& text) { setStatusText(text); }),
        m_state.History, [this] { m_state.saveHistory(); });
    m_ui = m_ownUi.get();
    init();
}

TRecordsF::TRecordsF(TApplicationState& state, IUserInterface& ui, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_ui(&ui) {
    init();
}

TRecordsF::~TRecordsF() = default;

void TRecordsF::init() {
    setObjectName(QStringLiteral("RecordsF"));
    setWindowTitle(QStringLiteral("Records"));
    setFont(windowFont());
    m_printerSetup = PrintDialogSetup(this);

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* header = new QWidget;
    header->setObjectName(QStringLiteral("diaPanelHeader"));
    header->setFixedWidth(HeaderPanelWidth);
    buildHeaderPanel(header);
    layout->addWidget(header);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setTabPosition(QTabWidget::South);
    m_pages->setDocumentMode(true);
    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(m_pages, 1);
    m_statistics = new TRecordStatisticsPanel;
    rightLayout->addWidget(m_statistics);
    layout->addWidget(right, 1);

    m_pressureChart = new TRecordChart(PressureChartMarker());
    m_pressureChart->setObjectName(QStringLiteral("ChartP"));
    m_flowChart = new TRecordChart(FlowChartMarker());
    m_flowChart->setObjectName(QStringLiteral("ChartF"));
    for (const int chart : {int(PressureChart), int(FlowChart)}) {
        auto* interaction = new TChartInteraction(*this->chart(chart));
        interaction->setZoomFunctions([this, chart] { ZoomIn(chart); }, [this, chart] { ZoomOut(chart); },
                                      [this, chart] { Zoom100(chart); });
        interaction->setOverlayMenuFunction([this](int overlay, const QPoint& at) {
            QMenu menu(this);
            connect(menu.addAction(tr_("Remove from comparison")), &QAction::triggered, this,
                    [this, overlay] { RemoveComparison(overlay); });
            menu.exec(at);
        });
    }

    m_pages->addTab(buildTablePage(), QStringLiteral("Table of records"));
    m_pages->addTab(buildChartPage(PressureChart, m_pressureChart), QStringLiteral("Pressure chart"));
    m_pages->addTab(buildChartPage(FlowChart, m_flowChart), QStringLiteral("Flow chart"));
    // The visible range is the chart's in front; the table keeps the one last in front.
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        for (const int chart : {int(PressureChart), int(FlowChart)})
            if (index == m_pages->indexOf(this->chart(chart)->parentWidget()) && chart != m_rangeChart) {
                m_rangeChart = chart;
                showStatistics();
            }
    });
    for (const int chart : {int(PressureChart), int(FlowChart)})
        connect(this->chart(chart), &TRecordChart::limitsChanged, this, [this, chart] {
            if (chart == m_rangeChart)
                showStatistics();
        });
    setCentralWidget(central);

    m_status = AddStatusLine(*this);

    buildMenu();
    AddCloseShortcuts(*this, action(QStringLiteral("mClose")));
    AddRecentFilesMenu(*findChild<QMenu*>(QStringLiteral("mFileMenu")), action(QStringLiteral("mSaveAsRec")),
                       "mRecentRecords", m_state.History.Records, action(QStringLiteral("mOpen")), *m_ui,
                       m_state.Messages, [this] { m_state.saveHistory(); },
                       [this](const QString& path) { OpenRecordPath(path); });
    resize(ClientSize.width(), ClientSize.height() + menuBar()->sizeHint().height());
    FillTableAndCharts();
}

void TRecordsF::buildHeaderPanel(QWidget* panel) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* title = new QLabel(QStringLiteral("Record"));
    title->setObjectName(QStringLiteral("diaLabel"));
    title->setAlignment(Qt::AlignCenter);
    title->setFixedHeight(TitlePanelHeight);
    title->setStyleSheet(QStringLiteral("background-color: %1;").arg(rgb(PanelColour)));
    layout->addWidget(title);

    auto* fields = new QWidget;
    auto* form = new QVBoxLayout(fields);
    form->setContentsMargins(8, 8, 8, 8);
    form->setSpacing(2);
    auto caption = [form](const char* name, const char* text) {
        auto* label = new QLabel(QString::fromUtf8(text));
        label->setObjectName(QLatin1String(name));
        form->addSpacing(6);
        form->addWidget(label);
        return label;
    };
    auto box = [form](const char* name) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QLatin1String(name));
        form->addWidget(edit);
        return edit;
    };
    caption("diaDescriptionCapt", "Description");
    m_description = box("diaDescription");
    caption("diaValveCapt", "Valve");
    m_valve = box("diaValve");
    m_valve2 = box("diaValve2");
    caption("diaPresetCapt", "Presetting");
    m_preset = box("diaPreset");
    caption("diaMediumCapt", "Medium");
    m_medium = box("diaMedium");
    m_concentrationCapt = caption("diaConcentrationCapt", "Concentration [%]");
    m_concentration = box("diaConcentration");
    m_temperatureCapt = caption("diaTemperatureCapt", "Temperature [\u00B0C]");
    m_temperature = box("diaTemperature");
    form->addStretch(1);
    layout->addWidget(fields, 1);
}

namespace {

QToolBar* pageToolBar(const char* name) {
    auto* bar = new QToolBar;
    bar->setObjectName(QLatin1String(name));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setStyleSheet(QStringLiteral("QToolBar { background-color: %1; border: none; spacing: 4px; }")
                           .arg(rgb(PanelColour)));
    return bar;
}

QAction* toolButton(QToolBar* bar, const char* name, const char* text) {
    QAction* action = bar->addAction(QString::fromUtf8(text));
    action->setObjectName(QLatin1String(name));
    return action;
}

QWidget* page(const char* name, QToolBar* bar, QWidget* content) {
    auto* widget = new QWidget;
    widget->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(content, 1);
    return widget;
}

} // namespace

QWidget* TRecordsF::buildTablePage() {
    QToolBar* bar = pageToolBar("ToolBar1");
    connect(toolButton(bar, "diaPrint", "Print"), &QAction::triggered, this,
            &TRecordsF::Printtableofrecords1Click);

    m_tableModel = new TRecordTableModel(this);
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("StringGrid1"));
    m_table->setModel(m_tableModel);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // Fixed sizes: the view then never measures 21000 rows.
    QHeaderView* columns = m_table->horizontalHeader();
    columns->setDefaultSectionSize(ColumnWidth);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; color: black;"
                                          " font-weight: bold;"
                                          " border: none; border-right: 1px solid gray;"
                                          " border-bottom: 1px solid gray; padding: 2px 4px; }")
                               .arg(rgb(HeaderRowColour)));
    QHeaderView* rows = m_table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    return page("TabTable", bar, m_table);
}

QWidget* TRecordsF::buildChartPage(int chart, TRecordChart* view) {
    const bool pressure = chart == PressureChart;
    QToolBar* bar = pageToolBar(pressure ? "ToolBarP" : "ToolBarF");
    connect(toolButton(bar, pressure ? "diaZoomInP" : "diaZoomInF", "Zoom In"), &QAction::triggered, this,
            [this, chart] { ZoomIn(chart); });
    connect(toolButton(bar, pressure ? "diaZoomOutP" : "diaZoomOutF", "Zoom Out"), &QAction::triggered, this,
            [this, chart] { ZoomOut(chart); });
    connect(toolButton(bar, pressure ? "diaZoom100P" : "diaZoom100F", "Zoom 100%"), &QAction::triggered, this,
            [this, chart] { Zoom100(chart); });
    connect(toolButton(bar, pressure ? "diaTitleP" : "diaTitleF", "Title"), &QAction::triggered, this,
            [this, chart] { ChangeTitle(chart); });
    connect(toolButton(bar, pressure ? "diaPrintP" : "diaPrintF", "Print"), &QAction::triggered, this,
            [this, chart] { PrintChart(chart); });
    return page(pressure ? "TabPressure" : "TabFlow", bar, view);
}

void TRecordsF::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mFileMenu"));
    file->menuAction()->setObjectName(QStringLiteral("mFile"));
    auto item = [file](const char* name, const char* caption) {
        QAction* a = file->addAction(QString::fromUtf8(caption));
        a->setObjectName(QLatin1String(name));
        return a;
    };
    // The record commands are actions of their own, which the menu items trigger.
    auto command = [this](const char* name, std::function<void()> run) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, std::move(run));
        return a;
    };
    QAction* load = command("actLoadRec", [this] { OpenRecordFile(); });
    QAction* save = command("actSaveRec", [this] { SaveRecordFileAs(); });
    QAction* read = command("actOpenRecK9Q4", [this] { ReadRecordsFromInstrument(); });

    connect(item("mClose", "Close"), &QAction::triggered, this, &QWidget::close);
    item("mRecords", "-------- Records --------")->setEnabled(false);
    connect(item("mOpen", "Open..."), &QAction::triggered, load, &QAction::trigger);
    connect(item("mSaveAsRec", "Save as ..."), &QAction::triggered, save, &QAction::trigger);
    connect(item("mOpenRecordFromDevice", "Open record from device..."), &QAction::triggered, read,
            &QAction::trigger);
    item("mExport", "----- Export -----")->setEnabled(false);
    connect(item("mExportXls", "Export to XLS..."), &QAction::triggered, this,
            [this] { ExportTable(TExportFormat::Xls); });
    connect(item("mExportHtm", "Export to HTML..."), &QAction::triggered, this,
            [this] { ExportTable(TExportFormat::Html); });
    connect(item("mExportCsv", "Export to CSV..."), &QAction::triggered, this,
            [this] { ExportTable(TExportFormat::Csv); });
    connect(item("mExportAnalysisCsv", "Export to CSV (UTF-8, for analysis)..."), &QAction::triggered, this,
            [this] { ExportForAnalysis(TAnalysisFormat::CsvUtf8); });
    connect(item("mExportJson", "Export to JSON..."), &QAction::triggered, this,
            [this] { ExportForAnalysis(TAnalysisFormat::Json); });
    connect(item("mExportChart", "Export chart..."), &QAction::triggered, this, [this] { ExportChart(); });
    connect(item("mPrintWithCharts", "Print with charts..."), &QAction::triggered, this,
            [this] { PrintWithCharts(); });
    connect(item("mCompareRecord", "Compare with record..."), &QAction::triggered, this,
            [this] { CompareWithRecordFile(); });
    connect(item("mCompareDeviceRecord", "Compare with record from device..."), &QAction::triggered, this,
            [this] { CompareWithDeviceRecord(); });
    m_removeComparison = file->addMenu(QStringLiteral("Remove comparison"));
    m_removeComparison->setObjectName(QStringLiteral("mRemoveComparisonMenu"));
    m_removeComparison->menuAction()->setObjectName(QStringLiteral("mRemoveComparison"));
    m_removeComparison->menuAction()->setEnabled(false);
}

QAction* TRecordsF::action(const QString& name) const {
    return findChild<QAction*>(name);
}

TRecordChart* TRecordsF::chart(int chart) const {
    switch (chart) {
    case PressureChart:
        return m_pressureChart;
    case FlowChart:
        return m_flowChart;
    default:
        return nullptr;
    }
}

QString TRecordsF::tr_(const char* english) const {
    return m_state.Messages.Translate(QString::fromUtf8(english));
}

TRecordCommandContext TRecordsF::commandContext() {
    return TRecordCommandContext{m_state.Records, m_state.Units, m_state.Messages, *m_ui,
                                 AnsiCodePageForCharset(m_state.Messages.LanguageCharset()),
                                 [this](const QString& path) { m_state.remember(m_state.History.Records, path); }};
}

void TRecordsF::setReadRecordsFunction(std::function<bool()> readRecords) {
    m_readRecords = std::move(readRecords);
}

void TRecordsF::setDeviceOperationRunner(TDeviceOperationRunner run) {
    m_runDeviceOperation = std::move(run);
}

void TRecordsF::setRecordListChooser(TRecordListChooser choose) {
    m_recordListChooser = std::move(choose);
}

void TRecordsF::setMainStatusFunction(std::function<void(const QString&)> setMainStatus) {
    m_setMainStatus = std::move(setMainStatus);
}

void TRecordsF::setPrintPreview(TTiskF* preview) {
    m_printPreview = preview;
}

void TRecordsF::setPrinterSetup(TPrinterSetup setup) {
    m_printerSetup = std::move(setup);
}

TTiskF& TRecordsF::printPreview() {
    if (!m_printPreview)
        m_printPreview = new TTiskF(m_state.Messages, this);
    return *m_printPreview;
}

void TRecordsF::ShowCurrentRecord() {
    const TZaznam& header = m_state.Records.CurrentHeader;
    m_description->setText(header.Description);
    m_valve->setText(header.Valve_Manufacturer);
    m_valve2->setText(header.Valve_Type);
    m_preset->setText(header.Presetting);
    m_medium->setText(m_state.Messages.Translate(MediumName(header.Medium_Index)));
    const bool glycol = header.Medium_Index > 0;
    for (QWidget* w : {static_cast<QWidget*>(m_concentrationCapt), static_cast<QWidget*>(m_concentration),
                       static_cast<QWidget*>(m_temperatureCapt), static_cast<QWidget*>(m_temperature)})
        w->setVisible(glycol);
    m_concentration->setText(QString::number(header.Concentration));
    m_temperature->setText(QString::number(header.Temperature));

    const QString title = TidyTitle(header.Description);
    SetChartTitle(PressureChart, title);
    SetChartTitle(FlowChart, title);
    FillTableAndCharts();
}

void TRecordsF::FillTableAndCharts() {
    // The charts announce their new limits before the samples are read again.
    m_samples.reset();
    m_tableModel->setRows(TRecordRows(m_state.Records, m_state.Units, m_state.Messages));
    const TRecordRows& rows = m_tableModel->rows();
    m_shownRows = rows.sampleRows();
    m_table->scrollToTop();
    // A heading in another language or unit may need more than the designed width; the cells never do.
    QHeaderView* columns = m_table->horizontalHeader();
    for (int c = 0; c < m_tableModel->columnCount(); ++c)
        columns->resizeSection(c, std::max(ColumnWidth, columns->sectionSizeHint(c)));

    const TRecordChartData chartData = BuildRecordChartData(m_state.Records, m_state.Units, m_state.Messages);
    // The labels are read from the rows of this display, which the model keeps until the next one.
    const auto labelOf = [model = m_tableModel](int x) { return model->rows().label(x); };
    ShowChartSeries(*m_pressureChart, chartData, true, m_state.Units, labelOf);
    ShowChartSeries(*m_flowChart, chartData, false, m_state.Units, labelOf);
    showComparisons();
    m_samples = std::make_unique<TRecordSamples>(m_state.Records, m_state.Units.Locale);
    m_statistics->applyTexts(m_state.Messages, m_state.Units);
    showStatistics();
}

void TRecordsF::showStatistics() {
    if (!m_samples)
        return;
    const TAxisRange x = chart(m_rangeChart)->limits().X;
    m_statistics->showFigures(StatisticsCells(m_samples->whole(), *m_samples, m_state.Units),
                              StatisticsCells(m_samples->visible(x.Min, x.Max), *m_samples, m_state.Units));
}

void TRecordsF::SetChartTitle(int chart, const QString& text) {
    if (TRecordChart* view = this->chart(chart))
        view->setTitle(text);
}

void TRecordsF::ApplyRecordsWindowTexts() {
    TMessageCatalogue& messages = m_state.Messages;
    messages.LoadLanguage();
    // Qt's fonts cover every script, so the language's character set needs no font of its own.
    for (const TRecordsWindowText& text : recordsWindowTexts()) {
        const QString shown = recordsWindowText(messages, text);
        const QString name = QLatin1String(text.Control);
        if (name.isEmpty()) {
            setWindowTitle(shown);
        } else if (QAction* a = action(name)) {
            a->setText(shown);
        } else if (auto* label = findChild<QLabel*>(name)) {
            label->setText(shown);
        } else {
            for (int i = 0; i < m_pages->count(); ++i)
                if (m_pages->widget(i)->objectName() == name)
                    m_pages->setTabText(i, shown);
        }
    }
    ApplyRecordsWindowExtraTexts(*this, messages);
    m_statistics->applyTexts(messages, m_state.Units);
    ApplyMenuAccelerators(menuBar());
}

void TRecordsF::showModally() {
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
}

void TRecordsF::setStatusText(const QString& text) {
    m_status->setText(text);
}

QString TRecordsF::statusText() const {
    return m_status->text();
}

TRecordOpenResult TRecordsF::OpenRecordFile() {
    TRecordCommandContext context = commandContext();
    return shownAfterOpen(OpenRecordFileCommand(context));
}

TRecordOpenResult TRecordsF::OpenRecordPath(const QString& path) {
    TRecordCommandContext context = commandContext();
    return shownAfterOpen(OpenRecordPathCommand(context, path));
}

TRecordOpenResult TRecordsF::shownAfterOpen(TRecordOpenResult result) {
    if (result == TRecordOpenResult::Loaded) {
        ShowCurrentRecord();
        QTimer::singleShot(DoneDelayMs, this, [this] { setStatusText(tr_("Done")); });
    }
    return result;
}

void TRecordsF::SaveRecordFileAs() {
    TRecordCommandContext context = commandContext();
    SaveRecordFileCommand(context);
}

void TRecordsF::ReadRecordsFromInstrument() {
    if (m_readRecords)
        m_readRecords();
}

void TRecordsF::ExportTable(TExportFormat format) {
    TRecordCommandContext context = commandContext();
    ExportRecordTableCommand(context, m_tableModel->rows().toTextTable(), format);
}

void TRecordsF::ExportForAnalysis(TAnalysisFormat format) {
    TRecordCommandContext context = commandContext();
    ExportRecordAnalysisCommand(context, format);
}

void TRecordsF::ExportChart() {
    // The chart on the tab in front; from the table, the pressure chart.
    const bool flow = m_pages->currentIndex() == m_pages->indexOf(m_flowChart->parentWidget());
    ExportChartCommand(flow ? *m_flowChart : *m_pressureChart, *m_ui, m_state.Messages,
                       ProposedRecordFile(m_state.Records, QStringLiteral("png")));
}

void TRecordsF::ZoomIn(int chart) {
    if (TRecordChart* view = this->chart(chart))
        view->zoom(ZoomInPercent);
}

void TRecordsF::ZoomOut(int chart) {
    if (TRecordChart* view = this->chart(chart))
        view->zoom(ZoomOutPercent);
}

void TRecordsF::Zoom100(int chart) {
    if (TRecordChart* view = this->chart(chart))
        view->zoom100();
}

void TRecordsF::ChangeTitle(int chart) {
    TRecordChart* view = this->chart(chart);
    if (!view)
        return;
    const QString current = view->title();
    const std::optional<QString> answer = m_ui->inputText(tr_("Change title"), tr_("New title"), current);
    SetChartTitle(chart, answer.value_or(current));
}

void TRecordsF::PrintChart(int chart) {
    if (!this->chart(chart))
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup || !m_printerSetup(printer))
        return;
    printChartOn(chart, printer);
}

namespace {

// The busy cursor while the report is built; the normal one again on every way out.
class TBusyCursor {
public:
    explicit TBusyCursor(QWidget& window) : m_window(window) { m_window.setCursor(Qt::WaitCursor); }
    ~TBusyCursor() { restore(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
    void restore() {
        if (m_busy)
            m_window.unsetCursor();
        m_busy = false;
    }

private:
    QWidget& m_window;
    bool m_busy = true;
};

} // namespace

void TRecordsF::Printtableofrecords1Click() {
    TBusyCursor busy(*this);
    m_ui->processPendingEvents();
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup || !m_printerSetup(printer))
        return;
    const QStringList lines =
        BuildRecordsReport(m_state.Records.CurrentHeader, m_tableModel->rows().toTextTable(), m_shownRows,
                           m_state.Messages, [this](int page) {
                               m_ui->setStatus(tr_("Print Preview") + QStringLiteral(", ") + tr_("Page") +
                                               u' ' + QString::number(page));
                               m_ui->processPendingEvents();
                           });
    busy.restore();
    PreviewAndPrint(printPreview(), lines, printer, m_state.Settings.PrintMargins, *m_ui, m_state.Messages);
}

void TRecordsF::CompareWithRecordFile() {
    TFileDialogOptions options;
    options.Filter = QStringLiteral("Records (*.r9q4);;All Files (*)");
    options.DefaultExtension = QStringLiteral("r9q4");
    const QString path = m_ui->chooseFileToOpen(options);
    if (path.isEmpty())
        return;
    auto store = std::make_unique<TRecordStore>();
    QString error;
    if (!LoadRecordFile(*store, path, m_state.Units, m_state.Messages, &error)) {
        m_ui->showMessage(tr_("Error"), error);
        return;
    }
    m_comparisons.push_back(std::move(store));
    showComparisons();
}

void TRecordsF::CompareWithDeviceRecord() {
    if (!m_runDeviceOperation)
        return;
    // A list of its own: the record tables behind the shown record and its table stay untouched.
    auto store = std::make_unique<TRecordStore>();
    const TRecordChooser chooser = [this, &list = *store](const QStringList&) -> std::optional<int> {
        const std::vector<TRecordListRow> rows = RecordListRows(list);
        if (m_recordListChooser)
            return m_recordListChooser(rows);
        if (!m_recordList)
            m_recordList = new TRecordOpenF(m_state.Messages, this);
        return m_recordList->choose(rows);
    };
    // The list is a window: it opens on this thread while the worker waits for the choice.
    const TRecordChooser chooseHere = [this, &chooser](const QStringList& captions) {
        std::optional<int> chosen;
        RunOnThreadOf(*this, [&] { chosen = chooser(captions); });
        return chosen;
    };
    const int codePage = m_state.codePage();
    const TUnits units = m_state.Units;
    const TDeviceResult result = m_runDeviceOperation([&](const TDeviceOperationContext& c) {
        // Progress, errors and the result belong to this window, which the user is looking at.
        TThreadHopUserInterface ui(*m_ui, *this);
        TDeviceUserInterface events(ui, m_state.Messages);
        const TDeviceOperationContext here{c.Guard, c.Driver, c.Pause, events};
        return ReadRecordsFromDevice(here, *store, codePage, units, m_state.Messages, chooseHere);
    });
    if (result != TDeviceResult::Done)
        return;
    m_comparisons.push_back(std::move(store));
    showComparisons();
}

void TRecordsF::RemoveComparison(int overlay) {
    if (overlay < 0 || overlay >= comparisonCount())
        return;
    m_comparisons.erase(m_comparisons.begin() + overlay);
    showComparisons();
}

void TRecordsF::showComparisons() {
    // Colours apart from the shown record's black line and from each other.
    static const QColor colours[] = {QColor(220, 50, 47), QColor(38, 139, 210), QColor(211, 54, 130),
                                     QColor(133, 153, 0), QColor(203, 75, 22), QColor(108, 113, 196)};
    const std::vector<double> shown = ElapsedSeconds(m_state.Records);
    QList<TChartOverlaySeries> pressure;
    QList<TChartOverlaySeries> flow;
    for (std::size_t i = 0; i < m_comparisons.size(); ++i) {
        const TRecordOverlay overlay = BuildRecordOverlay(*m_comparisons[i], shown, m_state.Units, m_state.Messages);
        const QColor colour = colours[i % std::size(colours)];
        pressure.append({overlay.Pressure, colour, overlay.Name});
        flow.append({overlay.Flow, colour, overlay.Name});
    }
    const QString name = RecordLegendName(m_state.Records);
    m_pressureChart->setRecordName(name);
    m_flowChart->setRecordName(name);
    m_pressureChart->setOverlays(pressure);
    m_flowChart->setOverlays(flow);

    m_removeComparison->clear();
    for (qsizetype i = 0; i < pressure.size(); ++i) {
        QString text = pressure.at(i).Name;
        // A name's "&" is no accelerator.
        text.replace(u'&', QStringLiteral("&&"));
        connect(m_removeComparison->addAction(text), &QAction::triggered, this,
                [this, i] { RemoveComparison(static_cast<int>(i)); });
    }
    m_removeComparison->menuAction()->setEnabled(!m_comparisons.empty());
    ApplyMenuAccelerators(m_removeComparison);
}

void TRecordsF::PrintWithCharts() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_printerSetup || !m_printerSetup(printer))
        return;
    const QStringList lines = BuildRecordsReport(m_state.Records.CurrentHeader, m_tableModel->rows().toTextTable(),
                                                 m_shownRows, m_state.Messages);
    QString error;
    TBusyCursor busy(*this);
    const QStringList statistics =
        m_samples ? ChartedStatistics(*m_samples, *m_pressureChart, *m_flowChart, m_state.Units, m_state.Messages)
                  : QStringList();
    if (!PrintReportAfter(RecordChartsPage(m_state.Records.CurrentHeader, m_state.Messages, *m_pressureChart,
                                           *m_flowChart, statistics),
                          lines, printer, m_state.Settings.PrintMargins, &error))
        m_ui->showMessage(tr_("Error"), tr_("Print error") + u'\n' + m_state.Messages.Translate(error));
}

void TRecordsF::printChartOn(int chart, QPrinter& printer) {
    TRecordChart* view = this->chart(chart);
    if (!view)
        return;
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer)) {
        m_ui->showMessage(tr_("Print"), tr_("The printer cannot be used"));
        return;
    }
    view->renderChart(painter, QRectF(painter.viewport()));
    painter.end();
}

bool TRecordsF::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        ApplyRecordsWindowTexts();
    return QMainWindow::event(event);
}

void TRecordsF::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        m_pages->setCurrentIndex(0);
        CentreOver(*this, m_centredOver);
    }
    QMainWindow::showEvent(event);
}

void TRecordsF::closeEvent(QCloseEvent* event) {
    if (m_setMainStatus)
        m_setMainStatus(QString());
    QMainWindow::closeEvent(event);
}
