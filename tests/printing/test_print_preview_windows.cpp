// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentState.h"
#include "NoPause.h"
#include "link/Pause.h"
#include "commands/ApplicationState.h"
#include "mainwindow/MainWindow.h"
#include "model/BranchList.h"
#include "model/Clock.h"
#include "model/InstrumentText.h"
#include "files/ValveCache.h"
#include "printing/PreviewScript.h"
#include "printing/PrintQString.h"
#include "printing/ProjectReport.h"
#include "printing/RecordsReport.h"
#include "records/RecordTableModel.h"
#include "records/RecordsWindow.h"
#include "model/SampleText.h"
#include "commands/ScriptedUserInterface.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// The printer set-up as a user without a printer answers it: print to this PDF file.
TPrinterSetup pdfFile(const QString& path) {
    return [path](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

QStringList statusTexts(const TScriptedUserInterface& ui) {
    QStringList texts;
    for (const auto& shown : ui.Log)
        if (shown.Kind == QLatin1String("status"))
            texts << shown.Text;
    return texts;
}

class ProjectPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")), dir.path(),
                                                    QLocale::c());
        auto catalogue = std::make_unique<TValveCatalogue>();
        std::memset(catalogue.get(), 0, sizeof(TValveCatalogue));
        catalogue->ManufacturerCount = 1;
        catalogue->TypeCounts[0] = 2;
        std::memcpy(catalogue->ManufacturerNames[0], "Acme", 4);
        std::memcpy(catalogue->Valves[0].Name, "V15", 3);
        std::memcpy(catalogue->Valves[1].Name, "V20", 3);
        ASSERT_TRUE(SaveValveCache(state->CacheDir, *catalogue));

        preview = std::make_unique<TTiskF>(state->Messages);
        window = std::make_unique<TMainF>(*state, ui, clock);
        window->setPause(noPause);
        window->setExitFunction([](int) {});
        window->setPrintPreview(preview.get());
        window->StartupSequence();
        ui.Log.clear();
    }

    void makeProject(int branches, const std::function<void(TProject&)>& adjust = {}) {
        replaceProject(state->Document, [&](TProject& project) {
            EncodeInstrumentText(QStringLiteral("Riser A"), project.Header.Name, NameFieldSize, 0);
            EncodeInstrumentText(QStringLiteral("06.05.2024"), project.Header.Last_Change, NameFieldSize, 0);
            project.Header.Branch_Count = static_cast<std::int16_t>(branches);
            for (int i = 0; i < branches; ++i) {
                InitBranch(project, i);
                EncodeInstrumentText(QStringLiteral("Branch %1").arg(i + 1), project.Branches[i].Name,
                                     NameFieldSize, 0);
                project.Branches[i].Valve_Index = 0;
                project.Branches[i].Request_Flow = 250;
            }
            if (adjust)
                adjust(project);
        });
    }

    QStringList expectedReport() {
        TValveSelection valve;
        return BuildProjectReport(state->Document.project(), *state->Catalogue, valve, state->codePage(),
                                  state->Units,
                                  state->Messages);
    }

    void print() { window->action(QStringLiteral("mPrint"))->trigger(); }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    TFixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))};
    NoPause noPause;
    std::unique_ptr<TTiskF> preview;
    std::unique_ptr<TMainF> window;
};

TEST_F(ProjectPrintTest, CancelledPrinterSetupShowsNothing) {
    makeProject(3);
    int asked = 0;
    window->setPrinterSetup([&](QPrinter&) {
        ++asked;
        return false;
    });
    TPreviewScript script(*preview, TPreviewScript::click("Print"));
    print();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(script.Shown, 0);
    EXPECT_TRUE(preview->reportLines().isEmpty());
    EXPECT_TRUE(ui.Log.isEmpty());
}

TEST_F(ProjectPrintTest, CancelledPreviewPrintsNothing) {
    makeProject(3);
    const QString pdf = dir.filePath(QStringLiteral("project.pdf"));
    window->setPrinterSetup(pdfFile(pdf));
    TPreviewScript script(*preview, TPreviewScript::click("Cancel"));
    print();
    EXPECT_EQ(script.Shown, 1);
    EXPECT_EQ(script.Lines, expectedReport());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(ui.Log.isEmpty());
}

