// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecordFile.h"
#include "localisation/MenuAccelerators.h"
#include "localisation/Utf16Files.h"
#include "commands/ApplicationState.h"
#include "mainwindow/test_dialogs_app.h"
#include "records/RecordChart.h"
#include "records/RecordStatisticsPanel.h"
#include "records/RecordTableModel.h"
#include "records/RecordsWindow.h"
#include "model/SampleText.h"
#include "records/TableExport.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QDir>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new DialogTestApplication);

TZaznamData sample(int record, double pascal, double litresPerHour, int second = 0) {
    return {record, SampleDate(5, 3, 2012), SampleTime(7, 4, second), SampleNumber(pascal),
            SampleNumber(litresPerHour)};
}

class RecordsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin/language")));
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")), dir.path(),
                                                    QLocale::c());
        state->Units.PressureUnit = 0; // Pa
        state->Units.FlowUnit = 5;     // l/h
        window = std::make_unique<TRecordsF>(*state, ui);
    }

    TRecordStore& records() { return state->Records; }

    void setSamples(std::initializer_list<TZaznamData> samples) {
        int i = 0;
        for (const TZaznamData& s : samples)
            records().Samples[i++] = s;
        records().SampleCount = i;
    }

    // What the user sees in table row `row`; row 0 is the fixed header row.
    QStringList tableRow(int row) const {
        const TRecordTableModel& model = *window->tableModel();
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << (row == 0 ? model.headerData(c, Qt::Horizontal) : model.index(row - 1, c).data())
                         .toString();
        return cells;
    }
    int tableRows() const { return window->tableModel()->rowCount() + 1; }

    QList<QPointF> points(int chart) const { return window->chart(chart)->points(); }
    TChartLimits limits(int chart) const { return window->chart(chart)->limits(); }

    void trigger(const char* name) {
        QAction* a = window->action(QLatin1String(name));
        ASSERT_NE(a, nullptr) << name;
        a->trigger();
    }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    std::unique_ptr<TRecordsF> window;
};

constexpr int P = TRecordsF::PressureChart;
constexpr int F = TRecordsF::FlowChart;

TEST_F(RecordsWindowTest, ShowsOnlyTheSamplesOfTheCurrentRecord) {
    records().CurrentHeader = {QStringLiteral("Riser  1   "),
                               QStringLiteral("Acme"),
                               QStringLiteral("V15"),
                               QStringLiteral("2.50"),
                               0,
                               30,
                               60};
    setSamples({sample(0, 100, 1), sample(1, 1000, 20, 1), sample(-1, 5, 5), sample(1, 2000, 40, 2),
                sample(0, 300, 3)});
    records().CurrentRecord = 1;
    window->ShowCurrentRecord();

    EXPECT_EQ(window->shownRows(), 2);
    ASSERT_EQ(tableRows(), 3);
    EXPECT_EQ(tableRow(0), (QStringList{"Date", "Time", "Pressure [Pa]", "Flow [l/h]"}));
    EXPECT_EQ(tableRow(1), (QStringList{"05.03.2012", "07:04:01", "1000", "20.0"}));
    EXPECT_EQ(tableRow(2), (QStringList{"05.03.2012", "07:04:02", "2000", "40.0"}));

    EXPECT_EQ(points(P), (QList<QPointF>{{0, 1000}, {1, 2000}}));
    EXPECT_EQ(points(F), (QList<QPointF>{{0, 20}, {1, 40}}));
    EXPECT_EQ(limits(P), (TChartLimits{{-0.5, 1.5}, {0, 3000}}));
    EXPECT_EQ(limits(F), (TChartLimits{{-0.5, 1.5}, {0, 60}}));
    for (int chart : {P, F}) {
        EXPECT_EQ(window->chart(chart)->title(), QStringLiteral("Riser 1"));
        EXPECT_EQ(window->chart(chart)->shownLabels(),
                  (QList<QPair<double, QString>>{{0, "05.03.2012 07:04:01"}, {1, "05.03.2012 07:04:02"}}));
    }
    EXPECT_EQ(window->chart(P)->valueAxisTitle(), QStringLiteral("Pressure [Pa]"));
    EXPECT_EQ(window->chart(F)->valueAxisTitle(), QStringLiteral("Flow [l/h]"));

    // The boxes show the header as it stands.
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaDescription"))->text(),
              QStringLiteral("Riser  1   "));
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaValve"))->text(), QStringLiteral("Acme"));
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaValve2"))->text(), QStringLiteral("V15"));
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaPreset"))->text(), QStringLiteral("2.50"));
}

