// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CertificateHtml.h"

#include "files/SafeFileWriter.h"
#include "printing/CommissioningCertificate.h"

#include <array>

namespace {

// Qt's rich text knows only part of CSS; the table attributes carry the grid for it, the style
// the rest for browsers.
const char* const Style = R"(
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; font-size: 9pt; color: #000; }
h1 { font-size: 16pt; margin-top: 0px; margin-bottom: 10px; }
h2 { font-size: 11pt; margin-top: 16px; margin-bottom: 6px; }
table { border-collapse: collapse; }
table.grid { width: 100%; }
table.grid th, table.grid td { border: 1px solid #555; padding: 3px 5px; vertical-align: top; }
table.grid th { background-color: #e4e4e4; text-align: left; font-weight: bold; font-size: 8pt; }
table.fields td { padding: 1px 16px 1px 0px; vertical-align: top; }
td.label { font-weight: bold; }
td.num { text-align: right; white-space: nowrap; }
.mark { font-style: italic; font-size: 8pt; }
p.note { font-size: 8pt; font-style: italic; margin-top: 4px; }
p.result { font-size: 12pt; font-weight: bold; margin-top: 14px; }
table.signatures { width: 100%; }
table.signatures td { padding: 24px 12px 2px 0px; vertical-align: bottom; }
td.line { border-bottom: 1px solid #000; }
@page { size: A4 landscape; margin: 15mm; }
@media print {
  thead { display: table-header-group; }
  tr { page-break-inside: avoid; }
  table.signatures { page-break-inside: avoid; }
}
)";

// Of the page's width: the names and remarks need room, the numbers little.
constexpr std::array<int, CertificateColumnCount> ColumnPercent = {3, 13, 11, 8, 8, 7, 10, 5, 8, 9, 18};

QString esc(const QString& text) {
    QString html = text.toHtmlEscaped();
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    html.replace(u'\n', QStringLiteral("<br>"));
    return html;
}

void fieldsTable(QString& h, const std::vector<TCertificateField>& fields) {
    // Two pairs of label and value to a line keep the title block short.
    h += QStringLiteral("<table class=\"fields\" cellspacing=\"0\" cellpadding=\"2\" width=\"80%\">\n");
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        h += QStringLiteral("<tr>");
        for (std::size_t j = i; j < i + 2; ++j) {
            if (j < fields.size())
                h += QStringLiteral("<td class=\"label\">") + esc(fields[j].Label) +
                     QStringLiteral(":</td><td>") + esc(fields[j].Value) + QStringLiteral("</td>");
            else
                h += QStringLiteral("<td></td><td></td>");
        }
        h += QStringLiteral("</tr>\n");
    }
    h += QStringLiteral("</table>\n");
}

} // namespace

QString CertificateHtml(const TCommissioningCertificate& c) {
    QString h;
    h.reserve(2048 + static_cast<qsizetype>(c.Rows.size()) * 400);
    h += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>") + esc(c.Title) +
         QStringLiteral(" \u2013 ") + esc(c.ProjectName) + QStringLiteral("</title>\n<style>") +
         QString::fromLatin1(Style) + QStringLiteral("</style>\n</head>\n<body>\n");
    h += QStringLiteral("<h1>") + esc(c.Title) + QStringLiteral("</h1>\n");
    fieldsTable(h, c.Details);

    h += QStringLiteral("<h2>") + esc(c.SummaryTitle) + QStringLiteral("</h2>\n");
    fieldsTable(h, c.Summary);

    h += QStringLiteral("<h2>") + esc(c.TableTitle) + QStringLiteral("</h2>\n");
    h += QStringLiteral(
        "<table class=\"grid\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n"
        "<thead><tr>");
    for (int col = 0; col < c.Columns.size() && col < CertificateColumnCount; ++col)
        h += QStringLiteral("<th width=\"%1%\"%2>")
                 .arg(ColumnPercent[static_cast<std::size_t>(col)])
                 .arg(IsCertificateNumberColumn(col) ? QStringLiteral(" align=\"right\"") : QString()) +
             esc(c.Columns.at(col)) + QStringLiteral("</th>");
    h += QStringLiteral("</tr></thead>\n<tbody>\n");
    bool anyUncertain = false;
    for (const TCertificateRow& row : c.Rows) {
        h += QStringLiteral("<tr>");
        for (int col = 0; col < CertificateColumnCount; ++col) {
            const QString text = esc(row.Cells[static_cast<std::size_t>(col)].Text);
            if (!IsCertificateNumberColumn(col)) {
                h += QStringLiteral("<td>") + text + QStringLiteral("</td>");
                continue;
            }
            h += QStringLiteral("<td class=\"num\" align=\"right\">") + text;
            if (col == CertificateColumnFinalFlow && row.Uncertain) {
                h += QStringLiteral("<br><span class=\"mark\"><i>") + esc(c.UncertainWord) +
                     QStringLiteral("</i></span>");
                anyUncertain = true;
            }
            h += QStringLiteral("</td>");
        }
        h += QStringLiteral("</tr>\n");
    }
    h += QStringLiteral("</tbody>\n</table>\n");
    if (anyUncertain)
        h += QStringLiteral("<p class=\"note\"><i>") + esc(c.UncertainNote) + QStringLiteral("</i></p>\n");

    h += QStringLiteral("<h2>") + esc(c.DeficienciesTitle) + QStringLiteral("</h2>\n");
    if (c.Deficiencies.empty()) {
        h += QStringLiteral("<p>") + esc(c.NoDeficiencies) + QStringLiteral("</p>\n");
    } else {
        h += QStringLiteral(
                 "<table class=\"grid\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n"
                 "<thead><tr><th width=\"30%\">") +
             esc(c.Columns.at(CertificateColumnBranch)) + QStringLiteral("</th><th width=\"20%\">") +
             esc(c.Columns.at(CertificateColumnStatus)) + QStringLiteral("</th><th>") +
             esc(c.Columns.at(CertificateColumnRemark)) + QStringLiteral("</th></tr></thead>\n<tbody>\n");
        for (const TCertificateDeficiency& d : c.Deficiencies)
            h += QStringLiteral("<tr><td>") + esc(d.Branch) + QStringLiteral("</td><td>") + esc(d.Finding) +
                 QStringLiteral("</td><td>") + esc(d.Remark) + QStringLiteral("</td></tr>\n");
        h += QStringLiteral("</tbody>\n</table>\n");
    }

    if (!c.Summary.empty())
        h += QStringLiteral("<p class=\"result\"><b>") + esc(c.Summary.back().Label) + QStringLiteral(": ") +
             esc(c.Summary.back().Value) + QStringLiteral("</b></p>\n");

    // One table, heading included, so that the printed form keeps it on one page.
    h += QStringLiteral("<table class=\"signatures\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">\n"
                        "<tr><td colspan=\"5\" style=\"padding-top: 16px;\"><h2>") +
         esc(c.SignaturesTitle) + QStringLiteral("</h2></td></tr>\n");
    for (const TCertificateSignature& s : c.Signatures) {
        h += QStringLiteral("<tr><td width=\"22%\"><b>") + esc(s.Role) + QStringLiteral(":</b> ") +
             esc(s.Name) + QStringLiteral("</td><td width=\"9%\" align=\"right\">") + esc(c.SignatureLabel) +
             QStringLiteral(
                 ":</td><td class=\"line\" width=\"35%\">&nbsp;</td><td width=\"7%\" align=\"right\">") +
             esc(c.DateLabel) + QStringLiteral(":</td><td class=\"line\" width=\"27%\">&nbsp;</td></tr>\n");
    }
    h += QStringLiteral("</table>\n</body>\n</html>\n");
    return h;
}

bool WriteCertificateHtml(const TCommissioningCertificate& certificate, const QString& path, QString* error) {
    return writeFileAtomically(path, CertificateHtml(certificate).toUtf8(), error);
}
