// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CommissioningCertificate.h"

#include "files/Settings.h"
#include "model/BalancingTable.h"
#include "model/CommissioningDetails.h"
#include "model/DisplayNumber.h"
#include "model/ProjectNames.h"
#include "model/ProjectRecords.h"
#include "model/Translator.h"
#include "model/Units.h"

namespace {

QString isoDate(const QDate& date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// The number a spreadsheet gets is the one the reader sees, not more digits than shown.
TCertificateCell numberCell(const QString& text, const QLocale& locale) {
    TCertificateCell cell{text, std::nullopt};
    QString plain = text;
    plain.remove(locale.groupSeparator());
    bool ok = false;
    const double value = locale.toDouble(plain, &ok);
    if (ok && !plain.isEmpty())
        cell.Number = value;
    return cell;
}

} // namespace

bool IsCertificateNumberColumn(int column) {
    switch (column) {
    case CertificateColumnNumber:
    case CertificateColumnDesignFlow:
    case CertificateColumnFinalFlow:
    case CertificateColumnPercent:
    case CertificateColumnPressure:
    case CertificateColumnKv:
    case CertificateColumnPresetting:
        return true;
    default:
        return false;
    }
}

TTolerance CertificateTolerance(const TCommissioningDetails& details, double balancingTolerance) {
    return {details.LowerTolerancePercent.value_or(balancingTolerance),
            details.UpperTolerancePercent.value_or(balancingTolerance)};
}

QString ToleranceText(const TTolerance& tolerance, const QLocale& locale) {
    if (tolerance.isSymmetric())
        return QStringLiteral("\u00B1") + locale.toString(tolerance.Upper) + QStringLiteral(" %");
    return locale.negativeSign() + locale.toString(tolerance.Lower) + QStringLiteral(" % / ") +
           locale.positiveSign() + locale.toString(tolerance.Upper) + QStringLiteral(" %");
}

TCommissioningCertificate BuildCommissioningCertificate(const TCertificateSource& source, const TUnits& units,
                                                        const ITranslator& translator) {
    auto tr = [&translator](const char* english) {
        return translator.Translate(QString::fromLatin1(english));
    };
    const TProject& project = source.Project;
    const TCommissioningDetails& details = source.Details;
    const TCommissioningSettings& who = source.Commissioning;
    const QLocale& locale = units.Locale;

    TCommissioningCertificate c;
    c.Title = tr("Commissioning certificate");
    c.ProjectName = NameText(project, project.Header.Name);
    c.Details = {
        {tr("Project"), c.ProjectName},
        {tr("Client"), details.Client},
        {tr("Site"), details.Site},
        {tr("System"), details.System},
        {tr("Test date"), isoDate(details.TestDate)},
        {tr("Instrument"), QStringLiteral("ZRV 10")},
        {tr("Serial number"), who.InstrumentSerial},
        {tr("Calibration date"), isoDate(who.CalibrationDate)},
        {tr("Standard"), details.Standard},
        {tr("Tolerance"), ToleranceText(source.Tolerance, locale)},
        {tr("Engineer"), who.Engineer},
        {tr("Firm"), who.Firm},
    };
    if (!details.Remarks.trimmed().isEmpty())
        c.Details.push_back({tr("Remarks"), details.Remarks});

    const TCommissioningSummary summary =
        CommissioningSummary(project, source.Tolerance, who.MinDifferentialPressure);
    c.Result = summary.result();
    c.SummaryTitle = tr("Summary");
    c.Summary = {
        {tr("Branches"), QString::number(summary.Branches.size())},
        {tr("Within tolerance"), QString::number(summary.Within)},
        {tr("Below tolerance"), QString::number(summary.Below)},
        {tr("Above tolerance"), QString::number(summary.Above)},
        {tr("Not measured"), QString::number(summary.NotMeasured)},
        {tr("Complete"), summary.complete() ? tr("Yes") : tr("No")},
        {tr("Result"), CommissioningResultText(c.Result, translator)},
    };

    c.TableTitle = tr("Branches");
    c.Columns = {QStringLiteral("#"),
                 tr("Branch"),
                 tr("Valve"),
                 units.FlowCaption(tr("Design flow")),
                 units.FlowCaption(tr("Final flow")),
                 tr("% of design"),
                 units.PressureCaption(tr("Final differential pressure")),
                 tr("Final Kv"),
                 tr("Final presetting"),
                 tr("Status"),
                 tr("Remark")};
    c.UncertainWord = tr("uncertain");
    c.UncertainColumn = tr("Uncertain flow");
    c.UncertainNote =
        tr("Flows marked uncertain were measured at a differential pressure below %1.")
            .arg(units.ReadoutPressure(who.MinDifferentialPressure) + u' ' + units.PressureUnitName());

    const TBalancingSummary balance = BalanceProject(project, source.Tolerance);
    const std::vector<TBalancingRow> rows =
        BuildBalancingRows({project, source.Catalogue, source.CodePage}, balance);
    const std::size_t count = std::min(rows.size(), summary.Branches.size());
    c.Rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const TBalancingRow& row = rows[i];
        const TBranchFigures& f = summary.Branches[i];
        const QString remark = i < static_cast<std::size_t>(details.BranchRemarks.size())
                                   ? details.BranchRemarks.at(static_cast<qsizetype>(i))
                                   : QString();
        TCertificateRow r;
        r.Status = f.Status;
        r.Uncertain = f.Final.Uncertain;
        r.Cells.resize(CertificateColumnCount);
        r.Cells[CertificateColumnNumber] = numberCell(QString::number(i + 1), locale);
        r.Cells[CertificateColumnBranch].Text = row.Name;
        r.Cells[CertificateColumnValve].Text = row.Valve;
        r.Cells[CertificateColumnDesignFlow] = numberCell(units.ReadoutFlow(row.RequestFlow), locale);
        r.Cells[CertificateColumnFinalFlow] = numberCell(units.ReadoutFlow(row.FinalFlow), locale);
        r.Cells[CertificateColumnPercent] = numberCell(FigureText(f.PercentOfDesign, 1, locale), locale);
        r.Cells[CertificateColumnPressure] =
            numberCell(f.Final.Pressure ? units.ReadoutPressure(*f.Final.Pressure) : QString(), locale);
        r.Cells[CertificateColumnKv] = numberCell(FigureText(f.Final.Kv, 2, locale), locale);
        r.Cells[CertificateColumnPresetting] =
            numberCell(units.FormatPresetting(row.FinalPresetting, translator), locale);
        r.Cells[CertificateColumnStatus].Text = CommissioningStatusText(f.Status, translator);
        r.Cells[CertificateColumnRemark].Text = remark;
        if (f.Status != TCommissioningStatus::Within) {
            QString finding = r.Cells[CertificateColumnStatus].Text;
            if (f.PercentOfDesign)
                finding +=
                    QStringLiteral(", ") + r.Cells[CertificateColumnPercent].Text + QStringLiteral(" %");
            c.Deficiencies.push_back({QString::number(i + 1) + u' ' + row.Name, finding, remark});
        }
        c.Rows.push_back(std::move(r));
    }

    c.DeficienciesTitle = tr("Deficiencies");
    c.NoDeficiencies = tr("No deficiencies.");
    c.SignaturesTitle = tr("Signatures");
    c.Signatures = {{tr("Engineer"), who.Engineer}, {tr("Witness"), details.Witness}};
    c.SignatureLabel = tr("Signature");
    c.DateLabel = tr("Date");
    c.PageOf = tr("Page %1 of %2");
    return c;
}
