// SPDX-License-Identifier: GPL-3.0-or-later
// The commissioning certificate of a full project (1500 branches) printed as a PDF, beside the project
// report of the same project printed as a PDF, as the companion prints them: build, lay out, write.

#include "files/Settings.h"
#include "model/CommissioningDetails.h"
#include "model/InstrumentText.h"
#include "model/Markers.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "printing/CertificatePrint.h"
#include "printing/CommissioningCertificate.h"
#include "printing/PdfReport.h"
#include "printing/ProjectReport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

std::unique_ptr<TProject> fullProject() {
    auto project = std::make_unique<TProject>();
    EncodeInstrumentText(QStringLiteral("Tower"), project->Header.Name, NameFieldSize, 0);
    project->Header.Branch_Count = MaxBranches;
    for (int i = 0; i < MaxBranches; ++i) {
        TBranch& b = project->Branches[static_cast<std::size_t>(i)];
        EncodeInstrumentText(QStringLiteral("Branch %1").arg(i + 1), b.Name, NameFieldSize, 0);
        b.Request_Flow = 100.0 + i % 300;
        b.Initial_Flow = b.Request_Flow * 1.2;
        b.Initial_Pressure = 8000.0;
        // Every tenth branch not measured, the others scattered around the requested flow.
        b.Final_Flow = i % 10 == 9 ? NoValue : b.Request_Flow * (1.0 + 0.2 * std::sin(i * 0.37));
        b.Final_Pressure = i % 10 == 9 ? NoValue : 2000.0 + (i % 40) * 500.0;
        b.Initial_Presetting = 3.0;
        b.Final_Presetting = 2.0 + (i % 50) * 0.1;
    }
    return project;
}

TCommissioningDetails fullDetails() {
    TCommissioningDetails details;
    details.Client = QStringLiteral("Client");
    details.Site = QStringLiteral("Site");
    details.System = QStringLiteral("Heating circuit 2");
    details.TestDate = QDate(2026, 11, 30);
    details.Witness = QStringLiteral("Witness");
    for (int i = 0; i < MaxBranches; ++i)
        details.BranchRemarks << (i % 5 == 0 ? QStringLiteral("Checked twice, valve %1 replaced").arg(i)
                                             : QString());
    return details;
}

void BM_ProjectReportPdf(benchmark::State& run) {
    const auto project = fullProject();
    const auto catalogue = std::make_unique<TValveCatalogue>();
    const TUnits units;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("project.pdf"));
    for (auto _ : run) {
        TValveSelection valve;
        const QStringList lines = BuildProjectReport(*project, *catalogue, valve, 0, units, EnglishOnly());
        QString error;
        if (!PrintReportToPdf({}, lines, path, QStringLiteral("project"), TPrintMargins{}, &error))
            run.SkipWithError(qPrintable(error));
    }
}

void BM_CertificatePdf(benchmark::State& run) {
    const auto project = fullProject();
    const auto catalogue = std::make_unique<TValveCatalogue>();
    const TCommissioningDetails details = fullDetails();
    const TCommissioningSettings who{QStringLiteral("Engineer"), QStringLiteral("Firm"),
                                     QStringLiteral("0421"), QDate(2026, 6, 1), 3000.0};
    const TUnits units;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("certificate.pdf"));
    for (auto _ : run) {
        const TCommissioningCertificate certificate = BuildCommissioningCertificate(
            {*project, *catalogue, 0, details, who, CertificateTolerance(details, 10.0)}, units,
            EnglishOnly());
        QString error;
        if (!PrintCertificateToPdf(certificate, path, TPrintMargins{}, &error))
            run.SkipWithError(qPrintable(error));
    }
}

BENCHMARK(BM_ProjectReportPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CertificatePdf)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