TEST_F(RecordsWindowTest, ConcentrationAndTemperatureOnlyForAGlycol) {
    const struct {
        int medium;
        const char* name;
        bool shown;
    } cases[] = {
        {0, "Water", false}, {1, "Ethylenglykol", true}, {2, "Propylenglykol", true}, {9, "Water", true}};
    for (const auto& c : cases) {
        records().CurrentHeader.Medium_Index = c.medium;
        records().CurrentHeader.Concentration = 35;
        records().CurrentHeader.Temperature = -5;
        window->ShowCurrentRecord();
        EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaMedium"))->text(), QLatin1String(c.name));
        for (const char* name :
             {"diaConcentration", "diaConcentrationCapt", "diaTemperature", "diaTemperatureCapt"})
            EXPECT_EQ(window->findChild<QWidget*>(QLatin1String(name))->isHidden(), !c.shown)
                << c.medium << name;
        EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaConcentration"))->text(),
                  QStringLiteral("35"));
        EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaTemperature"))->text(),
                  QStringLiteral("-5"));
    }
}

TEST_F(RecordsWindowTest, NoSamplesAtAllKeepsTheLimitsOfTheLastDisplay) {
    setSamples({sample(0, 1000, 20), sample(0, 2000, 40)});
    window->FillTableAndCharts();
    const TChartLimits pressure = limits(P);
    const TChartLimits flow = limits(F);

    records().SampleCount = 0;
    window->FillTableAndCharts();
    EXPECT_EQ(window->shownRows(), 0);
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(0), (QStringList{"Date", "Time", "Pressure [Pa]", "Flow [l/h]"}));
    EXPECT_EQ(tableRow(1), (QStringList{"", "", "", ""}));
    EXPECT_TRUE(points(P).isEmpty());
    EXPECT_TRUE(points(F).isEmpty());
    EXPECT_TRUE(window->chart(P)->shownLabels().isEmpty());
    EXPECT_EQ(limits(P), pressure);
    EXPECT_EQ(limits(F), flow);
}

TEST_F(RecordsWindowTest, NoSampleOfTheCurrentRecordShowsTheSmallestSpans) {
    setSamples({sample(0, 1000, 20), sample(0, 2000, 40)});
    records().CurrentRecord = 3;
    window->FillTableAndCharts();
    ASSERT_EQ(tableRows(), 2);
    EXPECT_EQ(tableRow(1), (QStringList{"", "", "", ""}));
    EXPECT_TRUE(points(P).isEmpty());
    EXPECT_EQ(limits(P), (TChartLimits{{-0.5, -0.5}, {-1000, 2000}}));
    EXPECT_EQ(limits(F), (TChartLimits{{-0.5, -0.5}, {-10, 20}}));
}

TEST_F(RecordsWindowTest, AValueOutOfRangeHasARowButNoPoint) {
    setSamples({sample(0, 5000, 20), sample(0, 3e6, 20), sample(0, 5000, 20)});
    window->FillTableAndCharts();
    ASSERT_EQ(tableRows(), 4);
    EXPECT_EQ(tableRow(2)[2], QStringLiteral("-----"));
    EXPECT_EQ(points(P), (QList<QPointF>{{0, 5000}, {2, 5000}}));
    EXPECT_EQ(points(F).size(), 3);
    // Equal values: the smallest span either side.
    EXPECT_EQ(limits(P).Y, (TAxisRange{4000, 6000}));
    EXPECT_EQ(limits(F).Y, (TAxisRange{10, 30}));
}