TEST_F(ProjectPrintTest, BalancingReportGoesThroughThePreviewToThePrinter) {
    makeProject(3, [](TProject& project) {
        project.Branches[0].Final_Flow = 300; // +20 %
        project.Branches[1].Final_Flow = 255; // +2 %
    });
    const QString pdf = dir.filePath(QStringLiteral("balancing.pdf"));
    window->setPrinterSetup(pdfFile(pdf));
    TPreviewScript script(*preview, TPreviewScript::click("Print"));
    window->action(QStringLiteral("mBalancingReport"))->trigger();
    ASSERT_EQ(script.Shown, 1);
    ASSERT_FALSE(script.Lines.isEmpty());
    EXPECT_EQ(script.Lines.first(), QStringLiteral("Balancing report"));
    EXPECT_TRUE(script.Lines.join(u'\n').contains(QStringLiteral("Outside tolerance    : 1 ")));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    EXPECT_TRUE(ui.Log.isEmpty());
}

TEST_F(ProjectPrintTest, CommissioningCertificateGoesThroughThePreviewToThePrinter) {
    makeProject(3, [](TProject& project) {
        project.Branches[0].Final_Flow = 300; // +20 %
        project.Branches[0].Final_Pressure = 12000;
        project.Branches[1].Final_Flow = 255; // +2 %
        project.Branches[1].Final_Pressure = 1000; // below the minimum: uncertain
    });
    TCommissioningDetails details;
    details.Client = QStringLiteral("City Hospital");
    details.Witness = QStringLiteral("J. Smith");
    details.BranchRemarks = {QStringLiteral("Pump too small"), QString(), QStringLiteral("No access")};
    state->Document.setCommissioning(details);
    state->Settings.Commissioning.Engineer = QStringLiteral("A. Engineer");
    const QString pdf = dir.filePath(QStringLiteral("certificate.pdf"));
    window->setPrinterSetup(pdfFile(pdf));
    int shownPages = 0;
    TPreviewScript script(*preview, [&](TTiskF& p) {
        shownPages = p.shownPageCount();
        TPreviewScript::click("Print")(p);
    });
    window->action(QStringLiteral("mCommissioningCertificate"))->trigger();
    ASSERT_EQ(script.Shown, 1);
    // The preview shows the very pages that are printed.
    const int pages = pdfPageCount(pdf);
    EXPECT_GE(pages, 1);
    EXPECT_EQ(shownPages, pages);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    for (const char* piece :
         {"City Hospital", "A. Engineer", "J. Smith", "Result: FAIL", "uncertain", "Pump too small", "No access"})
        EXPECT_TRUE(printed.contains(QLatin1String(piece))) << piece;
    EXPECT_TRUE(printed.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    EXPECT_TRUE(ui.Log.isEmpty());
}

TEST_F(ProjectPrintTest, ElevenBranchesPrintOnTwoPagesAndLeaveTheBranchPageValveAlone) {
    makeProject(11);
    state->Valve.CurrentValve = 1;
    const QString pdf = dir.filePath(QStringLiteral("project.pdf"));
    window->setPrinterSetup(pdfFile(pdf));
    TPreviewScript script(*preview, TPreviewScript::click("Print"));
    print();
    ASSERT_EQ(script.Shown, 1);
    EXPECT_EQ(script.Lines, expectedReport());
    EXPECT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(ui.Log.isEmpty());
    EXPECT_EQ(state->Valve.CurrentValve, 1);
}

TEST_F(ProjectPrintTest, APrinterThatCannotPrintShowsPrintError) {
    makeProject(1);
    window->setPrinterSetup(pdfFile(dir.filePath(QStringLiteral("no_such_folder/project.pdf"))));
    TPreviewScript script(*preview, TPreviewScript::click("Print"));
    print();
    ASSERT_EQ(ui.Log.size(), 1);
    EXPECT_EQ(ui.Log[0].Kind, QStringLiteral("message"));
    EXPECT_EQ(ui.Log[0].Caption, QStringLiteral("Error"));
    EXPECT_TRUE(ui.Log[0].Text.startsWith(QStringLiteral("Print error"))) << ui.Log[0].Text.toStdString();
    // The report stays in the preview.
    EXPECT_EQ(preview->reportLines(), expectedReport());
}

TZaznamData sample(int record, int index) {
    return {record, SampleDate(5, 3, 2012), SampleTime(7, index / 60, index % 60), SampleNumber(1000 + index),
            SampleNumber(20)};
}

class RecordsPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        state = std::make_unique<TApplicationState>(dir.filePath(QStringLiteral("bin/zrv10")), dir.path(),
                                                    QLocale::c());
        state->Units.PressureUnit = 0; // Pa
        state->Units.FlowUnit = 5;     // l/h
        state->Records.CurrentHeader = {QStringLiteral("Riser 1"), QStringLiteral("Acme"),
                                        QStringLiteral("V15"), QStringLiteral("2.50")};
        preview = std::make_unique<TTiskF>(state->Messages);
        window = std::make_unique<TRecordsF>(*state, ui);
        window->setPrintPreview(preview.get());
    }

    // `count` samples of the current record 1, each after a sample of record 0 with pressure 9999.
    void showSamples(int count) {
        TRecordStore& records = state->Records;
        int i = 0;
        for (int k = 0; k < count; ++k) {
            records.Samples[i++] = {0, SampleDate(1, 1, 2011), SampleTime(1, 1, 1), SampleNumber(9999),
                                    SampleNumber(1)};
            records.Samples[i++] = sample(1, k);
        }
        records.SampleCount = i;
        records.CurrentRecord = 1;
        window->FillTableAndCharts();
    }

    QStringList expectedReport() {
        return BuildRecordsReport(state->Records.CurrentHeader, window->tableModel()->rows().toTextTable(),
                                  window->shownRows(), state->Messages);
    }

    void print() { window->action(QStringLiteral("diaPrint"))->trigger(); }

    QTemporaryDir dir;
    std::unique_ptr<TApplicationState> state;
    TScriptedUserInterface ui;
    std::unique_ptr<TTiskF> preview;
    std::unique_ptr<TRecordsF> window;
};

