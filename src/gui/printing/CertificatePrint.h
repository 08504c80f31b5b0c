// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPrinter;
struct TCommissioningCertificate;
struct TPrintMargins;

// The certificate's page laid out by Qt's rich text on landscape pages within the margins, the
// branch table's header repeated on every page, and a foot with the project and "Page n of m".
// False with *error (English, for the catalogue) when the job could not be done.
bool PrintCertificate(const TCommissioningCertificate& certificate, QPrinter& printer, const TPrintMargins& margins,
                      QString* error);

// The same into the PDF file pdfPath.
bool PrintCertificateToPdf(const TCommissioningCertificate& certificate, const QString& pdfPath,
                           const TPrintMargins& margins, QString* error);