TEST_F(RecordsWindowTest, ZoomStepsAndZoom100PerChart) {
    setSamples({sample(0, 1000, 20), sample(0, 2000, 40)});
    window->FillTableAndCharts();
    const TChartLimits shown = limits(P);
    ASSERT_EQ(shown, (TChartLimits{{-0.5, 1.5}, {0, 3000}}));

    trigger("diaZoomInP");
    EXPECT_DOUBLE_EQ(limits(P).Y.Min, 600);
    EXPECT_DOUBLE_EQ(limits(P).Y.Max, 2400);
    EXPECT_DOUBLE_EQ(limits(P).X.Min, -0.1);
    EXPECT_DOUBLE_EQ(limits(P).X.Max, 1.1);
    trigger("diaZoomOutP");
    EXPECT_DOUBLE_EQ(limits(P).Y.Min, 300); // 80 % of the former range, not all of it
    EXPECT_DOUBLE_EQ(limits(P).Y.Max, 2700);
    EXPECT_EQ(limits(F), (TChartLimits{{-0.5, 1.5}, {0, 60}})); // the other chart stays
    trigger("diaZoom100P");
    EXPECT_EQ(limits(P), shown);

    trigger("diaZoomInF");
    trigger("diaZoomInF");
    EXPECT_TRUE(window->chart(F)->isZoomed());
    trigger("diaZoom100F");
    EXPECT_EQ(limits(F), (TChartLimits{{-0.5, 1.5}, {0, 60}}));
    trigger("diaZoom100F"); // not zoomed: nothing
    EXPECT_EQ(limits(F), (TChartLimits{{-0.5, 1.5}, {0, 60}}));

    // A new display ends the zoom: Zoom 100% then keeps its limits.
    trigger("diaZoomInP");
    setSamples({sample(0, 5000, 20)});
    window->FillTableAndCharts();
    EXPECT_FALSE(window->chart(P)->isZoomed());
    trigger("diaZoom100P");
    EXPECT_EQ(limits(P), (TChartLimits{{-0.5, 0.5}, {4000, 6000}}));
}

// The statistics under the charts: the whole record, and the range of the chart in front as it is
// zoomed and panned.
TEST_F(RecordsWindowTest, StatisticsFollowTheZoomOfTheChartInFront) {
    setSamples({sample(0, 1000, 10, 0), sample(0, 2000, 20, 1), sample(0, 3000, 30, 2), sample(0, 4000, 40, 3),
                sample(0, 9000, 90, 4), sample(1, 7777, 77, 5)});
    window->FillTableAndCharts();
    const TRecordStatisticsPanel& panel = *window->statisticsPanel();
    // Rows: 1 whole record, 2 visible range; 4 and 5 pressure, 7 and 8 flow.
    const auto visible = [&] {
        return QStringList{panel.cellText(2, 1), panel.cellText(5, 1), panel.cellText(8, 1), panel.cellText(2, 3),
                           panel.cellText(2, 4)};
    };
    EXPECT_EQ(panel.cellText(1, 1), QStringLiteral("5"));
    EXPECT_EQ(panel.cellText(1, 2), QStringLiteral("0:00:04"));
    EXPECT_EQ(panel.cellText(4, 1), QStringLiteral("3800"));
    EXPECT_EQ(panel.cellText(4, 4), QStringLiteral("9000  (05.03.2012 07:04:04)"));
    EXPECT_EQ(panel.cellText(3, 0), QStringLiteral("Pressure [Pa]"));
    EXPECT_EQ(panel.cellText(6, 0), QStringLiteral("Flow [l/h]"));
    EXPECT_EQ(visible(), (QStringList{"5", "3800", "38.0", "05.03.2012 07:04:00", "05.03.2012 07:04:04"}));

    // -0.5 ... 4.5 zoomed in shows 0.5 ... 3.5: rows 1 to 3.
    window->pages()->setCurrentIndex(1);
    trigger("diaZoomInP");
    EXPECT_EQ(visible(), (QStringList{"3", "3000", "30.0", "05.03.2012 07:04:01", "05.03.2012 07:04:03"}));
    EXPECT_EQ(panel.cellText(1, 1), QStringLiteral("5")); // the whole record stays

    // The flow chart in front is not zoomed; back on the table the last chart in front counts.
    window->pages()->setCurrentIndex(2);
    EXPECT_EQ(panel.cellText(2, 1), QStringLiteral("5"));
    window->chart(F)->changeLimits({{2.5, 10.0}, {0, 100}}); // panned to the end
    EXPECT_EQ(visible(), (QStringList{"2", "6500", "65.0", "05.03.2012 07:04:03", "05.03.2012 07:04:04"}));
    window->pages()->setCurrentIndex(0);
    EXPECT_EQ(panel.cellText(2, 1), QStringLiteral("2"));
    trigger("diaZoom100F");
    EXPECT_EQ(panel.cellText(2, 1), QStringLiteral("5"));

    // Nothing in view: no figures, no stale ones.
    window->chart(F)->changeLimits({{20.0, 30.0}, {0, 100}});
    EXPECT_EQ(visible(), (QStringList{"0", "", "", "", ""}));

    // A new record starts afresh.
    setSamples({sample(0, 500, 5)});
    window->FillTableAndCharts();
    EXPECT_EQ(visible(), (QStringList{"1", "500", "5.00", "05.03.2012 07:04:00", "05.03.2012 07:04:00"}));
    EXPECT_EQ(panel.cellText(5, 2), QStringLiteral("0"));
}

