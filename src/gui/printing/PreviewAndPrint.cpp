// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/PreviewAndPrint.h"

#include "model/Translator.h"
#include "printing/CertificatePrint.h"
#include "printing/PrintPreview.h"
#include "printing/PrintReport.h"
#include "commands/UserInterface.h"

namespace {

bool reportPrintError(const QString& error, IUserInterface& ui, const ITranslator& translator) {
    QString text = translator.Translate(QStringLiteral("Print error"));
    // The cause, when known, helps more than the bare word: which file, which printer.
    if (!error.isEmpty())
        text += u'\n' + translator.Translate(error);
    ui.showMessage(translator.Translate(QStringLiteral("Error")), text);
    return false;
}

} // namespace

bool PreviewAndPrint(TTiskF& preview, const QStringList& lines, QPrinter& printer,
                     const TPrintMargins& margins, IUserInterface& ui, const ITranslator& translator) {
    if (!preview.showReport(lines))
        return false;
    QString error;
    if (PrintReport(lines, printer, margins, &error))
        return true;
    return reportPrintError(error, ui, translator);
}

bool PreviewAndPrintCertificate(TTiskF& preview, const TCommissioningCertificate& certificate, QPrinter& printer,
                                const TPrintMargins& margins, IUserInterface& ui, const ITranslator& translator) {
    QString error;
    const auto paint = [&](QPrinter& target) { PrintCertificate(certificate, target, margins, &error); };
    if (!preview.showPages(printer, paint))
        return false;
    if (PrintCertificate(certificate, printer, margins, &error))
        return true;
    return reportPrintError(error, ui, translator);
}
