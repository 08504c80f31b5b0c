// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/RecordsReport.h"

#include "model/Translator.h"
#include "printing/ReportText.h"
#include "model/RecordModel.h"
#include "records/TextTable.h"

#include <algorithm>

namespace {

constexpr int ReportColumns = 4;
// Row k starts a new page whenever k is a multiple of this.
constexpr int RowsPerPage = 61;

void pageHeader(TReportText& r, int page, const TZaznam& header, const TTextTable& table,
                const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    const QString separator(90, u'-');
    r.ReportCell(tr("Records"));
    for (int i = 0; i < 3; ++i)
        r.ReportCell(QStringLiteral(" "));
    r.ReportCell(tr("Page") + u' ' + QString::number(page));
    r.ReportNewLine();
    r.ReportAddLine(separator);
    r.ReportLabel(tr("Description"));
    r.ReportCell(header.Description);
    r.ReportNewLine();
    r.ReportLabel(tr("Valve"));
    r.ReportCell(header.Valve_Manufacturer);
    r.ReportNewLine();
    r.ReportLabel(tr("Type"));
    r.ReportCell(header.Valve_Type);
    r.ReportNewLine();
    r.ReportLabel(tr("Presetting"));
    r.ReportCell(header.Presetting);
    r.ReportNewLine();
    r.ReportAddLine(separator);
    for (int c = 0; c < ReportColumns; ++c)
        r.ReportRightCell(table.cell(c, 0));
    r.ReportNewLine();
    r.ReportAddLine(separator);
}

} // namespace

QStringList BuildRecordsReport(const TZaznam& header, const TTextTable& table, int shownRows,
                               const ITranslator& translator, const std::function<void(int page)>& pageDone) {
    // Rows the table does not hold would print as empty lines.
    const int rows = std::clamp(shownRows, 0, std::max(table.rowCount() - 1, 0));
    TReportText r;
    int page = 1;
    r.ReportAddLine(QStringLiteral(" "));
    pageHeader(r, page, header, table, translator);
    for (int k = 1; k <= rows; ++k) {
        if (k % RowsPerPage == 0) {
            if (pageDone)
                pageDone(page);
            ++page;
            r.ReportPageBreak();
            pageHeader(r, page, header, table, translator);
        }
        for (int c = 0; c < ReportColumns; ++c)
            r.ReportRightCell(table.cell(c, k));
        r.ReportNewLine();
    }
    return r.lines();
}