TEST_F(RecordsWindowTest, FarZoomingStillDraws) {
    setSamples({sample(0, 1000, 20), sample(0, 2000, 40), sample(0, 1500, 30)});
    window->show();
    window->pages()->setCurrentIndex(1);
    window->FillTableAndCharts();
    TRecordChart* chart = window->chart(P);
    const TChartLimits shown = chart->limits();
    // Far out, then so far in that the points lie beyond what the paint engine takes.
    for (int i = 0; i < 80; ++i)
        window->ZoomOut(P);
    EXPECT_FALSE(chart->grab().isNull());
    for (int i = 0; i < 300; ++i)
        window->ZoomIn(P);
    EXPECT_FALSE(chart->grab().isNull());
    EXPECT_LT(chart->limits().Y.Max - chart->limits().Y.Min, 1e-6);
    EXPECT_LE(chart->limits().Y.Min, chart->limits().Y.Max);
    window->Zoom100(P);
    EXPECT_EQ(chart->limits(), shown);
}

TEST_F(RecordsWindowTest, TitleDialogChangesOneChartAndCancelKeepsTheTitle) {
    window->SetChartTitle(P, QStringLiteral("Riser"));
    window->SetChartTitle(F, QStringLiteral("Riser"));
    window->SetChartTitle(3, QStringLiteral("ignored"));

    ui.Inputs = {QStringLiteral("Flow of riser 2")};
    trigger("diaTitleF");
    EXPECT_EQ(window->chart(F)->title(), QStringLiteral("Flow of riser 2"));
    EXPECT_EQ(window->chart(P)->title(), QStringLiteral("Riser"));
    ASSERT_FALSE(ui.Log.isEmpty());
    EXPECT_EQ(ui.Log.last().Kind, QStringLiteral("input"));
    EXPECT_EQ(ui.Log.last().Caption, QStringLiteral("Change title"));
    EXPECT_EQ(ui.Log.last().Text, QStringLiteral("New title"));

    trigger("diaTitleP"); // no answer queued: cancelled
    EXPECT_EQ(window->chart(P)->title(), QStringLiteral("Riser"));
}