TEST_F(RecordsPrintTest, PrintsTheCurrentRecordsRowsPageByPageNamingEachPageDone) {
    const struct {
        int rows;
        int pages;
        QStringList statuses;
    } cases[] = {
        {60, 1, {}},
        {61, 2, {QStringLiteral("Print Preview, Page 1")}},
    };
    for (const auto& c : cases) {
        showSamples(c.rows);
        ui.Log.clear();
        const QString pdf = dir.filePath(QStringLiteral("records%1.pdf").arg(c.rows));
        bool busyDuringSetup = false;
        window->setPrinterSetup([&](QPrinter& printer) {
            busyDuringSetup = window->cursor().shape() == Qt::WaitCursor;
            return pdfFile(pdf)(printer);
        });
        bool busyDuringPreview = true;
        TPreviewScript script(*preview, [&](TTiskF& p) {
            busyDuringPreview = window->cursor().shape() == Qt::WaitCursor;
            TPreviewScript::click("Print")(p);
        });
        print();

        ASSERT_EQ(script.Shown, 1) << c.rows;
        EXPECT_EQ(script.Lines, expectedReport()) << c.rows;
        for (const QString& line : script.Lines)
            EXPECT_FALSE(line.contains(QStringLiteral("9999")))
                << "another record's row: " << line.toStdString();
        EXPECT_EQ(pdfPageCount(pdf), c.pages) << c.rows;
        EXPECT_EQ(statusTexts(ui), c.statuses) << c.rows;
        EXPECT_TRUE(busyDuringSetup) << c.rows;
        EXPECT_FALSE(busyDuringPreview) << c.rows;
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor) << c.rows;
    }
}

TEST_F(RecordsPrintTest, CancelledPrinterSetupRestoresTheCursorAndShowsNothing) {
    showSamples(5);
    window->setPrinterSetup([](QPrinter&) { return false; });
    {
        TPreviewScript script(*preview, TPreviewScript::click("Print"));
        print();
        EXPECT_EQ(script.Shown, 0);
        EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    }

    // A later print shows its text.
    window->setPrinterSetup(pdfFile(dir.filePath(QStringLiteral("later.pdf"))));
    TPreviewScript later(*preview, TPreviewScript::click("Cancel"));
    print();
    EXPECT_EQ(later.Shown, 1);
    EXPECT_EQ(later.Lines, expectedReport());
}

TEST_F(RecordsPrintTest, APrinterThatCannotPrintShowsPrintError) {
    showSamples(2);
    window->setPrinterSetup(pdfFile(dir.filePath(QStringLiteral("no_such_folder/records.pdf"))));
    TPreviewScript script(*preview, TPreviewScript::click("Print"));
    print();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith(QStringLiteral("Print error")));
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
