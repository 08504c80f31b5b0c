// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class ITranslator;
class IUserInterface;
class QPrinter;
class TTiskF;
struct TCommissioningCertificate;
struct TPrintMargins;

// Shows a built report in the preview and prints it when the user chose Print; a print that fails
// is reported as "Print error" and the report stays as it was. True when it was printed.
bool PreviewAndPrint(TTiskF& preview, const QStringList& lines, QPrinter& printer,
                     const TPrintMargins& margins, IUserInterface& ui, const ITranslator& translator);

// The same for the commissioning certificate, its printed pages shown in the preview.
bool PreviewAndPrintCertificate(TTiskF& preview, const TCommissioningCertificate& certificate, QPrinter& printer,
                                const TPrintMargins& margins, IUserInterface& ui, const ITranslator& translator);
