// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/CertificateCsv.h"

#include "files/AnalysisText.h"
#include "files/SafeFileWriter.h"
#include "printing/CommissioningCertificate.h"

QByteArray CertificateCsv(const TCommissioningCertificate& c) {
    QString text = CsvLine({c.Title});
    for (const TCertificateField& f : c.Details)
        text += CsvLine({f.Label, f.Value});
    for (const TCertificateField& f : c.Summary)
        text += CsvLine({f.Label, f.Value});
    text += QStringLiteral("\r\n");
    text += CsvLine(c.Columns + QStringList{c.UncertainColumn});
    for (const TCertificateRow& row : c.Rows) {
        QStringList fields;
        for (const TCertificateCell& cell : row.Cells)
            fields << (cell.Number ? AnalysisNumber(*cell.Number) : cell.Text);
        fields << (row.Uncertain ? c.UncertainWord : QString());
        text += CsvLine(fields);
    }
    return text.toUtf8();
}

bool WriteCertificateCsv(const TCommissioningCertificate& certificate, const QString& path, QString* error) {
    return writeFileAtomically(path, CertificateCsv(certificate), error);
}