TEST_F(RecordsWindowTest, AFullRecordLabelsWhatFitsWithEachLabelAtItsPoint) {
    for (int i = 0; i < MaxFileSamples; ++i)
        records().Samples[i] = {0, SampleDate(1 + i / 86400, 3, 2012),
                                SampleTime(i / 3600 % 24, i / 60 % 60, i % 60), SampleNumber(1000 + i % 100),
                                SampleNumber(20)};
    records().SampleCount = MaxFileSamples;
    window->show();
    window->pages()->setCurrentIndex(1);
    window->FillTableAndCharts();
    QApplication::processEvents();

    EXPECT_EQ(tableRows(), MaxFileSamples + 1);
    EXPECT_EQ(tableRow(MaxFileSamples), (QStringList{"01.03.2012", "05:49:59", "1099", "20.0"}));
    EXPECT_EQ(points(P).size(), MaxFileSamples);

    TRecordChart* chart = window->chart(P);
    const auto labelled = [chart] {
        const auto labels = chart->shownLabels();
        EXPECT_FALSE(labels.isEmpty());
        for (const auto& [x, text] : labels) {
            const int i = static_cast<int>(x);
            EXPECT_EQ(text, SampleDate(1 + i / 86400, 3, 2012) + u' ' +
                                SampleTime(i / 3600 % 24, i / 60 % 60, i % 60));
        }
        return labels.size();
    };
    const qsizetype whole = labelled();
    EXPECT_LE(whole, chart->chart()->plotArea().width() / 10);
    // Zoomed in far enough, every point has its label.
    for (int i = 0; i < 14; ++i)
        window->ZoomIn(P);
    const TChartLimits zoomed = limits(P);
    labelled();
    EXPECT_EQ(chart->shownLabels().size(),
              static_cast<qsizetype>(std::floor(zoomed.X.Max) - std::ceil(zoomed.X.Min)) + 1);
}

TEST_F(RecordsWindowTest, OpenShowsTheLoadedRecordThenDone) {
    TRecordStore other;
    other.CurrentHeader.Description = QStringLiteral("From file");
    other.Samples[0] = sample(0, 1500, 30);
    other.SampleCount = 1;
    const QString path = dir.filePath(QStringLiteral("a.r9q4"));
    ASSERT_TRUE(SaveRecordFile(other, path));

    EXPECT_EQ(window->OpenRecordFile(), TRecordOpenResult::Cancelled);
    EXPECT_EQ(tableRows(), 2);

    ui.FilesToOpen = {path};
    trigger("mOpen");
    EXPECT_EQ(window->findChild<QLineEdit*>(QStringLiteral("diaDescription"))->text(),
              QStringLiteral("From file"));
    EXPECT_EQ(window->chart(F)->title(), QStringLiteral("From file"));
    EXPECT_EQ(tableRow(1), (QStringList{"05.03.2012", "07:04:00", "1500", "30.0"}));
    EXPECT_TRUE(window->statusText().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->statusText() == QLatin1String("Done"); }, 2000));

    // A file that does not load leaves the record shown.
    ui.FilesToOpen = {dir.filePath(QStringLiteral("missing.r9q4"))};
    EXPECT_EQ(window->OpenRecordFile(), TRecordOpenResult::Failed);
    EXPECT_EQ(tableRow(1), (QStringList{"05.03.2012", "07:04:00", "1500", "30.0"}));
}

// Export chart starts beside the record's file, under its name.
TEST_F(RecordsWindowTest, ExportChartStartsInTheRecordsFolder) {
    TRecordStore other;
    other.CurrentHeader.Description = QStringLiteral("From file");
    other.Samples[0] = sample(0, 1500, 30);
    other.SampleCount = 1;
    QDir(dir.path()).mkpath(QStringLiteral("site"));
    const QString path = dir.filePath(QStringLiteral("site/a.r9q4"));
    ASSERT_TRUE(SaveRecordFile(other, path));
    ui.FilesToOpen = {path};
    trigger("mOpen");
    trigger("mExportChart");
    ASSERT_FALSE(ui.DialogStarts.isEmpty());
    EXPECT_EQ(ui.DialogStarts.last(), dir.filePath(QStringLiteral("site/a.png")));
}

