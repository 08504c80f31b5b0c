// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct TCommissioningCertificate;

// The certificate as an .xlsx workbook of one worksheet: the title, the details and the summary
// side by side, then the column header (frozen) and one row per branch, numbers as number cells.
// Made in a private folder and only then put in place, so that a failure leaves an existing file as
// it was; false with a sentence in *error.
bool WriteCertificateXlsx(const TCommissioningCertificate& certificate, const QString& path, QString* error);
