// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPrinter;
struct TCommissioningCertificate;
struct TPrintMargins;

// The certificate drawn as a form on landscape pages within the margins: title block, summary, the
// branch table with its header on every page, deficiencies, signature lines, and a foot with the
// project and "Page n of m". Drawn directly rather than through rich text, which takes many
// seconds to lay out a table of 1500 branches.
// False with *error (English, for the catalogue) when the job could not be done.
bool PrintCertificate(const TCommissioningCertificate& certificate, QPrinter& printer,
                      const TPrintMargins& margins, QString* error);

// The same into the PDF file pdfPath.
bool PrintCertificateToPdf(const TCommissioningCertificate& certificate, const QString& pdfPath,
                           const TPrintMargins& margins, QString* error);