TEST_F(RecordsWindowTest, SaveAndExportWriteTheRecordAndTheTableAsShown) {
    records().CurrentHeader.Description = QStringLiteral("Riser");
    setSamples({sample(0, 1500, 30), sample(1, 9, 9), sample(0, 3e6, 31)});
    window->FillTableAndCharts();

    const QString csv = dir.filePath(QStringLiteral("t.csv"));
    ui.FilesToSave = {csv};
    trigger("mExportCsv");
    const QString expected =
        QStringLiteral("Date\tTime\tPressure [Pa]\tFlow [l/h]\n05.03.2012\t07:04:00\t1500\t30.0\n"
                       "05.03.2012\t07:04:00\t-----\t31.0\n\n");
    EXPECT_EQ(readFile(csv), utf16Le(expected, false));

    // Names typed without an extension get the export's own.
    const TTextTable shown = window->tableModel()->rows().toTextTable();
    const struct {
        const char* item;
        TExportFormat format;
        QByteArray bytes;
    } exports[] = {{"mExportHtm", TExportFormat::Html, TableHtmlBytes(shown)},
                   {"mExportXls", TExportFormat::Xls, TableXlsBytes(shown, state->Units.Locale)}};
    for (const auto& e : exports) {
        const QString file = dir.filePath(QLatin1String(e.item));
        ui.FilesToSave = {file};
        trigger(e.item);
        EXPECT_EQ(readFile(ExportFileName(file, e.format)), e.bytes) << e.item;
    }

    const QString saved = dir.filePath(QStringLiteral("saved.r9q4"));
    ui.FilesToSave = {saved};
    trigger("mSaveAsRec");
    TRecordStore back;
    ASSERT_TRUE(LoadRecordFile(back, saved, state->Units, state->Messages));
    EXPECT_EQ(back.SampleCount, 2);
    EXPECT_EQ(back.CurrentHeader.Description, QStringLiteral("Riser"));
    EXPECT_TRUE(ui.messages().isEmpty());
}

TEST_F(RecordsWindowTest, InstrumentReadShowAndClose) {
    trigger("mOpenRecordFromDevice"); // nothing set: nothing happens
    int reads = 0;
    window->setReadRecordsFunction([&reads] {
        ++reads;
        return true;
    });
    trigger("actOpenRecK9Q4");
    trigger("mOpenRecordFromDevice");
    EXPECT_EQ(reads, 2);

    QString mainStatus = QStringLiteral("Reading records...");
    window->setMainStatusFunction([&mainStatus](const QString& text) { mainStatus = text; });
    window->pages()->setCurrentIndex(2);
    window->showModally();
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window->pages()->currentIndex(), 0); // each showing starts on the table
    window->pages()->setCurrentIndex(1);
    trigger("mClose");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(mainStatus.isEmpty());
    window->show();
    EXPECT_EQ(window->pages()->currentIndex(), 0);
}

