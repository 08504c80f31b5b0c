// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Balancing.h"
#include "model/CommissioningFigures.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class ITranslator;
struct TCommissioningDetails;
struct TCommissioningSettings;
struct TProject;
struct TUnits;
struct TValveCatalogue;

// The commissioning certificate's content, translated and in the user's units, once for every
// format: the writers only lay it out.

struct TCertificateField {
    QString Label;
    QString Value;
};

struct TCertificateCell {
    QString Text;
    // The value as shown, for spreadsheets; none for texts and empty cells.
    std::optional<double> Number;
};

enum TCertificateColumn {
    CertificateColumnNumber,
    CertificateColumnBranch,
    CertificateColumnValve,
    CertificateColumnDesignFlow,
    CertificateColumnFinalFlow,
    CertificateColumnPercent,
    CertificateColumnPressure,
    CertificateColumnKv,
    CertificateColumnPresetting,
    CertificateColumnStatus,
    CertificateColumnRemark,
    CertificateColumnCount
};

bool IsCertificateNumberColumn(int column);

struct TCertificateRow {
    std::vector<TCertificateCell> Cells; // CertificateColumnCount
    TCommissioningStatus Status = TCommissioningStatus::NotMeasured;
    // The final flow was measured at too small a differential pressure.
    bool Uncertain = false;
};

struct TCertificateDeficiency {
    QString Branch;  // "3 Flat 3"
    QString Finding; // "below, 91.5 % of design"
    QString Remark;
};

struct TCertificateSignature {
    QString Role;
    QString Name;
};

struct TCommissioningCertificate {
    QString Title;
    QString ProjectName;
    std::vector<TCertificateField> Details;
    QString SummaryTitle;
    std::vector<TCertificateField> Summary;
    TCommissioningResult Result = TCommissioningResult::Incomplete;
    QString TableTitle;
    QStringList Columns;
    std::vector<TCertificateRow> Rows;
    // The word beside an uncertain flow, and the sentence explaining it under the table.
    QString UncertainWord;
    QString UncertainNote;
    // The spreadsheets' own column for the mark, which keeps the flow a number.
    QString UncertainColumn;
    QString DeficienciesTitle;
    std::vector<TCertificateDeficiency> Deficiencies;
    QString NoDeficiencies;
    QString SignaturesTitle;
    std::vector<TCertificateSignature> Signatures;
    QString SignatureLabel;
    QString DateLabel;
    // "Page %1 of %2", for the printed pages' foot.
    QString PageOf;
};

struct TCertificateSource {
    const TProject& Project;
    const TValveCatalogue& Catalogue;
    int CodePage = 0;
    const TCommissioningDetails& Details;
    const TCommissioningSettings& Commissioning;
    TTolerance Tolerance;
};

// The project's tolerance: the details' lower and upper where set, else the balancing setting.
TTolerance CertificateTolerance(const TCommissioningDetails& details, double balancingTolerance);

// "±10 %" or "-5 % / +10 %".
QString ToleranceText(const TTolerance& tolerance, const QLocale& locale);

TCommissioningCertificate BuildCommissioningCertificate(const TCertificateSource& source, const TUnits& units,
                                                        const ITranslator& translator);
