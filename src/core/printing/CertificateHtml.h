// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

struct TCommissioningCertificate;

// The certificate as one self-contained HTML page with its own print style (landscape pages, the
// table's header on every page); the print preview shows it too.
QString CertificateHtml(const TCommissioningCertificate& certificate);

// The page as UTF-8, written through a temporary file so that a failure leaves an existing file as
// it was; false with a sentence in *error.
bool WriteCertificateHtml(const TCommissioningCertificate& certificate, const QString& path, QString* error);