TEST_F(RecordsWindowTest, TextsFollowTheLanguageOnTheNextActivation) {
    const QString languageDir = dir.filePath(QStringLiteral("bin/language"));
    writeFile(languageDir + QStringLiteral("/messages.ini"),
              "[Main]\nTotal=2\n[Names]\n0=English\n1=Deutsch\n[Files]\n0=messages_uk.txt\n1=de.txt\n");
    writeFile(languageDir + QStringLiteral("/messages_uk.txt"), utf16Le(QString()));
    writeFile(languageDir + QStringLiteral("/de.txt"),
              utf16Le(QStringLiteral(
                  "Records;\tAufzeichnungen\r\nOpen;\t\u00D6ffnen\r\nExport to HTM;\tNach HTM\r\n"
                  "Table of records;\tTabelle\r\nConcentration;\tKonzentration\r\n"
                  "Zoom In;\tVergr\u00F6\u00DFern\r\nWhole record;\tGesamte Aufzeichnung\r\n")));
    state->Messages.LoadLanguageList();

    // Designed captions until the first activation.
    EXPECT_EQ(WithoutAccelerator(window->action(QStringLiteral("mExportHtm"))->text()), QStringLiteral("Export to HTML..."));

    QWidget other;
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto texts = [this] {
        return QStringList{window->windowTitle(),
                           WithoutAccelerator(window->action(QStringLiteral("mOpen"))->text()),
                           WithoutAccelerator(window->action(QStringLiteral("mExportHtm"))->text()),
                           WithoutAccelerator(window->action(QStringLiteral("mExportXls"))->text()),
                           WithoutAccelerator(window->action(QStringLiteral("mSaveAsRec"))->text()),
                           WithoutAccelerator(window->action(QStringLiteral("mOpenRecordFromDevice"))->text()),
                           window->pages()->tabText(0),
                           window->action(QStringLiteral("diaZoomInF"))->text(),
                           window->findChild<QLabel*>(QStringLiteral("diaConcentrationCapt"))->text(),
                           window->findChild<QLabel*>(QStringLiteral("diaTemperatureCapt"))->text()};
    };
    const QStringList english{"Records",           "Open...",
                              "Export to HTM",     "Export to XLS",
                              "Save as...",        "Open record from ZRV10...",
                              "Table of records",  "Zoom In",
                              "Concentration [%]", "Temperature [\u00B0C]"};
    EXPECT_EQ(texts(), english);

    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    state->Messages.SetCurrentLanguage(1);
    EXPECT_EQ(texts(), english);

    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(texts(), (QStringList{"Aufzeichnungen", "\u00D6ffnen...", "Nach HTM", "Export to XLS",
                                    "Save as...", "Open record from ZRV10...", "Tabelle",
                                    "Vergr\u00F6\u00DFern", "Konzentration [%]", "Temperature [\u00B0C]"}));
    EXPECT_EQ(window->statisticsPanel()->cellText(1, 0), QStringLiteral("Gesamte Aufzeichnung"));
}

TEST_F(RecordsWindowTest, PrintsTheChartOnAPage) {
    setSamples({sample(0, 1000, 20), sample(0, 2000, 40)});
    window->FillTableAndCharts();
    window->show();
    window->pages()->setCurrentIndex(2);
    QApplication::processEvents();

    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    window->printChartOn(F, printer);
    const QByteArray bytes = readFile(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
    EXPECT_GT(bytes.size(), 2000);
    // Lines, not a picture of the screen (which the crosshair's paint cache would give).
    EXPECT_LT(bytes.size(), 100000);
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));
}

} // namespace

namespace {

QStringList sceneTexts(QGraphicsView& view) {
    QStringList texts;
    for (QGraphicsItem* item : view.scene()->items()) {
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item))
            texts << text->toPlainText();
        else if (auto* simple = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            texts << simple->text();
    }
    return texts;
}

// The value axis writes numbers as the table does: the user's decimal separator and no thousands
// separator, which a German reader would take for a decimal point.
TEST(RecordChartAxis, NumbersAsInTheTable) {
    const struct {
        QLocale Locale;
        TAxisRange Y;
        const char* Expected;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), {0, 5000}, "4000"},
        {QLocale(QLocale::German, QLocale::Germany), {0, 5000}, "4000"},
        {QLocale(QLocale::German, QLocale::Germany), {0, 3}, "2,5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected);
        TRecordChart chart(TChartMarker{});
        chart.setNumberLocale(c.Locale);
        chart.resize(600, 400);
        chart.setPoints({QPointF(0, 1), QPointF(1, 2)}, 2, [](int i) { return QString::number(i); },
                        TChartLimits{{0, 1}, c.Y});
        chart.show();
        QApplication::processEvents();
        const QStringList texts = sceneTexts(chart);
        EXPECT_TRUE(texts.contains(QString::fromLatin1(c.Expected))) << texts.join(u'|').toStdString();
        for (const QString& text : texts)
            EXPECT_FALSE(text.contains(QLatin1Char('.')) && c.Locale.language() == QLocale::German)
                << text.toStdString();
    }
}

} // namespace
