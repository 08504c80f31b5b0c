// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/BalancingReport.h"

#include "model/Translator.h"
#include "model/Units.h"
#include "printing/ReportText.h"

#include <algorithm>
#include <array>

namespace {

constexpr int BranchesPerPage = 60;

// Branch number, name, requested flow, final flow, final presetting, deviation, verdict.
constexpr int ReportColumns = 7;
constexpr std::array<int, ReportColumns> MinimumWidths = {4, 16, 15, 15, 12, 10, 10};
constexpr std::array<int, ReportColumns> TableColumns = {
    BalancingColumnNumber,          BalancingColumnName,      BalancingColumnRequested, BalancingColumnFinal,
    BalancingColumnFinalPresetting, BalancingColumnDeviation, BalancingColumnWithin};

QString columnsLine(const QStringList& cells, const std::array<int, ReportColumns>& widths) {
    QString line;
    for (int c = 0; c < ReportColumns; ++c) {
        if (c > 0)
            line += u' ';
        const QString& cell = cells.at(c);
        line += IsNumberColumn(TableColumns[c]) ? cell.rightJustified(widths[c]) : cell.leftJustified(widths[c]);
    }
    while (line.endsWith(u' '))
        line.chop(1);
    return line;
}

} // namespace

QStringList BuildBalancingReport(const TBalancingReportSource& source, const TUnits& units,
                                 const ITranslator& translator) {
    auto tr = [&translator](const char* english) { return translator.Translate(QString::fromLatin1(english)); };
    const TBalancingSummary& s = source.Summary;
    const QStringList captions = {QStringLiteral("#"), tr("Branch"),   tr("Requested flow"), tr("Final flow"),
                                  tr("Final presetting"), tr("Deviation"), tr("Within tolerance")};
    const QString flowUnit = u'[' + units.FlowUnitName() + u']';
    const QStringList unitLine = {QString(), QString(), flowUnit, flowUnit, QString(), QStringLiteral("[%]"), QString()};

    std::vector<QStringList> rows;
    rows.reserve(source.Rows.size());
    for (const TBalancingRow& row : source.Rows) {
        QStringList cells;
        for (int column : TableColumns)
            cells << BalancingCell(row, column, units, translator);
        rows.push_back(cells);
    }
    // Translated captions and long names widen their column on every page alike.
    std::array<int, ReportColumns> widths = MinimumWidths;
    for (int c = 0; c < ReportColumns; ++c) {
        widths[c] = std::max<int>(widths[c], static_cast<int>(captions.at(c).size()));
        for (const QStringList& cells : rows)
            widths[c] = std::max<int>(widths[c], static_cast<int>(cells.at(c).size()));
    }
    int lineWidth = ReportColumns - 1;
    for (int w : widths)
        lineWidth += w;
    const QString separator(std::max(lineWidth, 83), u'-');

    TReportText r;
    const auto pageHeader = [&](int page) {
        r.ReportLabel(tr("Project"));
        r.ReportCell(source.ProjectName);
        r.ReportCell(tr("Page") + u' ' + QString::number(page));
        r.ReportNewLine();
        r.ReportAddLine(separator);
        r.ReportLabel(tr("Last change"));
        r.ReportCell(source.LastChange);
        r.ReportNewLine();
        r.ReportLabel(tr("Tolerance"));
        r.ReportCell(QStringLiteral("\u00B1") + units.Locale.toString(s.TolerancePercent) + QStringLiteral(" %"));
        r.ReportNewLine();
        r.ReportLabel(tr("Within tolerance"));
        r.ReportCell(QString::number(s.Within));
        r.ReportNewLine();
        r.ReportLabel(tr("Outside tolerance"));
        r.ReportCell(QString::number(s.Outside));
        r.ReportNewLine();
        r.ReportLabel(tr("Not measured"));
        r.ReportCell(QString::number(s.NotMeasured));
        r.ReportNewLine();
        r.ReportAddLine(separator);
        r.ReportAddLine(columnsLine(captions, widths));
        r.ReportAddLine(columnsLine(unitLine, widths));
        r.ReportAddLine(separator);
    };

    r.ReportAddLine(tr("Balancing report"));
    int page = 1;
    pageHeader(page);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && i % BranchesPerPage == 0) {
            r.ReportPageBreak();
            pageHeader(++page);
        }
        r.ReportAddLine(columnsLine(rows[i], widths));
    }
    return r.lines();
}
