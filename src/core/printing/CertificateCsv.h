// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

struct TCommissioningCertificate;

// The certificate as comma-separated text (RFC 4180, UTF-8, CR LF): the title, then the details and
// the summary as label and value rows, an empty row, the column header and one row per branch.
// Numbers as the reader sees them, with a point for decimals and no thousands separator.
QByteArray CertificateCsv(const TCommissioningCertificate& certificate);

// Written through a temporary file; false with a sentence in *error, the target as it was.
bool WriteCertificateCsv(const TCommissioningCertificate& certificate, const QString& path, QString* error);
