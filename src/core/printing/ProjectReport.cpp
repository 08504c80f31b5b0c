// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ProjectReport.h"

#include "model/Translator.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "model/Units.h"
#include "model/ValveCatalogue.h"
#include "printing/ReportText.h"

namespace {

constexpr int BranchesPerPage = 10;

QString flowText(const TUnits& units, double litresPerHour) {
    return units.FormatFlow(litresPerHour) + u' ' + units.FlowUnitName() + QStringLiteral("  ");
}

} // namespace

QStringList BuildProjectReport(const TProject& project, const TValveCatalogue& catalogue,
                               TValveSelection& valve, int codePage, const TUnits& units,
                               const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    const QString separator(83, u'-');
    const QString projectName = NameText(project, project.Header.Name);
    const QString lastChange = NameText(project, project.Header.Last_Change);
    const int count = project.branchCount();

    TReportText r;
    r.ReportAddLine(QStringLiteral(" "));
    int page = 1;
    for (int first = 0; first < count; first += BranchesPerPage) {
        r.ReportAddLine(QStringLiteral(" "));
        r.ReportAddLine(QStringLiteral(" "));
        r.ReportLabel(tr("Project"));
        r.ReportCell(projectName);
        r.ReportCell(QStringLiteral(" "));
        r.ReportCell(QStringLiteral(" "));
        r.ReportCell(tr("Page") + u' ' + QString::number(page));
        r.ReportNewLine();
        r.ReportAddLine(separator);
        r.ReportLabel(tr("Last change"));
        r.ReportCell(lastChange);
        r.ReportNewLine();

        for (int i = first; i < first + BranchesPerPage && i < count; ++i) {
            const TBranch& b = project.Branches[static_cast<std::size_t>(i)];
            // An index beyond the catalogue gives empty names, as everywhere else.
            valve.CurrentValve = b.Valve_Index;
            r.ReportAddLine(separator);
            r.ReportLabel(tr("Branch"));
            r.ReportCell(NameText(project, b.Name));
            r.ReportNewLine();
            r.ReportLabel(tr("Valve"));
            r.ReportRightCell(valve.ManufacturerName(catalogue, codePage).trimmed() + u' ' +
                              valve.ValveTypeName(catalogue, codePage).trimmed());
            r.ReportNewLine();
            r.ReportLabel(tr("Requested flow"));
            r.ReportCell(flowText(units, b.Request_Flow));
            r.ReportNewLine();
            r.ReportLabel(tr("Initial flow"));
            r.ReportCell(flowText(units, b.Initial_Flow));
            r.ReportLabel(tr("Final flow"));
            r.ReportCell(flowText(units, b.Final_Flow));
            r.ReportNewLine();
            r.ReportLabel(tr("Initial presetting"));
            r.ReportCell(units.FormatPresetting(b.Initial_Presetting, translator));
            r.ReportLabel(tr("Final presetting"));
            r.ReportCell(units.FormatPresetting(b.Final_Presetting, translator));
            r.ReportNewLine();
            r.ReportNewLine();
        }
        if (first + BranchesPerPage < count) {
            r.ReportPageBreak();
            ++page;
        }
    }
    return r.lines();
}
